// Readable texts of what the simulator received and answered: fields and hex dumps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zelp-host/LeituraPedido.h"
#include "zelp-host/Quadro.h"
#include "zelp-host/RespostaSimulada.h"

namespace simulador {

// Lines "  0000  0a 01 1f ...  |....|", 16 bytes each. With a mask (MascaraDados, one entry per byte)
// each hidden nibble shows as '*', and so does the character of its byte.
std::string DumpHexa(const std::uint8_t* dados, std::size_t tamanho, const std::vector<std::uint8_t>* mascara = nullptr);

// A value for the terminal: bytes outside printable ASCII shown as \xHH, so a request cannot
// drive the terminal.
std::string Visivel(const std::string& valor);

std::string TextoCabecalho(const Cabecalho& cabecalho);
// The fields' values masked (MascaraCampo) unless mostraCartao.
std::string TextoPedido(const PedidoLido& pedido, bool mostraCartao);
std::string TextoResposta(const RespostaSimulada& resposta, bool mostraCartao);

}  // namespace simulador
