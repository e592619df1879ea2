// The real zelpd in a directory of its own: command line, banner, claims, invalid names, the
// orderly stop on SIGTERM and SIGINT, and the end after a fatal service error.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"

namespace {

using namespace std::chrono_literals;

std::string Executa(const std::vector<std::string>& args, const DiretorioTemporario& dir, int& status) {
  Processo p(CaminhoPrograma("zelpd"), args, dir.Caminho(), dir / "saida.txt");
  EXPECT_TRUE(p.Iniciou());
  EXPECT_TRUE(p.Espera(10s, status)) << "zelpd did not end";
  return p.Saida();
}

TEST(ZelpdLinhaDeComando, Versao) {
  DiretorioTemporario dir;
  int status = -1;
  EXPECT_EQ(Executa({"--version"}, dir, status), "Servidor ZELP V00.68\n");
  EXPECT_EQ(status, 0);
}

TEST(ZelpdLinhaDeComando, AjudaFalaDoZelpIni) {
  DiretorioTemporario dir;
  int status = -1;
  const std::string saida = Executa({"--help"}, dir, status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(saida.find("zelp.ini in the working"), std::string::npos) << saida;
  EXPECT_NE(saida.find("whole configuration"), std::string::npos) << saida;
}

TEST(ZelpdLinhaDeComando, ArgumentoDesconhecidoERecusado) {
  DiretorioTemporario dir;
  int status = -1;
  const std::string saida = Executa({"--porta"}, dir, status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(saida.find("unknown argument '--porta'"), std::string::npos) << saida;
}

void EscreveIni(const DiretorioTemporario& dir, bool comUrl) {
  std::string ini =
      "[Tempos]\nTOutIni=1\n[Diretorios]\nEntrada=in\nSaida=out\nTamNomeArq=8\n[PEstab]\npar0=estab0.dat\n";
  if (comUrl) ini += "[End0]\nurl=127.0.0.1\nPort=9\n";
  dir.Escreve("zelp.ini", ini);
}

class ZelpdSinal : public ::testing::TestWithParam<int> {};

TEST_P(ZelpdSinal, ReivindicaApagaInvalidosEParaComStatus0) {
  DiretorioTemporario dir;
  dir.CriaSubdiretorio("in");
  dir.CriaSubdiretorio("out");
  EscreveIni(dir, true);
  dir.Escreve("in/00000123.ENV", "000-000 = CRT\n001-000 = 123\n011-000 = 31\n383-000 = 0\n999-999 = \n");
  dir.Escreve("in/123.ENV", "x");

  Processo zelpd(CaminhoPrograma("zelpd"), {}, dir.Caminho(), dir / "saida.txt");
  ASSERT_TRUE(zelpd.Iniciou());
  // The service waits two seconds before it does anything.
  std::this_thread::sleep_for(700ms);
  EXPECT_EQ(zelpd.Saida(), "");
  EXPECT_TRUE(dir.Existe("in/00000123.ENV"));

  ASSERT_TRUE(EsperaAte([&] { return dir.Existe("in/00000123.log") && dir.Existe("out/00000123.sta"); }, 20s))
      << zelpd.Saida();
  EXPECT_FALSE(dir.Existe("in/00000123.ENV"));
  EXPECT_FALSE(dir.Existe("in/123.ENV"));
  ASSERT_TRUE(EsperaAte([&] { return zelpd.Saida().find("00000123.sta\n") != std::string::npos; }, 5s));

  const std::string saida = zelpd.Saida();
  EXPECT_EQ(saida.rfind("Servidor ZELP V00.68\n", 0), 0u) << saida;
  EXPECT_NE(saida.find("*** Nome de Arquivo Invalido: \"in/123.ENV\"\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("*** Arquivo Deletado!\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("Arquivo in/00000123.ENV encontrado\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("in/00000123.ENV renomeado como in/00000123.log\n"), std::string::npos) << saida;

  zelpd.Sinaliza(GetParam());
  int status = -1;
  ASSERT_TRUE(zelpd.Espera(3s, status)) << "zelpd did not stop promptly";
  EXPECT_EQ(status, 0);
}

INSTANTIATE_TEST_SUITE_P(TermEInt, ZelpdSinal, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param == SIGTERM ? "SIGTERM" : "SIGINT"; });

// About twelve seconds: two of start-up and ten of the fatal pause.
TEST(ZelpdLento, SemUrlTerminaComStatus1DezSegundosDepoisDaMensagem) {
  DiretorioTemporario dir;
  dir.CriaSubdiretorio("in");
  dir.CriaSubdiretorio("out");
  EscreveIni(dir, false);
  Processo zelpd(CaminhoPrograma("zelpd"), {}, dir.Caminho(), dir / "saida.txt");
  ASSERT_TRUE(zelpd.Iniciou());

  const std::string mensagem = "*** Nenhuma 'url' especificada!!!";
  ASSERT_TRUE(EsperaAte([&] { return zelpd.Saida().find(mensagem) != std::string::npos; }, 20s)) << zelpd.Saida();
  const auto visto = std::chrono::steady_clock::now();
  // Dropped after the failure: never claimed.
  dir.Escreve("in/00000042.ENV", "000-000 = CRT\n001-000 = 42\n011-000 = 31\n383-000 = 0\n999-999 = \n");

  int status = -1;
  ASSERT_TRUE(zelpd.Espera(25s, status));
  const auto decorrido = std::chrono::steady_clock::now() - visto;
  EXPECT_EQ(status, 1);
  EXPECT_GE(decorrido, 9s);
  EXPECT_LE(decorrido, 20s);
  EXPECT_TRUE(dir.Existe("in/00000042.ENV"));
  const std::string saida = zelpd.Saida();
  EXPECT_EQ(saida.rfind("Servidor ZELP V00.68\n", 0), 0u) << saida;
  // One window line, one output line: the message's leading line break does not split it.
  EXPECT_NE(saida.find(" " + mensagem + "\n"), std::string::npos) << saida;
}

}  // namespace
