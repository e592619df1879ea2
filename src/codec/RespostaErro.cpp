// The error response: any failure of a transaction answered in the shape of a refusal.
#include "codec/RespostaErro.h"

#include <cstring>
#include <memory>
#include <string>

#include "codec/TipoValido.h"
#include "comum/Limites.h"
#include "log/GravaLog.h"

namespace {

constexpr std::size_t TAM_CAMPO_003 = 15;
constexpr const char* CODIGO_ERRO = "85";

// The first 15 characters of the last field 003 of the table, whatever its occurrence.
std::string Valor003(const TG& transacao) {
  const TA* ultimo = nullptr;
  for (std::int32_t i = 0; i < transacao.quantidade && i < MAX_CAMPOS; ++i) {
    const TA* campo = transacao.campos[static_cast<std::size_t>(i)].get();
    if (campo && campo->numero == 3) ultimo = campo;
  }
  if (!ultimo) return {};
  std::string v(ultimo->valor.c_str());
  if (v.size() > TAM_CAMPO_003) v.resize(TAM_CAMPO_003);
  return v;
}

void Acrescenta(TG& transacao, std::int32_t numero, std::int32_t ocorrencia, const char* valor) {
  transacao.Acrescenta(std::make_unique<TA>(numero, ocorrencia, valor));
}

}  // namespace

void MontaRespostaErro(TG& transacao, const char* mensagem) {
  std::string texto(mensagem ? mensagem : "");
  if (texto.size() > TAM_MENSAGEM - 1) texto.resize(TAM_MENSAGEM - 1);

  const std::string guardado003 = Valor003(transacao);
  transacao.LimpaCampos();

  if (!TemTipoValido(transacao)) {
    Acrescenta(transacao, 0, 0, "???");
    transacao.Acrescenta(std::make_unique<TA>(1, 0, transacao.identificador));
    Acrescenta(transacao, 30, 0, texto.c_str());
  } else {
    const TTipoTransacao& t = transacao.Tipo();
    Acrescenta(transacao, 0, 0, t.nome);
    transacao.Acrescenta(std::make_unique<TA>(1, 0, transacao.identificador));
    const TLayoutMensagem& layout = t.resposta;
    for (std::int32_t i = 2; i < layout.numDefinicoes - 1; ++i) {
      const TLayoutCampo& d = layout.definicoes[i];
      if (d.condicao >= 1) continue;  // approval-only fields have no place in a refusal
      const char* valor = "";
      if (d.numero == 3) valor = guardado003.c_str();
      else if (d.numero == 9) valor = CODIGO_ERRO;
      else if (d.numero == 30) valor = texto.c_str();
      Acrescenta(transacao, d.numero, 0, valor);
    }
  }
  Acrescenta(transacao, 999, 999, "");

  GravaLog("%s", texto.c_str());
}
