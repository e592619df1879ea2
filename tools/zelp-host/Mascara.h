// Card data kept out of what the simulator prints: card numbers cut to their first six and last
// four digits, the PIN block and the rest of the track hidden, in the fields and in the dumps alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zelp-host/LeituraPedido.h"

namespace simulador {

// A card number is a run of 13 to 19 decimal digits; what stays of it in sight.
inline constexpr std::size_t MIN_DIGITOS_CARTAO = 13;
inline constexpr std::size_t MAX_DIGITOS_CARTAO = 19;
inline constexpr std::size_t DIGITOS_INICIO_VISIVEIS = 6;
inline constexpr std::size_t DIGITOS_FIM_VISIVEIS = 4;
inline constexpr char CARACTER_OCULTO = '*';

// The text with each run of 13 to 19 digits kept to its first six and last four, the rest '*'.
std::string MascaraTexto(const std::string& texto);

// A field's value as printed: field 010 (the PIN block) all '*'; field 098 (the track) with its card
// number masked and every letter and digit after it hidden; any other field by MascaraTexto.
std::string MascaraCampo(int numero, const std::string& valor);

// Which nibbles of each byte of a block of data a dump hides (OCULTO_ALTO, OCULTO_BAIXO): inside
// each field read from it, those that the characters hidden by MascaraCampo came from; outside the
// fields (all of a block that no layout could read), every byte that is not zero.
inline constexpr std::uint8_t OCULTO_ALTO = 0x2;
inline constexpr std::uint8_t OCULTO_BAIXO = 0x1;
std::vector<std::uint8_t> MascaraDados(const PedidoLido& lido, const std::uint8_t* dados, std::size_t tamanho);

}  // namespace simulador
