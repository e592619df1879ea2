// Connection to an endpoint group: the sticky current entry, fail-over and the connect time-out.
#include "hostlink/Conexao.h"

#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "comum/Erro.h"
#include "comum/Mutex.h"
#include "log/GravaLog.h"
#include "platform/Rede.h"
#include "platform/Tcp.h"
#include "platform/TextoSistema.h"

namespace {

constexpr int TEMPO_CONEXAO_PADRAO = 3;

// What one attempt needs of an entry, copied under the group's lock: a reload may replace the
// group's texts while the attempt waits.
struct Entrada {
  std::string url;
  std::uint32_t ip = 0;
  std::uint16_t porta = 0;
};

Entrada CopiaEntrada(const TU& grupo, int indice) {
  Entrada e;
  e.url = grupo.url[indice];
  e.ip = grupo.ip[indice];
  e.porta = static_cast<std::uint16_t>(grupo.porta & 0xFFFF);
  return e;
}

int MilissegundosConexao(int tOutCnx) {
  const int segundos = TempoConexaoValido(tOutCnx);
  if (segundos > INT_MAX / 1000) return INT_MAX / 1000 * 1000;
  return segundos * 1000;
}

// One attempt; returns the label of the failing step (and its error code), or nullptr when connected.
const char* Tenta(const Entrada& entrada, int tOutCnx, plataforma::Socket& socket, int& erro) {
  socket = plataforma::CriaSocketTcp(erro);
  if (!socket.Valido()) return "socket";
  if (!plataforma::TornaNaoBloqueante(socket, erro)) return "ioctl(1)";

  switch (plataforma::IniciaConexao(socket, entrada.ip, entrada.porta, erro)) {
    case plataforma::ResultadoConexao::Conectado:
      return nullptr;
    case plataforma::ResultadoConexao::Falhou:
      return "connect";
    case plataforma::ResultadoConexao::EmAndamento:
      break;
  }
  const int erroConnect = erro;
  switch (plataforma::EsperaEscrita(socket, MilissegundosConexao(tOutCnx), erro)) {
    case plataforma::ResultadoEspera::Expirou:
      erro = erroConnect;
      return "Timeout connect";
    case plataforma::ResultadoEspera::Falhou:
      return "connect";
    case plataforma::ResultadoEspera::Pronto:
      break;
  }
  // Writable also means the connection ended in an error (refused, unreachable): ask the socket.
  int pendente = 0;
  if (!plataforma::LeErroPendente(socket, pendente, erro)) return "connect";
  if (pendente != 0) {
    erro = pendente;
    return "connect";
  }
  return nullptr;
}

plataforma::Socket ConectaEntrada(const Entrada& entrada, int tOutCnx) {
  plataforma::Socket socket;
  int erro = 0;
  const char* falha = Tenta(entrada, tOutCnx, socket, erro);
  if (falha == nullptr) return socket;
  if (erro != 0) {
    GravaLog("%s, %s Error = %d", entrada.url.c_str(), falha, erro);
  } else {
    GravaLog("%s, %s Error", entrada.url.c_str(), falha);
  }
  socket.Fecha();
  return socket;
}

}  // namespace

// A time-out that is not positive would make every entry fail at once (or wait for ever).
int TempoConexaoValido(int tOutCnx) { return tOutCnx > 0 ? tOutCnx : TEMPO_CONEXAO_PADRAO; }

plataforma::Socket ConectaEndereco(TU& grupo, int indice, int tOutCnx) {
  Entrada entrada;
  {
    MutexLocker trava(grupo.trava);
    if (indice < 0 || indice >= grupo.quantidade || indice >= TU::MAX_ENDERECOS) return plataforma::Socket();
    entrada = CopiaEntrada(grupo, indice);
  }
  return ConectaEntrada(entrada, tOutCnx);
}

plataforma::Socket Conecta(TU& grupo, int tOutCnx, std::string* endereco) {
  bool vazio;
  {
    MutexLocker trava(grupo.trava);
    vazio = grupo.quantidade <= 0;
  }
  if (vazio) throw Erro("*ZELP* Sem endereco IP valido");

  for (int tentativas = 0;; ++tentativas) {
    int lido;
    int indice;
    Entrada entrada;
    {
      MutexLocker trava(grupo.trava);
      const int quantidade = grupo.quantidade < TU::MAX_ENDERECOS ? grupo.quantidade : TU::MAX_ENDERECOS;
      if (tentativas >= quantidade) break;
      lido = grupo.atual;
      indice = (lido >= 0 && lido < quantidade) ? lido : 0;
      entrada = CopiaEntrada(grupo, indice);
    }

    plataforma::Socket socket = ConectaEntrada(entrada, tOutCnx);
    if (socket.Valido()) {
      if (endereco != nullptr) *endereco = plataforma::TextoIPv4(entrada.ip) + ":" + std::to_string(entrada.porta);
      return socket;
    }

    // Advance only when nobody did meanwhile (other workers failing on the same entry) and the group
    // still holds the entry that failed (a reload empties the group and starts again at entry 0).
    MutexLocker trava(grupo.trava);
    const int quantidade = grupo.quantidade < TU::MAX_ENDERECOS ? grupo.quantidade : TU::MAX_ENDERECOS;
    if (quantidade > 0 && grupo.atual == lido && indice < quantidade && grupo.url[indice] == entrada.url &&
        grupo.ip[indice] == entrada.ip) {
      grupo.atual = (indice + 1) % quantidade;
    }
  }
  throw Erro(plataforma::TextoDoSistema("00 *ZELP* Erro na comunicação(Conexão)"));
}
