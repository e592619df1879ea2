// The exchange directories going wrong under a running zelpd: an output directory that is missing
// or cannot hold files, an input directory that is missing. The gateway keeps running, says why in
// its log, and serves again as soon as the directory is back.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "apoio/Processo.h"
#include "falhas_apoio.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
using namespace falhas;
namespace fs = std::filesystem;

struct CasoSaida {
  const char* nome;
  const char* saida;                                        // the Saida value
  std::function<void(const DiretorioTemporario&)> estraga;  // makes it unusable
  std::function<void(const DiretorioTemporario&)> conserta;
  int statusPdv;  // how zelp-pdv ends meanwhile: 5 no status came, 4 it could not even start
};

void PrintTo(const CasoSaida& caso, std::ostream* os) { *os << caso.nome; }

class SaidaInacessivel : public testing::TestWithParam<CasoSaida> {};

TEST_P(SaidaInacessivel, StatusFalhaLimpezaRodaLogDizPorqueEDepoisServe) {
  const CasoSaida& caso = GetParam();
  HostEmExecucao host({"--resumo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ConfigGateway c;
  c.porta = host.Porta();
  c.saida = caso.saida;
  ZelpdEmTeste g(c);
  fs::remove_all(g.Dir() / "saida");
  caso.estraga(g.Dir());
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  const std::string dirSaida = std::string(caso.saida) + "/";
  EXPECT_TRUE(g.EsperaSaida("*** Diretorio de saida inacessivel: " + dirSaida + "\n", 5s)) << g.Saida();

  // The gateway claims the request, cannot publish its status and cleans up.
  g.EscrevePedido(1);
  EXPECT_TRUE(g.EsperaSaida("*** Erro ao renomear para " + dirSaida + "00000001.sta\n", 10s)) << g.Saida();
  EXPECT_NE(g.Saida().find("*** Erro ao gravar " + dirSaida + "00000001.tmp ("), std::string::npos) << g.Saida();
  EXPECT_NE(g.Saida().find("entrada/00000001.ENV renomeado como entrada/00000001.log"), std::string::npos);
  EXPECT_TRUE(EsperaAte([&] { return !g.Dir().Existe("entrada/00000001.log"); }, 5s)) << "the clean-up ran";
  EXPECT_FALSE(g.Dir().Existe("entrada/00000001.ENV"));

  // What the point of sale sees: no status ever comes, as with a gateway that is not running (or,
  // where the output path is a file, zelp-pdv cannot even clear it for its request).
  Processo pdv(CaminhoPrograma("zelp-pdv"),
               {"--entrada", "entrada", "--saida", caso.saida, "--tempo-status", "3", "000-000=CRT", "001-000=5",
                "011-000=31", "003-000=1500", "098-000=4111111111111111=2812"},
               g.Dir().Caminho(), g.Dir() / "pdv.out");
  int status = -1;
  ASSERT_TRUE(pdv.Espera(20s, status));
  EXPECT_EQ(status, caso.statusPdv) << pdv.Saida();
  if (caso.statusPdv == 5) {
    EXPECT_NE(pdv.Saida().find("no status within"), std::string::npos) << pdv.Saida();
  }
  EXPECT_FALSE(g.Dir().Existe("entrada/00000005.ENV"));

  // Nothing reached the host: without a status no sale is sent.
  EXPECT_EQ(ConexoesDoHost(host), 0) << host.Saida();
  // Said once, not once per request.
  EXPECT_EQ(g.ContaSaida("*** Diretorio de saida inacessivel"), 1) << g.Saida();

  caso.conserta(g.Dir());
  EXPECT_TRUE(g.EsperaSaida("Diretorio de saida acessivel: " + dirSaida + "\n", 5s)) << g.Saida();
  g.EscrevePedido(2);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(2, "rsp", 20s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_TRUE(g.Zelpd().Rodando());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, SaidaInacessivel,
    testing::Values(
        CasoSaida{"Ausente", "saida", [](const DiretorioTemporario&) {},
                  [](const DiretorioTemporario& d) { d.CriaSubdiretorio("saida"); }, 5},
        CasoSaida{"ArquivoNoLugar", "saida", [](const DiretorioTemporario& d) { d.Escreve("saida", "um arquivo"); },
                  [](const DiretorioTemporario& d) {
                    fs::remove(d / "saida");
                    d.CriaSubdiretorio("saida");
                  },
                  4},
        CasoSaida{"CaminhoAtravesDeArquivo", "arq/saida",
                  [](const DiretorioTemporario& d) { d.Escreve("arq", "um arquivo"); },
                  [](const DiretorioTemporario& d) {
                    fs::remove(d / "arq");
                    fs::create_directories(d / "arq/saida");
                  },
                  4}),
    [](const testing::TestParamInfo<CasoSaida>& i) { return i.param.nome; });

TEST(EntradaInacessivel, LogDizUmaVezEOGatewayServeQuandoElaVolta) {
  HostEmExecucao host({"--resumo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ConfigGateway c;
  c.porta = host.Porta();
  ZelpdEmTeste g(c);
  fs::remove_all(g.Dir() / "entrada");
  ASSERT_TRUE(g.Inicia()) << g.Saida();
  EXPECT_TRUE(g.EsperaSaida("*** Diretorio de entrada inacessivel: entrada/\n", 5s)) << g.Saida();

  // What the point of sale sees: it cannot even hand its request over.
  Processo pdv(CaminhoPrograma("zelp-pdv"),
               {"--entrada", "entrada", "--saida", "saida", "--tempo-status", "2", "000-000=CRT", "001-000=1",
                "011-000=31", "003-000=1500"},
               g.Dir().Caminho(), g.Dir() / "pdv.out");
  int status = -1;
  ASSERT_TRUE(pdv.Espera(20s, status));
  EXPECT_EQ(status, 4) << pdv.Saida();

  g.Dir().CriaSubdiretorio("entrada");
  EXPECT_TRUE(g.EsperaSaida("Diretorio de entrada acessivel: entrada/\n", 5s)) << g.Saida();
  g.EscrevePedido(2);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(2, "rsp", 20s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;

  // Taken away while the gateway runs, then given back: said again, served again.
  fs::remove_all(g.Dir() / "entrada");
  EXPECT_TRUE(g.EsperaSaida("*** Diretorio de entrada inacessivel: entrada/\n", 5s, 2)) << g.Saida();
  g.Dir().CriaSubdiretorio("entrada");
  EXPECT_TRUE(g.EsperaSaida("Diretorio de entrada acessivel: entrada/\n", 5s, 2)) << g.Saida();
  g.EscrevePedido(3);
  ASSERT_TRUE(g.EsperaArquivo(3, "rsp", 20s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_EQ(g.ContaSaida("*** Diretorio de entrada inacessivel"), 2) << g.Saida();
  EXPECT_TRUE(g.Zelpd().Rodando());
}

}  // namespace
