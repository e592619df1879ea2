// The 23 catalogue entries, the sharing of their layouts, and the lookup from transaction code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "catalogo/LayoutsPedido.h"
#include "catalogo/LayoutsResposta.h"

namespace {

using namespace layouts;

struct Esperado {
  int codigo;
  const char* nome;
  int indiceEnd, indicePar;
  const TLayoutMensagem* pedido;
  const TLayoutMensagem* resposta;
  int numEstabelecimento;
  std::vector<std::string> constantes;
  int prefixo;
  int cabecalhoByte0;
  const char* cabecalhoByte3;
};

const std::vector<std::string> MR{"M", "R"}, M0{"M", "0"}, M{"M"}, NENHUMA{};
const std::vector<std::string> CHQ20{"0171", "00", "68", "000", "000", "M", "R"};

const Esperado ESPERADOS[] = {
    {14, "CHQ", 0, 0, &LAYOUT_P14, &LAYOUT_R14, 1, MR, 40, 3, "68"},
    {20, "CHQ", 1, 1, &LAYOUT_P20, &LAYOUT_R20, 1, CHQ20, 0, 3, "0xff"},
    {31, "CRT", 2, 2, &LAYOUT_P31, &LAYOUT_R31, 2, M0, 0, 10, "68"},
    {53, "CRT", 2, 2, &LAYOUT_P31, &LAYOUT_R31, 2, M0, 0, 10, "68"},
    {66, "CRT", 2, 2, &LAYOUT_P66, &LAYOUT_R31, 2, M0, 0, 10, "68"},
    {68, "CRT", 2, 2, &LAYOUT_P66, &LAYOUT_R31, 2, M0, 0, 10, "68"},
    {52, "CRT", 2, 2, &LAYOUT_P52, &LAYOUT_R31, 2, NENHUMA, 0, 10, "68"},
    {57, "CRT", 2, 2, &LAYOUT_P57, &LAYOUT_R57, 1, M0, 0, 10, "68"},
    {58, "CRT", 2, 2, &LAYOUT_P58, &LAYOUT_R58, 1, M0, 0, 10, "68"},
    {59, "CRT", 2, 2, &LAYOUT_P59, &LAYOUT_R59, 1, M0, 0, 10, "68"},
    {109, "CRT", 2, 2, &LAYOUT_P109, &LAYOUT_R109, 2, M, 0, 10, "68"},
    {110, "CRT", 2, 2, &LAYOUT_P110, &LAYOUT_R110, 2, M, 0, 10, "68"},
    {41, "CRT", 2, 2, &LAYOUT_P41, &LAYOUT_R41, 2, M, 0, 10, "68"},
    {102, "CRT", 2, 2, &LAYOUT_P102, &LAYOUT_R102, 2, M, 0, 10, "68"},
    {105, "CRT", 2, 2, &LAYOUT_P105, &LAYOUT_R41, 2, M, 0, 10, "68"},
    {106, "CRT", 2, 2, &LAYOUT_P106, &LAYOUT_R106, 2, NENHUMA, 0, 10, "68"},
    {107, "CRT", 2, 2, &LAYOUT_P107, &LAYOUT_R107, 2, NENHUMA, 0, 10, "68"},
    {108, "CRT", 2, 2, &LAYOUT_P108, &LAYOUT_R108, 2, NENHUMA, 0, 10, "68"},
    {121, "CRT", 2, 2, &LAYOUT_P121, &LAYOUT_R121, 2, M, 0, 10, "68"},
    {122, "CRT", 2, 2, &LAYOUT_P122, &LAYOUT_R122, 2, M, 0, 10, "68"},
    {123, "CRT", 2, 2, &LAYOUT_P122, &LAYOUT_R122, 2, M, 0, 10, "68"},
    {124, "CRT", 2, 2, &LAYOUT_P122, &LAYOUT_R122, 2, M, 0, 10, "68"},
    {125, "CRT", 2, 2, &LAYOUT_P125, &LAYOUT_R125, 2, M, 0, 10, "68"},
};

void EsperaMesmoLayout(const TLayoutMensagem& real, const TLayoutMensagem& esperado) {
  // Shared by pointer: one array per layout, never a copy that could drift.
  EXPECT_EQ(real.definicoes, esperado.definicoes);
  EXPECT_EQ(real.numDefinicoes, esperado.numDefinicoes);
  EXPECT_EQ(real.tamRepeticao, esperado.tamRepeticao);
  EXPECT_EQ(real.posContador, esperado.posContador);
  EXPECT_EQ(real.maxRepeticoes, esperado.maxRepeticoes);
}

TEST(Tipos, OsVinteETresNaOrdemDoCatalogo) {
  ASSERT_EQ(numTipos, 23);
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    const Esperado& e = ESPERADOS[i];
    SCOPED_TRACE("indice " + std::to_string(i) + ", codigo " + std::to_string(e.codigo));
    EXPECT_EQ(t.codigo, e.codigo);
    EXPECT_STREQ(t.nome, e.nome);
    EXPECT_EQ(t.indiceEnd, e.indiceEnd);
    EXPECT_EQ(t.indicePar, e.indicePar);
    EsperaMesmoLayout(t.pedido, *e.pedido);
    EsperaMesmoLayout(t.resposta, *e.resposta);
    EXPECT_EQ(t.numEstabelecimento, e.numEstabelecimento);
    ASSERT_EQ(t.numConstantes, static_cast<int>(e.constantes.size()));
    for (int j = 0; j < t.numConstantes; ++j) EXPECT_EQ(t.constantes[j], e.constantes[static_cast<std::size_t>(j)]);
    EXPECT_EQ(t.prefixo, e.prefixo);
    EXPECT_EQ(t.posCodigoResposta, 8);
    EXPECT_EQ(t.cabecalhoByte0, e.cabecalhoByte0);
    EXPECT_STREQ(t.cabecalhoByte3, e.cabecalhoByte3);
  }
}

