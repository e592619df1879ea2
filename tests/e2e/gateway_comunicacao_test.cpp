// The host link through the real zelpd: a group whose every address refuses the connection, the
// move to a group's second address when the first refuses (and staying there), and a host that
// never answers within TOutCnf = 1. Every address is on the loopback network: a group has one port
// for all its addresses, so a refusing address is another loopback address on that port, where
// nothing can listen while zelp-host holds 127.0.0.1 on it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "comum/Texto.h"
#include "gateway_apoio.h"

namespace {

using namespace std::chrono_literals;

constexpr int LARGURA = 8;
// The gateway's texts, UTF-8 as its source holds them.
constexpr const char* ERRO_CONEXAO = "00 *ZELP* Erro na comunica\xc3\xa7\xc3\xa3o(Conex\xc3\xa3o)";
constexpr const char* ERRO_RECEBIMENTO = "02 *ZELP* Erro na comunica\xc3\xa7\xc3\xa3o(Recebimento)";
// A refused connection on this system (ECONNREFUSED).
constexpr int RECUSADA = 111;

std::string Valor(const CamposArquivo& campos, int numero, int ocorrencia = 0) {
  const CampoArquivo* c = ProcuraCampo(campos, numero, ocorrencia);
  return c != nullptr ? c->valor : "(absent)";
}

std::size_t Conta(const std::string& texto, const std::string& trecho) {
  std::size_t n = 0;
  for (std::size_t p = texto.find(trecho); p != std::string::npos; p = texto.find(trecho, p + trecho.size())) ++n;
  return n;
}

class GatewayComunicacao : public ComGateway<GatewayComunicacao> {
 public:
  // Host 0 answers, host 1 never does. End0 (code 14): two refusing addresses. End1 (code 20): a
  // refusing address, then host 0. End2 (cards): host 1.
  static void Prepara(AmbienteGateway& a) {
    a.hosts.push_back(std::make_unique<HostEmExecucao>(std::vector<std::string>{"--resumo", "--endereco", "127.0.0.1"}));
    a.hosts.push_back(std::make_unique<HostEmExecucao>(
        std::vector<std::string>{"--resumo", "--endereco", "127.0.0.1", "--falha", "mudo", "--espera-mudo", "20"}));
    for (auto& h : a.hosts) {
      if (h->Porta() <= 0) {
        a.erro = "zelp-host did not start: " + h->Saida();
        return;
      }
    }
    const int atende = a.hosts[0]->Porta();
    a.gateway = std::make_unique<Gateway>(LARGURA);
    std::string ini = IniBase(LARGURA, 1, 2);
    ini += IniGrupo(0, {"127.0.0.3", "127.0.0.4"}, atende);
    ini += IniGrupo(1, {"127.0.0.2", "127.0.0.1"}, atende);
    ini += IniGrupo(2, {"127.0.0.1"}, a.hosts[1]->Porta());
    ini += CriaLojas(*a.gateway, a.erro);
    a.gateway->EscreveIni(ini);
    if (a.erro.empty()) a.erro = a.gateway->Inicia();
  }
};

TEST_F(GatewayComunicacao, TodosOsEnderecosDoGrupoRecusamAConexao) {
  const int i14 = IndiceDoCodigo(14);
  const std::size_t antes = Host(0).Saida().size();
  G().Envia(6000, Pedido::DoTipo(i14, 6000, "1500", 1));
  ASSERT_TRUE(G().EsperaResposta(6000, LIMITE_RESPOSTA)) << G().Saida();

  CamposArquivo r;
  std::string erro;
  ASSERT_TRUE(LeArquivoCampos(G().LeSaida(6000, ".rsp"), r, erro)) << erro;
  EXPECT_EQ(ChavesDe(r), ChavesRespostaErro(tiposTransacao[i14]));
  EXPECT_EQ(Valor(r, 0), "CHQ");
  EXPECT_EQ(Valor(r, 1), "00006000");
  EXPECT_EQ(Valor(r, 9), "85");
  EXPECT_EQ(Valor(r, 30), ERRO_CONEXAO);

  // One line per address tried, in the group's order, then the message.
  const std::string primeira = Formata(" 127.0.0.3, connect Error = %d\r\n", RECUSADA);
  const std::string segunda = Formata(" 127.0.0.4, connect Error = %d\r\n", RECUSADA);
  ASSERT_TRUE(EsperaAte([&] { return G().Log().find(std::string(" ") + ERRO_CONEXAO + "\r\n") != std::string::npos; }, 5s))
      << G().Log();
  const std::string log = G().Log();
  const std::size_t p1 = log.find(primeira);
  const std::size_t p2 = log.find(segunda);
  const std::size_t p3 = log.find(std::string(" ") + ERRO_CONEXAO + "\r\n");
  ASSERT_NE(p1, std::string::npos) << log;
  ASSERT_NE(p2, std::string::npos) << log;
  EXPECT_LT(p1, p2);
  EXPECT_LT(p2, p3);
  EXPECT_EQ(Host(0).Saida().substr(antes), "");
}

TEST_F(GatewayComunicacao, SegundoEnderecoAtendeQuandoOPrimeiroRecusaEFicaComoAtual) {
  const int i20 = IndiceDoCodigo(20);
  const std::string falha = Formata(" 127.0.0.2, connect Error = %d\r\n", RECUSADA);
  const std::size_t antes = Host(0).Saida().size();

  for (long long id : {6100LL, 6101LL}) {
    SCOPED_TRACE(id);
    // One after the other: the second starts from the address the first ended on.
    G().Envia(id, Pedido::DoTipo(i20, id, "1500", 2));
    ASSERT_TRUE(G().EsperaResposta(id, LIMITE_RESPOSTA)) << G().Saida();
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(id, ".rsp"), r, erro)) << erro;
    EXPECT_EQ(ChavesDe(r), ChavesResposta(tiposTransacao[i20], true, 0));
    EXPECT_EQ(Valor(r, 0), "CHQ");
    EXPECT_EQ(Valor(r, 9), "00");
    // The first address was tried (and logged) once only, by the first request.
    EXPECT_EQ(Conta(G().Log(), falha), 1u) << G().Log();
  }
  // Both reached the host from the second address.
  ASSERT_TRUE(EsperaAte([&] { return Conta(Host(0).Saida().substr(antes), "--- connection ") >= 2; }, 5s))
      << Host(0).Saida();
  const std::string vistas = Host(0).Saida().substr(antes);
  EXPECT_EQ(Conta(vistas, "--- connection "), 2u) << vistas;
  EXPECT_EQ(Conta(vistas, " from 127.0.0.1:"), 2u) << vistas;
  EXPECT_EQ(Conta(vistas, "code 20, "), 2u) << vistas;
}

