// Connection to an endpoint group against peers on 127.0.0.1: refusal, silence, fail-over, the
// sticky entry, concurrent failures and reloads, and no descriptor left open. A group has one port,
// so its entries all reach the same peer; the peer is changed between two attempts from the log
// line of the first, which the connection writes before it moves on.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "apoio/CapturaLog.h"
#include "PeerTcp.h"
#include "comum/Erro.h"
#include "hostlink/Conexao.h"
#include "platform/Tcp.h"
#include "platform/TextoSistema.h"

namespace {

const std::string ERRO_CONEXAO = plataforma::TextoDoSistema("00 *ZELP* Erro na comunicação(Conexão)");

std::string LinhaRecusa(const std::string& url) {
  return url + ", connect Error = " + std::to_string(ERRO_CONEXAO_RECUSADA);
}
std::string LinhaSilencio(const std::string& url) {
  return url + ", Timeout connect Error = " + std::to_string(ERRO_CONEXAO_EM_ANDAMENTO);
}

// Conecta's Erro text, or "" when it connected (the socket is then closed at once).
std::string FalhaConecta(TU& grupo, int tOutCnx) {
  try {
    plataforma::Socket s = Conecta(grupo, tOutCnx);
    EXPECT_TRUE(s.Valido());
    return "";
  } catch (const Erro& e) {
    return e.Texto();
  }
}

int Atual(TU& grupo) {
  MutexLocker trava(grupo.trava);
  return grupo.atual;
}

class ConexaoTeste : public ::testing::Test {
 protected:
  void SetUp() override { descritores_ = ContaDescritores(); }
  void TearDown() override {
    CapturaLog::DefineGancho(nullptr);
    EXPECT_EQ(ContaDescritores(), descritores_) << "a descriptor was left open";
  }

  CapturaLog log_;
  int descritores_ = 0;
};

}  // namespace

TEST(TempoConexao, NotPositiveUsesTheDefault) {
  EXPECT_EQ(TempoConexaoValido(0), 3);
  EXPECT_EQ(TempoConexaoValido(-7), 3);
  EXPECT_EQ(TempoConexaoValido(1), 1);
  EXPECT_EQ(TempoConexaoValido(45), 45);
}

TEST_F(ConexaoTeste, EmptyGroupMakesNoAttempt) {
  TU grupo;
  EXPECT_EQ(FalhaConecta(grupo, 1), "*ZELP* Sem endereco IP valido");
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(ConexaoTeste, ConnectsNonBlockingToAListeningHost) {
  PortaLocal host;
  TU grupo;
  PreencheGrupo(grupo, {"127.0.0.1"}, host.Porta());
  {
    plataforma::Socket s = Conecta(grupo, 3);
    ASSERT_TRUE(s.Valido());
    // Nothing to read yet: a non-blocking socket answers at once.
    char c;
    std::size_t n = 0;
    int erro = 0;
    EXPECT_EQ(plataforma::Recebe(s, &c, 1, n, erro), plataforma::ResultadoRecebe::NadaAinda) << erro;
  }
  EXPECT_EQ(Atual(grupo), 0);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_EQ(host.AceitaPendentes(), 1);
}

TEST_F(ConexaoTeste, RefusedConnectionFailsAtOnceWithConnectLabel) {
  PortaLocal recusa(false);
  TU grupo;
  PreencheGrupo(grupo, {"127.0.0.1"}, recusa.Porta());
  // With a 30 s time-out a refusal noticed only after the wait would keep this test for 30 s.
  EXPECT_EQ(FalhaConecta(grupo, 30), ERRO_CONEXAO);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{LinhaRecusa("127.0.0.1")});
  EXPECT_EQ(Atual(grupo), 0);  // (0 + 1) mod 1
}

TEST_F(ConexaoTeste, SilentHostFailsWithTimeoutLabel) {
  PortaMuda muda;
  ASSERT_TRUE(muda.Pronta()) << "could not fill the accept queue";
  TU grupo;
  PreencheGrupo(grupo, {"mudo.example"}, muda.Porta());
  EXPECT_EQ(FalhaConecta(grupo, 1), ERRO_CONEXAO);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{LinhaSilencio("mudo.example")});
}

TEST_F(ConexaoTeste, PortZeroFailsLikeAnUnreachableEntry) {
  TU grupo;
  PreencheGrupo(grupo, {"127.0.0.1"}, 0);
  EXPECT_EQ(FalhaConecta(grupo, 1), ERRO_CONEXAO);
  const auto linhas = CapturaLog::Linhas();
  ASSERT_EQ(linhas.size(), 1u);
  EXPECT_EQ(linhas[0].rfind("127.0.0.1, ", 0), 0u) << linhas[0];
}

TEST_F(ConexaoTeste, OnlyTheLowSixteenBitsOfThePortCount) {
  PortaLocal host;
  TU grupo;
  PreencheGrupo(grupo, {"127.0.0.1"}, host.Porta());
  grupo.porta = 0x10000 + host.Porta();
  EXPECT_EQ(FalhaConecta(grupo, 3), "");
  EXPECT_EQ(host.AceitaPendentes(), 1);
}

