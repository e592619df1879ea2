// CRC-16/XMODEM through a constant table built at compile time, so concurrent workers share nothing
// mutable.
#include "hostlink/Crc16.h"

#include <array>

namespace {

constexpr std::array<std::uint16_t, 256> MontaTabela() {
  std::array<std::uint16_t, 256> tabela{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned t = i ^ (i >> 4);
    tabela[i] = static_cast<std::uint16_t>((t << 12) ^ (t << 5) ^ t);
  }
  return tabela;
}

constexpr std::array<std::uint16_t, 256> TABELA_CRC = MontaTabela();

}  // namespace

std::uint16_t Crc16Xmodem(const std::uint8_t* dados, std::size_t tamanho) {
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < tamanho; ++i) {
    crc = static_cast<std::uint16_t>(TABELA_CRC[((crc >> 8) ^ dados[i]) & 0xFF] ^ (crc << 8));
  }
  return crc;
}
