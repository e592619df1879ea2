// Readable texts of what the simulator received and answered: fields and hex dumps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "zelp-host/LeituraPedido.h"
#include "zelp-host/Quadro.h"
#include "zelp-host/RespostaSimulada.h"

namespace simulador {

// Lines "  0000  0a 01 1f ...  |....|", 16 bytes each.
std::string DumpHexa(const std::uint8_t* dados, std::size_t tamanho);

// A value for the terminal: bytes outside printable ASCII shown as \xHH, so a request cannot
// drive the terminal.
std::string Visivel(const std::string& valor);

std::string TextoCabecalho(const Cabecalho& cabecalho);
std::string TextoPedido(const PedidoLido& pedido);
std::string TextoResposta(const RespostaSimulada& resposta);

}  // namespace simulador
