// Response side: decoding the largest response layouts as the simulated host fills them.
#include <benchmark/benchmark.h>

#include <string>

#include "ApoioBench.h"
#include "codec/DecodificaResposta.h"
#include "comum/Erro.h"

namespace {

void DecodificaDe(benchmark::State& state, const std::vector<CampoBench>& pedido) {
  std::string erro;
  const std::vector<std::uint8_t> dados = RespostaDoHost(pedido, 10, erro);
  if (dados.empty()) {
    state.SkipWithError(erro.empty() ? "the simulated host gave no answer" : erro.c_str());
    return;
  }
  TG transacao;
  PreencheTabela(transacao, pedido);
  const TLayoutMensagem& layout = transacao.Tipo().resposta;
  std::int32_t campos = 0;
  for (auto _ : state) {
    try {
      campos = DecodificaResposta(transacao, dados.data(), static_cast<std::int32_t>(dados.size()), layout);
    } catch (const Erro& e) {
      state.SkipWithError(e.Texto());
      break;
    }
    benchmark::DoNotOptimize(campos);
  }
  state.counters["campos"] = campos;
  state.counters["bytes"] = static_cast<double>(dados.size());
}

void BM_DecodificaResposta_R41x10(benchmark::State& state) { DecodificaDe(state, PedidoComGrupo(41, 10)); }
void BM_DecodificaResposta_R109x10(benchmark::State& state) { DecodificaDe(state, PedidoComGrupo(109, 10)); }
void BM_DecodificaResposta_R110x10(benchmark::State& state) {
  std::vector<CampoBench> pedido = {{0, 0, "CRT"},  {1, 0, "00000110"}, {11, 0, "110"},
                                    {98, 0, "4111111111111111=28121010000012345678"},
                                    {300, 0, "000000000042"}, {999, 999, ""}};
  DecodificaDe(state, pedido);
}
BENCHMARK(BM_DecodificaResposta_R41x10);
BENCHMARK(BM_DecodificaResposta_R109x10);
BENCHMARK(BM_DecodificaResposta_R110x10);

}  // namespace
