// Invariants of every request and response layout of the catalogue, checked over all 23 types.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"

namespace {

std::string Nome(const ::testing::TestParamInfo<int>& info) {
  return "codigo_" + std::to_string(tiposTransacao[info.param].codigo);
}

// Bytes a placed field takes in a message: the prefixed BCD has its raw byte before the BCD part.
int Ocupa(const TLayoutCampo& c) { return c.tipo == TIPO_PREFIXO_BCD ? c.tamanho + 1 : c.tamanho; }

bool Colocado(const TLayoutCampo& c) { return c.posicao >= 0; }

const TLayoutCampo* Entrada(const TLayoutMensagem& l, int numero) {
  for (int i = 0; i < l.numDefinicoes; ++i) {
    if (l.definicoes[i].numero == numero) return &l.definicoes[i];
  }
  return nullptr;
}

void EsperaImplicito(const TLayoutCampo& c, int numero, int tamanho, int condicao) {
  SCOPED_TRACE("entrada " + std::to_string(numero));
  EXPECT_EQ(c.numero, numero);
  EXPECT_EQ(c.posicao, -1);
  EXPECT_EQ(c.tamanho, tamanho);
  EXPECT_EQ(c.tipo, TIPO_NENHUM);
  EXPECT_EQ(c.repetido, 0);
  EXPECT_EQ(c.condicao, condicao);
}

// Checks common to both directions.
void VerificaComum(const TLayoutMensagem& l) {
  ASSERT_NE(l.definicoes, nullptr);
  ASSERT_GE(l.numDefinicoes, 3);
  for (int i = 1; i < l.numDefinicoes; ++i) {
    EXPECT_LT(l.definicoes[i - 1].numero, l.definicoes[i].numero) << "posicao " << i;
  }
  for (int i = 0; i < l.numDefinicoes; ++i) {
    EXPECT_GE(l.definicoes[i].numero, 0);
    EXPECT_LE(l.definicoes[i].numero, 999);
  }
  EsperaImplicito(l.definicoes[0], 0, 0, 0);
  EsperaImplicito(l.definicoes[1], 1, 0, 0);
  EsperaImplicito(l.definicoes[l.numDefinicoes - 1], 999, l.TamanhoFixo(), 0);
  EXPECT_GT(l.TamanhoFixo(), 0);

  // The group exists with all three values or with none.
  const bool algum = l.tamRepeticao != 0 || l.posContador != 0 || l.maxRepeticoes != 0;
  EXPECT_EQ(algum, l.TemGrupo());
  if (l.TemGrupo()) {
    EXPECT_GT(l.tamRepeticao, 0);
    EXPECT_GT(l.maxRepeticoes, 0);
    EXPECT_LE(l.maxRepeticoes, 32);
    // The count byte is a placed one-byte binary field of the fixed part.
    bool achou = false;
    for (int i = 0; i < l.numDefinicoes; ++i) {
      const TLayoutCampo& c = l.definicoes[i];
      if (c.posicao != l.posContador) continue;
      achou = true;
      EXPECT_EQ(c.tamanho, 1);
      EXPECT_EQ(c.tipo, TIPO_BINARIO);
      EXPECT_EQ(c.repetido, 0);
    }
    EXPECT_TRUE(achou) << "nenhum campo no contador, posicao " << l.posContador;
    EXPECT_LT(l.posContador, l.TamanhoFixo());
  }

  for (int i = 0; i < l.numDefinicoes; ++i) {
    const TLayoutCampo& c = l.definicoes[i];
    SCOPED_TRACE("campo " + std::to_string(c.numero));
    // Placed exactly when it has a type; the types 6 and 7 mean nothing.
    EXPECT_EQ(Colocado(c), c.tipo != TIPO_NENHUM);
    EXPECT_NE(c.tipo, 6);
    EXPECT_NE(c.tipo, 7);
    if (!Colocado(c)) {
      EXPECT_EQ(c.posicao, -1);
      if (c.numero != 999) { EXPECT_EQ(c.tamanho, 0); }
      continue;
    }
    EXPECT_GT(c.tamanho, 0);
    if (c.repetido == 0) {
      EXPECT_LE(c.posicao + Ocupa(c), l.TamanhoFixo());
    } else {
      ASSERT_TRUE(l.TemGrupo());
      EXPECT_LE(c.posicao + Ocupa(c), l.TamanhoFixo() + l.tamRepeticao);
    }
  }
}

class PorTipo : public ::testing::TestWithParam<int> {
 protected:
  const TTipoTransacao& tipo = tiposTransacao[GetParam()];
};

TEST_P(PorTipo, PedidoTemEstruturaValida) {
  const TLayoutMensagem& p = tipo.pedido;
  VerificaComum(p);
  const TLayoutCampo* c383 = Entrada(p, 383);
  ASSERT_NE(c383, nullptr);
  EsperaImplicito(*c383, 383, 0, 1);
  for (int i = 0; i < p.numDefinicoes; ++i) {
    const int cond = p.definicoes[i].condicao;
    EXPECT_TRUE(cond == 0 || cond == 1) << p.definicoes[i].numero;
  }
}

TEST_P(PorTipo, RespostaTemEstruturaValida) {
  const TLayoutMensagem& r = tipo.resposta;
  VerificaComum(r);
  EXPECT_EQ(Entrada(r, 383), nullptr);
  for (int i = 0; i < r.numDefinicoes; ++i) {
    const TLayoutCampo& c = r.definicoes[i];
    EXPECT_TRUE(c.condicao == -1 || c.condicao == 0 || c.condicao == 1) << c.numero;
    if (!Colocado(c)) continue;
    // Decoding knows only these four; its text buffer holds 259 characters.
    EXPECT_TRUE(c.tipo == TIPO_NUMERICO || c.tipo == TIPO_BCD || c.tipo == TIPO_BINARIO || c.tipo == TIPO_CARACTER)
        << c.numero;
    if (c.tipo == TIPO_NUMERICO) { EXPECT_LE(c.tamanho, 259) << c.numero; }
    if (c.tipo == TIPO_BCD) { EXPECT_LE(c.tamanho, 129) << c.numero; }
  }
}

TEST_P(PorTipo, RespostaTemCodigoNaPosicao8) {
  const TLayoutCampo* c = Entrada(tipo.resposta, 9);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->posicao, 8);
  EXPECT_EQ(c->tamanho, 2);
  EXPECT_EQ(c->tipo, TIPO_NUMERICO);
  EXPECT_EQ(c->repetido, 0);
  EXPECT_EQ(c->condicao, 0);
  EXPECT_EQ(tipo.posCodigoResposta, 8);
}

