// Turns the bytes of a response field back into text, one decoder per field type.
#pragma once

#include <cstddef>
#include <cstdint>

// The decoding buffer: the longest text of a response field and its terminator.
inline constexpr std::size_t TAM_DECODIFICACAO = 260;

// Each decoder writes a NUL-terminated text into `destino` (TAM_DECODIFICACAO characters) from
// `tamanho` bytes at `origem`; a length that would not fit is cut to what does.

// Two characters per byte, high nibble first, each 0x30 + nibble (10..15 give ':'..'?').
void DecodificaBCD(char* destino, const std::uint8_t* origem, std::int32_t tamanho);
// Two lowercase hexadecimal digits per byte.
void DecodificaHexa(char* destino, const std::uint8_t* origem, std::int32_t tamanho);
// The first byte as exactly three decimal digits.
void DecodificaBinario(char* destino, const std::uint8_t* origem);

// Decodes by field type; types without a conversion give the empty text.
void DecodificaValor(char* destino, const std::uint8_t* origem, std::int32_t tamanho, std::int32_t tipo);

// Decimal value of n characters, each taken by its low 4 bits (n >= 1).
std::int32_t ValorDigitos(const char* texto, std::int32_t n);
