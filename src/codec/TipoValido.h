// The catalogue entry of a transaction, refused when the table names none.
#pragma once

#include "fields/TG.h"

// True when the transaction's `tipo` indexes the catalogue.
bool TemTipoValido(const TG& transacao);
// The transaction's entry; throws Erro "[011-000 = code]" when it has none.
const TTipoTransacao& TipoValido(const TG& transacao);
