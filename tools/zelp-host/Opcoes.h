// The command line of zelp-host.
#pragma once

#include <string>

#include "zelp-host/RespostaSimulada.h"

namespace simulador {

enum class Falha { Nenhuma, Fecha, Mudo, TamanhoErrado, Pedacos };

struct OpcoesHost {
  std::string endereco = "127.0.0.1";
  int porta = 0;              // 0: a free port chosen by the system
  int atrasoMs = 0;           // pause before answering
  Falha falha = Falha::Nenhuma;
  int vezes = 0;              // connections to serve before exiting; 0 = until stopped
  int tempoLeituraS = 30;     // the whole request must arrive within this time
  int esperaMudoS = 300;      // with --falha mudo, the longest a connection is held open
  bool resumo = false;        // one line per connection instead of the full report
  bool mostraCartao = false;  // card numbers, PIN block and track printed whole
  bool ajuda = false;
  bool versao = false;
  RegrasResposta regras;
};

// Fills opcoes from the arguments; false with a message in erro when one is wrong.
bool LeOpcoes(int argc, const char* const* argv, OpcoesHost& opcoes, std::string& erro);

const char* TextoAjuda();

const char* NomeFalha(Falha falha);

}  // namespace simulador
