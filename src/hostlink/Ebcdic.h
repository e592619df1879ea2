// The conversion of the establishment key characters to EBCDIC before they become DES key bytes.
#pragma once

#include <cstdint>

// EBCDIC code page 500 for the seven-bit codes, except "|" which gives 0x6A; a byte of 128 or more
// converts like the seven-bit code byte - 128.
std::uint8_t ConverteEbcdic(std::uint8_t caractere);