TEST_F(GatewayComunicacao, HostQueNuncaRespondeComTOutCnf1) {
  const int i31 = IndiceDoCodigo(31);
  const std::size_t antes = Host(1).Saida().size();
  const auto envio = std::chrono::steady_clock::now();
  G().Envia(6200, Pedido::DoTipo(i31, 6200, "1500", 1));
  ASSERT_TRUE(G().EsperaResposta(6200, LIMITE_RESPOSTA)) << G().Saida();
  // The receive budget is TOutCnf seconds of polls: the answer cannot come sooner.
  EXPECT_GE(std::chrono::steady_clock::now() - envio, 900ms);

  EXPECT_EQ(G().LeSaida(6200, ".rsp"),
            std::string("000-000 = CRT\r\n001-000 = 00006200\r\n003-000 = 1500\r\n009-000 = 85\r\n012-000 = \r\n"
                        "013-000 = \r\n022-000 = \r\n023-000 = \r\n030-000 = ") +
                ERRO_RECEBIMENTO + "\r\n032-000 = \r\n370-000 = \r\n999-999 = \r\n");
  ASSERT_TRUE(EsperaAte([&] { return G().Log().find(std::string(" ") + ERRO_RECEBIMENTO + "\r\n") != std::string::npos; },
                        5s))
      << G().Log();
  const std::string log = G().Log();
  const std::size_t tempo = log.find(" recv TimeOut = 1s, Len = 0\r\n");
  ASSERT_NE(tempo, std::string::npos) << log;
  EXPECT_LT(tempo, log.find(std::string(" ") + ERRO_RECEBIMENTO + "\r\n"));
  // The gateway closed the connection when it gave up: the host sees the other side go.
  EXPECT_TRUE(EsperaAte([&] { return Host(1).Saida().find("closed (mudo)", antes) != std::string::npos; }, 10s))
      << Host(1).Saida();
}

TEST_F(GatewayComunicacao, DoisPedidosSeguidosSaoLevadosAoMesmoTempo) {
  // Each worker holds its connection to the silent host for the whole receive time-out; the
  // service claims the next request without waiting, so the second connection opens while the
  // first is still held.
  const int i31 = IndiceDoCodigo(31);
  const std::size_t antes = Host(1).Saida().size();
  G().Envia(6300, Pedido::DoTipo(i31, 6300, "1500", 1));
  G().Envia(6301, Pedido::DoTipo(i31, 6301, "1500", 1));
  for (long long id : {6300LL, 6301LL}) {
    ASSERT_TRUE(G().EsperaResposta(id, LIMITE_RESPOSTA)) << G().Saida();
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(id, ".rsp"), r, erro)) << erro;
    EXPECT_EQ(Valor(r, 30), ERRO_RECEBIMENTO);
  }
  ASSERT_TRUE(EsperaAte([&] { return Conta(Host(1).Saida().substr(antes), "closed (mudo)") >= 2; }, 10s))
      << Host(1).Saida();
  const std::string vistas = Host(1).Saida().substr(antes);
  const std::size_t primeiraFechada = vistas.find("closed (mudo)");
  const std::size_t segundaAberta = vistas.find("fault mudo", vistas.find("fault mudo") + 1);
  ASSERT_NE(segundaAberta, std::string::npos) << vistas;
  EXPECT_LT(segundaAberta, primeiraFechada) << vistas;
}

}  // namespace
