// Delete-with-retry and rename-with-replace, with the lines they log.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/DiretorioTemporario.h"
#include "arquivos/OperacoesArquivo.h"
#include "apoio/CapturaLog.h"

namespace {

class OperacoesArquivo : public ::testing::Test {
 protected:
  DiretorioTemporario dir;
  CapturaLog janela;
};

TEST_F(OperacoesArquivo, ApagaArquivoExistenteOuAusenteESucesso) {
  dir.Escreve("a.sta", "x");
  EXPECT_TRUE(ApagaArquivo((dir / "a.sta").c_str()));
  EXPECT_FALSE(dir.Existe("a.sta"));
  // A file that is not there counts as deleted.
  EXPECT_TRUE(ApagaArquivo((dir / "a.sta").c_str()));
  EXPECT_TRUE(ApagaArquivo((dir / "nunca.rsp").c_str()));
  EXPECT_TRUE(CapturaLog::Linhas().empty()) << "deleting logs nothing";
  EXPECT_FALSE(ApagaArquivo(nullptr));
}

TEST_F(OperacoesArquivo, ApagaArquivoSomenteLeituraEApagado) {
  dir.Escreve("ro.rsp", "x");
  // Read-only: no write right on Linux, the read-only attribute on Windows.
  std::filesystem::permissions(dir / "ro.rsp", std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                   std::filesystem::perms::others_read);
  EXPECT_TRUE(ApagaArquivo((dir / "ro.rsp").c_str()));
  EXPECT_FALSE(dir.Existe("ro.rsp"));
}

TEST_F(OperacoesArquivo, RenomeiaSubstituiAlvoEAnota) {
  dir.Escreve("00000123.tmp", "novo");
  dir.Escreve("00000123.sta", "velho");
  const std::string de = dir / "00000123.tmp", para = dir / "00000123.sta";
  EXPECT_TRUE(RenomeiaArquivo(de.c_str(), para.c_str(), -1));
  EXPECT_FALSE(dir.Existe("00000123.tmp"));
  EXPECT_EQ(dir.Le("00000123.sta"), "novo");
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{de + " renomeado como " + para});
}

TEST_F(OperacoesArquivo, RenomeiaSemOrigemAnotaSoNaPrimeiraTentativa) {
  const std::string de = dir / "00000001.ENV", para = dir / "00000001.log";
  EXPECT_FALSE(RenomeiaArquivo(de.c_str(), para.c_str(), -1));
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Erro ao renomear para " + para});

  // A retry of a blocked request (its slot number given) fails quietly.
  CapturaLog::Limpa();
  EXPECT_FALSE(RenomeiaArquivo(de.c_str(), para.c_str(), 0));
  EXPECT_FALSE(RenomeiaArquivo(de.c_str(), para.c_str(), 9));
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(OperacoesArquivo, AlvoQueNaoSaiAnotaAcessoEFalha) {
  dir.Escreve("00000002.ENV", "pedido");
  dir.CriaSubdiretorio("00000002.log/ocupado");
  const std::string de = dir / "00000002.ENV", para = dir / "00000002.log";
  EXPECT_FALSE(RenomeiaArquivo(de.c_str(), para.c_str(), -1));
  EXPECT_EQ(CapturaLog::Linhas(),
            (std::vector<std::string>{"*** Erro de acesso a " + para, "*** Erro ao renomear para " + para}));
  EXPECT_EQ(dir.Le("00000002.ENV"), "pedido") << "the request is left as it was";
}

}  // namespace
