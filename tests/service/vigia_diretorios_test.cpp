// The watch over the exchange directories: one line when a directory goes, one when it is back,
// looked at no more than once a second of the tick count; and the lock that keeps a second service
// from claiming in the same input directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "apoio/DiretorioTemporario.h"
#include "apoio/CapturaLog.h"
#include "service/TravaEntrada.h"
#include "service/VigiaDiretorios.h"

namespace {

namespace fs = std::filesystem;

class VigiaTeste : public ::testing::Test {
 protected:
  VigiaTeste() {
    dir.CriaSubdiretorio("in");
    dir.CriaSubdiretorio("out");
    entrada = dir / "in/";
    saida = dir / "out/";
  }
  void Olha(std::uint32_t agora) { vigia.Verifica(entrada, saida, agora); }

  DiretorioTemporario dir;
  CapturaLog janela;
  VigiaDiretorios vigia;
  std::string entrada, saida;
};

TEST_F(VigiaTeste, DiretoriosPresentesNadaDizem) {
  Olha(1000);
  Olha(5000);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_FALSE(vigia.FaltaEntrada());
  EXPECT_FALSE(vigia.FaltaSaida());
}

TEST_F(VigiaTeste, SaidaQueSomeEVoltaDizUmaVezCada) {
  Olha(0);
  fs::remove_all(dir / "out");
  Olha(1000);
  Olha(2000);
  Olha(3000);
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de saida inacessivel: " + saida), 1);
  EXPECT_TRUE(vigia.FaltaSaida());
  EXPECT_FALSE(vigia.FaltaEntrada());

  dir.CriaSubdiretorio("out");
  Olha(4000);
  Olha(5000);
  EXPECT_EQ(CapturaLog::Conta("Diretorio de saida acessivel: " + saida), 1);
  EXPECT_FALSE(vigia.FaltaSaida());
  EXPECT_EQ(CapturaLog::Linhas().size(), 2u);
}

TEST_F(VigiaTeste, ArquivoNoLugarOuCaminhoAtravesDeArquivoEFalta) {
  fs::remove_all(dir / "in");
  dir.Escreve("in", "um arquivo");
  saida = (dir / "in/out/");
  Olha(0);
  EXPECT_TRUE(vigia.FaltaEntrada());
  EXPECT_TRUE(vigia.FaltaSaida());
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de entrada inacessivel: " + entrada), 1);
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de saida inacessivel: " + saida), 1);
}

TEST_F(VigiaTeste, OlhaNoMaximoUmaVezPorSegundoMesmoNaVoltaDoContador) {
  Olha(0xFFFFFF00u);  // the first look is always made
  fs::remove_all(dir / "in");
  Olha(0xFFFFFFF0u);          // 240 ms later: too soon
  Olha(0x00000100u);          // 512 ms after the first, across the wrap: too soon
  EXPECT_FALSE(vigia.FaltaEntrada());
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  Olha(0x00000300u);          // 1024 ms after the first
  EXPECT_TRUE(vigia.FaltaEntrada());
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de entrada inacessivel: " + entrada), 1);
}

// The lock follows the input directory and outlives the service while its workers still run.
TEST_F(VigiaTeste, TravaDaEntradaUmServicoPorVez) {
  std::vector<std::string> avisos;
  auto primeiro = std::make_unique<TravaEntrada>();
  TravaEntrada segundo([&](const std::string& d) { avisos.push_back(d); });
  ASSERT_TRUE(primeiro->Garante(entrada));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(segundo.Garante(entrada));
  EXPECT_EQ(avisos, std::vector<std::string>{entrada});
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Diretorio de entrada em uso por outro servico: " + entrada});

  // A worker of the first service still runs: the directory stays its own.
  std::shared_ptr<const void> worker = primeiro->Posse();
  primeiro.reset();
  EXPECT_FALSE(segundo.Garante(entrada));
  worker.reset();
  EXPECT_TRUE(segundo.Garante(entrada));
  EXPECT_EQ(CapturaLog::Conta("Diretorio de entrada liberado pelo outro servico: " + entrada), 1);

  // A directory made anew, or another one named by a reload, is locked again.
  TravaEntrada terceiro;
  fs::remove_all(dir / "in");
  fs::create_directory(dir / "in");
  EXPECT_TRUE(segundo.Garante(entrada));
  EXPECT_FALSE(terceiro.Garante(entrada));
  EXPECT_TRUE(terceiro.Garante(saida));
  EXPECT_EQ(avisos.size(), 1u) << "the caller hears of it once";
}

}  // namespace
