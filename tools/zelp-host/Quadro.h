// The host frame as the simulator sees it: optional zero prefix, 8-byte header, data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace simulador {

inline constexpr int TAM_CABECALHO = 8;
inline constexpr int TAM_PREFIXO = 40;

struct Cabecalho {
  std::uint8_t byte0 = 0;      // 3 for the cheque types, 10 for the card types
  std::uint8_t byte1 = 0;      // always 1 from the gateway
  std::uint8_t codigo = 0;     // low 8 bits of the transaction code
  std::uint8_t byte3 = 0;      // 68, or 255 for code 20
  std::uint8_t sequencia = 0;  // the gateway's message counter, echoed back
  std::uint16_t tamanhoDados = 0;  // little-endian on the wire (bytes 5 and 6)
  std::uint8_t byte7 = 0;
};

Cabecalho LeCabecalho(const std::uint8_t* bytes);
void GravaCabecalho(const Cabecalho& cabecalho, std::uint8_t* destino);

// A header never starts with 0 (byte 0 is 3 or 10), so a zero first byte announces the prefix
// that only code 14 sends ahead of its header.
inline bool IndicaPrefixo(std::uint8_t primeiroByte) { return primeiroByte == 0; }
// True when all 40 prefix bytes are zero.
bool PrefixoZerado(const std::uint8_t* prefixo);

// The answer's header: bytes 0, 2, 3 and the sequence as in the request, byte 1 = 1, the given
// data length, byte 7 = 0.
Cabecalho CabecalhoResposta(const Cabecalho& pedido, std::uint16_t tamanhoDados);

// The whole frame: 40 zero bytes when comPrefixo, the header, the data.
std::vector<std::uint8_t> MontaQuadro(bool comPrefixo, const Cabecalho& cabecalho,
                                      const std::vector<std::uint8_t>& dados);

}  // namespace simulador
