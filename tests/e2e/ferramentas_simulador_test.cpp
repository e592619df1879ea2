// The host simulator's answers read back by the gateway's own decoder, for every transaction type:
// the gateway builds the request frame, the simulator decodes it and answers, the gateway decodes
// the answer. Both sides must agree field by field.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "codec/DecodificaResposta.h"
#include "codec/PreparaPedido.h"
#include "comum/Texto.h"
#include "ferramentas_apoio.h"
#include "fields/TG.h"
#include "zelp-host/LeituraPedido.h"
#include "zelp-host/Mascara.h"
#include "zelp-host/Quadro.h"
#include "zelp-host/RespostaSimulada.h"

namespace {

using simulador::CampoResposta;
using simulador::PedidoLido;
using simulador::RespostaSimulada;

constexpr int REPETICOES = 2;

struct Caso {
  int indice;
  bool recusa;
};

void PrintTo(const Caso& caso, std::ostream* saida) {
  *saida << "codigo " << tiposTransacao[caso.indice].codigo << (caso.recusa ? ", recusa" : ", aprovacao");
}

std::string Nome(const testing::TestParamInfo<Caso>& info) {
  return Formata("codigo%d_%s", static_cast<int>(tiposTransacao[info.param.indice].codigo),
                 info.param.recusa ? "recusa" : "aprovacao");
}

std::vector<Caso> TodosOsCasos() {
  std::vector<Caso> casos;
  for (int i = 0; i < numTipos; ++i) {
    casos.push_back({i, false});
    casos.push_back({i, true});
  }
  return casos;
}

class RespostaDoSimulador : public testing::TestWithParam<Caso> {};

TEST_P(RespostaDoSimulador, OGatewayLeOQueOSimuladorResponde) {
  const Caso caso = GetParam();
  const TTipoTransacao& tipo = tiposTransacao[caso.indice];
  const bool temValor = TemCampo(tipo.pedido, 3);

  TG t;
  MontaTransacao(t, caso.indice, caso.recusa ? "2551" : "1500", REPETICOES);
  if (HasFatalFailure()) return;
  BF quadro = PreparaPedido(t);
  ASSERT_GT(quadro.tamanho, 0);

  // The simulator's side: prefix, header, data decoded by the request layout.
  const std::uint8_t* bytes = quadro.dados.get();
  const bool comPrefixo = simulador::IndicaPrefixo(bytes[0]);
  EXPECT_EQ(comPrefixo, tipo.prefixo > 0);
  if (comPrefixo) {
    ASSERT_TRUE(simulador::PrefixoZerado(bytes));
    bytes += simulador::TAM_PREFIXO;
  }
  const simulador::Cabecalho cabecalho = simulador::LeCabecalho(bytes);
  EXPECT_EQ(cabecalho.codigo, tipo.codigo);
  ASSERT_EQ(static_cast<int>(cabecalho.tamanhoDados) + 8 + (comPrefixo ? 40 : 0), quadro.tamanho);
  const PedidoLido pedido =
      simulador::DecodificaPedido(tipo.pedido, bytes + simulador::TAM_CABECALHO, cabecalho.tamanhoDados);
  EXPECT_TRUE(pedido.avisos.empty()) << pedido.avisos.front();
  if (temValor) {
    const simulador::CampoLido* valor = simulador::ProcuraCampo(pedido, 3, 0);
    ASSERT_NE(valor, nullptr);
    EXPECT_EQ(valor->valor, caso.recusa ? "000000002551" : "000000001500");
  }

  simulador::RegrasResposta regras;
  if (caso.recusa && !temValor) regras.codigoTodos = 5;
  simulador::Contexto contexto;
  const RespostaSimulada resposta = simulador::MontaResposta(tipo, pedido, regras, contexto);
  const int esperado = caso.recusa ? (temValor ? 51 : 5) : 0;
  EXPECT_EQ(resposta.codigoResposta, esperado);
  EXPECT_EQ(resposta.aprovacao, !caso.recusa);
  const TLayoutMensagem& r = tipo.resposta;
  if (r.TemGrupo()) {
    // The request's own group size is answered; a request without a group gets two.
    EXPECT_EQ(resposta.repeticoes, REPETICOES);
    EXPECT_EQ(resposta.dados.size(), static_cast<std::size_t>(r.TamanhoFixo() + REPETICOES * r.tamRepeticao));
  } else {
    EXPECT_EQ(resposta.dados.size(), static_cast<std::size_t>(r.TamanhoFixo()));
  }

  // The gateway's side: the same data through its decoder.
  const std::int32_t quantidade =
      DecodificaResposta(t, resposta.dados.data(), static_cast<std::int32_t>(resposta.dados.size()), r);
  ASSERT_EQ(quantidade, static_cast<std::int32_t>(resposta.campos.size()) + 3);
  EXPECT_EQ(t.campos[0]->numero, 0);
  EXPECT_EQ(t.campos[0]->valor, tipo.nome);
  EXPECT_EQ(t.campos[1]->numero, 1);
  for (std::size_t i = 0; i < resposta.campos.size(); ++i) {
    const CampoResposta& c = resposta.campos[i];
    const TA& lido = *t.campos[i + 2];
    EXPECT_EQ(lido.numero, c.numero) << "campo " << i;
    EXPECT_EQ(lido.ocorrencia, c.ocorrencia) << "campo " << c.numero;
    EXPECT_EQ(lido.valor, c.valor) << "campo " << c.numero << "-" << c.ocorrencia;
  }
  EXPECT_EQ(t.campos[quantidade - 1]->numero, 999);

  const TA* codigo = t.Procura(9, 0);
  ASSERT_NE(codigo, nullptr);
  EXPECT_EQ(codigo->valor, Formata("%02d", esperado));
  const TA* mensagem = t.Procura(30, 0);
  if (caso.recusa && TemCampo(r, 30)) {
    ASSERT_NE(mensagem, nullptr);
    EXPECT_EQ(mensagem->valor.rfind(temValor ? "SALDO INSUFICIENTE (51)" : "NAO AUTORIZADA (05)", 0), 0u)
        << mensagem->valor;
  } else {
    EXPECT_EQ(mensagem, nullptr);
  }
  if (temValor && TemCampo(r, 3)) {
    const TA* valor = t.Procura(3, 0);
    ASSERT_NE(valor, nullptr);
    EXPECT_EQ(valor->valor, caso.recusa ? "000000002551" : "000000001500");
  }
  // An approval of a type with a repeated group shows every occurrence.
  if (!caso.recusa && r.TemGrupo()) {
    const TLayoutCampo* repetido = nullptr;
    for (int i = 0; i < r.numDefinicoes && repetido == nullptr; ++i) {
      if (r.definicoes[i].repetido != 0) repetido = &r.definicoes[i];
    }
    ASSERT_NE(repetido, nullptr);
    EXPECT_NE(t.Procura(repetido->numero, 1), nullptr);
    EXPECT_NE(t.Procura(repetido->numero, REPETICOES), nullptr);
    EXPECT_EQ(t.Procura(repetido->numero, REPETICOES + 1), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(TodosOsTipos, RespostaDoSimulador, testing::ValuesIn(TodosOsCasos()), Nome);

// Codes 26 to 28 are approvals with a remark for the consultation types: the gateway decodes
// the approval fields, so the simulator fills them; for other types they are refusals.
TEST(RespostaDoSimulador, Codigo27EAprovacaoSoNosTiposDeConsulta) {
  for (int codigo : {109, 31}) {
    const int indice = IndiceDoCodigo(codigo);
    ASSERT_GE(indice, 0);
    const TTipoTransacao& tipo = tiposTransacao[indice];
    TG t;
    MontaTransacao(t, indice, "1500", REPETICOES);
    if (HasFatalFailure()) return;
    BF quadro = PreparaPedido(t);
    ASSERT_GT(quadro.tamanho, 8);
    const PedidoLido pedido = simulador::DecodificaPedido(tipo.pedido, quadro.dados.get() + 8, quadro.tamanho - 8);
    simulador::RegrasResposta regras;
    regras.codigoPorTransacao[codigo] = 27;
    const RespostaSimulada resposta = simulador::MontaResposta(tipo, pedido, regras, simulador::Contexto{});
    EXPECT_EQ(resposta.aprovacao, codigo == 109);
    DecodificaResposta(t, resposta.dados.data(), static_cast<std::int32_t>(resposta.dados.size()), tipo.resposta);
    ASSERT_NE(t.Procura(9, 0), nullptr);
    EXPECT_EQ(t.Procura(9, 0)->valor, "27");
    if (codigo == 109) {
      ASSERT_NE(t.Procura(312, 0), nullptr);
      EXPECT_EQ(t.Procura(312, 0)->valor, "002");
      EXPECT_EQ(t.Procura(30, 0), nullptr);
    } else {
      ASSERT_NE(t.Procura(30, 0), nullptr);
      EXPECT_EQ(t.Procura(30, 0)->valor.rfind("TRANSACAO RECUSADA (27)", 0), 0u);
    }
  }
}

TEST(RegraDoSimulador, CodigoDeRespostaPelosDoisUltimosDigitosDoValor) {
  PedidoLido pedido;
  simulador::CampoLido valor;
  valor.numero = 3;
  simulador::RegrasResposta regras;
  std::string motivo;
  const struct {
    const char* digitos;
    int codigo;
  } tabela[] = {{"000000001500", 0}, {"000000001505", 5}, {"000000002551", 51}, {"000000000099", 99},
                {"000000000001", 1}};
  for (const auto& linha : tabela) {
    valor.valor = linha.digitos;
    pedido.campos = {valor};
    EXPECT_EQ(simulador::EscolheCodigoResposta(31, pedido, regras, motivo), linha.codigo) << linha.digitos;
  }
  // The options come first: per code, then for every code.
  regras.codigoTodos = 12;
  regras.codigoPorTransacao[31] = 5;
  EXPECT_EQ(simulador::EscolheCodigoResposta(31, pedido, regras, motivo), 5);
  EXPECT_EQ(simulador::EscolheCodigoResposta(53, pedido, regras, motivo), 12);
  // Without an amount and without options: approval.
  EXPECT_EQ(simulador::EscolheCodigoResposta(57, PedidoLido{}, simulador::RegrasResposta{}, motivo), 0);
  // A BCD field that is no number is refused before any option is looked at.
  pedido.bcdInvalido = {"003-000"};
  EXPECT_EQ(simulador::EscolheCodigoResposta(31, pedido, regras, motivo), simulador::CODIGO_BCD_INVALIDO);
  EXPECT_NE(motivo.find("003-000"), std::string::npos) << motivo;
}

TEST(MascaraDoSimulador, NumerosDeCartaoPINETrilhaOcultos) {
  const struct {
    int campo;
    const char* valor;
    const char* impresso;
  } tabela[] = {
      {2, "4111111111111111", "411111******1111"},
      {2, "123456789012", "123456789012"},                  // 12 digits: an amount, not a card
      {2, "1234567890123", "123456***0123"},                // 13
      {2, "12345678901234567890", "12345678901234567890"},  // 20: no card number
      {2, "0000000000000000", "0000000000000000"},          // padding
      {370, "A 5500000000000004 E 4111111111111111X", "A 550000******0004 E 411111******1111X"},
      {98, "4111111111111111=28121015432   ", "411111******1111=***********   "},
      {98, "B4111111111111111^JOAO/SILVA^2812", "*411111******1111^****/*****^****"},
      {10, "123456789ABCDEF0", "****************"},
  };
  for (const auto& linha : tabela) {
    EXPECT_EQ(simulador::MascaraCampo(linha.campo, linha.valor), linha.impresso) << linha.valor;
  }
}

TEST(LeituraDoSimulador, NibbleAcimaDe9NumCampoBCDEApontado) {
  const TLayoutMensagem& p = tiposTransacao[IndiceDoCodigo(31)].pedido;
  std::vector<std::uint8_t> dados(static_cast<std::size_t>(p.TamanhoFixo()), 0);
  EXPECT_TRUE(simulador::DecodificaPedido(p, dados.data(), dados.size()).bcdInvalido.empty());
  dados[7] = 0x3A;  // the last byte of 003 (offset 2, 6 bytes): "3:"
  EXPECT_EQ(simulador::DecodificaPedido(p, dados.data(), dados.size()).bcdInvalido,
            std::vector<std::string>{"003-000"});
}

TEST(QuadroDoSimulador, CabecalhoDaRespostaRepeteOPedidoComOTamanhoLittleEndian) {
  const std::uint8_t pedido[8] = {10, 1, 31, 68, 200, 78, 0, 0};
  const simulador::Cabecalho c = simulador::LeCabecalho(pedido);
  EXPECT_EQ(c.tamanhoDados, 78);
  const std::vector<std::uint8_t> quadro =
      simulador::MontaQuadro(false, simulador::CabecalhoResposta(c, 300), std::vector<std::uint8_t>(300, 0x41));
  ASSERT_EQ(quadro.size(), 308u);
  const std::uint8_t esperado[8] = {10, 1, 31, 68, 200, 0x2C, 0x01, 0};
  EXPECT_EQ(std::memcmp(quadro.data(), esperado, 8), 0);
  EXPECT_EQ(quadro[8], 0x41);

  const std::vector<std::uint8_t> comPrefixo =
      simulador::MontaQuadro(true, simulador::CabecalhoResposta(c, 0), std::vector<std::uint8_t>());
  ASSERT_EQ(comPrefixo.size(), 48u);
  EXPECT_TRUE(simulador::PrefixoZerado(comPrefixo.data()));
  EXPECT_EQ(comPrefixo[40], 10);
}

TEST(LeituraDoSimulador, DadosCurtosNuncaSaoLidosAlemDoFim) {
  const int indice = IndiceDoCodigo(109);
  ASSERT_GE(indice, 0);
  const TLayoutMensagem& p = tiposTransacao[indice].pedido;
  // A count of 10 with only the fixed part present: the repeated fields are reported, not read.
  std::vector<std::uint8_t> dados(static_cast<std::size_t>(p.TamanhoFixo()), 0);
  dados[static_cast<std::size_t>(p.posContador)] = 10;
  const PedidoLido pedido = simulador::DecodificaPedido(p, dados.data(), dados.size());
  EXPECT_EQ(pedido.repeticoes, 10);
  EXPECT_FALSE(pedido.avisos.empty());
  EXPECT_EQ(simulador::ProcuraCampo(pedido, 313, 1), nullptr);
  EXPECT_NE(simulador::ProcuraCampo(pedido, 312, 0), nullptr);
  // No data at all: nothing is decoded.
  const PedidoLido vazio = simulador::DecodificaPedido(p, dados.data(), 0);
  EXPECT_TRUE(vazio.campos.empty());
}

}  // namespace
