// Shared by the fault tests: a working folder with zelpd, its zelp.ini, establishment files and
// exchange directories; requests written as the point of sale does; a host that follows a script.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "ferramentas_apoio.h"

// A namespace of their own: other end-to-end helpers in the same program have names like these.
namespace falhas {

// The settings the fault tests vary; the rest of zelp.ini is fixed.
struct ConfigGateway {
  int porta = 0;  // every endpoint group points at 127.0.0.1:porta
  int tOutIni = 1;
  int tOutCnf = 5;
  int tOutCnx = 2;
  bool imediato = false;  // [Tempos] Imediato
  std::string entrada = "entrada";
  std::string saida = "saida";
  std::string errlog;  // empty: lines go to standard output only
  bool deletaLog = true;
  std::string estab = "estab/loja0.dat";  // establishment file of every parameter group
  int limiteArquivos = 0;  // not in zelp.ini: nonzero runs zelpd under prlimit --nofile=N
  // When set (the test runs as root), zelpd runs as this user alone, its working folder made the
  // user's, as the service runs as the user zelp.
  std::string usuario;
};

// The text of zelp.ini for these settings.
std::string TextoIni(const ConfigGateway& c);

// Creates an establishment file with zelp-estab; false when the tool failed.
bool CriaEstabelecimento(const std::string& caminho, const std::string& codigo, const std::string& chave,
                         const std::string& nome);

// Runs zelpd in a temporary working folder: entrada/, saida/, estab/loja0.dat (code 12345678) and a
// zelp.ini from the settings. Requests are code 31 card sales.
class ZelpdEmTeste {
 public:
  explicit ZelpdEmTeste(ConfigGateway config);
  ~ZelpdEmTeste();
  ZelpdEmTeste(const ZelpdEmTeste&) = delete;
  ZelpdEmTeste& operator=(const ZelpdEmTeste&) = delete;

  const DiretorioTemporario& Dir() const { return dir_; }
  ConfigGateway& Config() { return config_; }
  // Writes zelp.ini from Config() in place of the old one (written aside, then renamed).
  void GravaIni() const;

  // Starts zelpd; with saidaPorPipe its output reaches the file through a pipe, so that a size
  // limit put on zelpd does not stop its lines. Waits for the banner.
  bool Inicia(bool saidaPorPipe = false);
  Processo& Zelpd() { return *zelpd_; }
  std::string Saida() const { return zelpd_ ? zelpd_->Saida() : std::string(); }
  // Waits until the output holds texto (at least vezes times).
  bool EsperaSaida(const std::string& texto, std::chrono::milliseconds limite, int vezes = 1) const;
  // How many times texto occurs in the output.
  int ContaSaida(const std::string& texto) const;

  // The request file name for a number ("00000012.ENV").
  static std::string Nome(long long id, const char* extensao);
  // Drops a sale of this number and amount (code 31 and header CRT unless given; no 003 line when
  // valor003 is empty) into the input directory, written aside first as the point of sale does;
  // extra lines (CR LF ended) go before 999-999.
  void EscrevePedido(long long id, const std::string& valor003 = "1500", const std::string& extra = "",
                     const std::string& cabecalho = "CRT", const std::string& codigo = "31") const;
  // Waits for saida/<id>.<extensao>; its content, or nothing when it did not come.
  bool EsperaArquivo(long long id, const char* extensao, std::chrono::milliseconds limite, std::string& conteudo) const;
  // The value of field NNN-OOO in a status or response text, or "(ausente)".
  static std::string Campo(const std::string& texto, const std::string& chave);

 private:
  DiretorioTemporario dir_;
  ConfigGateway config_;
  std::unique_ptr<Processo> zelpd_;
};

// zelp-host --resumo on 127.0.0.1 and a zelpd whose endpoint groups all point at it, with the
// other settings as ajusta leaves them.
class ZelpdComHost {
 public:
  explicit ZelpdComHost(const std::function<void(ConfigGateway&)>& ajusta = nullptr);
  // Starts zelpd and waits for its banner; what went wrong, or "".
  std::string Inicia();
  HostEmExecucao& Host() { return host_; }
  ZelpdEmTeste& Gateway() { return *gateway_; }

 private:
  HostEmExecucao host_;
  std::unique_ptr<ZelpdEmTeste> gateway_;
};

// Connections zelp-host (in --resumo mode) has reported so far.
int ConexoesDoHost(const HostEmExecucao& host);

// The establishment codes (field 901) of the requests zelp-host (without --resumo) has shown so far,
// in order.
std::vector<std::string> EstabelecimentosVistos(const HostEmExecucao& host);

// A host on 127.0.0.1 that runs a script on each connection it accepts, in order; connections past
// the last script get the last one. Each runs on its own thread; all are joined at destruction.
class HostRoteirizado {
 public:
  using Roteiro = std::function<void(int conexao)>;
  explicit HostRoteirizado(std::vector<Roteiro> roteiros);
  ~HostRoteirizado();
  HostRoteirizado(const HostRoteirizado&) = delete;
  HostRoteirizado& operator=(const HostRoteirizado&) = delete;
  int Porta() const { return porta_; }
  int Aceitas() const { return aceitas_.load(); }

 private:
  void Aceita();

  int escuta_ = -1;
  int porta_ = 0;
  std::vector<Roteiro> roteiros_;
  std::atomic<bool> parar_{false};
  std::atomic<int> aceitas_{0};
  std::mutex trava_;
  std::vector<std::thread> conexoes_;
  std::thread aceitador_;
};

// Script helpers, each bounded in time.
// Reads one request frame (8-byte header, data as long as it announces); empty when it did not come.
std::vector<std::uint8_t> LeQuadro(int conexao);
bool EnviaBytes(int conexao, const std::vector<std::uint8_t>& bytes);
// Makes the close of this connection a reset instead of an orderly end.
void PreparaReset(int conexao);
// Passes the frame to the host at 127.0.0.1:porta and its answer back: the script of a sound host.
void Repassa(int conexao, const std::vector<std::uint8_t>& pedido, int porta);

}  // namespace falhas
