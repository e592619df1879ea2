// Reading request files into the field table: what is taken, what is skipped, what is derived.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ArquivoMemoria.h"
#include "apoio/DiretorioTemporario.h"
#include "catalogo/Catalogo.h"
#include "fields/ArquivoCampos.h"

namespace {

struct Leitura {
  bool util;
  bool fechado;
};

Leitura Le(TG& t, const std::string& texto) {
  ArquivoMemoria arquivo(texto);
  const bool util = LePedido(t, arquivo.Arquivo());
  return {util, arquivo.Fechado()};
}

std::string Campo(const TG& t, int i) {
  const TA& c = *t.campos[static_cast<std::size_t>(i)];
  char s[32];
  std::snprintf(s, sizeof s, "%03d-%03d=", c.numero, c.ocorrencia);
  return s + c.valor;
}

TEST(LePedido, QuatroLinhasUteis) {
  TG t;
  const Leitura r = Le(t, "000-000 = CRT\n001-000 = 123\n011-000 = 20\n999-999 = \n");
  EXPECT_TRUE(r.util);
  EXPECT_TRUE(r.fechado);
  EXPECT_EQ(t.quantidade, 4);
  EXPECT_STREQ(t.cabecalho, "CRT");
  EXPECT_EQ(t.identificador, 123);
  EXPECT_EQ(t.codigo, 20);
  EXPECT_EQ(t.tipo, IndiceDoCodigo(20));
  EXPECT_EQ(tiposTransacao[t.tipo].codigo, 20);
  EXPECT_EQ(t.indiceArquivo, 0);
  EXPECT_EQ(Campo(t, 0), "000-000=CRT");
  EXPECT_EQ(Campo(t, 1), "001-000=123");
  EXPECT_EQ(Campo(t, 2), "011-000=20");
  EXPECT_EQ(Campo(t, 3), "999-999=");
}

TEST(LePedido, SemA999TemSoTresCampos) {
  TG t;
  const Leitura r = Le(t, "000-000 = CRT\n001-000 = 123\n011-000 = 20\n");
  EXPECT_FALSE(r.util);
  EXPECT_TRUE(r.fechado);
  EXPECT_EQ(t.quantidade, 3);
}

TEST(LePedido, NadaDepoisDa999) {
  TG t;
  EXPECT_TRUE(Le(t, "000-000 = CRT\n001-000 = 1\n999-999 = \n011-000 = 31\n002-000 = X\n").util == false);
  EXPECT_EQ(t.quantidade, 3);
  EXPECT_EQ(t.codigo, 0);
  EXPECT_EQ(t.tipo, -1);
  TG u;
  EXPECT_TRUE(Le(u, "000-000 = CRT\n001-000 = 1\n002-000 = Y\n999-999 = \n011-000 = 31\n").util);
  EXPECT_EQ(u.quantidade, 4);
  EXPECT_EQ(u.Procura(11, 0), nullptr);
}

TEST(LePedido, PedidoAtvDeTresLinhasNaoEUtil) {
  TG t;
  EXPECT_FALSE(Le(t, "000-000 = ATV\n001-000 = 5\n999-999 = \n").util);
  TG u;
  EXPECT_TRUE(Le(u, "000-000 = ATV\n001-000 = 5\n002-000 = 0\n999-999 = \n").util);
  EXPECT_STREQ(u.cabecalho, "ATV");
  EXPECT_EQ(u.identificador, 5);
}

TEST(LePedido, LinhasIgnoradas) {
  TG t;
  const Leitura r = Le(t,
                       "# comentario\n"
                       "#000-000 = XXX\n"
                       "\n"
                       "   \n"
                       "lixo\n"
                       "000-000 = CRT\n"
                       "002-000\n"        // no '=' and not 999
                       "003-000 = \n"     // no value
                       "998-000 = \n"     // no value, not 999
                       "1234-000 = X\n"   // four digits: the dash is not where it should be
                       "001-000 = 77\n"
                       "011-000 = 31\n"
                       "999-999 = \n");
  EXPECT_TRUE(r.util);
  ASSERT_EQ(t.quantidade, 4);
  EXPECT_EQ(Campo(t, 0), "000-000=CRT");
  EXPECT_EQ(Campo(t, 1), "001-000=77");
  EXPECT_EQ(Campo(t, 2), "011-000=31");
  EXPECT_EQ(Campo(t, 3), "999-999=");
  EXPECT_STREQ(t.cabecalho, "CRT");
}

TEST(LePedido, ValorTerminaNoPrimeiroBranco) {
  TG t;
  Le(t, "000-000 = CRT\n002-000 = ABC DEF\n003-000 = X\tY\n004-000 =   Z  \r\n999-999 = \n");
  ASSERT_EQ(t.quantidade, 5);
  EXPECT_EQ(t.Procura(2, 0)->valor, "ABC");
  EXPECT_EQ(t.Procura(3, 0)->valor, "X");
  EXPECT_EQ(t.Procura(4, 0)->valor, "Z");
}

TEST(LePedido, FimDeLinhaCrLf) {
  TG t;
  EXPECT_TRUE(Le(t, "000-000 = CRT\r\n001-000 = 123\r\n011-000 = 31\r\n999-999 = \r\n").util);
  EXPECT_STREQ(t.cabecalho, "CRT");
  EXPECT_EQ(t.identificador, 123);
  EXPECT_EQ(t.Procura(999, 999)->valor, "");
}

TEST(LePedido, Linha999SemValorAceita) {
  for (const char* fim : {"999-999 = \n", "999-999 =\n", "999-999\n", "999-000 = \n", "999-999 = x\n"}) {
    SCOPED_TRACE(fim);
    TG t;
    EXPECT_TRUE(Le(t, std::string("000-000 = CRT\n001-000 = 1\n011-000 = 31\n") + fim + "002-000 = Z\n").util);
    EXPECT_EQ(t.quantidade, 4);
    EXPECT_EQ(t.campos[3]->numero, 999);
  }
}

// The line buffer holds 259 characters: the rest of a longer line is read as further lines.
TEST(LePedido, ValorDe300Caracteres) {
  TG t;
  const std::string longo(300, 'V');
  Le(t, "000-000 = CRT\n002-000 = " + longo + "\n001-000 = 1\n999-999 = \n");
  ASSERT_EQ(t.quantidade, 4);
  EXPECT_EQ(t.Procura(2, 0)->valor, std::string(249, 'V'));
  EXPECT_EQ(t.Procura(1, 0)->valor, "1");
}

// Text typed at the till past the first 259 characters of a line never becomes a field of its own.
TEST(LePedido, RestoDeLinhaLongaNuncaViraCampo) {
  TG t;
  const std::string linha = "002-000 = " + std::string(249, 'A') + "011-000 = 99 " + std::string(37, 'B') + "\n";
  ASSERT_EQ(linha.size(), 309u + 1);
  Le(t, "000-000 = CRT\n" + linha + "999-999 = \n");
  ASSERT_EQ(t.quantidade, 3);
  EXPECT_EQ(Campo(t, 1), "002-000=" + std::string(249, 'A'));
  EXPECT_EQ(t.Procura(11, 0), nullptr);
}

TEST(LePedido, CabecalhoSoDoPrimeiroCampo) {
  TG t;
  Le(t, "001-000 = 1\n000-000 = CRT\n011-000 = 31\n999-999 = \n");
  EXPECT_STREQ(t.cabecalho, "");
  TG u;
  Le(u, "# antes\nlixo\n000-005 = CHQ\n001-000 = 1\n000-000 = CRT\n999-999 = \n");
  EXPECT_STREQ(u.cabecalho, "CHQ");  // any occurrence of 000, when first
}

TEST(LePedido, CabecalhoLongoGuardaOnzeCaracteres) {
  TG t;
  Le(t, "000-000 = ATVATVATVATVATV\n001-000 = 1\n011-000 = 31\n999-999 = \n");
  EXPECT_STREQ(t.cabecalho, "ATVATVATVAT");
  EXPECT_EQ(t.Procura(0, 0)->valor, "ATVATVATVATVATV");
}

TEST(LePedido, Identificador) {
  struct Caso {
    const char* valor;
    std::int64_t esperado;
  };
  const Caso casos[] = {
      {"123456789012", 123456789012}, {"00000123", 123}, {"12abc", 12}, {"abc", 0}, {"+7", 7},
      {"99999999999999999999", 0},  // does not fit in 64 bits: not taken
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.valor);
    TG t;
    Le(t, std::string("000-000 = CRT\n001-000 = ") + c.valor + "\n011-000 = 31\n999-999 = \n");
    EXPECT_EQ(t.identificador, c.esperado);
  }
  // Any occurrence of 001 sets it; a later one that does not parse leaves it.
  TG t;
  Le(t, "000-000 = CRT\n001-000 = 5\n001-003 = 6\n001-004 = x\n999-999 = \n");
  EXPECT_EQ(t.identificador, 6);
}

