// Turns a field's text into the bytes the host expects, one encoder per field type.
#pragma once

#include <cstdint>

// Each encoder fills exactly `tamanho` bytes at `destino` and never reads `valor` past its NUL.

// Right-aligned characters, "0" on the left; a longer value keeps its last characters.
void CodificaNumerico(std::uint8_t* destino, const char* valor, std::int32_t tamanho);
// Packed BCD, right-aligned, zero nibbles on the left; a longer value keeps its last digits.
// A character that is not a digit gives its low 4 bits.
void CodificaBCD(std::uint8_t* destino, const char* valor, std::int32_t tamanho);
// True when CodificaBCD writes exactly the number the value holds: decimal digits only, and every
// digit beyond the field's 2 x tamanho a '0'. The empty value is all zero digits.
bool CabeEmBCD(const char* valor, std::int32_t tamanho);
// Hexadecimal digits packed from the left; missing digits are 0, surplus ones ignored.
void CodificaHexa(std::uint8_t* destino, const char* valor, std::int32_t tamanho);
// Left-aligned text, cut to the field, the rest filled with spaces.
void CodificaTexto(std::uint8_t* destino, const char* valor, std::int32_t tamanho);
// Left-aligned text, cut to the field, the rest filled with 0x00.
void CodificaTextoNul(std::uint8_t* destino, const char* valor, std::int32_t tamanho);

// "0".."9", "A".."F", "a".."f" give 0..15; anything else 0.
std::uint8_t ValorHexa(char c);

// The value read as a decimal integer (leading blanks and a sign allowed, no digits give 0),
// modulo 256. Any number of digits is accepted: the result is the true value's low byte.
std::uint8_t ValorBinario(const char* valor);

// Writes a value of any type but the cheque block (which needs the whole table) at `destino`.
// Types without an encoding write nothing. `tamanho` is the field's length in the layout
// (for the prefixed BCD type, the length of its BCD part).
void CodificaValor(std::uint8_t* destino, const char* valor, std::int32_t tamanho, std::int32_t tipo);
// False when CodificaValor would send the host another number than the value holds: the BCD of
// the BCD type and of the prefixed BCD type's rest must fit (CabeEmBCD). Other types copy the
// characters as they are and always pass.
bool ValorCodificavel(const char* valor, std::int32_t tamanho, std::int32_t tipo);
