// A field built from text: the value is copied whole, up to any NUL it might hold.
#include "fields/TA.h"

#include <cstring>
#include <utility>

#include "platform/Protecao.h"

namespace {
// Unsigned arithmetic: a negative number or occurrence gets a large key instead of an overflow,
// and the table sorts such fields after every field of 0..999.
std::uint32_t Chave(std::int32_t num, std::int32_t oc) {
  return static_cast<std::uint32_t>(num) * 1000u + static_cast<std::uint32_t>(oc);
}
}  // namespace

TA::TA(std::int32_t num, std::int32_t oc, const char* texto)
    : chave(Chave(num, oc)), numero(num), ocorrencia(oc), valor(texto ? texto : "") {}

TA::TA(std::int32_t num, std::int32_t oc, std::string texto)
    : chave(Chave(num, oc)), numero(num), ocorrencia(oc), valor(std::move(texto)) {
  // Values travel as C texts to the files and the host: a NUL would silently end them there.
  const std::size_t nul = valor.find('\0');
  if (nul != std::string::npos) valor.resize(nul);
  // A short text is moved by copying its bytes: the ones left behind are wiped too.
  plataforma::ApagaTexto(texto);
}

TA::~TA() { plataforma::ApagaTexto(valor); }