TEST(LePedido, CodigoETipoPeloByteBaixo) {
  struct Caso {
    const char* valor;
    std::int32_t codigo;
    int codigoDoTipo;  // 0: no type
  };
  const Caso casos[] = {
      {"31", 31, 31},   {"270", 270, 14}, {"99", 99, 0},       {"abc", 0, 0},
      {"31xyz", 31, 31}, {"0020", 20, 20}, {"-225", -225, 31},  // low byte of -225 is 31
      {"99999999999", 2147483647, 0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.valor);
    TG t;
    Le(t, std::string("000-000 = CRT\n001-000 = 1\n011-000 = ") + c.valor + "\n999-999 = \n");
    EXPECT_EQ(t.codigo, c.codigo);
    if (c.codigoDoTipo == 0) {
      EXPECT_EQ(t.tipo, -1);
    } else {
      ASSERT_GE(t.tipo, 0);
      EXPECT_EQ(tiposTransacao[t.tipo].codigo, c.codigoDoTipo);
    }
  }
}

TEST(LePedido, IndiceDoArquivo) {
  TG t;
  Le(t, "000-000 = CRT\n001-000 = 1\n383-000 = 7\n999-999 = \n");
  EXPECT_EQ(t.indiceArquivo, 7);
  TG u;
  Le(u, "000-000 = CRT\n001-000 = 1\n383-000 = x\n999-999 = \n");
  EXPECT_EQ(u.indiceArquivo, 0);
  TG v;
  Le(v, "000-000 = CRT\n001-000 = 1\n383-002 = 12\n999-999 = \n");
  EXPECT_EQ(v.indiceArquivo, 12);
}

