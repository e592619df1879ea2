// Reading and writing of the host frame header.
#include "zelp-host/Quadro.h"

#include <algorithm>

namespace simulador {

Cabecalho LeCabecalho(const std::uint8_t* bytes) {
  Cabecalho c;
  c.byte0 = bytes[0];
  c.byte1 = bytes[1];
  c.codigo = bytes[2];
  c.byte3 = bytes[3];
  c.sequencia = bytes[4];
  c.tamanhoDados = static_cast<std::uint16_t>(bytes[5] | (bytes[6] << 8));
  c.byte7 = bytes[7];
  return c;
}

void GravaCabecalho(const Cabecalho& c, std::uint8_t* destino) {
  destino[0] = c.byte0;
  destino[1] = c.byte1;
  destino[2] = c.codigo;
  destino[3] = c.byte3;
  destino[4] = c.sequencia;
  destino[5] = static_cast<std::uint8_t>(c.tamanhoDados & 0xFF);
  destino[6] = static_cast<std::uint8_t>(c.tamanhoDados >> 8);
  destino[7] = c.byte7;
}

bool PrefixoZerado(const std::uint8_t* prefixo) {
  return std::all_of(prefixo, prefixo + TAM_PREFIXO, [](std::uint8_t b) { return b == 0; });
}

Cabecalho CabecalhoResposta(const Cabecalho& pedido, std::uint16_t tamanhoDados) {
  Cabecalho c = pedido;
  c.byte1 = 1;
  c.tamanhoDados = tamanhoDados;
  c.byte7 = 0;
  return c;
}

std::vector<std::uint8_t> MontaQuadro(bool comPrefixo, const Cabecalho& cabecalho,
                                      const std::vector<std::uint8_t>& dados) {
  const std::size_t prefixo = comPrefixo ? TAM_PREFIXO : 0;
  std::vector<std::uint8_t> quadro(prefixo + TAM_CABECALHO + dados.size(), 0);
  GravaCabecalho(cabecalho, quadro.data() + prefixo);
  std::copy(dados.begin(), dados.end(), quadro.begin() + static_cast<std::ptrdiff_t>(prefixo + TAM_CABECALHO));
  return quadro;
}

}  // namespace simulador
