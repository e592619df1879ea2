// The catalogue entry of a transaction, refused when the table names none.
#include "codec/TipoValido.h"

#include "comum/Erro.h"

bool TemTipoValido(const TG& transacao) { return transacao.tipo >= 0 && transacao.tipo < numTipos; }

const TTipoTransacao& TipoValido(const TG& transacao) {
  if (!TemTipoValido(transacao))
    throw Erro::Formata("*ZELP* Campo [%03d-%03d = %02d] invalido", 11, 0, transacao.codigo);
  return transacao.Tipo();
}