TEST(LePedido, ParaNoCampo255) {
  std::string texto = "000-000 = CRT\n";
  for (int i = 0; i < 300; ++i) texto += "100-" + std::to_string(i % 1000) + " = v\n";
  texto += "999-999 = \n";
  TG t;
  const Leitura r = Le(t, texto);
  EXPECT_TRUE(r.util);
  EXPECT_TRUE(r.fechado);
  EXPECT_EQ(t.quantidade, 255);
  EXPECT_EQ(t.Procura(999, 999), nullptr);
  EXPECT_EQ(Campo(t, 254), "100-253=v");
}

TEST(LePedido, ArquivoVazioOuNulo) {
  TG t;
  const Leitura r = Le(t, "");
  EXPECT_FALSE(r.util);
  EXPECT_TRUE(r.fechado);
  EXPECT_EQ(t.quantidade, 0);
  EXPECT_FALSE(LePedido(t, nullptr));
}

TEST(LePedido, TabelaReusadaComecaLimpa) {
  TG t;
  Le(t, "000-000 = CRT\n001-000 = 9\n011-000 = 31\n383-000 = 3\n999-999 = \n");
  Le(t, "002-000 = x\n003-000 = y\n");
  EXPECT_EQ(t.quantidade, 2);
  EXPECT_STREQ(t.cabecalho, "");
  EXPECT_EQ(t.identificador, 0);
  EXPECT_EQ(t.codigo, 0);
  EXPECT_EQ(t.indiceArquivo, 0);
  EXPECT_EQ(t.tipo, -1);
}

TEST(LePedido, ArquivoEmDisco) {
  DiretorioTemporario dir;
  dir.Escreve("00000123.log", "000-000 = CRT\r\n001-000 = 00000123\r\n011-000 = 31\r\n999-999 = \r\n");
  std::FILE* f = std::fopen((dir / "00000123.log").c_str(), "r");
  ASSERT_NE(f, nullptr);
  TG t;
  EXPECT_TRUE(LePedido(t, f));
  EXPECT_EQ(t.identificador, 123);
  EXPECT_EQ(tiposTransacao[t.tipo].codigo, 31);
}

}  // namespace

namespace {

// Every field of a read table as one text, for comparing two readings.
std::string Tabela(const TG& t) {
  std::string s;
  for (int i = 0; i < t.quantidade; ++i) s += Campo(t, i) + "|";
  return s;
}

}  // namespace

// A request judged finished from its first bytes must read exactly as the whole file: whatever
// the writer adds later cannot change what the reader takes.
TEST(PedidoTerminado, SoQuandoOQueFaltaNaoMudaALeitura) {
  struct Caso {
    const char* nome;
    std::string texto;
    bool terminadoNoFim;  // judged finished once all of it is there
  };
  std::string longos;
  for (int i = 0; i < 300; ++i) longos += "010-" + std::to_string(100 + i % 800).substr(0, 3) + " = " + std::to_string(i) + "\r\n";
  const Caso casos[] = {
      {"com 999", "000-000 = CRT\r\n001-000 = 12\r\n011-000 = 31\r\n999-999 = \r\n", true},
      {"999 sem fim de linha", "000-000 = CRT\r\n001-000 = 12\r\n999-999 = ", false},
      {"sem 999", "000-000 = CRT\r\n001-000 = 12\r\n011-000 = 31\r\n003-000 = 1500\r\n", false},
      {"999 comentado", "000-000 = CRT\r\n# 999-999 = \r\n001-000 = 12\r\n", false},
      {"depois da 999", "000-000 = CRT\r\n999-999 = \n001-000 = 12", true},
      {"linha longa com 999", "999-999 = " + std::string(300, 'x'), true},
      {"999 no resto de linha longa", "000-000 = CRT\r\n002-000 = " + std::string(249, 'x') + "999-999 = \r\n", false},
      {"255 campos", longos, true},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    TG inteiro;
    Le(inteiro, caso.texto);
    EXPECT_EQ(PedidoTerminado(caso.texto), caso.terminadoNoFim);
    for (std::size_t n = 0; n <= caso.texto.size(); ++n) {
      const std::string parte = caso.texto.substr(0, n);
      if (!PedidoTerminado(parte)) continue;
      TG lido;
      Le(lido, parte);
      ASSERT_EQ(Tabela(lido), Tabela(inteiro)) << "judged finished after " << n << " bytes";
    }
  }
}
