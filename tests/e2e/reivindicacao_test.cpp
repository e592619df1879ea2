// Claiming requests through the real zelpd: a request written in place is taken only once its writer
// is done, two requests of one number never run together, a second gateway on the same folders
// claims nothing there.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "falhas_apoio.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
using namespace falhas;
namespace fs = std::filesystem;

// The position of the n-th occurrence (from 1) of texto, or npos.
std::size_t Ocorrencia(const std::string& s, const std::string& texto, int n) {
  std::size_t p = std::string::npos;
  for (int i = 0; i < n; ++i) {
    p = s.find(texto, p == std::string::npos ? 0 : p + 1);
    if (p == std::string::npos) break;
  }
  return p;
}

struct CasoEscritaNoLugar {
  const char* nome;
  const char* fim;  // what closes the request
  // The answer of the whole request: its last field (003) written in the last piece.
  const char* codigo009;
  const char* valor003;
  const char* mensagem030;
};

class EscritaNoLugar : public ::testing::TestWithParam<CasoEscritaNoLugar> {};

// A point of sale that opens the request under its final name and writes it in pieces, with
// pauses: the gateway must see it whole, as if it had been written aside and renamed.
TEST_P(EscritaNoLugar, PedidoEscritoAosPoucosEAtendidoInteiro) {
  ZelpdComHost z;
  ASSERT_EQ(z.Inicia(), "");
  ZelpdEmTeste& g = z.Gateway();

  // The shell holds the file open for writing from its first byte to its last.
  const std::string script = std::string("{ printf '000-000 = CRT\\r\\n001-000 = 1\\r\\n'; sleep 1; ") +
                             "printf '011-000 = 31\\r\\n098-000 = 4111111111111111=2812\\r\\n'; sleep 1; " +
                             "printf '003-000 = 2500\\r\\n" + GetParam().fim + "'; } > entrada/00000001.ENV";
  Processo pdv("/bin/sh", {"-c", script}, g.Dir().Caminho(), g.Dir() / "pdv.out");
  int status = -1;
  ASSERT_TRUE(pdv.Espera(10s, status));
  ASSERT_EQ(status, 0) << pdv.Saida();

  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(1, "rsp", 15s, rsp)) << g.Saida();
  // Claimed early, the sale would have been refused for other missing fields, or never answered.
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), GetParam().codigo009) << rsp;
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "003-000"), GetParam().valor003) << rsp;
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "030-000"), GetParam().mensagem030) << rsp;
  EXPECT_EQ(g.ContaSaida("Arquivo entrada/00000001.ENV encontrado\n"), 1) << g.Saida();
  EXPECT_EQ(g.ContaSaida("*** Erro ao renomear para entrada/00000001.log\n"), 1) << g.Saida();
  EXPECT_EQ(g.ContaSaida("entrada/00000001.ENV renomeado como entrada/00000001.log\n"), 1) << g.Saida();
  EXPECT_EQ(g.ContaSaida("bloqueado"), 0) << g.Saida();
}

INSTANTIATE_TEST_SUITE_P(Casos, EscritaNoLugar,
                         ::testing::Values(CasoEscritaNoLugar{"Com999", "999-999 = \\r\\n", "00", "000000002500",
                                                                              "(ausente)"},
                                           // Without its closing line the request is refused, but
                                           // as a whole: the field of its last piece is echoed.
                                           CasoEscritaNoLugar{"Sem999", "", "85", "2500",
                                                              "*ZELP* Campo(s) [999-000] faltando"}),
                         [](const auto& info) { return std::string(info.param.nome); });

// 00000007.ENV and 00000007.env are two files on Linux but one transaction number: the second
// waits until the first has ended, so the two never meet at the host nor share their files.
TEST(MesmoNumero, DoisArquivosNuncaJuntosNoHost) {
  HostEmExecucao host({"--resumo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  std::atomic<int> noHost{0}, maximo{0};
  HostRoteirizado lento({[&](int conexao) {
    const int agora = ++noHost;
    for (int m = maximo.load(); agora > m && !maximo.compare_exchange_weak(m, agora);) {
    }
    const auto pedido = LeQuadro(conexao);
    std::this_thread::sleep_for(1500ms);
    --noHost;
    if (!pedido.empty()) Repassa(conexao, pedido, host.Porta());
  }});
  ConfigGateway c;
  c.porta = lento.Porta();
  c.deletaLog = false;
  ZelpdEmTeste g(c);
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  // Both in place at the same moment, each written aside first.
  const std::string corpo = "000-000 = CRT\r\n001-000 = 7\r\n011-000 = 31\r\n098-000 = 4111111111111111=2812\r\n";
  g.Dir().Escreve("a.tmp", corpo + "003-000 = 1500\r\n999-999 = \r\n");
  g.Dir().Escreve("b.tmp", corpo + "003-000 = 2500\r\n999-999 = \r\n");
  fs::rename(g.Dir() / "a.tmp", g.Dir() / "entrada/00000007.ENV");
  fs::rename(g.Dir() / "b.tmp", g.Dir() / "entrada/00000007.env");

  ASSERT_TRUE(g.EsperaSaida("saida/00000007.tmp renomeado como saida/00000007.rsp\n", 20s, 2)) << g.Saida();
  EXPECT_EQ(lento.Aceitas(), 2);
  EXPECT_EQ(maximo.load(), 1) << "both requests were with the host at once";

  // The second claim comes only after the first response was published.
  const std::string saida = g.Saida();
  const std::size_t primeiraResposta = Ocorrencia(saida, "renomeado como saida/00000007.rsp", 1);
  const std::size_t segundaReivindicacao = Ocorrencia(saida, "renomeado como entrada/00000007.log", 2);
  ASSERT_NE(segundaReivindicacao, std::string::npos) << saida;
  EXPECT_LT(primeiraResposta, segundaReivindicacao) << saida;
  EXPECT_EQ(g.ContaSaida("*** Erro ao renomear para entrada/00000007.log\n"), 1) << saida;

  // What is left is the second request and its own answer, never a mixture.
  const bool maiusculaPrimeiro = saida.find("00000007.ENV renomeado") < saida.find("00000007.env renomeado");
  const std::string segundo = maiusculaPrimeiro ? "000000002500" : "000000001500";
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(7, "rsp", 0ms, rsp));
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "003-000"), segundo) << rsp;
  EXPECT_NE(g.Dir().Le("entrada/00000007.log").find(segundo.substr(8)), std::string::npos);
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
}

