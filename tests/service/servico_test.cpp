// The service thread end to end inside the process: start-up, claims handed to workers, the
// clean-up with requests in flight, the fatal path and the orderly stop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "catalogo/Catalogo.h"
#include "platform/Relogio.h"
#include "apoio/CapturaLog.h"
#include "log/CamposDiario.h"
#include "service/IniciaWorker.h"
#include "service/LimiteTransacoes.h"
#include "service/TThreadServer.h"

namespace {

using namespace std::chrono_literals;

class ServicoTeste : public ::testing::Test {
 protected:
  // Static: the service thread may use them until it has set the end flag.
  static std::atomic<bool> encerrado;
  static std::atomic<bool> parar;

  ServicoTeste() {
    MontaMapaCodigos();
    encerrado.store(false);
    parar.store(false);
    dir.CriaSubdiretorio("in");
    dir.CriaSubdiretorio("out");
    opcoes.esperaInicial = 50;
    opcoes.esperaFatal = 100;
    opcoes.caminhoIni = dir / "zelp.ini";
    opcoes.parar = &parar;
  }

  ~ServicoTeste() override {
    parar.store(true);
    EXPECT_TRUE(EsperaAte([] { return encerrado.load(); }, 10s)) << "the service thread did not stop";
    EXPECT_TRUE(EsperaAte([] { return WorkersEmExecucao() == 0; }, 20s)) << "workers still running";
  }

  void EscreveIni(const std::string& extra, bool comUrl = true, int tOutIni = 1) {
    std::string ini = "[Tempos]\r\nTOutIni=" + std::to_string(tOutIni) +
                      "\r\n[Diretorios]\r\nEntrada=" + (dir / "in") + "\r\nSaida=" + (dir / "out") +
                      "\r\nTamNomeArq=8\r\n[PEstab]\r\npar0=estab0.dat\r\n";
    if (comUrl) ini += "[End0]\r\nurl=127.0.0.1\r\nPort=9\r\n";
    dir.Escreve("zelp.ini", ini + extra);
  }

  static std::string Numero(int n) {
    char b[16];
    std::snprintf(b, sizeof b, "%08d", n);
    return b;
  }

  void EscrevePedido(int n, const std::string& cabecalho = "CRT") {
    const std::string num = Numero(n);
    // Written under another name first, so the scan never sees a half-written request.
    dir.Escreve("in/" + num + ".tmp", "000-000 = " + cabecalho + "\r\n001-000 = " + std::to_string(n) +
                                          "\r\n011-000 = 31\r\n383-000 = 0\r\n999-999 = \r\n");
    std::filesystem::rename(dir / ("in/" + num + ".tmp"), dir / ("in/" + num + ".ENV"));
  }

  void Inicia() { servico.emplace(encerrado, opcoes); }

