// Publishing status and response files (with and without the flushes that make them durable), the
// log line and the scan of the input directory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "ApoioBench.h"
#include "arquivos/OperacoesArquivo.h"
#include "codec/DecodificaResposta.h"
#include "comum/Erro.h"
#include "comum/Texto.h"
#include "fields/ArquivoCampos.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"

namespace {

constexpr int LARGURA = 8;

// A decoded answer as the worker holds it before publishing: the sale of code 31, or the largest.
bool TabelaResposta(TG& transacao, const std::vector<CampoBench>& pedido, std::string& erro) {
  const std::vector<std::uint8_t> dados = RespostaDoHost(pedido, 10, erro);
  if (dados.empty()) return false;
  PreencheTabela(transacao, pedido);
  try {
    DecodificaResposta(transacao, dados.data(), static_cast<std::int32_t>(dados.size()), transacao.Tipo().resposta);
  } catch (const Erro& e) {
    erro = e.Texto();
    return false;
  }
  return true;
}

std::vector<CampoBench> PedidoDoArgumento(const benchmark::State& state) {
  return state.range(0) == 41 ? PedidoComGrupo(41, 10) : PedidoVenda();
}

// A flush right after another waits for the journal commit of the one before: back to back they
// measure a burst. Transactions one at a time are spaced out, so the durable writers also run
// with an untimed pause before each call (the last argument, in ms).
void Espaca(benchmark::State& state, int indiceArgumento) {
  const auto pausa = state.range(indiceArgumento);
  if (pausa <= 0) return;
  state.PauseTiming();
  std::this_thread::sleep_for(std::chrono::milliseconds(pausa));
  state.ResumeTiming();
}

// The response writer as the worker calls it: .tmp written and flushed, renamed, directory flushed.
void BM_GravaResposta(benchmark::State& state) {
  TG transacao;
  std::string erro;
  if (!TabelaResposta(transacao, PedidoDoArgumento(state), erro)) {
    state.SkipWithError(erro.c_str());
    return;
  }
  DiretorioBench dir;
  for (auto _ : state) {
    Espaca(state, 1);
    if (!GravaResposta(transacao, dir.Caminho(), LARGURA)) {
      state.SkipWithError("the response was not published");
      break;
    }
  }
  state.counters["campos"] = transacao.quantidade;
}
BENCHMARK(BM_GravaResposta)->ArgNames({"tipo", "pausa"})->Args({31, 0})->Args({41, 0})->Args({31, 20})->UseRealTime();

// The same file and the same rename without the two flushes: the difference is their cost.
void BM_GravaRespostaSemFsync(benchmark::State& state) {
  TG transacao;
  std::string erro;
  if (!TabelaResposta(transacao, PedidoDoArgumento(state), erro)) {
    state.SkipWithError(erro.c_str());
    return;
  }
  DiretorioBench dir;
  const std::string nome = Formata("%0*lld", LARGURA, static_cast<long long>(transacao.identificador));
  const std::string temporario = dir.Caminho() + nome + ".tmp";
  const std::string final = dir.Caminho() + nome + ".rsp";
  for (auto _ : state) {
    std::string conteudo;
    for (int i = 0; i < transacao.quantidade; ++i) {
      const TA& c = *transacao.campos[static_cast<std::size_t>(i)];
      conteudo += Formata("%03d-%03d = ", c.numero, c.ocorrencia);
      conteudo += c.valor.substr(0, 248);
      conteudo += "\r\n";
    }
    if (!plataforma::GravaArquivoInteiro(temporario.c_str(), conteudo.data(), conteudo.size(), false) ||
        !RenomeiaArquivo(temporario.c_str(), final.c_str(), -1)) {
      state.SkipWithError("the response was not published");
      break;
    }
  }
  state.counters["campos"] = transacao.quantidade;
}
BENCHMARK(BM_GravaRespostaSemFsync)->ArgName("tipo")->Arg(31)->Arg(41)->UseRealTime();

// The status file, written and renamed before the request goes to the host (not flushed: the
// claim and the response are the durable records of a sale).
void BM_GravaStatus(benchmark::State& state) {
  TG transacao;
  PreencheTabela(transacao, PedidoVenda());
  DiretorioBench dir;
  for (auto _ : state) {
    Espaca(state, 0);
    if (!GravaStatus(transacao, dir.Caminho(), LARGURA)) {
      state.SkipWithError("the status was not published");
      break;
    }
  }
}
BENCHMARK(BM_GravaStatus)->ArgName("pausa")->Arg(0)->Arg(20)->UseRealTime();

// A claim as it would be made durable: one rename in the input directory, then the directory flushed.
void BM_RenomeiaESincronizaDiretorio(benchmark::State& state) {
  DiretorioBench dir;
  const std::string a = dir.Caminho() + "00000031.ENV";
  const std::string b = dir.Caminho() + "00000031.log";
  if (!plataforma::GravaArquivoInteiro(a.c_str(), "x", 1, false)) {
    state.SkipWithError("cannot create the request");
    return;
  }
  bool ida = true;
  for (auto _ : state) {
    Espaca(state, 1);
    if (!plataforma::Renomeia(ida ? a.c_str() : b.c_str(), ida ? b.c_str() : a.c_str()) ||
        (state.range(0) != 0 && !plataforma::SincronizaDiretorio(dir.Caminho().c_str()))) {
      state.SkipWithError("rename or flush failed");
      break;
    }
    ida = !ida;
  }
}
BENCHMARK(BM_RenomeiaESincronizaDiretorio)
    ->ArgNames({"fsync", "pausa"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 20})
    ->UseRealTime();

// One log line into the day's file: open, append, close, under the log lock.
void BM_GravaLog(benchmark::State& state) {
  DiretorioBench dir;
  const std::string semBarra = dir.Caminho().substr(0, dir.Caminho().size() - 1);
  zelp_log::DefineDirLog(semBarra.c_str());
  const std::string de = dir.Caminho() + "00000031.tmp";
  const std::string para = dir.Caminho() + "00000031.rsp";
  for (auto _ : state) benchmark::DoNotOptimize(GravaLog("%s renomeado como %s", de.c_str(), para.c_str()));
  zelp_log::DefineDirLog("");
}
BENCHMARK(BM_GravaLog)->UseRealTime();

// The scan's listing of the input directory with n requests waiting in it.
void BM_ListaArquivos(benchmark::State& state) {
  DiretorioBench dir;
  const int n = static_cast<int>(state.range(0));
  for (int i = 0; i < n; ++i) {
    const std::string caminho = dir.Caminho() + Formata("%08d.ENV", i + 1);
    if (!plataforma::GravaArquivoInteiro(caminho.c_str(), "x", 1, false)) {
      state.SkipWithError("cannot create the requests");
      return;
    }
  }
  const std::string mascara = dir.Caminho() + "*.ENV";
  std::size_t achados = 0;
  for (auto _ : state) {
    achados = plataforma::ListaArquivos(mascara.c_str()).size();
    benchmark::DoNotOptimize(achados);
  }
  if (achados != static_cast<std::size_t>(n)) state.SkipWithError("not every request was listed");
}
BENCHMARK(BM_ListaArquivos)->Arg(1)->Arg(200)->Arg(1000);

}  // namespace
