// The error response: any failure of a transaction answered in the shape of a refusal.
#pragma once

#include "fields/TG.h"

// Replaces the table's fields by an error response carrying `mensagem` (at most 1,023
// characters are kept) and logs the text unchanged. With a known type: 000, 001, every field a
// refusal carries (003 kept from the table, 009 = "85", 030 = the text, the others empty), 999.
// Without one: 000 = "???", 001, 030 = the text, 999. Never fails.
void MontaRespostaErro(TG& transacao, const char* mensagem);
