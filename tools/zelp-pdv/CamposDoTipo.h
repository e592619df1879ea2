// The fields of a transaction type as the writer of a point-of-sale program needs them, taken from
// the catalogue the gateway encodes and decodes with, so that they cannot drift from it.
#pragma once

#include <string>
#include <vector>

#include "catalogo/Catalogo.h"

// One field as shown: written as in request and response files, whether it must be there, how long
// it may be, and what it holds.
struct LinhaCampo {
  int numero;
  std::string campo;     // "003-000"; a repeated field "043-nnn"; the closing line "999-999"
  std::string presenca;  // request: required, conditional, optional; response: always, approval, refusal
  std::string tamanho;
  std::string conteudo;
};

struct CamposDoTipo {
  std::vector<LinhaCampo> pedido;
  std::vector<std::string> notasPedido;  // the group, the cheque rules, the fields the gateway adds
  std::vector<LinhaCampo> resposta;
  std::vector<std::string> notasResposta;  // the group, what is an approval, the error response
};

CamposDoTipo DescreveTipo(const TTipoTransacao& t);

// The layout's label: P or R and the code of the first type of the catalogue that uses it ("P31").
std::string NomeLayout(const TTipoTransacao& t, bool pedido);
// "cheque" or "card", from the header the type's requests carry.
const char* NomeFamilia(const TTipoTransacao& t);
