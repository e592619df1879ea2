// Whole request frames of five types compared byte for byte with fixed vectors.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "codec/MontaCabecalho.h"
#include "codec/PreparaPedido.h"

namespace {

struct CasoQuadro {
  const char* nome;
  const char* arquivo;
  std::vector<CampoTeste> campos;
  std::string estab1, estab2;
};

// Field lists in the order a point of sale might write them; assembly sorts them.
std::vector<CasoQuadro> Casos() {
  return {
      {"codigo 31", "quadro_31.hex",
       {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, "31"}, {383, 0, "0"}, {98, 0, "4111111111111111=2512"},
        {3, 0, "1500"}, {10, 0, "A1B2C3D4"}, {999, 999, ""}},
       "123456789", "ABCDEFGHIJKLMNO"},
      {"codigo 14 com prefixo", "quadro_14.hex",
       {{0, 0, "chq"}, {1, 0, "77"}, {11, 0, "14"}, {3, 0, "25000"}, {7, 0, "A1234567"}, {8, 0, "1225"},
        {33, 0, "12"}, {34, 0, "2026"}, {38, 0, "987654"}, {999, 999, ""}},
       "000012345", ""},
      {"codigo 57", "quadro_57.hex",
       {{0, 0, "CRT"}, {1, 0, "9"}, {11, 0, "57"}, {7, 0, "ABC123"}, {98, 0, "X"}, {999, 999, ""}},
       "12345678", ""},
      {"codigo 109 com grupo", "quadro_109.hex",
       {{0, 0, "CRT"}, {1, 0, "5"}, {11, 0, "109"}, {3, 0, "100"}, {98, 0, "5555444433332222"},
        {301, 0, "12345"}, {302, 0, "01"}, {304, 0, "311226"}, {312, 0, "2"},
        {313, 1, "1"}, {314, 1, "A"}, {315, 1, "123"}, {316, 1, "07"}, {317, 1, "X"}, {318, 1, "1500"},
        {321, 1, "654321"}, {323, 1, "20260101"}, {326, 1, "3"}, {327, 1, "44"}, {328, 1, "Z"},
        {313, 2, "2"}, {314, 2, "B"}, {315, 2, "999999999999"}, {316, 2, "08"}, {317, 2, "Y"},
        {318, 2, "12345678901234"}, {321, 2, "1"}, {323, 2, "123456789012"}, {326, 2, "99"}, {327, 2, "10"},
        {328, 2, "W"}, {383, 0, "3"}, {999, 999, ""}},
       "987654321", "LOJA0000000001X"},
      {"codigo 20 com dois cheques", "quadro_20.hex",
       {{0, 0, "CHQ"}, {1, 0, "4"}, {11, 0, "20"}, {3, 0, "12345"}, {6, 0, "986"}, {7, 0, "P11122233344"},
        {14, 0, "12345678901"}, {42, 0, "2"},
        {43, 1, "237123470180001015200012345674"}, {44, 1, "15000"}, {45, 1, "1012024"}, {46, 1, "4"},
        {47, 1, "9"}, {48, 1, "5"},
        {43, 2, "237123460180001025200012345674"}, {44, 2, "250"}, {45, 2, "20260315"}, {46, 2, "4"},
        {47, 2, "9"}, {48, 2, "3"}, {999, 999, ""}},
       "000054321", ""},
  };
}

void PrintTo(const CasoQuadro& c, std::ostream* os) { *os << c.nome; }

class QuadroPedido : public ::testing::TestWithParam<CasoQuadro> {};

