// The response file: every field of the table, one "NNN-NNN = value" line each.
#include <algorithm>

#include "comum/Texto.h"
#include "fields/ArquivoCampos.h"
#include "fields/PublicaArquivo.h"
#include "platform/Protecao.h"

namespace {
// With 10 characters before it and the line end after it, a line stays within 260 characters.
constexpr std::size_t TAM_MAX_VALOR = 248;
constexpr std::size_t TAM_SEM_VALOR = 12;  // "NNN-NNN = " and CR LF

bool Escrito(const TA* campo) { return campo != nullptr && campo->numero >= 0 && campo->numero <= 999; }
}  // namespace

bool GravaResposta(const TG& transacao, const std::string& dirSaida, int largura) {
  const int quantos = std::clamp<std::int32_t>(transacao.quantidade, 0, MAX_CAMPOS);
  // The response may echo card data: built in one block, never moved by growing, wiped once written.
  std::size_t tamanho = 0;
  for (int i = 0; i < quantos; ++i) {
    const TA* campo = transacao.campos[static_cast<std::size_t>(i)].get();
    if (Escrito(campo)) tamanho += TAM_SEM_VALOR + std::min(campo->valor.size(), TAM_MAX_VALOR);
  }
  std::string conteudo;
  conteudo.reserve(tamanho);
  for (int i = 0; i < quantos; ++i) {
    const TA* campo = transacao.campos[static_cast<std::size_t>(i)].get();
    if (!Escrito(campo)) continue;
    conteudo += Formata("%03d-%03d = ", campo->numero, campo->ocorrencia);
    const std::size_t inicioValor = conteudo.size();
    conteudo.append(campo->valor, 0, TAM_MAX_VALOR);
    // Host data is copied byte for byte; a line break inside it would split the field in two.
    std::replace_if(conteudo.begin() + static_cast<std::ptrdiff_t>(inicioValor), conteudo.end(),
                    [](char c) { return c == '\r' || c == '\n'; }, ' ');
    conteudo += "\r\n";
  }
  const bool publicada = PublicaArquivo(dirSaida, largura, transacao.identificador, "rsp", conteudo);
  plataforma::ApagaTexto(conteudo);
  return publicada;
}