  DiretorioTemporario dir;
  CapturaLog janela;
  OpcoesServico opcoes;
  std::optional<TThreadServer> servico;
};

std::atomic<bool> ServicoTeste::encerrado{false};
std::atomic<bool> ServicoTeste::parar{false};

TEST_F(ServicoTeste, ReivindicaEEntregaAoWorker) {
  EscreveIni("");
  EscrevePedido(123);
  Inicia();
  ASSERT_TRUE(EsperaAte([&] { return dir.Existe("out/00000123.sta"); }, 10s));
  EXPECT_EQ(dir.Le("out/00000123.sta"), "000-000 = ATV\r\n001-000 = 00000123\r\n999-999 = \r\n");
  EXPECT_TRUE(dir.Existe("in/00000123.log")) << "without [Deleta] Log the processed request stays";
  const auto linhas = CapturaLog::Linhas();
  ASSERT_FALSE(linhas.empty());
  EXPECT_EQ(linhas.front(), "Servidor ZELP V00.68");
  EXPECT_EQ(CapturaLog::Conta("Arquivo " + (dir / "in/") + "00000123.ENV encontrado"), 1);

  // A processed request is never claimed again.
  CapturaLog::Limpa();
  plataforma::Dorme(500);
  EXPECT_EQ(CapturaLog::ContaCom("encontrado"), 0);
  EXPECT_TRUE(dir.Existe("in/00000123.log"));
}

TEST_F(ServicoTeste, NadaAconteceDuranteAEsperaInicial) {
  EscreveIni("");
  EscrevePedido(7);
  opcoes.esperaInicial = 1500;
  Inicia();
  plataforma::Dorme(500);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_TRUE(dir.Existe("in/00000007.ENV"));
  EXPECT_TRUE(EsperaAte([&] { return dir.Existe("out/00000007.sta"); }, 10s));
}

TEST_F(ServicoTeste, ConfiguracaoSemUrlEncerraPeloCaminhoFatal) {
  EscreveIni("", /*comUrl=*/false);
  EscrevePedido(5);
  opcoes.esperaFatal = 1000;
  Inicia();
  const std::string mensagem = "\n*** Nenhuma 'url' especificada!!!";
  ASSERT_TRUE(EsperaAte([&] { return CapturaLog::Conta(mensagem) == 1; }, 10s));
  const auto visto = std::chrono::steady_clock::now();
  EXPECT_FALSE(encerrado.load()) << "the end flag waits for the fatal pause";
  ASSERT_TRUE(EsperaAte([] { return encerrado.load(); }, 10s));
  EXPECT_GE(std::chrono::steady_clock::now() - visto, 800ms);

  const auto linhas = CapturaLog::Linhas();
  ASSERT_EQ(linhas.size(), 2u);
  EXPECT_EQ(linhas[0], "Servidor ZELP V00.68") << "the banner comes before the first load";
  EXPECT_EQ(linhas[1], mensagem);
  EXPECT_TRUE(dir.Existe("in/00000005.ENV")) << "nothing is claimed once the service has failed";
}

TEST_F(ServicoTeste, PedidoDeParadaEncerraSemCaminhoFatal) {
  EscreveIni("");
  Inicia();
  ASSERT_TRUE(EsperaAte([] { return CapturaLog::Conta("Servidor ZELP V00.68") == 1; }, 10s));
  parar.store(true);
  ASSERT_TRUE(EsperaAte([] { return encerrado.load(); }, 5s));
  // The one alarm: the establishment file the configuration names is not there, said at the start.
  EXPECT_EQ(CapturaLog::ContaCom("***"), 1);
  EXPECT_EQ(CapturaLog::Conta("*** Arquivo de estabelecimento inexistente: estab0.dat"), 1);
  // Stopped: a request dropped now stays where it is.
  EscrevePedido(9);
  plataforma::Dorme(300);
  EXPECT_TRUE(dir.Existe("in/00000009.ENV"));
}

TEST_F(ServicoTeste, PedidoInutilizavelOuAtvComDeletaLog) {
  EscreveIni("[Deleta]\r\nLog=1\r\n");
  // Three fields: not usable, no status.
  dir.Escreve("in/00000003.ENV", "000-000 = CRT\r\n001-000 = 3\r\n999-999 = \r\n");
  // ATV with four fields: the status is its whole answer.
  EscrevePedido(4, "ATV");
  Inicia();
  ASSERT_TRUE(EsperaAte([&] { return dir.Existe("out/00000004.sta"); }, 10s));
  ASSERT_TRUE(EsperaAte([&] { return dir.Nomes("in").empty(); }, 10s)) << "both processed requests are deleted";
  EXPECT_FALSE(dir.Existe("out/00000003.sta"));
  EXPECT_FALSE(dir.Existe("out/00000004.rsp"));
}

// With [Deleta] Log set every worker deletes the processed requests of all transactions; a request
// claimed but not yet handed over, or still being read, must survive them.
TEST_F(ServicoTeste, MuitosPedidosComDeletaLogNenhumSePerde) {
  EscreveIni("[Deleta]\r\nLog=1\r\n", true, /*tOutIni=*/0);
  constexpr int ONDAS = 4, POR_ONDA = 25;
  static std::atomic<int> registros{0};
  registros = 0;
  zelp_log::DefineSaidaRegistro([](const char*, const std::vector<std::string>&) { ++registros; });
  Inicia();
  ASSERT_TRUE(EsperaAte([] { return CapturaLog::Conta("Servidor ZELP V00.68") == 1; }, 10s));
  int n = 1000;
  for (int onda = 0; onda < ONDAS; ++onda) {
    for (int i = 0; i < POR_ONDA; ++i) EscrevePedido(++n);
    plataforma::Dorme(30);
  }
  const auto todos = [&] {
    for (int k = 1001; k <= n; ++k) {
      if (!dir.Existe("out/" + Numero(k) + ".sta")) return false;
    }
    return true;
  };
  EXPECT_TRUE(EsperaAte(todos, 60s));
  for (int k = 1001; k <= n; ++k) {
    EXPECT_EQ(dir.Le("out/" + Numero(k) + ".sta"), "000-000 = ATV\r\n001-000 = " + Numero(k) + "\r\n999-999 = \r\n")
        << "each worker answers its own request";
  }
  EXPECT_TRUE(EsperaAte([&] { return dir.Nomes("in").empty(); }, 10s)) << "the last clean-up takes every processed request";
  EXPECT_EQ(CapturaLog::ContaCom("***"), CapturaLog::ContaCom("*** Arquivo de estabelecimento inexistente"));
  EXPECT_EQ(CapturaLog::ContaCom("encontrado"), ONDAS * POR_ONDA);
  EXPECT_EQ(registros.load(), ONDAS * POR_ONDA) << "one record per transaction";
  zelp_log::DefineSaidaRegistro(nullptr);
}

// Every transaction at its peak leaves the service its reserve, and no more is held back than that.
TEST(LimiteTransacoes, DerivadoDosDescritores) {
  const std::uint64_t reserva = DescritoresReservados(), porTransacao = DescritoresPorTransacao();
  for (std::uint64_t descritores : {256u, 1024u}) {
    const std::uint64_t n = static_cast<std::uint64_t>(LimiteDeTransacoes(descritores));
    EXPECT_LE(reserva + n * porTransacao, descritores);
    EXPECT_GT(reserva + (n + 1) * porTransacao, descritores);
  }
  EXPECT_EQ(LimiteDeTransacoes(reserva), 1) << "one at a time, never none";
  EXPECT_EQ(LimiteDeTransacoes(0), MAX_TRANSACOES) << "no limit: threads and memory still bound it";
}

// At the bound a scan may claim nothing, and the end of a transaction ends the pause that follows.
TEST(LimiteTransacoes, FimDeTransacaoAcordaAPausa) {
  LimiteTransacoes limite(1);
  EXPECT_FALSE(limite.EsperaVaga(5000)) << "no scan cut short: the usual pause";
  EntraTransacao();
  EXPECT_EQ(limite.Vagas(std::numeric_limits<int>::max()), 0);
  limite.Reivindicados(0);
  std::thread fim([] { plataforma::Dorme(100), SaiTransacao(); });
  const auto inicio = std::chrono::steady_clock::now();
  EXPECT_TRUE(limite.EsperaVaga(10000));
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, 5s) << "woken by the end, not by the time";
  fim.join();
  EXPECT_EQ(limite.Vagas(1), 1);
}

}  // namespace
