// Checks a sorted field table against a request layout and encodes it into the message data.
#pragma once

#include <cstdint>

#include "catalogo/Catalogo.h"
#include "fields/TG.h"

// Walks the sorted table once against the layout: refuses unknown, repeated and surplus fields,
// encodes the others at their offsets in `dados` and ends with the check for missing mandatory
// fields. Returns the length of the message data. Throws Erro on every refusal.
// `dados` must hold the layout's fixed part plus maxRepeticoes x tamRepeticao bytes, zeroed.
std::int32_t MontaPedido(TG& transacao, std::uint8_t* dados, const TLayoutMensagem& layout);
