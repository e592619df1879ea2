// The request line reader: two numbers of at most three characters, '-', '=', and a blank-free value.
#include "fields/LinhaCampo.h"

#include <limits>

#include "platform/Protecao.h"

namespace {

// The blanks of the C locale, which the line pattern skips and which end a value.
bool EhBranco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool EhDigito(char c) { return c >= '0' && c <= '9'; }

void PulaBrancos(const char*& p) {
  while (*p != '\0' && EhBranco(*p)) ++p;
}

enum class Leitura { Lido, Fim, NaoCasa };

// "%03d": blanks skipped, then at most three characters of an optional sign and decimal digits.
Leitura LeNumero3(const char*& p, std::int32_t& numero) {
  PulaBrancos(p);
  if (*p == '\0') return Leitura::Fim;
  int largura = 3;
  bool negativo = false;
  if (*p == '-' || *p == '+') {
    negativo = *p == '-';
    ++p;
    --largura;
  }
  if (!EhDigito(*p)) return Leitura::NaoCasa;
  std::int32_t valor = 0;
  while (largura > 0 && EhDigito(*p)) {
    valor = valor * 10 + (*p - '0');
    ++p;
    --largura;
  }
  numero = negativo ? -valor : valor;
  return Leitura::Lido;
}

}  // namespace

LinhaCampo::~LinhaCampo() { plataforma::ApagaTexto(valor); }

LinhaCampo LeLinhaCampo(const char* linha) {
  LinhaCampo r;
  if (linha == nullptr) {
    r.lidos = -1;
    return r;
  }
  const char* p = linha;

  switch (LeNumero3(p, r.numero)) {
    case Leitura::Fim: r.lidos = -1; return r;
    case Leitura::NaoCasa: return r;
    case Leitura::Lido: r.lidos = 1; break;
  }
  if (*p != '-') return r;
  ++p;
  if (LeNumero3(p, r.ocorrencia) != Leitura::Lido) return r;
  r.lidos = 2;
  PulaBrancos(p);
  if (*p != '=') return r;
  ++p;
  PulaBrancos(p);
  if (*p == '\0') return r;
  const char* inicio = p;
  while (*p != '\0' && !EhBranco(*p)) ++p;
  r.valor.assign(inicio, static_cast<std::size_t>(p - inicio));
  r.lidos = 3;
  return r;
}

std::int32_t InteiroInicial(const char* texto) {
  if (texto == nullptr) return 0;
  const char* p = texto;
  PulaBrancos(p);
  bool negativo = false;
  if (*p == '-' || *p == '+') negativo = *p++ == '-';
  // Accumulated as a negative number so that the most negative value needs no special case.
  constexpr std::int64_t MIN = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t MAX = std::numeric_limits<std::int32_t>::max();
  std::int64_t valor = 0;
  for (; EhDigito(*p); ++p) {
    valor = valor * 10 - (*p - '0');
    if (valor < MIN) {
      valor = MIN - 1;  // stays beyond the limit whatever digits follow
    }
  }
  if (negativo) return static_cast<std::int32_t>(valor < MIN ? MIN : valor);
  return static_cast<std::int32_t>(-valor > MAX ? MAX : -valor);
}

bool LeInteiro64(const char* texto, std::int64_t& numero) {
  if (texto == nullptr) return false;
  const char* p = texto;
  PulaBrancos(p);
  bool negativo = false;
  if (*p == '-' || *p == '+') negativo = *p++ == '-';
  if (!EhDigito(*p)) return false;
  constexpr std::int64_t MIN = std::numeric_limits<std::int64_t>::min();
  std::int64_t valor = 0;  // negative while accumulating, as above
  for (; EhDigito(*p); ++p) {
    const int d = *p - '0';
    if (valor < (MIN + d) / 10) return false;
    valor = valor * 10 - d;
  }
  if (!negativo) {
    if (valor == MIN) return false;
    valor = -valor;
  }
  numero = valor;
  return true;
}
