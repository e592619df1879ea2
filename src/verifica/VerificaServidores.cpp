// The endpoint groups: who uses each, its port, its addresses resolved as the load resolves them
// (through the platform's resolver, without the load's log line), and with --conecta one
// connection to each within the connect time-out.
#include <string>

#include "hostlink/Conexao.h"
#include "platform/Arquivos.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tcp.h"
#include "verifica/Verificacoes.h"

namespace {

constexpr int PORTA_MAXIMA = 65535;

// One connection attempt as a worker makes it: non-blocking connect, bounded wait, pending error.
void Conecta(std::uint32_t ip, std::uint16_t porta, int segundos, Relatorio& r) {
  const std::uint32_t inicio = plataforma::Ticks();
  int erro = 0;
  plataforma::Socket socket = plataforma::CriaSocketTcp(erro);
  const auto decorrido = [&] { return static_cast<unsigned>(plataforma::Ticks() - inicio); };
  if (!socket.Valido() || !plataforma::TornaNaoBloqueante(socket, erro)) {
    r.Erro("no socket: %s", plataforma::TextoErro(erro).c_str());
    return;
  }
  auto resultado = plataforma::IniciaConexao(socket, ip, porta, erro);
  if (resultado == plataforma::ResultadoConexao::EmAndamento) {
    switch (plataforma::EsperaEscrita(socket, segundos * 1000, erro)) {
      case plataforma::ResultadoEspera::Expirou:
        r.Erro("no connection within %d s", segundos);
        return;
      case plataforma::ResultadoEspera::Falhou:
        resultado = plataforma::ResultadoConexao::Falhou;
        break;
      case plataforma::ResultadoEspera::Pronto: {
        int pendente = 0;
        if (!plataforma::LeErroPendente(socket, pendente, erro) || pendente != 0) {
          if (pendente != 0) erro = pendente;
          resultado = plataforma::ResultadoConexao::Falhou;
        } else {
          resultado = plataforma::ResultadoConexao::Conectado;
        }
        break;
      }
    }
  }
  if (resultado == plataforma::ResultadoConexao::Conectado) {
    r.Detalhe("  connected in %u ms", decorrido());
  } else {
    r.Erro("connection failed after %u ms: %s", decorrido(), plataforma::TextoErro(erro).c_str());
  }
}

}  // namespace

void VerificaServidores(const ValoresConfig& v, bool conecta, Relatorio& r) {
  // The resolver and the connections need the socket layer, which the service thread starts for the
  // service (Winsock, on Windows).
  plataforma::IniciaRede();
  struct Encerra {
    ~Encerra() { plataforma::EncerraRede(); }
  } encerra;
  for (int g = 0; g < NUM_GRUPOS; ++g) {
    const ValoresConfig::Servidor& grupo = v.servidores[g];
    const std::string codigos = CodigosDoGrupo(g, true);
    const std::string uso = codigos.empty() ? std::string("used by no transaction type") : "codes " + codigos;
    if (grupo.enderecos.empty()) {
      r.Linha("Endpoint group End%d (%s): no address", g, uso.c_str());
      continue;
    }
    // Only the low 16 bits of the port are used.
    const auto porta = static_cast<std::uint16_t>(grupo.porta & 0xFFFF);
    r.Linha("Endpoint group End%d (%s): port %d", g, uso.c_str(), grupo.porta);
    if (codigos.empty()) r.Aviso("no transaction type sends to End%d", g);
    if (grupo.porta == 0) {
      r.Erro("Port is 0: no connection can be made");
    } else if (grupo.porta < 1 || grupo.porta > PORTA_MAXIMA) {
      // The service would take the low 16 bits and reach a port nobody meant.
      r.Erro("Port %d is outside 1..%d: the service would connect to port %u", grupo.porta, PORTA_MAXIMA, porta);
    }
    for (const auto& endereco : grupo.enderecos) {
      std::uint32_t ip = 0;
      int erro = 0;
      if (!plataforma::ResolveIPv4(endereco.texto.c_str(), ip, erro)) {
        r.Detalhe("%s = %s", endereco.chave.c_str(), endereco.texto.c_str());
        r.Erro("does not resolve (%s): the service leaves this address out", plataforma::TextoErroResolucao(erro));
        continue;
      }
      r.Detalhe("%s = %s (%s)", endereco.chave.c_str(), endereco.texto.c_str(), plataforma::TextoIPv4(ip).c_str());
      if (conecta && grupo.porta >= 1 && grupo.porta <= PORTA_MAXIMA) {
        Conecta(ip, porta, TempoConexaoValido(v.tempoConexao), r);
      }
    }
  }
}