// Fixed part and group of each layout, by its label.
struct Forma {
  const TLayoutMensagem* layout;
  const char* rotulo;
  int fixo, tamRepeticao, posContador, maxRepeticoes;
};

TEST(Tipos, FormaDeCadaLayout) {
  const Forma formas[] = {
      {&LAYOUT_P14, "P14", 45, 0, 0, 0},       {&LAYOUT_R14, "R14", 230, 0, 0, 0},
      {&LAYOUT_P20, "P20", 64, 14, 51, 12},    {&LAYOUT_R20, "R20", 488, 0, 0, 0},
      {&LAYOUT_P31, "P31", 78, 0, 0, 0},       {&LAYOUT_R31, "R31", 230, 0, 0, 0},
      {&LAYOUT_P66, "P66", 80, 0, 0, 0},       {&LAYOUT_P52, "P52", 86, 0, 0, 0},
      {&LAYOUT_P57, "P57", 78, 0, 0, 0},       {&LAYOUT_R57, "R57", 230, 0, 0, 0},
      {&LAYOUT_P58, "P58", 78, 0, 0, 0},       {&LAYOUT_R58, "R58", 230, 0, 0, 0},
      {&LAYOUT_P59, "P59", 87, 0, 0, 0},       {&LAYOUT_R59, "R59", 230, 0, 0, 0},
      {&LAYOUT_P109, "P109", 100, 44, 99, 10}, {&LAYOUT_R109, "R109", 280, 63, 279, 10},
      {&LAYOUT_P110, "P110", 76, 0, 0, 0},     {&LAYOUT_R110, "R110", 280, 63, 279, 10},
      {&LAYOUT_P41, "P41", 100, 44, 99, 10},   {&LAYOUT_R41, "R41", 280, 63, 279, 10},
      {&LAYOUT_P102, "P102", 65, 13, 64, 10},  {&LAYOUT_R102, "R102", 260, 38, 258, 10},
      {&LAYOUT_P105, "P105", 100, 44, 99, 10}, {&LAYOUT_P106, "P106", 86, 0, 0, 0},
      {&LAYOUT_R106, "R106", 230, 0, 0, 0},    {&LAYOUT_P107, "P107", 76, 0, 0, 0},
      {&LAYOUT_R107, "R107", 525, 0, 0, 0},    {&LAYOUT_P108, "P108", 66, 0, 0, 0},
      {&LAYOUT_R108, "R108", 485, 0, 0, 0},    {&LAYOUT_P121, "P121", 77, 0, 0, 0},
      {&LAYOUT_R121, "R121", 231, 13, 230, 12}, {&LAYOUT_P122, "P122", 98, 0, 0, 0},
      {&LAYOUT_R122, "R122", 251, 0, 0, 0},    {&LAYOUT_P125, "P125", 98, 0, 0, 0},
      {&LAYOUT_R125, "R125", 251, 0, 0, 0},
  };
  EXPECT_EQ(std::size(formas), 35u);
  for (const Forma& f : formas) {
    SCOPED_TRACE(f.rotulo);
    EXPECT_EQ(f.layout->TamanhoFixo(), f.fixo);
    EXPECT_EQ(f.layout->tamRepeticao, f.tamRepeticao);
    EXPECT_EQ(f.layout->posContador, f.posContador);
    EXPECT_EQ(f.layout->maxRepeticoes, f.maxRepeticoes);
  }
}

