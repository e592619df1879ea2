// The name rule of request files, and what happens to a wrongly named one.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "apoio/DiretorioTemporario.h"
#include "comum/Err.h"
#include "apoio/CapturaLog.h"
#include "platform/TextoSistema.h"
#include "service/VerificaNome.h"

namespace {

struct CasoNome {
  const char* nome;
  int largura;
  bool valido;
};

void PrintTo(const CasoNome& c, std::ostream* os) { *os << '"' << c.nome << "\" width " << c.largura; }

// A test name from the case: width, then the file name with every other character as '_'.
std::string NomeDoCaso(const ::testing::TestParamInfo<CasoNome>& info) {
  std::string n = "w" + std::to_string(info.param.largura) + "_" + std::to_string(info.index) + "_";
  for (const char* p = info.param.nome; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return n;
}

class RegraDoNome : public ::testing::TestWithParam<CasoNome> {};

TEST_P(RegraDoNome, Decide) {
  const CasoNome& c = GetParam();
  EXPECT_EQ(NomePedidoValido(c.nome, c.largura), c.valido) << c.nome << " width " << c.largura;
}

INSTANTIATE_TEST_SUITE_P(
    Larguras8e16, RegraDoNome,
    ::testing::Values(CasoNome{"00000123.ENV", 8, true}, CasoNome{"00000123.env", 8, true},
                      CasoNome{"00000123.EnV", 8, true}, CasoNome{"99999999.ENV", 8, true},
                      CasoNome{"123.ENV", 8, false}, CasoNome{"0000012A.ENV", 8, false},
                      CasoNome{"000001234.ENV", 8, false}, CasoNome{"0000123.ENV", 8, false},
                      CasoNome{" 0000123.ENV", 8, false}, CasoNome{"+0000123.ENV", 8, false},
                      CasoNome{"00000123.EN", 8, false}, CasoNome{"00000123XENV", 8, false},
                      CasoNome{"00000123.ENV.ENV", 8, false}, CasoNome{".ENV", 8, false},
                      CasoNome{"", 8, false}, CasoNome{"0000000000000123.ENV", 16, true},
                      CasoNome{"0000000000000123.env", 16, true}, CasoNome{"00000123.ENV", 16, false},
                      CasoNome{"000000000000123.ENV", 16, false}, CasoNome{"00000000000001234.ENV", 16, false},
                      CasoNome{"000000000000012x.ENV", 16, false}),
    NomeDoCaso);

class VerificaNomeArquivo : public ::testing::Test {
 protected:
  DiretorioTemporario dir;
  CapturaLog janela;
};

TEST_F(VerificaNomeArquivo, NomeValidoPassaSemTocarNoArquivo) {
  dir.Escreve("00000123.ENV", "x");
  EXPECT_TRUE(VerificaNome("00000123.ENV", (dir / "00000123.ENV").c_str(), 8));
  EXPECT_TRUE(dir.Existe("00000123.ENV"));
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(VerificaNomeArquivo, NomeInvalidoEAnotadoEApagado) {
  for (const char* nome : {"123.ENV", "0000012A.ENV", "000001234.ENV"}) {
    CapturaLog::Limpa();
    dir.Escreve(nome, "x");
    const std::string caminho = dir / nome;
    EXPECT_FALSE(VerificaNome(nome, caminho.c_str(), 8));
    EXPECT_FALSE(dir.Existe(nome));
    EXPECT_EQ(CapturaLog::Linhas(),
              (std::vector<std::string>{"*** Nome de Arquivo Invalido: \"" + caminho + "\"", "*** Arquivo Deletado!"}));
  }
}

TEST_F(VerificaNomeArquivo, NomeInvalidoQueJaSumiuNaoEncerraOServico) {
  const std::string caminho = dir / "sumiu.ENV";
  EXPECT_FALSE(VerificaNome("sumiu.ENV", caminho.c_str(), 8));
  EXPECT_EQ(CapturaLog::Conta("*** Arquivo Deletado!"), 1);
}

TEST_F(VerificaNomeArquivo, NomeInvalidoQueNaoSaiEncerraOServico) {
  // A directory in the way stands for a file that refuses to be deleted.
  dir.CriaSubdiretorio("preso.ENV/dentro");
  const std::string caminho = dir / "preso.ENV";
  try {
    VerificaNome("preso.ENV", caminho.c_str(), 8);
    FAIL() << "expected Err";
  } catch (const Err& e) {
    EXPECT_STREQ(e.mensagem, plataforma::TextoDoSistema("\n*** Nao foi possível deletar!"));
  }
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Nome de Arquivo Invalido: \"" + caminho + "\""});
}

}  // namespace
