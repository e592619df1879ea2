// zelp-host: an authorisation host simulator that speaks the gateway's host frame.
#include <cstdio>
#include <string>

#include "ferramentas/LinhaComando.h"
#include "platform/Rede.h"
#include "zelp-host/Opcoes.h"
#include "zelp-host/Servidor.h"

// The address could not be taken (in use, not this machine's): distinct from a usage error.
constexpr int SAIDA_SEM_REDE = 3;

int main(int argc, char** argv) {
  simulador::OpcoesHost opcoes;
  std::string erro;
  if (!simulador::LeOpcoes(argc, argv, opcoes, erro)) return ferramentas::ErroDeUso("zelp-host", erro);
  if (opcoes.ajuda) {
    std::fputs(simulador::TextoAjuda(), stdout);
    return 0;
  }
  if (opcoes.versao) {
    ferramentas::MostraVersao("zelp-host");
    return 0;
  }
  // The socket layer, set so that a peer that goes away while we answer does not end the simulator.
  plataforma::IniciaRede();

  simulador::Servidor servidor(opcoes);
  if (!servidor.Inicia(erro)) {
    std::fprintf(stderr, "zelp-host: %s\n", erro.c_str());
    return SAIDA_SEM_REDE;
  }
  // The first line is the port, so scripts and tests can read it before the first request.
  std::printf("port %d\n", servidor.Porta());
  std::printf("zelp-host listening on %s:%d%s%s\n", opcoes.endereco.c_str(), servidor.Porta(),
              opcoes.falha != simulador::Falha::Nenhuma ? ", fault " : "",
              opcoes.falha != simulador::Falha::Nenhuma ? simulador::NomeFalha(opcoes.falha) : "");
  std::fflush(stdout);
  return servidor.Executa();
}
