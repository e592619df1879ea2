// The queue between the logging threads and the list: the 128-line rule, the order of the lines, the
// wake-ups, and lines that come when no list is connected.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ui/FilaLinhas.h"

namespace {

// The list as the window holds it, built from what the queue hands over.
struct Lista {
  std::vector<std::string> linhas;
  void Aplica(TFilaLinhas::Lote lote) {
    if (lote.limpar) linhas.clear();
    for (auto& l : lote.linhas) linhas.push_back(std::move(l));
  }
};

// The rule as stated: a list of 128 lines or more is emptied before the next line is appended.
std::vector<std::string> Esperado(int quantas, int primeira = 1) {
  std::vector<std::string> lista;
  for (int i = primeira; i < primeira + quantas; ++i) {
    if (lista.size() >= 128) lista.clear();
    lista.push_back("linha " + std::to_string(i));
  }
  return lista;
}

}  // namespace

struct CasoRegra {
  int linhas;
  int retiraACada;  // 0: one hand-over at the end only
};

class RegraDas128 : public testing::TestWithParam<CasoRegra> {};

TEST_P(RegraDas128, ListaSegueARegraQualquerQueSejaORitmoDaJanela) {
  TFilaLinhas fila;
  int avisos = 0;
  fila.Liga([&] { ++avisos; });
  Lista lista;
  const CasoRegra caso = GetParam();
  for (int i = 1; i <= caso.linhas; ++i) {
    fila.Adiciona(("linha " + std::to_string(i)).c_str());
    if (caso.retiraACada != 0 && i % caso.retiraACada == 0) lista.Aplica(fila.Retira());
  }
  lista.Aplica(fila.Retira());
  EXPECT_EQ(lista.linhas, Esperado(caso.linhas));
  EXPECT_GE(avisos, 1);
}

INSTANTIATE_TEST_SUITE_P(Ritmos, RegraDas128,
                         testing::Values(CasoRegra{1, 0}, CasoRegra{127, 0}, CasoRegra{128, 0}, CasoRegra{129, 0},
                                         CasoRegra{129, 1}, CasoRegra{129, 128}, CasoRegra{256, 0}, CasoRegra{257, 0},
                                         CasoRegra{257, 7}, CasoRegra{1000, 0}, CasoRegra{1000, 1},
                                         CasoRegra{1000, 100}));

TEST(FilaLinhas, A129aLinhaFicaSozinha) {
  TFilaLinhas fila;
  fila.Liga([] {});
  Lista lista;
  for (int i = 1; i <= 128; ++i) fila.Adiciona(("linha " + std::to_string(i)).c_str());
  lista.Aplica(fila.Retira());
  ASSERT_EQ(lista.linhas.size(), 128u);
  fila.Adiciona("a 129a");
  lista.Aplica(fila.Retira());
  EXPECT_EQ(lista.linhas, std::vector<std::string>{"a 129a"});
}

TEST(FilaLinhas, UmAvisoPorLoteAteAJanelaRetirar) {
  TFilaLinhas fila;
  int avisos = 0;
  fila.Liga([&] { ++avisos; });
  fila.Adiciona("a");
  fila.Adiciona("b");
  fila.Adiciona("c");
  EXPECT_EQ(avisos, 1);
  auto lote = fila.Retira();
  EXPECT_EQ(lote.linhas, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_FALSE(lote.limpar);
  fila.Adiciona("d");
  EXPECT_EQ(avisos, 2);
  // A hand-over with nothing new is empty and harmless.
  fila.Retira();
  auto vazio = fila.Retira();
  EXPECT_TRUE(vazio.linhas.empty());
  EXPECT_FALSE(vazio.limpar);
}

TEST(FilaLinhas, JanelaLentaNaoAcumulaMaisQueUmaLista) {
  TFilaLinhas fila;
  fila.Liga([] {});
  for (int i = 1; i <= 100000; ++i) fila.Adiciona(("linha " + std::to_string(i)).c_str());
  auto lote = fila.Retira();
  EXPECT_TRUE(lote.limpar);
  EXPECT_LE(lote.linhas.size(), static_cast<size_t>(MAX_LINHAS_LISTA));
  Lista lista;
  lista.Aplica(std::move(lote));
  EXPECT_EQ(lista.linhas, Esperado(100000));
}

TEST(FilaLinhas, SemListaLigadaAsLinhasSaoDescartadas) {
  TFilaLinhas fila;
  int avisos = 0;
  fila.Adiciona("antes de ligar");
  EXPECT_FALSE(fila.Ligada());
  EXPECT_TRUE(fila.Retira().linhas.empty());

  fila.Liga([&] { ++avisos; });
  fila.Adiciona("pendente");
  fila.Desliga();
  fila.Adiciona("depois de desligar");
  EXPECT_TRUE(fila.Retira().linhas.empty());

  // A new list starts empty: nothing of the old one comes back, and the count starts again.
  fila.Liga([&] { ++avisos; });
  for (int i = 1; i <= 128; ++i) fila.Adiciona(("linha " + std::to_string(i)).c_str());
  auto lote = fila.Retira();
  EXPECT_FALSE(lote.limpar);
  EXPECT_EQ(lote.linhas, Esperado(128));
  EXPECT_EQ(avisos, 2);
}

TEST(FilaLinhas, TextoNuloEIgnoradoETextoVazioEUmaLinha) {
  TFilaLinhas fila;
  fila.Liga([] {});
  fila.Adiciona(nullptr);
  fila.Adiciona("");
  auto lote = fila.Retira();
  EXPECT_EQ(lote.linhas, std::vector<std::string>{""});
}

TEST(FilaLinhas, VariasThreadsLinhasInteirasEEmOrdem) {
  TFilaLinhas fila;
  std::atomic<int> avisos{0};
  fila.Liga([&] { ++avisos; });
  constexpr int THREADS = 4;
  constexpr int POR_THREAD = 32;  // 128 in all: the list keeps every one
  const std::string carga(200, 'x');
  std::vector<std::thread> threads;
  std::atomic<bool> parar{false};
  Lista lista;
  // The window takes lines while the threads are still adding.
  std::thread janela([&] {
    while (!parar.load()) lista.Aplica(fila.Retira());
  });
  for (int t = 0; t < THREADS; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < POR_THREAD; ++i)
        fila.Adiciona(("t" + std::to_string(t) + " " + std::to_string(i) + " " + carga).c_str());
    });
  }
  for (auto& th : threads) th.join();
  parar.store(true);
  janela.join();
  lista.Aplica(fila.Retira());

  ASSERT_EQ(lista.linhas.size(), static_cast<size_t>(THREADS * POR_THREAD));
  std::vector<int> proxima(THREADS, 0);
  for (const auto& linha : lista.linhas) {
    int t = -1, i = -1;
    char resto[256] = {};
    ASSERT_EQ(std::sscanf(linha.c_str(), "t%d %d %255s", &t, &i, resto), 3) << linha;
    ASSERT_TRUE(t >= 0 && t < THREADS) << linha;
    EXPECT_EQ(i, proxima[t]) << "thread " << t << " out of order";
    proxima[t] = i + 1;
    EXPECT_EQ(std::string(resto), carga);
  }
}
