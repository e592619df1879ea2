// The start-up check of the limits that request assembly and response decoding rely on.
#include "catalogo/Catalogo.h"
#include "comum/Err.h"

namespace {
// The occurrences of a repeated group are tracked in one 32-bit mask.
constexpr std::int32_t MAX_REPETICOES = 32;
// A field table has 256 slots; assembly needs one spare.
constexpr std::int32_t MAX_DEFINICOES = 254;
}  // namespace

void VerificaCatalogo(const TTipoTransacao* tipos, int quantos) {
  for (int i = 0; i < quantos; ++i) {
    const TTipoTransacao& t = tipos[i];
    if (t.pedido.maxRepeticoes > MAX_REPETICOES) throw Err("\n*** Muitas Repeticoes(Pedido)!!!");
    if (t.resposta.maxRepeticoes > MAX_REPETICOES) throw Err("\n*** Muitas Repeticoes(Resposta)!!!");
    // Summed in 64 bits so that no table, however odd, can wrap the test.
    const std::int64_t camposPedido = static_cast<std::int64_t>(t.pedido.numDefinicoes) + t.numConstantes +
                                      t.numEstabelecimento;
    if (camposPedido > MAX_DEFINICOES) throw Err("\n*** Muitos Campos(Pedido)!!!");
    if (t.resposta.numDefinicoes > MAX_DEFINICOES) throw Err("\n*** Muitos Campos(Resposta)!!!");
  }
}

void VerificaCatalogo() { VerificaCatalogo(tiposTransacao, numTipos); }
