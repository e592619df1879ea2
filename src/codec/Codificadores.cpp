// The field encoders of request messages.
#include "codec/Codificadores.h"

#include <cstring>

#include "catalogo/Catalogo.h"

namespace {

std::int32_t Comprimento(const char* valor) {
  return valor ? static_cast<std::int32_t>(std::strlen(valor)) : 0;
}

void CodificaTextoCom(std::uint8_t* destino, const char* valor, std::int32_t tamanho, std::uint8_t enchimento) {
  if (tamanho <= 0) return;
  std::int32_t n = Comprimento(valor);
  if (n > tamanho) n = tamanho;  // a longer text is cut to the field rather than spill into the next
  if (n > 0) std::memcpy(destino, valor, static_cast<std::size_t>(n));
  std::memset(destino + n, enchimento, static_cast<std::size_t>(tamanho - n));
}

// The BCD part of a prefixed value: what follows its first character. An empty value has no
// rest, and its BCD part is all zero digits.
const char* RestoDoPrefixo(const char* texto) { return texto[0] ? texto + 1 : texto; }

}  // namespace

void CodificaNumerico(std::uint8_t* destino, const char* valor, std::int32_t tamanho) {
  std::int32_t resta = Comprimento(valor);
  for (std::int32_t pos = tamanho - 1; pos >= 0; --pos)
    destino[pos] = resta > 0 ? static_cast<std::uint8_t>(valor[--resta]) : std::uint8_t{'0'};
}

void CodificaBCD(std::uint8_t* destino, const char* valor, std::int32_t tamanho) {
  std::int32_t resta = Comprimento(valor);
  auto proximo = [&]() -> std::uint8_t {
    return resta > 0 ? static_cast<std::uint8_t>(static_cast<unsigned char>(valor[--resta]) & 0x0F) : 0;
  };
  for (std::int32_t pos = tamanho - 1; pos >= 0; --pos) {
    std::uint8_t baixo = proximo();
    std::uint8_t alto = proximo();
    destino[pos] = static_cast<std::uint8_t>((alto << 4) | baixo);
  }
}

bool CabeEmBCD(const char* valor, std::int32_t tamanho) {
  const std::int32_t n = Comprimento(valor);
  const std::int32_t cabem = tamanho > 0 ? 2 * tamanho : 0;
  for (std::int32_t i = 0; i < n; ++i) {
    if (valor[i] < '0' || valor[i] > '9') return false;
    // Digits left of the field are dropped: only leading zeros may go.
    if (i < n - cabem && valor[i] != '0') return false;
  }
  return true;
}

std::uint8_t ValorHexa(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return 0;
}

void CodificaHexa(std::uint8_t* destino, const char* valor, std::int32_t tamanho) {
  std::int32_t n = Comprimento(valor), lido = 0;
  auto proximo = [&]() -> std::uint8_t { return lido < n ? ValorHexa(valor[lido++]) : 0; };
  for (std::int32_t pos = 0; pos < tamanho; ++pos) {
    std::uint8_t alto = proximo();
    std::uint8_t baixo = proximo();
    destino[pos] = static_cast<std::uint8_t>((alto << 4) | baixo);
  }
}

void CodificaTexto(std::uint8_t* destino, const char* valor, std::int32_t tamanho) {
  CodificaTextoCom(destino, valor, tamanho, 0x20);
}

void CodificaTextoNul(std::uint8_t* destino, const char* valor, std::int32_t tamanho) {
  CodificaTextoCom(destino, valor, tamanho, 0x00);
}

std::uint8_t ValorBinario(const char* valor) {
  if (!valor) return 0;
  const char* p = valor;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negativo = false;
  if (*p == '+' || *p == '-') negativo = (*p++ == '-');
  // Unsigned arithmetic wraps, so the low byte is right however long the number is.
  std::uint32_t v = 0;
  for (; *p >= '0' && *p <= '9'; ++p) v = v * 10u + static_cast<std::uint32_t>(*p - '0');
  if (negativo) v = 0u - v;
  return static_cast<std::uint8_t>(v & 0xFFu);
}

void CodificaValor(std::uint8_t* destino, const char* valor, std::int32_t tamanho, std::int32_t tipo) {
  const char* texto = valor ? valor : "";
  switch (tipo) {
    case TIPO_NUMERICO: CodificaNumerico(destino, texto, tamanho); break;
    case TIPO_BCD: CodificaBCD(destino, texto, tamanho); break;
    case TIPO_HEXA: CodificaHexa(destino, texto, tamanho); break;
    case TIPO_BINARIO: destino[0] = ValorBinario(texto); break;
    case TIPO_CARACTER: destino[0] = static_cast<std::uint8_t>(texto[0]); break;
    case TIPO_PREFIXO_BCD:
      destino[0] = static_cast<std::uint8_t>(texto[0]);
      CodificaBCD(destino + 1, RestoDoPrefixo(texto), tamanho);
      break;
    case TIPO_TEXTO: CodificaTexto(destino, texto, tamanho); break;
    case TIPO_TEXTO_NUL: CodificaTextoNul(destino, texto, tamanho); break;
    default: break;  // none, the cheque block and unknown types write nothing here
  }
}

bool ValorCodificavel(const char* valor, std::int32_t tamanho, std::int32_t tipo) {
  const char* texto = valor ? valor : "";
  switch (tipo) {
    case TIPO_BCD: return CabeEmBCD(texto, tamanho);
    case TIPO_PREFIXO_BCD: return CabeEmBCD(RestoDoPrefixo(texto), tamanho);
    default: return true;
  }
}
