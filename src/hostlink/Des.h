// One DES block (encryption direction, no chaining); parity bits of the key are ignored and weak
// keys are used like any other.
#pragma once

#include <cstdint>

void CifraBlocoDes(const std::uint8_t chave[8], const std::uint8_t entrada[8], std::uint8_t saida[8]);