TEST_F(ConexaoTeste, FirstEntryDownThenStickyOnTheSecond) {
  PortaLocal host(false);
  TU grupo;
  PreencheGrupo(grupo, {"primeiro", "segundo"}, host.Porta());
  // The first entry is refused; the host comes up before the second entry is tried.
  CapturaLog::DefineGancho([&](const std::string&) { host.Escuta(); });
  EXPECT_EQ(FalhaConecta(grupo, 30), "");
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{LinhaRecusa("primeiro")});
  EXPECT_EQ(Atual(grupo), 1);
  CapturaLog::DefineGancho(nullptr);

  // The following transactions connect at the first try and do not move the group.
  CapturaLog::Limpa();
  EXPECT_EQ(FalhaConecta(grupo, 30), "");
  EXPECT_EQ(FalhaConecta(grupo, 30), "");
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_EQ(Atual(grupo), 1);
  EXPECT_EQ(host.AceitaPendentes(), 3);

  // With the host gone, the order of the attempts shows where the group starts now.
  host.Fecha();
  EXPECT_EQ(FalhaConecta(grupo, 30), ERRO_CONEXAO);
  EXPECT_EQ(CapturaLog::Linhas(), (std::vector<std::string>{LinhaRecusa("segundo"), LinhaRecusa("primeiro")}));
  EXPECT_EQ(Atual(grupo), 1);
}

TEST_F(ConexaoTeste, AllEntriesDownLogsOneLinePerAttempt) {
  PortaLocal recusa(false);
  TU grupo;
  PreencheGrupo(grupo, {"um", "dois", "tres", "quatro"}, recusa.Porta());
  grupo.atual = 2;
  EXPECT_EQ(FalhaConecta(grupo, 30), ERRO_CONEXAO);
  EXPECT_EQ(CapturaLog::Linhas(), (std::vector<std::string>{LinhaRecusa("tres"), LinhaRecusa("quatro"),
                                                            LinhaRecusa("um"), LinhaRecusa("dois")}));
  EXPECT_EQ(Atual(grupo), 2);  // moved on four times round a group of four
}

TEST_F(ConexaoTeste, ConectaEnderecoTriesOnlyTheGivenEntry) {
  PortaLocal recusa(false);
  TU grupo;
  PreencheGrupo(grupo, {"a", "b"}, recusa.Porta());
  EXPECT_FALSE(ConectaEndereco(grupo, 1, 3).Valido());
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{LinhaRecusa("b")});
  EXPECT_EQ(Atual(grupo), 0);  // a single attempt never moves the group
  recusa.Escuta();
  EXPECT_TRUE(ConectaEndereco(grupo, 0, 3).Valido());
  // Entries that do not exist are not tried.
  CapturaLog::Limpa();
  EXPECT_FALSE(ConectaEndereco(grupo, 2, 3).Valido());
  EXPECT_FALSE(ConectaEndereco(grupo, -1, 3).Valido());
  EXPECT_FALSE(ConectaEndereco(grupo, 4, 3).Valido());
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_EQ(recusa.AceitaPendentes(), 1);
}

TEST_F(ConexaoTeste, TwoWorkersFailingOnTheSameEntryAdvanceOnce) {
  PortaMuda muda;
  ASSERT_TRUE(muda.Pronta()) << "could not fill the accept queue";
  TU grupo;
  PreencheGrupo(grupo, {"e0", "e1", "e2"}, muda.Porta());
  // Both workers wait on entry 0 together; once both have failed there, the host answers again.
  std::atomic<int> silencios{0};
  CapturaLog::DefineGancho([&](const std::string& linha) {
    if (linha == LinhaSilencio("e0") && ++silencios == 2) muda.Libera();
  });
  std::atomic<int> prontos{0};
  std::string r1, r2;
  auto trabalhador = [&](std::string& r) {
    ++prontos;
    while (prontos.load() < 2) std::this_thread::yield();
    r = FalhaConecta(grupo, 3);
  };
  std::thread a(trabalhador, std::ref(r1));
  std::thread b(trabalhador, std::ref(r2));
  a.join();
  b.join();
  EXPECT_EQ(r1, "");
  EXPECT_EQ(r2, "");
  EXPECT_EQ(CapturaLog::Conta(LinhaSilencio("e0")), 2);
  // Advanced by one, not two: both connected through entry 1.
  EXPECT_EQ(Atual(grupo), 1);
  EXPECT_EQ(CapturaLog::Conta(LinhaSilencio("e2")), 0);
}

TEST_F(ConexaoTeste, GroupEmptiedDuringAnAttemptIsLeftAlone) {
  PortaLocal recusa(false);
  TU grupo;
  PreencheGrupo(grupo, {"a", "b"}, recusa.Porta());
  // A reload empties the group while the attempt on entry 0 is failing.
  CapturaLog::DefineGancho([&](const std::string&) { PreencheGrupo(grupo, {}, 0); });
  EXPECT_EQ(FalhaConecta(grupo, 30), ERRO_CONEXAO);
  EXPECT_EQ(CapturaLog::Linhas().size(), 1u);
  MutexLocker trava(grupo.trava);
  EXPECT_EQ(grupo.quantidade, 0);
  EXPECT_EQ(grupo.atual, 0);
}

TEST_F(ConexaoTeste, GroupReloadedDuringAnAttemptStartsAgainAtItsFirstEntry) {
  PortaLocal recusa(false);
  PortaLocal novo;
  TU grupo;
  PreencheGrupo(grupo, {"velho0", "velho1"}, recusa.Porta());
  CapturaLog::DefineGancho([&](const std::string& linha) {
    if (linha.rfind("velho0", 0) == 0) PreencheGrupo(grupo, {"novo0", "novo1"}, novo.Porta());
  });
  EXPECT_EQ(FalhaConecta(grupo, 30), "");
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{LinhaRecusa("velho0")});
  // The failure of the old entry does not move the new group on.
  EXPECT_EQ(Atual(grupo), 0);
  EXPECT_EQ(novo.AceitaPendentes(), 1);
}
