// The field decoders of response messages.
#include "codec/Decodificadores.h"

#include <cstring>

#include "catalogo/Catalogo.h"

namespace {

std::int32_t Limita(std::int32_t tamanho, std::int32_t maximo) {
  if (tamanho < 0) return 0;
  return tamanho > maximo ? maximo : tamanho;
}

constexpr std::int32_t MAX_TEXTO = static_cast<std::int32_t>(TAM_DECODIFICACAO) - 1;

}  // namespace

void DecodificaBCD(char* destino, const std::uint8_t* origem, std::int32_t tamanho) {
  std::int32_t n = Limita(tamanho, MAX_TEXTO / 2);
  for (std::int32_t i = 0; i < n; ++i) {
    destino[2 * i] = static_cast<char>(0x30 + (origem[i] >> 4));
    destino[2 * i + 1] = static_cast<char>(0x30 + (origem[i] & 0x0F));
  }
  destino[2 * n] = '\0';
}

void DecodificaHexa(char* destino, const std::uint8_t* origem, std::int32_t tamanho) {
  static constexpr char digitos[] = "0123456789abcdef";
  std::int32_t n = Limita(tamanho, MAX_TEXTO / 2);
  for (std::int32_t i = 0; i < n; ++i) {
    destino[2 * i] = digitos[origem[i] >> 4];
    destino[2 * i + 1] = digitos[origem[i] & 0x0F];
  }
  destino[2 * n] = '\0';
}

void DecodificaBinario(char* destino, const std::uint8_t* origem) {
  unsigned v = origem[0];
  destino[0] = static_cast<char>('0' + v / 100);
  destino[1] = static_cast<char>('0' + v / 10 % 10);
  destino[2] = static_cast<char>('0' + v % 10);
  destino[3] = '\0';
}

void DecodificaValor(char* destino, const std::uint8_t* origem, std::int32_t tamanho, std::int32_t tipo) {
  destino[0] = '\0';
  switch (tipo) {
    case TIPO_NUMERICO: {
      // The bytes as they are; the text ends at the first 0x00, so a field left zero is empty.
      std::int32_t n = Limita(tamanho, MAX_TEXTO);
      std::memcpy(destino, origem, static_cast<std::size_t>(n));
      destino[n] = '\0';
      break;
    }
    case TIPO_BCD: DecodificaBCD(destino, origem, tamanho); break;
    case TIPO_HEXA: DecodificaHexa(destino, origem, tamanho); break;
    case TIPO_BINARIO: DecodificaBinario(destino, origem); break;
    case TIPO_CARACTER:
      destino[0] = static_cast<char>(origem[0]);
      destino[1] = '\0';
      break;
    default: break;  // no conversion is defined: the empty text
  }
}

std::int32_t ValorDigitos(const char* texto, std::int32_t n) {
  std::uint32_t v = 0;  // wraps instead of overflowing for absurd lengths; the codec reads two
  for (std::int32_t i = 0; i < n; ++i) v = v * 10u + (static_cast<unsigned char>(texto[i]) & 0x0Fu);
  return static_cast<std::int32_t>(v);
}
