// Field validation of request assembly: every refusal text and the order of the checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "codec/PreparaPedido.h"
#include "comum/Erro.h"

namespace {

// The refusal text of an assembly, or "" when it succeeded.
std::string Recusa(TG& transacao) {
  try {
    PreparaPedido(transacao);
  } catch (const Erro& e) {
    return e.Texto();
  }
  return "";
}

std::vector<CampoTeste> Pedido31() {
  return {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, "31"}, {3, 0, "1500"}, {98, 0, "X"}, {999, 999, ""}};
}

// Code 14: cheque check with the prefixed BCD field 007.
std::vector<CampoTeste> Pedido14(const std::string& v007) {
  return {{0, 0, "CHQ"}, {1, 0, "1"},    {11, 0, "14"},   {3, 0, "1500"},   {7, 0, v007},
          {8, 0, "1225"}, {33, 0, "12"}, {34, 0, "2026"}, {38, 0, "987654"}, {999, 999, ""}};
}

// Code 109 with its fixed fields and the count; repetitions added per test.
std::vector<CampoTeste> Pedido109(const std::string& contagem) {
  return {{0, 0, "CRT"}, {1, 0, "5"},   {11, 0, "109"}, {3, 0, "100"}, {98, 0, "X"},
          {301, 0, "1"}, {302, 0, "1"}, {304, 0, "1"},  {312, 0, contagem}, {999, 999, ""}};
}

void AcrescentaRepeticao(std::vector<CampoTeste>& campos, int k, bool com328 = false) {
  for (int numero : {313, 314, 315, 316, 317, 318, 321, 323, 326, 327}) campos.push_back({numero, k, "1"});
  if (com328) campos.push_back({328, k, "Z"});
}

std::string Faltando(const std::vector<std::string>& entradas) {
  std::string s = "*ZELP* Campo(s) ";
  for (std::size_t i = 0; i < entradas.size(); ++i) s += (i ? "," : "") + entradas[i];
  return s + " faltando";
}

struct CasoRecusa {
  const char* nome;
  std::function<std::vector<CampoTeste>()> campos;
  const char* esperado;  // "" = accepted
};

void PrintTo(const CasoRecusa& c, std::ostream* os) { *os << c.nome; }

class RecusaPedido : public ::testing::TestWithParam<CasoRecusa> {};

TEST_P(RecusaPedido, TextoDaRecusa) {
  const CasoRecusa& caso = GetParam();
  TG transacao;
  PreencheTransacao(transacao, caso.campos(), "123456789", "ABCDEFGHIJKLMNO");
  EXPECT_EQ(Recusa(transacao), caso.esperado) << caso.nome;
}

const std::string faltam109Zero =
    Faltando({"[313-000]", "[314-000]", "[315-000]", "[316-000]", "[317-000]", "[318-000]", "[321-000]",
              "[323-000]", "[326-000]", "[327-000]"});
const std::string faltam109Segunda =
    Faltando({"[313-002]", "[314-002]", "[315-002]", "[316-002]", "[317-002]", "[318-002]", "[321-002]",
              "[323-002]", "[326-002]", "[327-002]"});
const std::string faltam109SegundaTerceira =
    Faltando({"[313-002]", "[313-003]", "[314-002]", "[314-003]", "[315-002]", "[315-003]", "[316-002]",
              "[316-003]", "[317-002]", "[317-003]", "[318-002]", "[318-003]", "[321-002]", "[321-003]",
              "[323-002]", "[323-003]", "[326-002]", "[326-003]", "[327-002]", "[327-003]"});

