// The configuration file reader: lookups, names without regard to case, trimming, limits, integers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "apoio/DiretorioTemporario.h"
#include "config/LeitorIni.h"

namespace {

struct CasoTexto {
  const char* nome;
  std::string conteudo;
  const char* secao;
  const char* chave;
  const char* padrao;
  std::string esperado;
};

TEST(LeitorIni, TextosPorSecaoEChave) {
  const CasoTexto casos[] = {
      {"simples", "[Tempos]\r\nTOutIni=5\r\n", "Tempos", "TOutIni", "10", "5"},
      {"sem caixa na secao e na chave", "[tEMPOS]\nTOUTINI=5\n", "Tempos", "toutini", "10", "5"},
      {"primeira secao de um nome vale", "[A]\nk=1\n[B]\nk=2\n[a]\nk=3\n", "A", "k", "-", "1"},
      {"secao repetida e ignorada inteira", "[A]\nk=1\n[B]\nk=2\n[a]\nj=3\n", "A", "j", "-", "-"},
      {"primeira chave de um nome vale", "[A]\nk=1\nK=2\n", "A", "k", "-", "1"},
      {"brancos cortados", "  [ A ]  \r\n \t k \t=   v a l \t\r\n", "A", "k", "-", "v a l"},
      {"valor vazio nao e o padrao", "[A]\nk=\n", "A", "k", "-", ""},
      {"valor so de brancos", "[A]\nk=   \t\n", "A", "k", "-", ""},
      {"chave ausente", "[A]\nk=1\n", "A", "j", "padrao", "padrao"},
      {"secao ausente", "[A]\nk=1\n", "B", "k", "padrao", "padrao"},
      {"arquivo vazio", "", "A", "k", "padrao", "padrao"},
      {"comentario", "[A]\n;k=1\n  ; k=3\nk=2\n", "A", "k", "-", "2"},
      {"ponto e virgula no valor fica", "[A]\nk=a ; b\n", "A", "k", "-", "a ; b"},
      {"um par de aspas duplas sai", "[A]\nurl=\"10.0.0.5\"\n", "A", "url", "-", "10.0.0.5"},
      {"um par de aspas simples sai", "[A]\nk = 'a b' \n", "A", "k", "-", "a b"},
      {"dentro das aspas nada e cortado", "[A]\nk=\" a ; b \"\n", "A", "k", "-", " a ; b "},
      {"so o par de fora sai", "[A]\nk=\"'x'\"\n", "A", "k", "-", "'x'"},
      {"aspas vazias dao texto vazio", "[A]\nk=''\n", "A", "k", "-", ""},
      {"aspas de tipos diferentes ficam", "[A]\nk=\"x'\n", "A", "k", "-", "\"x'"},
      {"aspa sozinha fica", "[A]\nk=\"\n", "A", "k", "-", "\""},
      {"aspas que nao cercam o valor ficam", "[A]\nk=\"a\" e \"b\"x\n", "A", "k", "-", "\"a\" e \"b\"x"},
      {"igual no valor", "[A]\nk=a=b\n", "A", "k", "-", "a=b"},
      {"chave antes de secao ignorada", "k=1\n[A]\nj=2\n", "A", "k", "-", "-"},
      {"linha sem igual ignorada", "[A]\nk\nk=2\n", "A", "k", "-", "2"},
      {"chave vazia ignorada", "[A]\n=1\n", "A", "", "-", "-"},
      {"sem quebra no fim", "[A]\nk=fim", "A", "k", "-", "fim"},
      {"marca de ordem de bytes", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "-", "1"},
      {"cabecalho quebrado encerra a secao", "[A]\nk=1\n[B\nj=2\n", "A", "j", "-", "-"},
      {"linha vazia no meio", "[A]\n\n\r\nk=1\n", "A", "k", "-", "1"},
      {"secao com colchete no nome", "[A]x]\nk=1\n", "A]x", "k", "-", "1"},
      {"nul encerra o valor", std::string("[A]\nk=ab\0cd\n", 12), "A", "k", "-", "ab"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    LeitorIni ini;
    ini.Interpreta(caso.conteudo);
    EXPECT_EQ(ini.LeTexto(caso.secao, caso.chave, caso.padrao), caso.esperado);
  }
}

TEST(LeitorIni, TextoGuardaNoMaximo259Caracteres) {
  struct Caso {
    std::size_t tamanho;
    std::size_t esperado;
  };
  for (const Caso& caso : {Caso{258, 258}, Caso{259, 259}, Caso{260, 259}, Caso{1000, 259}}) {
    SCOPED_TRACE(caso.tamanho);
    std::string valor(caso.tamanho, 'v');
    LeitorIni ini;
    ini.Interpreta("[Diretorios]\r\nEntrada=" + valor + "   \r\n");
    EXPECT_EQ(ini.LeTexto("Diretorios", "Entrada", "."), std::string(caso.esperado, 'v'));
    EXPECT_EQ(ini.LeTexto("Diretorios", "Saida", valor.c_str()), std::string(caso.esperado, 'v'));
    // The quotes are not counted against the limit.
    ini.Interpreta("[Diretorios]\r\nEntrada=\"" + valor + "\"\r\n");
    EXPECT_EQ(ini.LeTexto("Diretorios", "Entrada", "."), std::string(caso.esperado, 'v'));
  }
}

struct CasoInteiro {
  const char* texto;
  std::int32_t esperado;
};

TEST(LeitorIni, InteirosComoOsLeemAsFuncoesDePerfil) {
  constexpr auto MAX = std::numeric_limits<std::int32_t>::max();
  constexpr auto MIN = std::numeric_limits<std::int32_t>::min();
  const CasoInteiro casos[] = {
      {"5", 5},          {"+7", 7},        {"-3", -3},     {"0", 0},          {"007", 7},
      {"12abc", 12},     {"3.9", 3},       {"abc", 0},     {"-", 0},          {"+", 0},
      {"0x10", 0},       {"- 4", 0},       {"2147483647", MAX}, {"2147483648", MAX},
      {"99999999999999999999", MAX},       {"-2147483648", MIN}, {"-99999999999", MIN},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.texto);
    EXPECT_EQ(LeitorIni::ConverteInteiro(caso.texto), caso.esperado);
    LeitorIni ini;
    ini.Interpreta(std::string("[Tempos]\nTOutIni=  ") + caso.texto + "  \n");
    EXPECT_EQ(ini.LeInteiro("tempos", "toutini", 10), caso.esperado);
  }
}

TEST(LeitorIni, InteiroAusenteOuVazioDaOPadrao) {
  LeitorIni ini;
  ini.Interpreta("[Tempos]\nTOutCnf=\nTOutCnx=x\nPort=\"3000\"\n");
  EXPECT_EQ(ini.LeInteiro("Tempos", "Port", 0), 3000);  // quotes go before the number is read
  EXPECT_EQ(ini.LeInteiro("Tempos", "TOutIni", 10), 10);
  EXPECT_EQ(ini.LeInteiro("Tempos", "TOutCnf", 30), 30);
  EXPECT_EQ(ini.LeInteiro("Tempos", "TOutCnx", 3), 0);
  EXPECT_EQ(ini.LeInteiro("Outra", "TOutCnx", 3), 3);
}

TEST(LeitorIni, LeArquivoComCrLf) {
  DiretorioTemporario dir;
  dir.Escreve("zelp.ini", "; configuracao\r\n[End0]\r\nurl=127.0.0.1\r\nPort=3000\r\n\r\n[PEstab]\r\npar0=estab.dat\r\n");
  LeitorIni ini;
  ASSERT_TRUE(ini.Carrega((dir / "zelp.ini").c_str()));
  EXPECT_EQ(ini.LeTexto("End0", "url", ""), "127.0.0.1");
  EXPECT_EQ(ini.LeInteiro("End0", "Port", 0), 3000);
  EXPECT_EQ(ini.LeTexto("PEstab", "par0", ""), "estab.dat");
}

TEST(LeitorIni, ArquivoAusenteDaOsPadroes) {
  DiretorioTemporario dir;
  LeitorIni ini;
  ini.Interpreta("[A]\nk=antigo\n");
  EXPECT_FALSE(ini.Carrega((dir / "nao-existe.ini").c_str()));
  EXPECT_EQ(ini.LeTexto("A", "k", "padrao"), "padrao");
  EXPECT_EQ(ini.LeInteiro("A", "k", 4), 4);
}

}  // namespace
