// Reaching a host of an endpoint group: one non-blocking TCP connection, with fail-over between the
// group's entries.
#pragma once

#include <string>

#include "config/TU.h"
#include "platform/Socket.h"

// Connects to the group's current entry, moving the group on to the next entry after each failure.
// Returns a connected, non-blocking socket owned by the caller; throws Erro when the group has no
// entry or when every attempt failed. tOutCnx is the connect time-out in seconds (3 when not above 0).
// With endereco given, it receives the address and port connected to ("192.0.2.10:4000").
plataforma::Socket Conecta(TU& grupo, int tOutCnx, std::string* endereco = nullptr);

// One attempt to entry `indice` of the group; an invalid socket on failure (the failure is logged).
plataforma::Socket ConectaEndereco(TU& grupo, int indice, int tOutCnx);

// The connect time-out in seconds that an attempt waits: the given one, or 3 when it is not above 0.
int TempoConexaoValido(int tOutCnx);
