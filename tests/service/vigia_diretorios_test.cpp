// The watch over the exchange directories: one line when a directory goes, one when it is back,
// looked at no more than once a second of the tick count.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "apoio/DiretorioTemporario.h"
#include "apoio/CapturaLog.h"
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

}  // namespace
