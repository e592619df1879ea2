// Checks a sorted field table against a request layout and encodes it into the message data.
#include "codec/MontaPedido.h"

#include "codec/Cheques.h"
#include "codec/Codificadores.h"
#include "codec/MensagemCampoInvalido.h"
#include "codec/Presencas.h"
#include "codec/VerificaFaltantes.h"
#include "comum/Erro.h"

std::int32_t MontaPedido(TG& transacao, std::uint8_t* dados, const TLayoutMensagem& layout) {
  const bool temGrupo = layout.TemGrupo();
  CK presencas(layout.numDefinicoes);
  std::int32_t i = 0;
  std::int32_t c = 1;  // repetitions allowed so far: only the first occurrence before the count is met

  for (std::int32_t j = 0; j < transacao.quantidade && j < MAX_CAMPOS; ++j) {
    const TA* campo = transacao.campos[static_cast<std::size_t>(j)].get();
    if (!campo) continue;
    const TA& f = *campo;
    while (i < layout.numDefinicoes && layout.definicoes[i].numero < f.numero) ++i;
    // Past the last entry (a number above 999) or on another number: the layout lacks the field.
    if (i >= layout.numDefinicoes) CampoInvalido(f.numero, f.ocorrencia);
    const TLayoutCampo& e = layout.definicoes[i];
    if (e.numero != f.numero) CampoInvalido(f.numero, f.ocorrencia);

    // With a group, occurrences 0 and 1 are the same one; without, every occurrence is.
    const std::int32_t o = temGrupo && f.ocorrencia > 0 ? f.ocorrencia - 1 : 0;

    if (e.posicao == -1) {
      presencas.Marca(i, o);
      continue;
    }

    const bool noGrupo = temGrupo && e.repetido == 1;
    // Inside the group the count decides; outside it a field has a single place, so a second
    // occurrence would silently overwrite the first and is refused instead (this also keeps a
    // count of 0 from refusing fields that are not part of the group).
    if (noGrupo ? o >= c : o >= 1) CampoInvalido(f.numero, f.ocorrencia);

    std::uint8_t* destino = dados + e.posicao;
    if (noGrupo && o < layout.maxRepeticoes) destino += o * layout.tamRepeticao;

    if (presencas.Tem(i, o)) CampoInvalido(e.numero, e.repetido == 1 ? o + 1 : 0);
    // An amount the field cannot carry digit for digit would reach the host as another number.
    if (!ValorCodificavel(f.valor.c_str(), e.tamanho, e.tipo)) CampoInvalido(f.numero, f.ocorrencia);
    presencas.Marca(i, o);

    if (e.tipo == TIPO_CHEQUE)
      ValidaCheques(dados, transacao, j);
    else
      CodificaValor(destino, f.valor.c_str(), e.tamanho, e.tipo);

    if (temGrupo && e.posicao == layout.posContador) {
      c = static_cast<std::int8_t>(dados[layout.posContador]);
      // A count above the maximum, or one that reads as negative, would put the group outside
      // the message or make it shorter than its fixed part.
      if (c > layout.maxRepeticoes || c < 0)
        throw Erro::Formata("*ZELP* Campo [%03d-%03d = %02d] invalido", f.numero, f.ocorrencia, c);
    }
  }

  const std::uint32_t esperado = temGrupo ? (1u << (static_cast<std::uint32_t>(c) % 32u)) - 1u : 0u;
  VerificaFaltantes(presencas, layout, esperado);

  const std::int32_t b = temGrupo ? static_cast<std::int8_t>(dados[layout.posContador]) : 0;
  return layout.TamanhoFixo() + b * layout.tamRepeticao;
}
