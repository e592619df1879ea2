// One DES block (encryption direction, no chaining); parity bits of the key are ignored and weak
// keys are used like any other. Nettle on Linux, the system's CryptoAPI on Windows; should the
// system be unable to encipher, Erro is thrown (Nettle never fails).
#pragma once

#include <cstdint>

void CifraBlocoDes(const std::uint8_t chave[8], const std::uint8_t entrada[8], std::uint8_t saida[8]);
