// Status and response files: exact bytes, names at the name width, publication by rename, refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "apoio/SistemaTeste.h"
#include "fields/ArquivoCampos.h"
#include "platform/Arquivos.h"

namespace {

namespace fs = std::filesystem;

class GravaArquivos : public ::testing::Test {
 protected:
  std::string Saida() const { return dir.Caminho() + "/"; }
  static void Acrescenta(TG& t, int num, int oc, std::string valor) {
    ASSERT_TRUE(t.Acrescenta(std::make_unique<TA>(num, oc, std::move(valor))));
  }

  DiretorioTemporario dir;
  CapturaLog log;
};

TEST_F(GravaArquivos, StatusExato) {
  TG t;
  t.identificador = 5;
  std::snprintf(t.cabecalho, sizeof t.cabecalho, "CRT");
  EXPECT_TRUE(GravaStatus(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000005.sta"), "000-000 = ATV\r\n001-000 = 00000005\r\n999-999 = \r\n");
  EXPECT_EQ(dir.Nomes(), std::vector<std::string>{"00000005.sta"});
  EXPECT_TRUE(CapturaLog::Contem("renomeado como " + Saida() + "00000005.sta")) << CapturaLog::Todas();
}

TEST_F(GravaArquivos, StatusDePedidoAtvEncerra) {
  for (const char* cab : {"ATV", "atv", "AtV"}) {
    SCOPED_TRACE(cab);
    TG t;
    t.identificador = 5;
    std::snprintf(t.cabecalho, sizeof t.cabecalho, "%s", cab);
    EXPECT_FALSE(GravaStatus(t, Saida(), 8));
    EXPECT_EQ(dir.Le("00000005.sta"), "000-000 = ATV\r\n001-000 = 00000005\r\n999-999 = \r\n");
  }
  // A longer header only starts with ATV: the transaction goes on.
  TG t;
  t.identificador = 6;
  std::snprintf(t.cabecalho, sizeof t.cabecalho, "ATVATVATVAT");
  EXPECT_TRUE(GravaStatus(t, Saida(), 8));
}

TEST_F(GravaArquivos, StatusSempreDizAtv) {
  TG t;
  t.identificador = 77;
  std::snprintf(t.cabecalho, sizeof t.cabecalho, "CHQ");
  EXPECT_TRUE(GravaStatus(t, Saida(), 10));
  EXPECT_EQ(dir.Le("0000000077.sta"), "000-000 = ATV\r\n001-000 = 0000000077\r\n999-999 = \r\n");
}

TEST_F(GravaArquivos, IdentificadorMaiorQueALargura) {
  TG t;
  t.identificador = 123456789012;
  Acrescenta(t, 1, 0, "123456789012");
  EXPECT_TRUE(GravaStatus(t, Saida(), 8));
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Le("123456789012.sta"), "000-000 = ATV\r\n001-000 = 123456789012\r\n999-999 = \r\n");
  EXPECT_EQ(dir.Le("123456789012.rsp"), "001-000 = 123456789012\r\n");
  EXPECT_EQ(dir.Nomes(), (std::vector<std::string>{"123456789012.rsp", "123456789012.sta"}));
}

TEST_F(GravaArquivos, StatusSubstituiOAntigo) {
  dir.Escreve("00000005.sta", "antigo e mais comprido que o novo, muito mais comprido mesmo\r\n");
  TG t;
  t.identificador = 5;
  EXPECT_TRUE(GravaStatus(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000005.sta"), "000-000 = ATV\r\n001-000 = 00000005\r\n999-999 = \r\n");
}

TEST_F(GravaArquivos, RespostaExata) {
  TG t;
  t.identificador = 123;
  Acrescenta(t, 0, 0, "CRT");
  Acrescenta(t, 1, 0, "00000123");
  Acrescenta(t, 9, 0, "00");
  Acrescenta(t, 315, 12, "ABC DEF");
  Acrescenta(t, 999, 999, "");
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000123.rsp"),
            "000-000 = CRT\r\n001-000 = 00000123\r\n009-000 = 00\r\n315-012 = ABC DEF\r\n999-999 = \r\n");
  EXPECT_EQ(dir.Nomes(), std::vector<std::string>{"00000123.rsp"});
}

// The table's order, not the key order: only request assembly sorts.
TEST_F(GravaArquivos, RespostaNaOrdemDaTabela) {
  TG t;
  t.identificador = 1;
  Acrescenta(t, 30, 0, "b");
  Acrescenta(t, 0, 0, "a");
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000001.rsp"), "030-000 = b\r\n000-000 = a\r\n");
}

TEST_F(GravaArquivos, NumerosForaDe0a999FicamDeFora) {
  TG t;
  t.identificador = 2;
  Acrescenta(t, 1000, 0, "mil");
  Acrescenta(t, -1, 0, "menos um");
  Acrescenta(t, 0, 0, "CRT");
  Acrescenta(t, 999, 999, "");
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000002.rsp"), "000-000 = CRT\r\n999-999 = \r\n");
}

TEST_F(GravaArquivos, ValorCortadoEm248) {
  TG t;
  t.identificador = 3;
  Acrescenta(t, 30, 0, std::string(248, 'A') + "BC");
  Acrescenta(t, 31, 0, std::string(300, 'Z'));
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  const std::string esperado =
      "030-000 = " + std::string(248, 'A') + "\r\n031-000 = " + std::string(248, 'Z') + "\r\n";
  EXPECT_EQ(dir.Le("00000003.rsp"), esperado);
}

// A line break inside a value would split one field into two lines of the file.
TEST_F(GravaArquivos, QuebraDeLinhaNoValorViraEspaco) {
  TG t;
  t.identificador = 4;
  Acrescenta(t, 30, 0, "LINHA1\r\nLINHA2\nFIM\r");
  Acrescenta(t, 999, 999, "");
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000004.rsp"), "030-000 = LINHA1  LINHA2 FIM \r\n999-999 = \r\n");
}

TEST_F(GravaArquivos, RespostaVaziaAindaPublicada) {
  TG t;
  t.identificador = 8;
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Le("00000008.rsp"), "");
}

// Status first, then the response over the same .tmp name: both published, nothing left over.
TEST_F(GravaArquivos, StatusDepoisResposta) {
  TG t;
  t.identificador = 9;
  Acrescenta(t, 0, 0, "CRT");
  Acrescenta(t, 999, 999, "");
  EXPECT_TRUE(GravaStatus(t, Saida(), 8));
  EXPECT_TRUE(GravaResposta(t, Saida(), 8));
  EXPECT_EQ(dir.Nomes(), (std::vector<std::string>{"00000009.rsp", "00000009.sta"}));
  EXPECT_EQ(dir.Le("00000009.rsp"), "000-000 = CRT\r\n999-999 = \r\n");
}

TEST_F(GravaArquivos, DiretorioDeSaidaInexistente) {
  TG t;
  t.identificador = 5;
  const std::string saida = dir.Caminho() + "/nao-existe/";
  EXPECT_FALSE(GravaStatus(t, saida, 8));
  EXPECT_FALSE(GravaResposta(t, saida, 8));
  // The operator's line names the file that was not published; the one before it says why, in the
  // system's words ("No such file or directory" on Linux).
  const std::string porque = " (" + plataforma::TextoErro(ERRO_PASTA_INEXISTENTE) + ")";
  EXPECT_EQ(CapturaLog::Linhas(),
            (std::vector<std::string>{"*** Erro ao gravar " + saida + "00000005.tmp" + porque,
                                      "*** Erro ao renomear para " + saida + "00000005.sta",
                                      "*** Erro ao gravar " + saida + "00000005.tmp" + porque,
                                      "*** Erro ao renomear para " + saida + "00000005.rsp"}));
  EXPECT_TRUE(dir.Nomes().empty());
}

// A directory of its own, nested until the published path has exactly the given length.
std::string DiretorioComTamanho(const DiretorioTemporario& base, std::size_t tamanhoCaminho, std::size_t tamNome) {
  std::string d = base.Caminho() + "/";
  while (d.size() + tamNome < tamanhoCaminho) {
    const std::size_t falta = tamanhoCaminho - tamNome - d.size();
    // A component and its separator; at most 200 characters each, never just the separator.
    std::size_t comp = std::min<std::size_t>(falta - 1, 200);
    if (falta - 1 - comp == 1) --comp;  // leave room for a component of at least one character
    if (comp == 0) comp = 1;
    d += std::string(comp, 'd') + "/";
  }
  fs::create_directories(d);
  return d;
}

// Paths hold 259 characters: a longer one is refused, never cut into another file's name.
TEST_F(GravaArquivos, CaminhoNoLimiteEAlem) {
  TG t;
  t.identificador = 5;
  const std::string noLimite = DiretorioComTamanho(dir, 259, std::string("00000005.sta").size());
  ASSERT_EQ(noLimite.size() + 12, 259u);
  EXPECT_TRUE(GravaStatus(t, noLimite, 8));
  EXPECT_TRUE(fs::exists(noLimite + "00000005.sta"));

  t.identificador = 6;
  const std::string alem = noLimite.substr(0, noLimite.size() - 1) + "x/";
  fs::create_directories(alem);
  ASSERT_EQ(alem.size() + 12, 260u);
  EXPECT_FALSE(GravaStatus(t, alem, 8));
  EXPECT_FALSE(GravaResposta(t, alem, 8));
  EXPECT_TRUE(fs::is_empty(alem));
  EXPECT_TRUE(CapturaLog::Contem("*** Caminho muito longo (260 caracteres) para 00000006.sta"))
      << CapturaLog::Todas();
  EXPECT_TRUE(CapturaLog::Contem("*** Caminho muito longo (260 caracteres) para 00000006.rsp"));
  EXPECT_FALSE(CapturaLog::Contem("Erro ao gravar"));
}

}  // namespace
