// The 8-byte header ahead of every request's data, and the process-wide sequence number.
#pragma once

#include <atomic>
#include <cstdint>

#include "fields/TG.h"

inline constexpr int TAM_CABECALHO_MENSAGEM = 8;

// Header byte 4 of every request: taken and advanced in one atomic step, 255 wraps to 0.
extern std::atomic<std::uint8_t> numeroSequencia;

// The type's header byte 3, written as a number in source notation ("68", "0xff", "0177").
std::uint8_t ValorCabecalhoByte3(const char* texto);

// Writes the 8 header bytes at destino for a message of tamanhoDados data bytes (prefix and
// header not counted, least significant byte first). The transaction's type must be known.
void MontaCabecalho(const TG& transacao, std::uint8_t* destino, std::int32_t tamanhoDados);
