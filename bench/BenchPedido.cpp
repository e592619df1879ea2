// Request side: reading a request file and encoding the largest request layouts.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ApoioBench.h"
#include "codec/MontaPedido.h"
#include "codec/PreparaPedido.h"
#include "comum/Erro.h"
#include "fields/ArquivoCampos.h"

namespace {

// The parse alone: the request text comes from memory, as if the page cache held the file.
void BM_LePedido(benchmark::State& state) {
  std::string texto = TextoPedidoVenda();
  TG transacao;
  for (auto _ : state) {
    std::FILE* f = fmemopen(texto.data(), texto.size(), "r");
    if (f == nullptr) {
      state.SkipWithError("fmemopen failed");
      break;
    }
    benchmark::DoNotOptimize(LePedido(transacao, f));
  }
  if (transacao.quantidade != 6) state.SkipWithError("the request was not read whole");
}
BENCHMARK(BM_LePedido);

// As the worker meets it: the claimed file opened by name, read and closed.
void BM_LePedidoDeArquivo(benchmark::State& state) {
  DiretorioBench dir;
  const std::string caminho = dir.Caminho() + "00000031.log";
  const std::string texto = TextoPedidoVenda();
  {
    std::FILE* f = std::fopen(caminho.c_str(), "wb");
    if (f == nullptr || std::fwrite(texto.data(), 1, texto.size(), f) != texto.size()) {
      if (f) std::fclose(f);
      state.SkipWithError("cannot write the request file");
      return;
    }
    std::fclose(f);
  }
  TG transacao;
  for (auto _ : state) benchmark::DoNotOptimize(LePedido(transacao, std::fopen(caminho.c_str(), "r")));
  if (transacao.quantidade != 6) state.SkipWithError("the request was not read whole");
}
BENCHMARK(BM_LePedidoDeArquivo);

// MontaPedido over a table that the assembly has already completed and sorted, into a zeroed buffer.
void MontaPedidoDe(benchmark::State& state, const std::vector<CampoBench>& campos) {
  TG transacao;
  PreencheTabela(transacao, campos);
  try {
    PreparaPedido(transacao);  // adds 901.., 910.. and sorts: the table MontaPedido is given
  } catch (const Erro& e) {
    state.SkipWithError(e.Texto());
    return;
  }
  const TTipoTransacao& tipo = transacao.Tipo();
  const std::int32_t capacidade = CapacidadePedido(tipo);
  BF dados(capacidade);
  std::int32_t tamanho = 0;
  for (auto _ : state) {
    std::memset(dados.dados.get(), 0, static_cast<std::size_t>(capacidade));
    tamanho = MontaPedido(transacao, dados.dados.get(), tipo.pedido);
    benchmark::DoNotOptimize(dados.dados.get());
  }
  state.counters["campos"] = transacao.quantidade;
  state.counters["bytes"] = tamanho;
}

void BM_MontaPedido_P41x10(benchmark::State& state) { MontaPedidoDe(state, PedidoComGrupo(41, 10)); }
void BM_MontaPedido_P109x10(benchmark::State& state) { MontaPedidoDe(state, PedidoComGrupo(109, 10)); }
void BM_MontaPedido_P20x12(benchmark::State& state) { MontaPedidoDe(state, PedidoCheques(12)); }
BENCHMARK(BM_MontaPedido_P41x10);
BENCHMARK(BM_MontaPedido_P109x10);
BENCHMARK(BM_MontaPedido_P20x12);

// The whole assembly as the worker runs it: constants and establishment fields added, sort, encode,
// header; the table is rebuilt from the request's fields each time (counted in the figure).
void PreparaPedidoDe(benchmark::State& state, const std::vector<CampoBench>& campos) {
  TG transacao;
  for (auto _ : state) {
    PreencheTabela(transacao, campos);
    try {
      BF quadro = PreparaPedido(transacao);
      benchmark::DoNotOptimize(quadro.dados.get());
    } catch (const Erro& e) {
      state.SkipWithError(e.Texto());
      break;
    }
  }
}

void BM_PreparaPedido_P31(benchmark::State& state) { PreparaPedidoDe(state, PedidoVenda()); }
void BM_PreparaPedido_P41x10(benchmark::State& state) { PreparaPedidoDe(state, PedidoComGrupo(41, 10)); }
void BM_PreparaPedido_P20x12(benchmark::State& state) { PreparaPedidoDe(state, PedidoCheques(12)); }
BENCHMARK(BM_PreparaPedido_P31);
BENCHMARK(BM_PreparaPedido_P41x10);
BENCHMARK(BM_PreparaPedido_P20x12);

}  // namespace
