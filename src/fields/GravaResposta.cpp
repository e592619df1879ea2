// The response file: every field of the table, one "NNN-NNN = value" line each.
#include <algorithm>

#include "comum/Texto.h"
#include "fields/ArquivoCampos.h"
#include "fields/PublicaArquivo.h"

namespace {
// With 10 characters before it and the line end after it, a line stays within 260 characters.
constexpr std::size_t TAM_MAX_VALOR = 248;
}  // namespace

bool GravaResposta(const TG& transacao, const std::string& dirSaida, int largura) {
  std::string conteudo;
  const int quantos = std::clamp<std::int32_t>(transacao.quantidade, 0, MAX_CAMPOS);
  for (int i = 0; i < quantos; ++i) {
    const TA* campo = transacao.campos[static_cast<std::size_t>(i)].get();
    if (campo == nullptr || campo->numero < 0 || campo->numero > 999) continue;
    std::string valor = campo->valor.substr(0, TAM_MAX_VALOR);
    // Host data is copied byte for byte; a line break inside it would split the field in two.
    for (char& c : valor) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    conteudo += Formata("%03d-%03d = ", campo->numero, campo->ocorrencia);
    conteudo += valor;
    conteudo += "\r\n";
  }
  return PublicaArquivo(dirSaida, largura, transacao.identificador, "rsp", conteudo);
}
