// The worker: carries one claimed request from its file to its published answer.
#pragma once

#include <cstdio>

#include "service/Momento.h"
#include "service/PedidosEmCurso.h"

class TX;

// Body of one worker thread. Owns arquivo (the request reader closes it in every case) and the
// request's in-flight name, which it gives up just before its clean-up of processed requests.
// Once the answer is out (or known lost) the transaction is recorded in the journals, measured from
// reivindicado, the moment of its claim.
void ProcessaPedido(TX& config, std::FILE* arquivo, ReservaPedido reserva, Momento reivindicado = MomentoAtual());