TEST_P(PorTipo, CodigoNoPrimeiroByteDoPedido) {
  const TLayoutCampo* c = Entrada(tipo.pedido, 11);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->posicao, 0);
  EXPECT_EQ(c->tamanho, 1);
  EXPECT_EQ(c->tipo, TIPO_BINARIO);
  EXPECT_EQ(c->condicao, 0);
}

// Assembly adds 901.. and 910.. itself: the layout must know exactly those it adds.
TEST_P(PorTipo, EstabelecimentoEConstantesBatemComOLayout) {
  std::set<int> esperados, achados;
  for (int i = 1; i <= tipo.numEstabelecimento; ++i) esperados.insert(900 + i);
  for (int j = 0; j < tipo.numConstantes; ++j) esperados.insert(910 + j);
  for (int i = 0; i < tipo.pedido.numDefinicoes; ++i) {
    const int n = tipo.pedido.definicoes[i].numero;
    if (n >= 900 && n < 999) achados.insert(n);
  }
  EXPECT_EQ(achados, esperados);
  EXPECT_TRUE(tipo.numEstabelecimento == 1 || tipo.numEstabelecimento == 2);
  EXPECT_EQ(tipo.constantes == nullptr, tipo.numConstantes == 0);
  // 901 carries eight characters of the establishment code.
  const TLayoutCampo* c901 = Entrada(tipo.pedido, 901);
  ASSERT_NE(c901, nullptr);
  EXPECT_EQ(c901->tamanho, 8);
  EXPECT_EQ(c901->tipo, TIPO_NUMERICO);
}

// In every request layout but that of the cheques, the group follows the fixed part.
TEST_P(PorTipo, GrupoRepetidoComecaNoFimDaParteFixa) {
  for (const TLayoutMensagem* l : {&tipo.pedido, &tipo.resposta}) {
    if (tipo.codigo == 20 && l == &tipo.pedido) continue;
    for (int i = 0; i < l->numDefinicoes; ++i) {
      const TLayoutCampo& c = l->definicoes[i];
      if (c.repetido == 1 && Colocado(c)) { EXPECT_GE(c.posicao, l->TamanhoFixo()) << c.numero; }
    }
    if (!l->TemGrupo()) {
      for (int i = 0; i < l->numDefinicoes; ++i) EXPECT_EQ(l->definicoes[i].repetido, 0);
    }
  }
}

// An encoder that wrote two fields over the same bytes would send the host a corrupt message.
TEST_P(PorTipo, CamposDoPedidoNaoSeSobrepoem) {
  const TLayoutMensagem& p = tipo.pedido;
  std::vector<int> dono(static_cast<std::size_t>(p.TamanhoFixo() + p.tamRepeticao), -1);
  for (int i = 0; i < p.numDefinicoes; ++i) {
    const TLayoutCampo& c = p.definicoes[i];
    if (!Colocado(c)) continue;
    for (int b = c.posicao; b < c.posicao + Ocupa(c) && b < static_cast<int>(dono.size()); ++b) {
      EXPECT_EQ(dono[static_cast<std::size_t>(b)], -1) << "byte " << b << ": " << c.numero;
      dono[static_cast<std::size_t>(b)] = c.numero;
    }
  }
}

