// Rebuilds a transaction's field table from the host's response data.
#pragma once

#include <cstdint>

#include "catalogo/Catalogo.h"
#include "fields/TG.h"

// -1 (approval) or 1 (refusal) for a non-zero response code: some consultation types answer
// 26..28 for a result that still carries the approval fields.
std::int32_t SeletorVariante(std::int32_t valor, std::int32_t codigo);

// Replaces the table by the response: 000, 001, the fields of the layout's variant in layout
// order (repeated ones by occurrence), 999. `dados` is the first data byte after the header;
// bytes from `tamanhoDados` on read as 0x00, so nothing past what arrived is ever read.
// Returns the new quantidade. Throws Erro when the table would overflow. The type must be known.
std::int32_t DecodificaResposta(TG& transacao, const std::uint8_t* dados, std::int32_t tamanhoDados,
                                const TLayoutMensagem& layout);
