// Every transaction type through the real zelpd and zelp-host, from request file to response file:
// approvals and refusals with the exact fields of each variant, the response codes that read as an
// approval for some types, a group without any address, and a burst of requests that are all
// answered, each message with its own sequence byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "comum/Texto.h"
#include "gateway_apoio.h"

namespace {

using namespace std::chrono_literals;

constexpr int LARGURA = 10;
constexpr int REPETICOES = 3;  // occurrences of a repeated group in the requests
constexpr int CHEQUES = 2;     // cheques of a code 20 request
constexpr const char* SALDO_INSUFICIENTE = "SALDO INSUFICIENTE (51)";
constexpr const char* NAO_AUTORIZADA = "NAO AUTORIZADA (05)";

int RepeticoesPedido(const TTipoTransacao& tipo) { return tipo.codigo == 20 ? CHEQUES : REPETICOES; }

// The simulator answers a repeated group as often as the request had it, twice when it had none.
int RepeticoesResposta(const TTipoTransacao& tipo) { return tipo.pedido.TemGrupo() ? RepeticoesPedido(tipo) : 2; }

// The definition that holds the count of the response's repeated group, or null.
const TLayoutCampo* Contador(const TLayoutMensagem& layout) {
  if (!layout.TemGrupo()) return nullptr;
  for (int i = 0; i < layout.numDefinicoes; ++i) {
    if (layout.definicoes[i].posicao == layout.posContador) return &layout.definicoes[i];
  }
  return nullptr;
}

std::string Valor(const CamposArquivo& campos, int numero, int ocorrencia = 0) {
  const CampoArquivo* c = ProcuraCampo(campos, numero, ocorrencia);
  return c != nullptr ? c->valor : "(absent)";
}

// What a decoded response must hold beyond its list of fields.
struct Esperado {
  bool aprovacao;
  std::string codigoResposta;  // field 009
  std::string valor003;        // the request's amount, echoed by the host
  std::string texto030;        // the host's refusal text
};

// Waits for the status and the response of one request and checks both.
void VerificaResposta(Gateway& g, int indice, long long id, const Esperado& e) {
  const TTipoTransacao& tipo = tiposTransacao[indice];
  SCOPED_TRACE(testing::Message() << "code " << tipo.codigo << ", request " << id);
  ASSERT_TRUE(g.EsperaResposta(id, LIMITE_RESPOSTA)) << "no response; zelpd output:\n" << g.Saida();
  EXPECT_EQ(g.LeSaida(id, ".sta"), StatusEsperado(id, LARGURA));

  CamposArquivo r;
  std::string erro;
  ASSERT_TRUE(LeArquivoCampos(g.LeSaida(id, ".rsp"), r, erro)) << erro;
  EXPECT_EQ(ChavesDe(r), ChavesResposta(tipo, e.aprovacao, RepeticoesResposta(tipo)));
  EXPECT_EQ(Valor(r, 0), tipo.nome);
  EXPECT_EQ(Valor(r, 1), Formata("%0*lld", LARGURA, id));
  EXPECT_EQ(Valor(r, 9), e.codigoResposta);
  EXPECT_EQ(Valor(r, 999, 999), "");

  const TLayoutMensagem& layout = tipo.resposta;
  if (const TLayoutCampo* d = Definicao(layout, 3); d != nullptr && Definicao(tipo.pedido, 3) != nullptr) {
    EXPECT_EQ(Valor(r, 3), NumeroNoCampo(*d, e.valor003));
  }
  if (const TLayoutCampo* d = Definicao(layout, 30); d != nullptr && !e.aprovacao) {
    EXPECT_EQ(Valor(r, 30), TextoNoCampo(*d, e.texto030));
  }
  if (const TLayoutCampo* d = Definicao(layout, 370); d != nullptr) {
    // A text field of the host arrives whole, with its filling spaces.
    EXPECT_EQ(Valor(r, 370), TextoNoCampo(*d, "ZELP HOST SIMULADOR"));
  }
  if (const TLayoutCampo* d = Contador(layout); d != nullptr && d->condicao != (e.aprovacao ? -1 : 1)) {
    EXPECT_EQ(Valor(r, d->numero), Formata("%03d", RepeticoesResposta(tipo)));
  }
}

class GatewayTipos : public ComGateway<GatewayTipos> {
 public:
  // One host that follows the amount rules (an amount ending in NN other than 00 is refused with
  // NN), every group pointing at it.
  static void Prepara(AmbienteGateway& a) {
    a.hosts.push_back(std::make_unique<HostEmExecucao>(std::vector<std::string>{"--resumo"}));
    const int porta = a.hosts[0]->Porta();
    if (porta <= 0) {
      a.erro = "zelp-host did not start: " + a.hosts[0]->Saida();
      return;
    }
    a.gateway = std::make_unique<Gateway>(LARGURA);
    std::string ini = IniBase(LARGURA, 10, 3);
    for (int g = 0; g < 3; ++g) ini += IniGrupo(g, {"127.0.0.1"}, porta);
    ini += CriaLojas(*a.gateway, a.erro);
    a.gateway->EscreveIni(ini);
    if (a.erro.empty()) a.erro = a.gateway->Inicia();
  }
};

TEST_F(GatewayTipos, TodoTipoAprovadoComOsCamposDaAprovacao) {
  ASSERT_EQ(numTipos, 23);
  for (int i = 0; i < numTipos; ++i) {
    G().Envia(1000 + i, Pedido::DoTipo(i, 1000 + i, "1500", RepeticoesPedido(tiposTransacao[i])));
  }
  for (int i = 0; i < numTipos; ++i) VerificaResposta(G(), i, 1000 + i, {true, "00", "1500", ""});
}

TEST_F(GatewayTipos, TodoTipoComValorRecusadoComOsCamposDaRecusa) {
  std::vector<int> comValor;
  for (int i = 0; i < numTipos; ++i) {
    if (Definicao(tiposTransacao[i].pedido, 3) != nullptr) comValor.push_back(i);
  }
  // The seven without an amount (57, 58, 59, 102, 107, 108, 110) are refused by the next suite.
  ASSERT_EQ(comValor.size(), 16u);
  for (int i : comValor) {
    G().Envia(2000 + i, Pedido::DoTipo(i, 2000 + i, "2551", RepeticoesPedido(tiposTransacao[i])));
  }
  for (int i : comValor) VerificaResposta(G(), i, 2000 + i, {false, "51", "2551", SALDO_INSUFICIENTE});
}

TEST_F(GatewayTipos, CodigosDeRespostaDe26A28SaoAprovacaoSoParaAlgunsTipos) {
  // Code 109 reads 27 as an approval variant; code 31 reads it as a refusal.
  const int i109 = IndiceDoCodigo(109);
  const int i31 = IndiceDoCodigo(31);
  ASSERT_GE(i109, 0);
  ASSERT_GE(i31, 0);
  G().Envia(2500, Pedido::DoTipo(i109, 2500, "1527", REPETICOES));
  G().Envia(2501, Pedido::DoTipo(i31, 2501, "1527", REPETICOES));
  VerificaResposta(G(), i109, 2500, {true, "27", "1527", ""});

  ASSERT_TRUE(G().EsperaResposta(2501, LIMITE_RESPOSTA));
  CamposArquivo r;
  std::string erro;
  ASSERT_TRUE(LeArquivoCampos(G().LeSaida(2501, ".rsp"), r, erro)) << erro;
  EXPECT_EQ(ChavesDe(r), ChavesResposta(tiposTransacao[i31], false, 0));
  EXPECT_EQ(Valor(r, 9), "27");
  const std::string texto = Valor(r, 30);
  EXPECT_EQ(texto.size(), 71u);
  EXPECT_NE(texto.find("(27)"), std::string::npos) << texto;
}

// The exact fields of code 31 written out by hand, next to the ones derived from the catalogue.
TEST_F(GatewayTipos, Codigo31CamposExatosDaAprovacaoEDaRecusa) {
  const int i31 = IndiceDoCodigo(31);
  G().Envia(2600, Pedido::DoTipo(i31, 2600, "1500", REPETICOES).Define(383, 0, "0"));
  G().Envia(2601, Pedido::DoTipo(i31, 2601, "2551", REPETICOES).Define(383, 0, "0"));
  const Chaves aprovacao{{0, 0}, {1, 0}, {3, 0}, {9, 0}, {12, 0}, {13, 0}, {22, 0}, {23, 0}, {32, 0}, {370, 0}, {999, 999}};
  const Chaves recusa{{0, 0},  {1, 0},  {3, 0},  {9, 0},  {12, 0},  {13, 0},
                      {22, 0}, {23, 0}, {30, 0}, {32, 0}, {370, 0}, {999, 999}};

  CamposArquivo r;
  std::string erro;
  ASSERT_TRUE(G().EsperaResposta(2600, LIMITE_RESPOSTA));
  ASSERT_TRUE(LeArquivoCampos(G().LeSaida(2600, ".rsp"), r, erro)) << erro;
  EXPECT_EQ(ChavesDe(r), aprovacao);
  EXPECT_EQ(Valor(r, 0), "CRT");
  EXPECT_EQ(Valor(r, 1), "0000002600");
  EXPECT_EQ(Valor(r, 3), "000000001500");
  EXPECT_EQ(Valor(r, 9), "00");
  // 012 hhmmss and 013 MMDDhhmmss as BCD digits, 022 DDMMYYYY.
  EXPECT_EQ(Valor(r, 12).size(), 6u);
  EXPECT_EQ(Valor(r, 13).size(), 10u);
  EXPECT_EQ(Valor(r, 22).size(), 8u);
  EXPECT_EQ(Valor(r, 370), "ZELP HOST SIMULADOR      ");

  ASSERT_TRUE(G().EsperaResposta(2601, LIMITE_RESPOSTA));
  ASSERT_TRUE(LeArquivoCampos(G().LeSaida(2601, ".rsp"), r, erro)) << erro;
  EXPECT_EQ(ChavesDe(r), recusa);
  EXPECT_EQ(Valor(r, 3), "000000002551");
  EXPECT_EQ(Valor(r, 9), "51");
  EXPECT_EQ(Valor(r, 30), std::string(SALDO_INSUFICIENTE) + std::string(71 - 23, ' '));
  // The whole file: CR LF after every line, the closing line last.
  const std::string texto = G().LeSaida(2601, ".rsp");
  EXPECT_EQ(texto.rfind("000-000 = CRT\r\n001-000 = 0000002601\r\n003-000 = 000000002551\r\n009-000 = 51\r\n", 0), 0u)
      << texto;
  EXPECT_TRUE(texto.ends_with("\r\n999-999 = \r\n")) << texto;
}

// The sequence bytes that the host saw, from its one-line-per-connection output.
std::vector<unsigned> Sequencias(const std::string& saida) {
  std::vector<unsigned> sequencias;
  std::istringstream linhas(saida);
  for (std::string linha; std::getline(linhas, linha);) {
    const std::size_t p = linha.find(", sequence ");
    unsigned s = 0;
    if (linha.rfind("--- connection ", 0) == 0 && p != std::string::npos &&
        std::sscanf(linha.c_str() + p, ", sequence %u,", &s) == 1) {
      sequencias.push_back(s);
    }
  }
  return sequencias;
}

TEST_F(GatewayTipos, DezPedidosDeUmaVezTodosRespondidosCadaUmComSuaSequencia) {
  const int i31 = IndiceDoCodigo(31);
  const std::size_t antes = Host(0).Saida().size();
  constexpr int N = 10;
  // Ten requests dropped together: the scan claims them one per pass while the first are carried.
  for (int k = 0; k < N; ++k) G().Envia(3000 + k, Pedido::DoTipo(i31, 3000 + k, Formata("%d00", 11 + k), REPETICOES));
  for (int k = 0; k < N; ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(G().EsperaResposta(3000 + k, LIMITE_RESPOSTA)) << G().Saida();
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(3000 + k, ".rsp"), r, erro)) << erro;
    EXPECT_EQ(Valor(r, 9), "00");
    EXPECT_EQ(Valor(r, 3), Formata("%012d", (11 + k) * 100));
  }

  std::vector<unsigned> seq;
  EsperaAte(
      [&] {
        seq = Sequencias(Host(0).Saida().substr(antes));
        return seq.size() >= N;
      },
      10s);
  ASSERT_EQ(seq.size(), static_cast<std::size_t>(N)) << Host(0).Saida().substr(antes);
  // One counter for the process, taken once per message: ten messages built together hold ten
  // successive values (modulo 256), whatever order they reached the host in.
  const std::set<unsigned> distintas(seq.begin(), seq.end());
  EXPECT_EQ(distintas.size(), static_cast<std::size_t>(N));
  const bool seguidas = std::any_of(distintas.begin(), distintas.end(), [&](unsigned inicio) {
    for (unsigned k = 0; k < N; ++k) {
      if (distintas.count((inicio + k) % 256) == 0) return false;
    }
    return true;
  });
  EXPECT_TRUE(seguidas) << testing::PrintToString(seq);
}

