// The gateway's own conversation with the host (request assembly, connection, exchange, decoding)
// against the running zelp-host: every transaction type approved and refused, and each fault
// seen as the gateway's receive failure.
#include <gtest/gtest.h>

#include <string>

#include "catalogo/Catalogo.h"
#include "codec/ExecutaTransacao.h"
#include "comum/Erro.h"
#include "comum/Mutex.h"
#include "config/TU.h"
#include "ferramentas_apoio.h"
#include "fields/TG.h"

namespace {

constexpr int REPETICOES = 3;
constexpr const char* ERRO_RECEBIMENTO = "02 *ZELP* Erro na comunicação(Recebimento)";

void Aponta(TU& grupo, int porta) {
  MutexLocker trava(grupo.trava);
  LimpaServidor(grupo);
  AdicionaEndereco(grupo, "127.0.0.1");
  grupo.porta = porta;
}

// Carries one transaction of the type at `indice` to the host; the text of an Erro, or "" when it
// went through.
std::string Executa(TG& t, int indice, const std::string& valor003, int porta, int tOutCnf = 5) {
  MontaTransacao(t, indice, valor003, REPETICOES);
  TU grupo;
  Aponta(grupo, porta);
  try {
    ExecutaTransacao(t, grupo, tOutCnf, 3);
  } catch (const Erro& e) {
    return e.Texto();
  }
  return "";
}

// The field whose byte counts the layout's repetitions (312, or 017 for code 121).
int CampoContador(const TLayoutMensagem& layout) {
  for (int i = 0; i < layout.numDefinicoes; ++i) {
    if (layout.definicoes[i].posicao == layout.posContador) return layout.definicoes[i].numero;
  }
  return -1;
}

std::string Valor(const TG& t, int numero, int ocorrencia = 0) {
  const TA* campo = t.Procura(numero, ocorrencia);
  return campo != nullptr ? campo->valor : "(ausente)";
}

TEST(GatewayComZelpHost, TodoTipoEAprovadoERecusado) {
  HostEmExecucao host({"--resumo"});
  // For the types without an amount in their request, refusals come from an option.
  HostEmExecucao recusador({"--resumo", "--codigo-resposta", "05"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ASSERT_GT(recusador.Porta(), 0) << recusador.Saida();

  for (int indice = 0; indice < numTipos; ++indice) {
    const TTipoTransacao& tipo = tiposTransacao[indice];
    SCOPED_TRACE(testing::Message() << "codigo " << tipo.codigo);
    const bool temValor = TemCampo(tipo.pedido, 3);

    TG aprovada;
    ASSERT_EQ(Executa(aprovada, indice, "1500", host.Porta()), "");
    EXPECT_EQ(Valor(aprovada, 0), tipo.nome);
    EXPECT_EQ(Valor(aprovada, 9), "00");
    EXPECT_EQ(aprovada.Procura(30, 0), nullptr);
    if (temValor && TemCampo(tipo.resposta, 3)) {
      EXPECT_EQ(Valor(aprovada, 3), "000000001500");
    }
    if (tipo.resposta.TemGrupo()) {
      // The answer repeats its group as often as the request did (twice when it had none).
      const int esperado = tipo.pedido.TemGrupo() ? REPETICOES : 2;
      EXPECT_EQ(Valor(aprovada, CampoContador(tipo.resposta)), "00" + std::to_string(esperado));
    }

    TG recusada;
    ASSERT_EQ(Executa(recusada, indice, "2551", temValor ? host.Porta() : recusador.Porta()), "");
    EXPECT_EQ(Valor(recusada, 9), temValor ? "51" : "05");
    if (TemCampo(tipo.resposta, 30)) {
      EXPECT_EQ(Valor(recusada, 30).rfind(temValor ? "SALDO INSUFICIENTE (51)" : "NAO AUTORIZADA (05)", 0), 0u)
          << Valor(recusada, 30);
    }
  }
}

TEST(GatewayComZelpHost, FalhasDoHostChegamAoGatewayComoFalhaDeRecebimento) {
  const int indice = IndiceDoCodigo(31);
  ASSERT_GE(indice, 0);
  for (const char* falha : {"fecha", "mudo", "tamanho-errado"}) {
    SCOPED_TRACE(falha);
    HostEmExecucao host({"--vezes", "1", "--falha", falha, "--espera-mudo", "10"});
    ASSERT_GT(host.Porta(), 0) << host.Saida();
    TG t;
    EXPECT_EQ(Executa(t, indice, "1500", host.Porta(), 1), ERRO_RECEBIMENTO);
  }
}

TEST(GatewayComZelpHost, RespostaEmPedacosEChequesComPrefixoPassam) {
  HostEmExecucao host({"--vezes", "2", "--falha", "pedacos"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  TG cartao;
  ASSERT_EQ(Executa(cartao, IndiceDoCodigo(31), "2505", host.Porta()), "");
  EXPECT_EQ(Valor(cartao, 9), "05");
  TG cheque;
  ASSERT_EQ(Executa(cheque, IndiceDoCodigo(14), "1500", host.Porta()), "");
  EXPECT_EQ(Valor(cheque, 9), "00");
  EXPECT_EQ(Valor(cheque, 0), "CHQ");
}

}  // namespace
