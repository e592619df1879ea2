// One request, from the claimed file to the status file, then the clean-up of processed requests.
#include "service/ProcessaPedido.h"

#include <utility>

#include "config/TX.h"
#include "fields/ArquivoCampos.h"
#include "fields/TG.h"
#include "service/LimpaProcessados.h"

void ProcessaPedido(TX& config, std::FILE* arquivo, ReservaPedido reserva) {
  TG transacao;
  // A request of three fields or fewer gets no answer at all; an "ATV" request only its status.
  if (LePedido(transacao, arquivo)) GravaStatus(transacao, config.DirSaida(), LarguraNome());

  // The transaction is over: from here its .log file is an ordinary processed request.
  reserva.Libera();
  LimpaProcessados(config.DirEntrada(), config.MascaraLog(), LarguraNome());
}