class GatewayHostRecusa : public ComGateway<GatewayHostRecusa> {
 public:
  // A host that refuses everything with 05; End0 and End1 without any address.
  static void Prepara(AmbienteGateway& a) {
    a.hosts.push_back(std::make_unique<HostEmExecucao>(std::vector<std::string>{"--resumo", "--codigo-resposta", "05"}));
    const int porta = a.hosts[0]->Porta();
    if (porta <= 0) {
      a.erro = "zelp-host did not start: " + a.hosts[0]->Saida();
      return;
    }
    a.gateway = std::make_unique<Gateway>(8);
    std::string ini = IniBase(8, 10, 3) + "[End0]\r\nurl=x\r\nPort=1\r\n" + IniGrupo(2, {"127.0.0.1"}, porta);
    ini += CriaLojas(*a.gateway, a.erro);
    a.gateway->EscreveIni(ini);
    if (a.erro.empty()) a.erro = a.gateway->Inicia();
  }
};

TEST_F(GatewayHostRecusa, TiposSemValorRecusadosComOsCamposDaRecusa) {
  std::vector<int> semValor;
  for (int i = 0; i < numTipos; ++i) {
    if (Definicao(tiposTransacao[i].pedido, 3) == nullptr) semValor.push_back(i);
  }
  ASSERT_EQ(semValor.size(), 7u);
  for (int i : semValor) G().Envia(4000 + i, Pedido::DoTipo(i, 4000 + i, "1500", REPETICOES));
  for (int i : semValor) {
    const TTipoTransacao& tipo = tiposTransacao[i];
    SCOPED_TRACE(testing::Message() << "code " << tipo.codigo);
    ASSERT_TRUE(G().EsperaResposta(4000 + i, LIMITE_RESPOSTA)) << G().Saida();
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(4000 + i, ".rsp"), r, erro)) << erro;
    EXPECT_EQ(ChavesDe(r), ChavesResposta(tipo, false, RepeticoesResposta(tipo)));
    EXPECT_EQ(Valor(r, 0), "CRT");
    EXPECT_EQ(Valor(r, 1), Formata("%08d", 4000 + i));
    EXPECT_EQ(Valor(r, 9), "05");
    if (const TLayoutCampo* d = Definicao(tipo.resposta, 30); d != nullptr) {
      EXPECT_EQ(Valor(r, 30), TextoNoCampo(*d, NAO_AUTORIZADA));
    } else {
      // Code 59 has no message field at all.
      EXPECT_EQ(tipo.codigo, 59);
    }
  }
}

TEST_F(GatewayHostRecusa, GrupoSemEnderecoDaErroSemTentarConexao) {
  // Cheques: code 14 on End0 (its one url too short to count), code 20 on End1 (none at all).
  const std::size_t antes = Host(0).Saida().size();
  G().Envia(4100, Pedido::DoTipo(IndiceDoCodigo(14), 4100, "1500", 1));
  G().Envia(4101, Pedido::DoTipo(IndiceDoCodigo(20), 4101, "1500", CHEQUES));
  for (long long id : {4100LL, 4101LL}) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(G().EsperaResposta(id, LIMITE_RESPOSTA)) << G().Saida();
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(id, ".rsp"), r, erro)) << erro;
    EXPECT_EQ(Valor(r, 0), "CHQ");
    EXPECT_EQ(Valor(r, 9), "85");
    EXPECT_EQ(Valor(r, 30), "*ZELP* Sem endereco IP valido");
  }
  EXPECT_EQ(Host(0).Saida().substr(antes), "");
  EXPECT_EQ(G().Log().find(", connect Error"), std::string::npos) << G().Log();
}

}  // namespace
