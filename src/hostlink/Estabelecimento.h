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

// What a sale would meet in an establishment file, read as LeEstabelecimento reads it, in words for
// the operator: a good file (with its merchant code), or why every sale that names it is refused.
enum class EstadoEstabelecimento { Bom, Inexistente, Ilegivel, Curto, Adulterado };
struct ExameEstabelecimento {
  EstadoEstabelecimento estado = EstadoEstabelecimento::Bom;
  std::size_t tamanho = 0;  // Curto: the bytes it holds
  int erro = 0;             // Ilegivel: the system's code (0 when the read merely came up short)
  std::string codigo;       // Bom: the merchant code
};
ExameEstabelecimento ExaminaEstabelecimento(const char* caminho);
