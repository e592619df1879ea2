// The length limits of the log writer: with and without a log directory, and the log path's limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "log/GravaLinha.h"
#include "log/GravaLog.h"

namespace {

const plataforma::HoraLocal MEIO_DIA{2026, 12, 7, 12, 0, 0, 0};
const char* const ESTOURO = "Estouro do Buffer de GravaLog!";

class LimitesLog : public ::testing::Test {
 protected:
  void SetUp() override { zelp_log::DefineDirLog(""); }
  void TearDown() override { zelp_log::DefineDirLog(""); }
  CapturaLog janela;
};

struct CasoSemDiretorio {
  std::size_t tamanho;
  bool aceito;
};

TEST_F(LimitesLog, SemDiretorioAte500CaracteresVaoParaAJanela) {
  const CasoSemDiretorio casos[] = {{0, true}, {1, true}, {499, true}, {500, true}, {501, false}, {1023, false},
                                    {5000, false}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.tamanho);
    CapturaLog::Limpa();
    std::string mensagem(caso.tamanho, 'm');
    EXPECT_EQ(GravaLog("%s", mensagem.c_str()), caso.aceito);
    auto linhas = CapturaLog::Linhas();
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0], caso.aceito ? mensagem : ESTOURO);
  }
}

TEST_F(LimitesLog, FormatacaoEnormeNaoEstouraBuffer) {
  EXPECT_FALSE(GravaLog("%100000d|%s", 7, "x"));
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{ESTOURO});
}

struct CasoComDiretorio {
  std::size_t tamanhoMensagem;
  bool aceito;
};

TEST_F(LimitesLog, ComDiretorioLinhaDe314CaracteresEhGravadaE315Recusada) {
  DiretorioTemporario dir;
  zelp_log::DefineDirLog(dir.Caminho().c_str());
  // The time prefix takes 13 characters: 301 + 13 = 314.
  const CasoComDiretorio casos[] = {{0, true}, {300, true}, {301, true}, {302, false}, {500, false}};
  std::string esperado;
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.tamanhoMensagem);
    CapturaLog::Limpa();
    std::string mensagem(caso.tamanhoMensagem, 'k');
    EXPECT_EQ(zelp_log::GravaMensagem(MEIO_DIA, mensagem.c_str()), caso.aceito);
    auto linhas = CapturaLog::Linhas();
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0], caso.aceito ? " " + mensagem : std::string(ESTOURO));
    if (caso.aceito) esperado += "12:00:00.000 " + mensagem + "\r\n";
    EXPECT_EQ(dir.Le("LT071226.txt"), esperado);
  }
}

TEST_F(LimitesLog, LinhaRecusadaNaoCriaOArquivo) {
  DiretorioTemporario dir;
  zelp_log::DefineDirLog(dir.Caminho().c_str());
  EXPECT_FALSE(zelp_log::GravaMensagem(MEIO_DIA, std::string(302, 'z').c_str()));
  EXPECT_FALSE(dir.Existe("LT071226.txt"));
}

// The log path is dirLog, "/" and the 12-character name: at most 199 characters are accepted.
TEST_F(LimitesLog, CaminhoDoArquivoDeLogAte199Caracteres) {
  DiretorioTemporario base;
  const std::size_t nome = std::string("/LT071226.txt").size();
  for (std::size_t tamanhoCaminho : {std::size_t{199}, std::size_t{200}}) {
    SCOPED_TRACE(tamanhoCaminho);
    // A subdirectory that brings dirLog to exactly the length wanted.
    std::size_t falta = tamanhoCaminho - nome - base.Caminho().size() - 1;
    std::string sub = "d" + std::to_string(tamanhoCaminho) + std::string(falta - 4, 'p');
    ASSERT_EQ(sub.size(), falta);
    base.CriaSubdiretorio(sub);
    std::string dirLog = base / sub;
    ASSERT_EQ(dirLog.size() + nome, tamanhoCaminho);
    zelp_log::DefineDirLog(dirLog.c_str());
    CapturaLog::Limpa();
    bool aceito = tamanhoCaminho <= 199;
    EXPECT_EQ(zelp_log::GravaMensagem(MEIO_DIA, "caminho"), aceito);
    EXPECT_EQ(std::filesystem::exists(dirLog + "/LT071226.txt"), aceito);
    EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{aceito ? " caminho" : ESTOURO});
  }
}

TEST(DirLog, GuardaNoMaximo259Caracteres) {
  std::string longo(300, 'a');
  zelp_log::DefineDirLog(longo.c_str());
  char copia[400];
  zelp_log::CopiaDirLog(copia, sizeof copia);
  EXPECT_EQ(std::string(copia), std::string(259, 'a'));
  char curto[5];
  zelp_log::CopiaDirLog(curto, sizeof curto);
  EXPECT_EQ(std::string(curto), "aaaa");
  zelp_log::DefineDirLog(nullptr);
  zelp_log::CopiaDirLog(copia, sizeof copia);
  EXPECT_EQ(std::string(copia), "");
}

TEST(JanelaLog, TextoDaJanelaCortadoEm1023Caracteres) {
  CapturaLog janela;
  std::string longo(2000, 'w');
  zelp_log::MostraJanelaFormatado("%s", longo.c_str());
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{std::string(1023, 'w')});
}

TEST(JanelaLog, SemSaidaInstaladaOTextoEhDescartado) {
  zelp_log::DefineSaidaJanela(nullptr);
  zelp_log::DefineDirLog("");
  EXPECT_TRUE(GravaLog("sem janela %d", 1));
  EXPECT_FALSE(GravaLog("%s", std::string(501, 'x').c_str()));
}

}  // namespace