// A till whose umask is 077 writes its request mode 0600, which the gateway's user may not read:
// said once with the system's reason, claimed as a request that gets no answer, and the service
// goes on. As root the gateway runs as nobody; otherwise the file is made unreadable to its owner.
TEST(PedidoIlegivel, DitoUmaVezReivindicadoSemRespostaEOServicoSegue) {
  const bool root = ::geteuid() == 0;
  ZelpdComHost z([root](ConfigGateway& c) { c.usuario = root ? "nobody" : ""; });
  ASSERT_EQ(z.Inicia(), "");
  ZelpdEmTeste& g = z.Gateway();
  g.Dir().Escreve("entrada/aparte", "000-000 = CRT\r\n001-000 = 1\r\n011-000 = 31\r\n999-999 = \r\n");
  fs::permissions(g.Dir() / "entrada/aparte", root ? fs::perms::owner_read | fs::perms::owner_write : fs::perms::none);
  fs::rename(g.Dir() / "entrada/aparte", g.Dir() / "entrada/00000001.ENV");
  ASSERT_TRUE(g.EsperaSaida("*** Erro ao ler entrada/00000001.ENV (Permission denied)\n", 10s)) << g.Saida();
  g.EscrevePedido(2);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(2, "rsp", 20s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_EQ(g.ContaSaida("Erro ao ler"), 1) << g.Saida();
  EXPECT_EQ(g.ContaSaida("entrada/00000001.ENV renomeado como entrada/00000001.log\n"), 1) << g.Saida();
  EXPECT_FALSE(g.Dir().Existe("saida/00000001.sta"));
  EXPECT_EQ(g.ContaSaida("bloqueado"), 0) << g.Saida();
}

// An operator starts a second zelpd on the folders of a running one: it claims nothing there,
// says so once, and takes over when the first one stops.
TEST(DoisServicos, UmaPastaAtendidaPorUmSo) {
  ZelpdComHost z;
  ASSERT_EQ(z.Inicia(), "");
  ZelpdEmTeste& primeiro = z.Gateway();
  ConfigGateway c2 = primeiro.Config();
  c2.entrada = primeiro.Dir() / "entrada";
  c2.saida = primeiro.Dir() / "saida";
  ZelpdEmTeste segundo(c2);
  ASSERT_TRUE(segundo.Inicia()) << segundo.Saida();
  ASSERT_TRUE(segundo.EsperaSaida("*** Diretorio de entrada em uso por outro servico: " + c2.entrada + "/\n", 10s))
      << segundo.Saida();

  for (int id = 1; id <= 12; ++id) primeiro.EscrevePedido(id, "1500");
  for (int id = 1; id <= 12; ++id) {
    std::string rsp;
    ASSERT_TRUE(primeiro.EsperaArquivo(id, "rsp", 20s, rsp)) << id << primeiro.Saida();
    EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  }
  EXPECT_EQ(primeiro.ContaSaida(" encontrado\n"), 12) << primeiro.Saida();
  EXPECT_EQ(segundo.ContaSaida(" encontrado\n"), 0) << segundo.Saida();
  for (const ZelpdEmTeste* g : {&primeiro, &segundo}) EXPECT_EQ(g->ContaSaida("bloqueado"), 0) << g->Saida();
  EXPECT_EQ(segundo.ContaSaida("another gateway already serves the input folder"), 1) << segundo.Saida();
  EXPECT_EQ(segundo.ContaSaida("em uso por outro servico"), 1) << segundo.Saida();

  // The first one stops: the second one serves the folder from then on.
  primeiro.Zelpd().Sinaliza(SIGTERM);
  int status = -1;
  ASSERT_TRUE(primeiro.Zelpd().Espera(15s, status)) << primeiro.Saida();
  ASSERT_TRUE(segundo.EsperaSaida("Diretorio de entrada liberado pelo outro servico: " + c2.entrada + "/\n", 10s))
      << segundo.Saida();
  primeiro.EscrevePedido(13, "1500");
  std::string rsp;
  ASSERT_TRUE(primeiro.EsperaArquivo(13, "rsp", 10s, rsp)) << segundo.Saida();
  EXPECT_EQ(segundo.ContaSaida(" encontrado\n"), 1) << segundo.Saida();
}

}  // namespace
