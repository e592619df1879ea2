// The simulator's answer: response code by its rules, then every placed field of the type's
// response layout filled with a plausible value.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "zelp-host/LeituraPedido.h"

namespace simulador {

struct RegrasResposta {
  int codigoTodos = -1;                   // answer every request with this code (--codigo-resposta NN)
  std::map<int, int> codigoPorTransacao;  // per transaction code (--codigo-resposta CODIGO=NN)
  int repeticoes = 0;                     // count of the response's repeated group; 0 = by the request
};

// What the answer carries besides its bytes: for the report and for tests.
struct CampoResposta {
  int numero = 0;
  int ocorrencia = 0;
  std::string valor;  // as the gateway will read it back
};

struct RespostaSimulada {
  int codigoResposta = 0;      // 0..99, written as two digits in field 009
  bool aprovacao = true;       // the variant the gateway's decoder will choose
  std::string motivo;          // which rule chose the code
  int repeticoes = 0;          // count byte written (0 when the layout has no group)
  std::vector<std::uint8_t> dados;
  std::vector<CampoResposta> campos;  // the placed fields written, in layout order
};

// The fixed values that make an answer reproducible: the clock and the host's own number.
struct Contexto {
  int ano = 2026, mes = 1, dia = 1, hora = 0, minuto = 0, segundo = 0;
  unsigned nsu = 1;  // the host's running number of answers
};

// The response code of a request whose BCD holds a nibble above 9: a format error, whatever the
// other rules say, as a careful host answers a message it cannot read as numbers.
inline constexpr int CODIGO_BCD_INVALIDO = 30;

// Response code by the rules, in this order: a malformed BCD field (CODIGO_BCD_INVALIDO), a
// per-code option, the all-codes option, then the amount: field 003 whose last two digits are
// not "00" gives those two digits; else "00".
int EscolheCodigoResposta(int codigoTransacao, const PedidoLido& pedido, const RegrasResposta& regras,
                          std::string& motivo);

// True when the gateway's decoder reads this response code as an approval: 0, or 26 to 28 for
// codes 41, 102, 105, 109 and 110.
bool LidaComoAprovacao(int codigoResposta, int codigoTransacao);

// The refusal text of a response code, for field 030.
std::string TextoRecusa(int codigoResposta);

RespostaSimulada MontaResposta(const TTipoTransacao& tipo, const PedidoLido& pedido, const RegrasResposta& regras,
                               const Contexto& contexto);

}  // namespace simulador
