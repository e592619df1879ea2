// Stopping zelpd while a sale is with the host: the first SIGTERM lets the sale end and publish its
// response, claims nothing new, then exits 0; a second SIGTERM ends it at once.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "falhas_apoio.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
using namespace falhas;

TEST(ParadaOrdenada, PrimeiroSigtermEsperaARespostaENaoReivindicaMais) {
  HostEmExecucao host({"--resumo", "--atraso", "2000"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ConfigGateway c;
  c.porta = host.Porta();
  ZelpdEmTeste g(c);
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  g.EscrevePedido(1);
  std::string sta;
  // The status is out, so the sale is with the host, which holds its answer for two seconds.
  ASSERT_TRUE(g.EsperaArquivo(1, "sta", 10s, sta)) << g.Saida();
  std::this_thread::sleep_for(300ms);
  const auto sinal = std::chrono::steady_clock::now();
  g.Zelpd().Sinaliza(SIGTERM);
  ASSERT_TRUE(g.EsperaSaida("*** Parada: aguardando 1 transacao(oes) em curso\n", 2s)) << g.Saida();
  // A request dropped after the signal is left for the next start.
  g.EscrevePedido(2);

  int status = -1;
  ASSERT_TRUE(g.Zelpd().Espera(15s, status)) << g.Saida();
  const auto decorrido = std::chrono::steady_clock::now() - sinal;
  EXPECT_EQ(status, 0) << g.Saida();
  EXPECT_GE(decorrido, 1s) << "zelpd did not wait for the host's answer";

  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(1, "rsp", 0ms, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_NE(g.Saida().find("*** Servico parado\n"), std::string::npos) << g.Saida();
  // The clean-up of the finished sale ran before the end.
  EXPECT_FALSE(g.Dir().Existe("entrada/00000001.log"));
  EXPECT_TRUE(g.Dir().Existe("entrada/00000002.ENV"));
  EXPECT_FALSE(g.Dir().Existe("saida/00000002.sta"));
}

TEST(ParadaOrdenada, SemTransacaoEmCursoSaiLogoCom0) {
  ZelpdComHost z;
  ASSERT_EQ(z.Inicia(), "");
  ZelpdEmTeste& g = z.Gateway();
  g.EscrevePedido(1);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(1, "rsp", 10s, rsp)) << g.Saida();
  ASSERT_TRUE(EsperaAte([&] { return !g.Dir().Existe("entrada/00000001.log"); }, 5s));

  g.Zelpd().Sinaliza(SIGTERM);
  int status = -1;
  ASSERT_TRUE(g.Zelpd().Espera(3s, status)) << g.Saida();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.Saida().find("aguardando"), std::string::npos) << g.Saida();
}

TEST(ParadaImediata, SegundoSigtermTerminaNaHoraCom1) {
  // A host that would hold its answer far longer than the test waits.
  HostEmExecucao host({"--resumo", "--atraso", "20000"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ConfigGateway c;
  c.porta = host.Porta();
  c.tOutCnf = 30;
  ZelpdEmTeste g(c);
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  g.EscrevePedido(1);
  std::string sta;
  ASSERT_TRUE(g.EsperaArquivo(1, "sta", 10s, sta)) << g.Saida();
  g.Zelpd().Sinaliza(SIGTERM);
  ASSERT_TRUE(g.EsperaSaida("*** Parada: aguardando 1 transacao(oes) em curso\n", 2s)) << g.Saida();
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(g.Zelpd().Rodando()) << "the first signal must wait for the sale";

  const auto sinal = std::chrono::steady_clock::now();
  g.Zelpd().Sinaliza(SIGTERM);
  int status = -1;
  ASSERT_TRUE(g.Zelpd().Espera(3s, status)) << g.Saida();
  EXPECT_LE(std::chrono::steady_clock::now() - sinal, 1500ms);
  EXPECT_EQ(status, 1);
  EXPECT_NE(g.Saida().find("*** Parada imediata: 1 transacao(oes) em curso interrompida(s)\n"), std::string::npos)
      << g.Saida();
  EXPECT_FALSE(g.Dir().Existe("saida/00000001.rsp"));
}

}  // namespace
