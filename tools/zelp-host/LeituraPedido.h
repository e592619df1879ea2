// Turns the data of a request frame back into fields, walking the type's request layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"

namespace simulador {

struct CampoLido {
  int numero = 0;
  int ocorrencia = 0;  // 0 outside the repeated group, 1.. inside it
  int posicao = 0;     // offset in the data
  int tamanho = 0;     // bytes taken in the data
  int tipo = 0;
  std::string valor;   // bytes as text: digits for BCD and binary, the characters for text types
};

struct PedidoLido {
  std::vector<CampoLido> campos;       // in layout order, all occurrences of a field together
  int repeticoes = 0;                  // count byte of the repeated group (0 when none)
  bool temGrupo = false;
  std::vector<std::string> avisos;     // what does not match the layout (short data, count too big)
  std::vector<std::string> bcdInvalido;  // "NNN-OOO" of each BCD field with a nibble above 9
};

// Decodes `tamanho` bytes of request data by `layout`. Never reads outside the data: a field
// that does not fit is left out and reported in avisos.
PedidoLido DecodificaPedido(const TLayoutMensagem& layout, const std::uint8_t* dados, std::size_t tamanho);

// The value of a decoded field, or null.
const CampoLido* ProcuraCampo(const PedidoLido& pedido, int numero, int ocorrencia);

// Packed BCD as digit characters, high nibble first; nibbles 10..15 give ':'..'?' as the gateway
// reads them.
std::string DigitosBCD(const std::uint8_t* bytes, std::size_t tamanho);

}  // namespace simulador
