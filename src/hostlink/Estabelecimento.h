// The establishment file: 206 bytes identifying the merchant, protected by a 4-character check value.
#pragma once

#include <cstdint>
#include <string>

#include "comum/TEstabelecimento.h"

inline constexpr int TAM_ESTABELECIMENTO = 206;
inline constexpr int POS_VERIFICADOR = 202;

// Reads and verifies the file; fills estab and returns true, or throws Erro (estab left untouched).
bool LeEstabelecimento(const char* caminho, TEstabelecimento& estab);

// The check value of a file image: 4 characters from "0" to "?" and a terminating zero.
void CalculaVerificador(const std::uint8_t imagem[TAM_ESTABELECIMENTO], char verificador[5]);

// The merchant code of a file image: its 9 characters from position 193, up to the first zero byte.
std::string CodigoEstabelecimento(const std::uint8_t imagem[TAM_ESTABELECIMENTO]);
