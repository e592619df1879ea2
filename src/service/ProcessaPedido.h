// The worker: carries one claimed request from its file to its published answer.
#pragma once

#include <cstdio>

#include "service/PedidosEmCurso.h"

class TX;

// Body of one worker thread. Owns arquivo (the request reader closes it in every case) and the
// request's in-flight name, which it gives up just before its clean-up of processed requests.
void ProcessaPedido(TX& config, std::FILE* arquivo, ReservaPedido reserva);
