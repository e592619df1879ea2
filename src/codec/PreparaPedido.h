// Everything of a request up to the finished frame, without any network: the service's own
// fields, the sort, the checks, the encoded data and the header.
#pragma once

#include "comum/BF.h"
#include "fields/TG.h"

// Capacity of the request buffer of a type: prefix, header, fixed part and every repetition.
std::int32_t CapacidadePedido(const TTipoTransacao& t);
// Capacity of the response buffer of a type: header, fixed part and every repetition.
std::int32_t CapacidadeResposta(const TTipoTransacao& t);

// Adds the establishment texts (901..) and the type's constants (910..) to the table, sorts
// it, and builds the frame: zero prefix, 8-byte header, data. Returns the buffer with
// `tamanho` = the whole frame's length (0: nothing to send). Takes a sequence number.
// Throws Erro on every refusal; the added fields stay in the table for the error response.
BF PreparaPedido(TG& transacao);