TEST_P(PorTipo, RespeitaOsLimitesDoVerificador) {
  EXPECT_LE(tipo.pedido.numDefinicoes + tipo.numConstantes + tipo.numEstabelecimento, 254);
  EXPECT_LE(tipo.resposta.numDefinicoes, 254);
  EXPECT_LE(tipo.pedido.maxRepeticoes, 32);
  EXPECT_LE(tipo.resposta.maxRepeticoes, 32);
  // A decoded response, both variants and every group full, fits the field table: the overflow text
  // can come only from a request, before anything is sent.
  int campos = 3;  // 000, 001 and 999
  for (int i = 2; i < tipo.resposta.numDefinicoes - 1; ++i) {
    campos += tipo.resposta.TemGrupo() && tipo.resposta.definicoes[i].repetido ? tipo.resposta.maxRepeticoes : 1;
  }
  EXPECT_LE(campos, 256);
}

INSTANTIATE_TEST_SUITE_P(Catalogo, PorTipo, ::testing::Range(0, 23), Nome);

int MaiorDados(const TLayoutMensagem& l) { return l.TamanhoFixo() + l.maxRepeticoes * l.tamRepeticao; }

TEST(Layouts, MaioresMensagens) {
  int maiorPedido = 0, maiorResposta = 0;
  std::set<int> codigosMaiorPedido, codigosMaiorResposta;
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    maiorPedido = std::max(maiorPedido, MaiorDados(t.pedido));
    maiorResposta = std::max(maiorResposta, MaiorDados(t.resposta));
  }
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    if (MaiorDados(t.pedido) == maiorPedido) codigosMaiorPedido.insert(t.codigo);
    if (MaiorDados(t.resposta) == maiorResposta) codigosMaiorResposta.insert(t.codigo);
  }
  EXPECT_EQ(maiorPedido, 540);
  EXPECT_EQ(maiorResposta, 910);
  EXPECT_EQ(codigosMaiorPedido, (std::set<int>{41, 105, 109}));
  EXPECT_EQ(codigosMaiorResposta, (std::set<int>{41, 105, 109, 110}));
}

// The field 030 (refusal text) by response layout: absent only in R59, 24 bytes in R14, 46 in R20.
TEST(Layouts, TextoDeRecusa) {
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    SCOPED_TRACE(t.codigo);
    const TLayoutCampo* c = Entrada(t.resposta, 30);
    if (t.codigo == 59) {
      EXPECT_EQ(c, nullptr);
      continue;
    }
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->condicao, -1);
    EXPECT_EQ(c->tamanho, t.codigo == 14 ? 24 : t.codigo == 20 ? 46 : 71);
  }
}

// Only code 20 carries the cheque block and its fields 043..048, as one repeated group.
TEST(Layouts, BlocoDeCheques) {
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    bool temCheque = false;
    for (int k = 0; k < t.pedido.numDefinicoes; ++k) temCheque |= t.pedido.definicoes[k].tipo == TIPO_CHEQUE;
    EXPECT_EQ(temCheque, t.codigo == 20) << t.codigo;
  }
  const TLayoutMensagem& p20 = tiposTransacao[IndiceDoCodigo(20)].pedido;
  const TLayoutCampo* bloco = Entrada(p20, 43);
  ASSERT_NE(bloco, nullptr);
  EXPECT_EQ(bloco->posicao, 52);
  EXPECT_EQ(bloco->tamanho, 12);
  EXPECT_EQ(bloco->repetido, 1);
  for (int n = 44; n <= 48; ++n) {
    const TLayoutCampo* c = Entrada(p20, n);
    ASSERT_NE(c, nullptr) << n;
    EXPECT_EQ(c->posicao, -1);
    EXPECT_EQ(c->repetido, 1);
  }
  EXPECT_EQ(p20.posContador, Entrada(p20, 42)->posicao);
}

TEST(Layouts, GruposDeR110EP110) {
  const TTipoTransacao& t = tiposTransacao[IndiceDoCodigo(110)];
  EXPECT_FALSE(t.pedido.TemGrupo());
  EXPECT_TRUE(t.resposta.TemGrupo());
  // The count of R121's group is field 017; of the 41/102/105/109 layouts and R110, field 312.
  const TTipoTransacao& t121 = tiposTransacao[IndiceDoCodigo(121)];
  EXPECT_EQ(Entrada(t121.resposta, 17)->posicao, t121.resposta.posContador);
  for (int codigo : {41, 102, 105, 109}) {
    const TTipoTransacao& g = tiposTransacao[IndiceDoCodigo(codigo)];
    EXPECT_EQ(Entrada(g.pedido, 312)->posicao, g.pedido.posContador) << codigo;
    EXPECT_EQ(Entrada(g.resposta, 312)->posicao, g.resposta.posContador) << codigo;
  }
  EXPECT_EQ(Entrada(t.resposta, 312)->posicao, t.resposta.posContador);
}

}  // namespace