const CasoRecusa casosRecusa[] = {
    {"31 completo", [] { return Pedido31(); }, ""},
    {"cabecalho em minusculas", [] { auto c = Pedido31(); c[0].valor = "crt"; return c; }, ""},
    {"cabecalho de outra familia", [] { auto c = Pedido31(); c[0].valor = "CHQ"; return c; },
     "*ZELP* Campo [000-000 = CHQ] invalido"},
    {"cabecalho que nao e o primeiro campo",
     [] { auto c = Pedido31(); c.erase(c.begin()); c.push_back({0, 0, "CRT"}); return c; },
     "*ZELP* Campo [000-000 = ] invalido"},
    {"opcionais ausentes e 383 presente", [] { auto c = Pedido31(); c.push_back({383, 0, "9"}); return c; }, ""},
    {"opcional 010 presente", [] { auto c = Pedido31(); c.push_back({10, 0, "FF"}); return c; }, ""},
    {"campo desconhecido antes dos faltantes",
     [] { return std::vector<CampoTeste>{{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}, {50, 0, "x"}, {999, 999, ""}}; },
     "*ZELP* Campo [050-000] invalido"},
    {"campo acima de 999 (fora do layout)", [] { auto c = Pedido31(); c.push_back({1000, 0, "x"}); return c; },
     "*ZELP* Campo [1000-000] invalido"},
    {"campo negativo", [] { auto c = Pedido31(); c.push_back({-5, 0, "x"}); return c; },
     "*ZELP* Campo [-05-000] invalido"},
    {"003-000 e 003-001 sem grupo", [] { auto c = Pedido31(); c.push_back({3, 1, "2"}); return c; },
     "*ZELP* Campo [003-000] invalido"},
    {"faltam 003 e 098",
     [] { return std::vector<CampoTeste>{{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}, {999, 999, ""}}; },
     "*ZELP* Campo(s) [003-000],[098-000] faltando"},
    // BCD amounts (003 of code 31 holds 12 digits): any other character, or a digit that the
    // field would drop, would reach the host as another amount.
    {"003 com ponto decimal", [] { auto c = Pedido31(); c[3].valor = "15.00"; return c; }, "*ZELP* Campo [003-000] invalido"},
    {"003 com sinal", [] { auto c = Pedido31(); c[3].valor = "-1500"; return c; }, "*ZELP* Campo [003-000] invalido"},
    {"003 com letras", [] { auto c = Pedido31(); c[3].valor = "12AB"; return c; }, "*ZELP* Campo [003-000] invalido"},
    {"003 com 14 digitos", [] { auto c = Pedido31(); c[3].valor = "12345678901200"; return c; }, "*ZELP* Campo [003-000] invalido"},
    {"003 com zeros alem do campo", [] { auto c = Pedido31(); c[3].valor = "00000000001500"; return c; }, ""},
    // 007 of code 14: a raw first character, then 14 BCD digits.
    {"007 com prefixo que nao e digito", [] { return Pedido14("-1234"); }, ""},
    {"007 so com o prefixo", [] { return Pedido14("C"); }, ""},
    {"007 com letra no bcd", [] { return Pedido14("C12X4"); }, "*ZELP* Campo [007-000] invalido"},
    {"007 com 15 digitos", [] { return Pedido14("C123456789012345"); }, "*ZELP* Campo [007-000] invalido"},
    {"007 com zeros alem do campo", [] { return Pedido14("C0000012345678901234"); }, ""},
    {"109 repeticao com bcd invalido",
     [] { auto c = Pedido109("1"); AcrescentaRepeticao(c, 1); c.back().valor = "1,5"; return c; },
     "*ZELP* Campo [327-001] invalido"},
    {"falta o 999", [] { auto c = Pedido31(); c.pop_back(); return c; }, "*ZELP* Campo(s) [999-000] faltando"},
    {"109 com duas repeticoes", [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1); AcrescentaRepeticao(c, 2); return c; }, ""},
    {"109 com 313-003 alem da contagem",
     [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1); AcrescentaRepeticao(c, 2); c.push_back({313, 3, "1"}); return c; },
     "*ZELP* Campo [313-003] invalido"},
    {"109 com contagem 11", [] { auto c = Pedido109("11"); return c; }, "*ZELP* Campo [312-000 = 11] invalido"},
    {"109 com contagem negativa (200)", [] { auto c = Pedido109("200"); return c; },
     "*ZELP* Campo [312-000 = -56] invalido"},
    {"109 com contagem -1", [] { auto c = Pedido109("-1"); return c; }, "*ZELP* Campo [312-000 = -1] invalido"},
    {"109 com 313-000 e 313-001",
     [] { auto c = Pedido109("1"); AcrescentaRepeticao(c, 1); c.push_back({313, 0, "9"}); return c; },
     "*ZELP* Campo [313-001] invalido"},
    {"109 com 313-000 como primeira ocorrencia",
     [] { auto c = Pedido109("1"); AcrescentaRepeticao(c, 0); return c; }, ""},
    {"109 com contagem 0 lista os campos do grupo", [] { return Pedido109("0"); }, faltam109Zero.c_str()},
    {"109 com contagem 0 recusa um campo do grupo",
     [] { auto c = Pedido109("0"); AcrescentaRepeticao(c, 1); return c; }, "*ZELP* Campo [313-001] invalido"},
    {"109 com contagem 2 e so a primeira repeticao",
     [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1); return c; }, faltam109Segunda.c_str()},
    {"109 com contagem 3 e so a primeira repeticao",
     [] { auto c = Pedido109("3"); AcrescentaRepeticao(c, 1); return c; }, faltam109SegundaTerceira.c_str()},
    {"109 opcional 328 em todas as repeticoes",
     [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1, true); AcrescentaRepeticao(c, 2, true); return c; }, ""},
    {"109 opcional 328 so na primeira",
     [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1, true); AcrescentaRepeticao(c, 2); return c; },
     "*ZELP* Campo(s) [328-002] faltando"},
    {"109 campo fora do grupo com segunda ocorrencia",
     [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1); AcrescentaRepeticao(c, 2); c.push_back({3, 2, "7"}); return c; },
     "*ZELP* Campo [003-002] invalido"},
    // Its second occurrence would land on the establishment code the service itself adds.
    {"109 com contagem 2 e um 901-002",
     [] { auto c = Pedido109("2"); AcrescentaRepeticao(c, 1); AcrescentaRepeticao(c, 2); c.push_back({901, 2, "99999999"}); return c; },
     "*ZELP* Campo [901-002] invalido"},
    {"109 campo fora do grupo como 003-001 vale 003-000",
     [] { auto c = Pedido109("1"); AcrescentaRepeticao(c, 1); c[3] = {3, 1, "100"}; return c; }, ""},
    {"109 sem o campo de contagem",
     [] { auto c = Pedido109("1"); c.erase(c.begin() + 8); AcrescentaRepeticao(c, 1); return c; },
     "*ZELP* Campo(s) [312-000] faltando"},
};