TEST_P(QuadroPedido, IgualAoVetorByteAByte) {
  const CasoQuadro& caso = GetParam();
  TG transacao;
  PreencheTransacao(transacao, caso.campos, caso.estab1, caso.estab2);
  const std::uint8_t sequencia = numeroSequencia.load();
  BF quadro = PreparaPedido(transacao);
  const std::vector<std::uint8_t> esperado = VetorDeArquivo(caso.arquivo, sequencia);
  ASSERT_EQ(quadro.tamanho, static_cast<std::int32_t>(esperado.size())) << caso.nome;
  EXPECT_EQ(Hex(quadro.dados.get(), static_cast<std::size_t>(quadro.tamanho)), Hex(esperado)) << caso.nome;
  // The buffer holds room for every repetition and nothing was written past the frame.
  for (std::int32_t i = quadro.tamanho; i <= quadro.capacidade; ++i)
    EXPECT_EQ(quadro.dados[static_cast<std::size_t>(i)], 0) << caso.nome << " byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Tipos, QuadroPedido, ::testing::ValuesIn(Casos()));

TEST(QuadroPedido, AcrescentaEstabelecimentoEConstantesEOrdenaATabela) {
  TG transacao;
  PreencheTransacao(transacao,
                    {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, "31"}, {98, 0, "X"}, {3, 0, "1"}, {999, 999, ""}},
                    "123456789", "ABCDEFGHIJKLMNO");
  PreparaPedido(transacao);
  EXPECT_EQ(Linhas(transacao),
            (std::vector<std::string>{"000-000=CRT", "001-000=123", "003-000=1", "011-000=31", "098-000=X",
                                      "901-000=123456789", "902-000=ABCDEFGHIJKLMNO", "910-000=M", "911-000=0",
                                      "999-999="}));
}

TEST(QuadroPedido, CapacidadesDosBuffers) {
  // Request: prefix + header + fixed part + every repetition; response: header + the same.
  EXPECT_EQ(CapacidadePedido(tiposTransacao[0]), 40 + 8 + 45);
  EXPECT_EQ(CapacidadePedido(tiposTransacao[1]), 8 + 64 + 12 * 14);
  EXPECT_EQ(CapacidadePedido(tiposTransacao[10]), 8 + 540);
  EXPECT_EQ(CapacidadeResposta(tiposTransacao[0]), 230 + 8);
  EXPECT_EQ(CapacidadeResposta(tiposTransacao[10]), 910 + 8);
  EXPECT_EQ(CapacidadeResposta(tiposTransacao[18]), 231 + 12 * 13 + 8);
}

}  // namespace

namespace {

// The assembly and the decoder write and read at the layouts' offsets without further checks
// against the buffers; every field of the catalogue, in every repetition, must lie inside them.
std::int32_t Fim(const TLayoutCampo& d, const TLayoutMensagem& l) {
  std::int32_t bytes = d.tipo == TIPO_BINARIO || d.tipo == TIPO_CARACTER ? 1 : d.tamanho;
  if (d.tipo == TIPO_PREFIXO_BCD) bytes += 1;
  if (d.tipo == TIPO_CHEQUE) bytes = 0;  // the cheque block writes 52..64 + 14 x 12 on its own
  const std::int32_t repeticoes = d.repetido == 1 && l.TemGrupo() ? l.maxRepeticoes - 1 : 0;
  return d.posicao + bytes + repeticoes * l.tamRepeticao;
}

TEST(QuadroPedido, CamposDoCatalogoCabemNosBuffers) {
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    const std::int32_t dadosPedido = CapacidadePedido(t) - t.prefixo - 8;
    for (int k = 0; k < t.pedido.numDefinicoes; ++k) {
      const TLayoutCampo& d = t.pedido.definicoes[k];
      if (d.posicao < 0) continue;
      EXPECT_LE(Fim(d, t.pedido), dadosPedido) << "code " << t.codigo << " field " << d.numero;
      if (t.pedido.TemGrupo() && d.posicao == t.pedido.posContador) {
        EXPECT_EQ(d.tipo, TIPO_BINARIO) << t.codigo;
      }
      if (d.tipo == TIPO_CHEQUE) {
        EXPECT_LE(64 + 14 * 12, dadosPedido);
      }
    }
    const std::int32_t dadosResposta = CapacidadeResposta(t) - 8;
    for (int k = 0; k < t.resposta.numDefinicoes; ++k) {
      const TLayoutCampo& d = t.resposta.definicoes[k];
      if (d.posicao < 0) continue;
      EXPECT_LE(Fim(d, t.resposta), dadosResposta) << "code " << t.codigo << " response field " << d.numero;
      EXPECT_LE(d.tamanho, d.tipo == TIPO_NUMERICO ? 259 : 129) << "code " << t.codigo << " field " << d.numero;
    }
  }
}

}  // namespace
