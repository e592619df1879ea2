// The request line reader against the C library's own reading of the pattern "%03d-%03d = %s".
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fields/LinhaCampo.h"

namespace {

// Lines that exercise every step of the pattern: blanks, signs, widths, missing parts.
const char* const LINHAS[] = {
    "000-000 = CRT\n", "001-000 = ABC DEF\n", "999-999 = \n", "999-999 =\n", "999-999\n", "998-000 = \n",
    "", "\n", "   \n", "\r\n", "abc\n", "1234-000 = X\n", "12-3 = X", " 12- 3=X", "-1-000 = X",
    "+12-+34 = v", "-12--34 = v", "001-000 = \tTAB\n", "001-000 =\tX\r\n", "001 -000 = X", "001-000 X",
    "001-000 == X", "0x1-000 = X", "--1-000 = X", "-", "+", "- 1-000 = X", "001-000 = X\vY", "001-000=X",
    "# comentario", "0001-000 = X", "001-0001 = X", "001-", "001", "  7-  8   =   nove  dez",
    "\f5-6 = x", "5-6 = \r", "999-000 = \r\n", "1-2 = a=b", "+-1-0 = x", "-0-0 = x", "999-999 = x y",
    "001-000 = CRT\r\n", "011-000 = 270", "1-\n2 = x", "1-2\n= x", "1-2 =\n x", "1-2 = \xe9\xe7\n",
    "-99-999 = z", "999-+99 = z", "1-2 = ", "1-2 = -", "01-02-03 = y", "7-8 = =", "\t\t3-\t4\t=\tq",
};

TEST(LinhaCampo, MesmaLeituraQueABibliotecaC) {
  for (const char* linha : LINHAS) {
    SCOPED_TRACE(std::string("linha [") + linha + "]");
    int numero = -12345, ocorrencia = -12345;
    char valor[300] = "";
    const int lidos = std::sscanf(linha, "%03d-%03d = %299s", &numero, &ocorrencia, valor);
    const LinhaCampo r = LeLinhaCampo(linha);
    EXPECT_EQ(r.lidos, lidos);
    if (lidos >= 1) { EXPECT_EQ(r.numero, numero); }
    if (lidos >= 2) { EXPECT_EQ(r.ocorrencia, ocorrencia); }
    EXPECT_EQ(r.valor, lidos >= 3 ? std::string(valor) : std::string());
  }
}

// Random lines over the characters the pattern cares about, with a fixed seed.
TEST(LinhaCampo, MesmaLeituraEmLinhasAleatorias) {
  const char alfabeto[] = "0123456789-+= \t\r\n\v\fx#";
  std::uint32_t estado = 12345;
  auto proximo = [&estado] {
    estado = estado * 1103515245u + 12345u;
    return (estado >> 16) & 0x7fffu;
  };
  for (int caso = 0; caso < 200000; ++caso) {
    std::string linha;
    const unsigned tamanho = proximo() % 24;
    for (unsigned i = 0; i < tamanho; ++i) linha += alfabeto[proximo() % (sizeof alfabeto - 1)];
    int numero = -12345, ocorrencia = -12345;
    char valor[64] = "";
    const int lidos = std::sscanf(linha.c_str(), "%03d-%03d = %63s", &numero, &ocorrencia, valor);
    const LinhaCampo r = LeLinhaCampo(linha.c_str());
    const bool igual = r.lidos == lidos && (lidos < 1 || r.numero == numero) &&
                       (lidos < 2 || r.ocorrencia == ocorrencia) &&
                       r.valor == (lidos >= 3 ? std::string(valor) : std::string());
    ASSERT_TRUE(igual) << "linha [" << linha << "] lidos " << r.lidos << " / " << lidos;
  }
}

TEST(LinhaCampo, AceitaTresItensOu999SemValor) {
  struct Caso {
    const char* linha;
    bool aceita;
    int numero, ocorrencia;
    const char* valor;
  };
  const Caso casos[] = {
      {"000-000 = CRT\n", true, 0, 0, "CRT"},
      {"001-000 = ABC DEF\n", true, 1, 0, "ABC"},  // a value ends at its first blank
      {"002-000 = A\tB\n", true, 2, 0, "A"},
      {"999-999 = \n", true, 999, 999, ""},
      {"999-000\n", true, 999, 0, ""},
      {"998-000 = \n", false, 998, 0, ""},
      {"\n", false, 0, 0, ""},
      {"sem campo\n", false, 0, 0, ""},
      {"001-000 X\n", false, 1, 0, ""},
      {"  7-  8   =   nove\n", true, 7, 8, "nove"},
      {"1234-000 = X\n", false, 123, 0, ""},
      {"-5-001 = v\n", true, -5, 1, "v"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.linha);
    const LinhaCampo r = LeLinhaCampo(c.linha);
    EXPECT_EQ(r.Aceita(), c.aceita);
    if (r.lidos >= 1) { EXPECT_EQ(r.numero, c.numero); }
    if (r.lidos >= 2) { EXPECT_EQ(r.ocorrencia, c.ocorrencia); }
    EXPECT_EQ(r.valor, c.valor);
  }
  EXPECT_EQ(LeLinhaCampo(nullptr).lidos, -1);
}

TEST(LinhaCampo, ValorLongoInteiro) {
  const std::string valor(249, 'V');
  const LinhaCampo r = LeLinhaCampo(("002-000 = " + valor).c_str());
  EXPECT_EQ(r.lidos, 3);
  EXPECT_EQ(r.valor, valor);
}

TEST(LinhaCampo, InteiroInicial) {
  struct Caso {
    const char* texto;
    std::int32_t esperado;
  };
  const Caso casos[] = {
      {"270", 270},      {"31xyz", 31},          {"abc", 0},           {"", 0},
      {"-7", -7},        {"+9", 9},              {"  12", 12},         {"-", 0},
      {"0020", 20},      {"2147483647", 2147483647}, {"2147483648", 2147483647},
      {"99999999999999999999999", 2147483647},   {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999", -2147483647 - 1},
  };
  for (const Caso& c : casos) EXPECT_EQ(InteiroInicial(c.texto), c.esperado) << c.texto;
  EXPECT_EQ(InteiroInicial(nullptr), 0);
}

TEST(LinhaCampo, Inteiro64ComoLld) {
  struct Caso {
    const char* texto;
    bool le;
    std::int64_t esperado;
  };
  const Caso casos[] = {
      {"123", true, 123},
      {"00000123", true, 123},
      {"123456789012", true, 123456789012},
      {"12abc", true, 12},
      {"+7", true, 7},
      {"-5", true, -5},
      {"9223372036854775807", true, INT64_MAX},
      {"-9223372036854775808", true, INT64_MIN},
      {"9223372036854775808", false, 0},  // does not fit: left as it was
      {"-9223372036854775809", false, 0},
      {"99999999999999999999", false, 0},
      {"abc", false, 0},
      {"", false, 0},
      {"-", false, 0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    std::int64_t n = 42;
    EXPECT_EQ(LeInteiro64(c.texto, n), c.le);
    EXPECT_EQ(n, c.le ? c.esperado : 42);
  }
}

}  // namespace
