// The configuration context: every setting of the service, reloaded when its file changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "comum/Mutex.h"
#include "config/TP.h"
#include "config/TU.h"
#include "config/ValoresConfig.h"
#include "platform/Arquivos.h"

class LeitorIni;

// The configuration file in the working directory.
inline constexpr const char* CAMINHO_INI = "./zelp.ini";

// The name width for file names and field 001-000: process-wide, 8 until the first load; always
// 8..16 (DefineLarguraNome holds a value outside at the nearer end).
inline constexpr int LARGURA_NOME_MIN = 8;
inline constexpr int LARGURA_NOME_MAX = 16;
int LarguraNome();
void DefineLarguraNome(int largura);

class TX {
 public:
  explicit TX(std::string caminhoIni);
  TX(const TX&) = delete;
  TX& operator=(const TX&) = delete;

  // Service thread, once per pass: loads the file at the first call, later reloads it when its
  // last-write time changed (looked at no more often than TOutIni); sleeps 200 ms when it is not
  // yet time to look. True when a load took effect at this call (the first one, or a reload).
  // The first load throws Err when the file names no host address or no establishment file; a file
  // that cannot be read then loads the defaults (and so fails for want of a host address).
  // A reload never throws: a file that would be fatal is refused whole (every value stays), its
  // fatal text and "*** Configuracao de <file> nao aplicada, mantida a configuracao anterior" are
  // logged once, and the file is looked at again at its next change. A reload that takes effect is
  // logged ("Configuracao recarregada de <file>"). A file that cannot be read at a later check keeps
  // the values in force: this is logged once when it becomes unreadable, and again only after it
  // was readable in between.
  bool VerificaConfig();
  // Reads every key and rebuilds the groups (VerificaConfig calls it): the first load as above, and
  // after it a reload by the same rule (refused whole when fatal, logged either way).
  void CarregaConfig();

  // The clock of VerificaConfig: the tick count and the pause; tests give their own.
  void DefineRelogio(std::function<std::uint32_t()> ticks, std::function<void(std::uint32_t)> dorme);

  // Locked accessors; each returns a copy (empty text when not set).
  std::string DirEntrada() const;
  std::string DirSaida() const;
  std::string MascaraEntrada() const;
  std::string MascaraLog() const;
  std::int32_t TempoConexao() const;
  std::int32_t TempoResposta() const;
  std::uint32_t IntervaloIni() const;
  // [Tempos] Imediato: wait on events (the input directory, the host's socket) instead of sleeping
  // between looks; every time-out and text stays the same.
  bool Imediato() const;
  std::int32_t LarguraNome() const { return ::LarguraNome(); }

  // File name in slot k of parameter group g, or empty when none (or g, k out of range).
  std::string ArquivoEstabelecimento(int g, int k) const;

  // Endpoint group g (0..2); used under the group's own lock.
  TU& Servidor(int g) { return servidores_[g]; }
  TP& Parametros(int g) { return parametros_[g]; }

 private:
  void PrimeiraCarga(const LeitorIni& ini);
  bool Recarrega(const LeitorIni& ini);
  void Aplica(const ValoresConfig& v);
  void CarregaServidor(const ValoresConfig::Servidor& valores, int n);
  void CarregaParametros(const std::string (&arquivos)[TP::NUM_ARQUIVOS], int n);
  void AvisaIlegivel();

  TP parametros_[NUM_GRUPOS];
  TU servidores_[NUM_GRUPOS];
  std::string dirEntrada_, dirSaida_, mascaraEntrada_, mascaraLog_;
  std::uint32_t intervaloIni_ = 0;
  std::int32_t tempoConexao_ = 0;
  std::int32_t tempoResposta_ = 0;
  bool imediato_ = false;
  std::string caminhoIni_;
  plataforma::HoraArquivo horaIni_{};
  bool verificouAlgumaVez_ = false;
  std::uint32_t ultimaVerificacao_ = 0;
  bool carregou_ = false;         // a load has run: an unreadable file no longer means defaults
  bool avisouIlegivel_ = false;   // the unreadable file was logged since it was last readable
  std::function<std::uint32_t()> ticks_;
  std::function<void(std::uint32_t)> dorme_;
  mutable Mutex trava_;
};
