// The conversation of one transaction with the host: request, exchange, decoded response.
#pragma once

#include <string>

#include "config/TU.h"
#include "config/TX.h"
#include "fields/TG.h"

// Builds the request from the table (its type known, its establishment texts loaded), connects
// to the endpoint group within tOutCnx seconds, exchanges the frames within tOutCnf seconds and
// leaves the decoded response in the table. Throws Erro for every refusal and every failure of
// the connection, the exchange or the decoding; both buffers are released on every path.
// imediato: the answer is waited for on the socket instead of by sleeping between looks. host, when
// given, receives the address and port of the host connected to, as soon as the connection is made
// (so also when the exchange fails after it).
void ExecutaTransacao(TG& transacao, TU& servidor, int tOutCnf, int tOutCnx, bool imediato = false,
                      std::string* host = nullptr);

// The same with the endpoint group of the transaction's type, the two time-outs and the mode taken
// from the configuration at this moment.
void ExecutaTransacao(TG& transacao, TX& contexto);
