// The configuration context: every setting of the service, reloaded when its file changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "comum/Mutex.h"
#include "config/TP.h"
#include "config/TU.h"
#include "platform/Arquivos.h"

// The name width for file names and field 001-000: process-wide, 8 until the first load.
int LarguraNome();
void DefineLarguraNome(int largura);

class TX {
 public:
  explicit TX(std::string caminhoIni);
  TX(const TX&) = delete;
  TX& operator=(const TX&) = delete;

  // Service thread, once per pass: loads the file at the first call, later reloads it when its
  // last-write time changed (looked at no more often than TOutIni); sleeps 200 ms when it is not
  // yet time to look. Throws Err when a load finds no host address or no establishment file.
  void VerificaConfig();
  // Reads every key and rebuilds the groups (VerificaConfig calls it). Throws Err as above.
  void CarregaConfig();

  // Locked accessors; each returns a copy (empty text when not set).
  std::string DirEntrada() const;
  std::string DirSaida() const;
  std::string MascaraEntrada() const;
  std::string MascaraLog() const;
  std::int32_t TempoConexao() const;
  std::int32_t TempoResposta() const;
  std::uint32_t IntervaloIni() const;

  // File name in slot k of parameter group g, or empty when none (or g, k out of range).
  std::string ArquivoEstabelecimento(int g, int k) const;

  // Endpoint group g (0..2); used under the group's own lock.
  TU& Servidor(int g) { return servidores_[g]; }
  TP& Parametros(int g) { return parametros_[g]; }

 private:
  TP parametros_[3];
  TU servidores_[3];
  std::string dirEntrada_, dirSaida_, mascaraEntrada_, mascaraLog_;
  std::uint32_t intervaloIni_ = 0;
  std::int32_t tempoConexao_ = 0;
  std::int32_t tempoResposta_ = 0;
  std::string caminhoIni_;
  plataforma::HoraArquivo horaIni_{};
  bool verificouAlgumaVez_ = false;
  std::uint32_t ultimaVerificacao_ = 0;
  mutable Mutex trava_;
};