TEST(Tipos, CompartilhamentoDeLayouts) {
  auto t = [](int codigo) -> const TTipoTransacao& { return tiposTransacao[IndiceDoCodigo(codigo)]; };
  EXPECT_EQ(t(31).pedido.definicoes, t(53).pedido.definicoes);
  for (int codigo : {53, 66, 68, 52}) EXPECT_EQ(t(codigo).resposta.definicoes, t(31).resposta.definicoes) << codigo;
  EXPECT_EQ(t(41).resposta.definicoes, t(105).resposta.definicoes);
  EXPECT_NE(t(41).pedido.definicoes, t(105).pedido.definicoes);
  // 122, 123 and 124 differ only in their code.
  for (int codigo : {123, 124}) {
    const TTipoTransacao& a = t(122);
    const TTipoTransacao& b = t(codigo);
    EXPECT_NE(a.codigo, b.codigo);
    EXPECT_EQ(a.pedido.definicoes, b.pedido.definicoes);
    EXPECT_EQ(a.resposta.definicoes, b.resposta.definicoes);
    EXPECT_EQ(a.constantes, b.constantes);
    EXPECT_EQ(a.numEstabelecimento, b.numEstabelecimento);
    EXPECT_EQ(a.indiceEnd, b.indiceEnd);
    EXPECT_EQ(a.indicePar, b.indicePar);
  }
  // Exactly 35 distinct arrays among the 46 layouts the types name.
  std::set<const TLayoutCampo*> distintos;
  for (int i = 0; i < numTipos; ++i) {
    distintos.insert(tiposTransacao[i].pedido.definicoes);
    distintos.insert(tiposTransacao[i].resposta.definicoes);
  }
  EXPECT_EQ(distintos.size(), 35u);
}

// Header byte 3 is read in the usual source notation, as the request assembly reads it.
TEST(Tipos, CabecalhoByte3) {
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    char* fim = nullptr;
    const long valor = std::strtol(t.cabecalhoByte3, &fim, 0);
    EXPECT_EQ(*fim, '\0') << t.codigo;
    EXPECT_EQ(valor, t.codigo == 20 ? 255 : 68) << t.codigo;
    EXPECT_EQ(t.prefixo, t.codigo == 14 ? 40 : 0) << t.codigo;
    EXPECT_EQ(t.cabecalhoByte0, std::string(t.nome) == "CHQ" ? 3 : 10) << t.codigo;
  }
}

TEST(MapaCodigos, CadaTipoPeloSeuCodigo) {
  MontaMapaCodigos();
  for (int i = 0; i < numTipos; ++i) {
    EXPECT_EQ(mapaCodigos[tiposTransacao[i].codigo], i);
    EXPECT_EQ(IndiceDoCodigo(tiposTransacao[i].codigo), i);
  }
  int comTipo = 0;
  for (int c = 0; c < 256; ++c) comTipo += mapaCodigos[c] != SEM_TIPO;
  EXPECT_EQ(comTipo, 23);
}

TEST(MapaCodigos, CodigosSemTipoEByteBaixo) {
  MontaMapaCodigos();
  for (int codigo : {0, 1, 15, 255}) {
    EXPECT_EQ(mapaCodigos[codigo], SEM_TIPO) << codigo;
    EXPECT_EQ(IndiceDoCodigo(codigo), -1) << codigo;
  }
  // Only the low byte selects the type: 270 is 14 to the host.
  EXPECT_EQ(IndiceDoCodigo(270), 0);
  EXPECT_EQ(tiposTransacao[IndiceDoCodigo(270)].codigo, 14);
  EXPECT_EQ(IndiceDoCodigo(256 + 20), IndiceDoCodigo(20));
  EXPECT_EQ(IndiceDoCodigo(-256 + 31), IndiceDoCodigo(31));
  EXPECT_EQ(IndiceDoCodigo(-1), -1);  // low byte 255
}

TEST(MapaCodigos, MontarDeNovoNaoMudaNada) {
  MontaMapaCodigos();
  std::uint8_t antes[256];
  std::copy(std::begin(mapaCodigos), std::end(mapaCodigos), antes);
  MontaMapaCodigos();
  EXPECT_TRUE(std::equal(std::begin(antes), std::end(antes), std::begin(mapaCodigos)));
}

}  // namespace