INSTANTIATE_TEST_SUITE_P(Casos, RecusaPedido, ::testing::ValuesIn(casosRecusa));

TEST(MontaPedido, Codigo109ColocaAsRepeticoesEmSeusDeslocamentos) {
  auto campos = Pedido109("2");
  AcrescentaRepeticao(campos, 1);
  AcrescentaRepeticao(campos, 2);
  for (auto& c : campos)
    if (c.numero == 313) c.valor = c.ocorrencia == 1 ? "11111111" : "22222222";
  TG transacao;
  PreencheTransacao(transacao, campos, "1", "2");
  BF quadro = PreparaPedido(transacao);
  ASSERT_EQ(quadro.tamanho, 8 + 188);
  const std::uint8_t* dados = quadro.dados.get() + 8;
  EXPECT_EQ(Hex(dados + 100, 4), "11 11 11 11");
  EXPECT_EQ(Hex(dados + 144, 4), "22 22 22 22");
  EXPECT_EQ(dados[99], 2);
}

TEST(MontaPedido, NumeroDeCamposNoLimite) {
  // 251 request fields + 2 establishment texts + 2 constants = 255: accepted.
  std::vector<CampoTeste> campos = Pedido31();
  for (int k = 1; campos.size() < 251; ++k) campos.push_back({383, k, "0"});
  TG transacao;
  PreencheTransacao(transacao, campos, "1", "2");
  EXPECT_EQ(Recusa(transacao), "");
  EXPECT_EQ(transacao.quantidade, 255);

  // One more is refused before anything else, even before a wrong header.
  campos.push_back({383, 900, "0"});
  campos[0].valor = "CHQ";
  TG cheia;
  PreencheTransacao(cheia, campos, "1", "2");
  EXPECT_EQ(Recusa(cheia), "*ZELP* NUMERO DE CAMPOS EXCEDIDO!");
  EXPECT_EQ(cheia.quantidade, 252) << "nothing is added when the count is refused";
}

TEST(MontaPedido, CamposAcrescentadosFicamNaTabelaQuandoRecusado) {
  TG transacao;
  PreencheTransacao(transacao, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}, {999, 999, ""}}, "EST", "TXT");
  EXPECT_NE(Recusa(transacao), "");
  EXPECT_EQ(Valor(transacao, 901, 0), "EST");
  EXPECT_EQ(Valor(transacao, 902, 0), "TXT");
  EXPECT_EQ(Valor(transacao, 910, 0), "M");
  EXPECT_EQ(Valor(transacao, 911, 0), "0");
}

TEST(MontaPedido, ListaDeFaltantesNaoPassaDe1023Caracteres) {
  // Count 10 and no repetition: 10 fields x 10 occurrences = 100 entries, more than fit.
  TG transacao;
  PreencheTransacao(transacao, Pedido109("10"), "1", "2");
  const std::string texto = Recusa(transacao);
  ASSERT_LE(texto.size(), 1023u);
  EXPECT_EQ(texto.rfind("*ZELP* Campo(s) [313-001],[313-002],", 0), 0u) << texto;
  EXPECT_EQ(texto.substr(texto.size() - 9), " faltando");
  // Entries stop once the list is within 20 characters of 1,024: 99 of the 100 fit.
  const std::size_t entradas = static_cast<std::size_t>(std::count(texto.begin(), texto.end(), '['));
  EXPECT_EQ(entradas, 99u);
  EXPECT_EQ(texto.size(), 16u + 99u * 9u + 98u + 9u);
  EXPECT_NE(texto.find("[327-009] faltando"), std::string::npos);
}

TEST(MontaPedido, TabelaSemTipoERecusada) {
  TG transacao;
  PreencheTransacao(transacao, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "99"}, {999, 999, ""}});
  EXPECT_EQ(Recusa(transacao), "*ZELP* Campo [011-000 = 99] invalido");
}

}  // namespace
