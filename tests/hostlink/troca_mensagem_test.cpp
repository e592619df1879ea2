// The framed exchange against scripted hosts on 127.0.0.1: whole, empty and piecemeal answers, the
// length limit, the prefixed type, hosts that close or reset, and the socket closed on every path.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apoio/CapturaLog.h"
#include "PeerTcp.h"
#include "comum/Erro.h"
#include "hostlink/Conexao.h"
#include "hostlink/TrocaMensagem.h"
#include "platform/Relogio.h"
#include "platform/Tcp.h"
#include "platform/TextoSistema.h"

namespace {

const std::string ERRO_ENVIO = plataforma::TextoDoSistema("01 *ZELP* Erro na comunicação(Envio)");
const std::string ERRO_RECEBIMENTO = plataforma::TextoDoSistema("02 *ZELP* Erro na comunicação(Recebimento)");

plataforma::Socket ConectaHost(std::uint16_t porta) {
  TU grupo;
  PreencheGrupo(grupo, {"127.0.0.1"}, porta);
  return Conecta(grupo, 3);
}

// A request frame of `tamanho` bytes: an optional zero prefix, then a recognisable pattern.
BF Pedido(int tamanho, bool prefixo = false) {
  BF pedido(tamanho);
  for (int i = 0; i < tamanho; ++i) pedido.dados[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
  if (prefixo) std::fill(pedido.dados.get(), pedido.dados.get() + 40, 0);
  pedido.tamanho = tamanho;
  return pedido;
}

std::vector<std::uint8_t> Bytes(const BF& b, int de, int ate) {
  return std::vector<std::uint8_t>(b.dados.get() + de, b.dados.get() + ate);
}

std::vector<std::uint8_t> Padrao(int n, std::uint8_t semente) {
  std::vector<std::uint8_t> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(semente + i * 13);
  return v;
}

// TrocaMensagem's Erro text, or "" when it returned (its result then goes to retorno).
std::string FalhaTroca(plataforma::Socket s, BF& pedido, BF& resposta, int tOutCnf, bool prefixo,
                       int* retorno = nullptr) {
  try {
    int r = TrocaMensagem(std::move(s), pedido, resposta, tOutCnf, prefixo);
    if (retorno) *retorno = r;
    return "";
  } catch (const Erro& e) {
    return e.Texto();
  }
}

// Lets a host script wait (at most 5 s) until the test has its connection in hand: a reset that
// came before the connect was seen would fail the connection instead of the exchange.
class Sinal {
 public:
  void Da() {
    std::lock_guard<std::mutex> l(m_);
    dado_ = true;
    cv_.notify_all();
  }
  void Espera() {
    std::unique_lock<std::mutex> l(m_);
    cv_.wait_for(l, std::chrono::seconds(5), [this] { return dado_; });
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool dado_ = false;
};

class TrocaMensagemTeste : public ::testing::Test {
 protected:
  void SetUp() override { descritores_ = ContaDescritores(); }
  void TearDown() override { EXPECT_EQ(ContaDescritores(), descritores_) << "a descriptor was left open"; }

  CapturaLog log_;
  int descritores_ = 0;
};

}  // namespace

TEST(TempoResposta, NotPositiveUsesTheDefault) {
  EXPECT_EQ(TempoRespostaValido(0), 30);
  EXPECT_EQ(TempoRespostaValido(-1), 30);
  EXPECT_EQ(TempoRespostaValido(1), 1);
  EXPECT_EQ(TempoRespostaValido(30), 30);
  // The budget of ten polls a second stays within 32 bits.
  EXPECT_LE(static_cast<long long>(TempoRespostaValido(2147483647)) * 10, 2147483647LL);
}

TEST_F(TrocaMensagemTeste, AnswerAtOnceInOneSegment) {
  BF pedido = Pedido(120);
  const auto dados = Padrao(300, 1);
  auto resposta = MontaResposta(300, dados, false);
  ASSERT_EQ(resposta[5], 0x2C);
  ASSERT_EQ(resposta[6], 0x01);
  std::vector<std::uint8_t> recebido;
  bool viuFim = false;
  HostTeste host([&](Conexao c) {
    recebido = LeBytes(c, 120);
    EnviaBytes(c, resposta);
    // The exchange closes its socket when it is done.
    viuFim = LeBytes(c, 1, 5000).empty();
  });
  BF rsp(400);
  int retorno = -1;
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, false, &retorno), "");
  host.Espera();
  EXPECT_EQ(retorno, 300);
  EXPECT_EQ(rsp.tamanho, 300);
  EXPECT_EQ(rsp.capacidade, 400);
  EXPECT_EQ(Bytes(rsp, 0, 8), std::vector<std::uint8_t>(resposta.begin(), resposta.begin() + 8));
  EXPECT_EQ(Bytes(rsp, 8, 308), dados);
  EXPECT_EQ(recebido, Bytes(pedido, 0, 120));
  EXPECT_TRUE(viuFim);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(TrocaMensagemTeste, HeaderAnnouncingNoData) {
  HostTeste host([&](Conexao c) {
    LeBytes(c, 20);
    EnviaBytes(c, MontaResposta(0, {}, false));
  });
  BF pedido = Pedido(20);
  BF rsp(238);
  rsp.tamanho = 99;
  int retorno = -1;
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, false, &retorno), "");
  EXPECT_EQ(retorno, 0);
  EXPECT_EQ(rsp.tamanho, 0);
}

TEST_F(TrocaMensagemTeste, ManySmallPiecesAreCollected) {
  const auto dados = Padrao(150, 9);
  const auto resposta = MontaResposta(150, dados, false);
  HostTeste host([&](Conexao c) {
    LeBytes(c, 50);
    for (std::size_t i = 0; i < resposta.size(); i += 3) {
      std::vector<std::uint8_t> pedaco(resposta.begin() + static_cast<long>(i),
                                       resposta.begin() + static_cast<long>(std::min(resposta.size(), i + 3)));
      EnviaBytes(c, pedaco);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  BF pedido = Pedido(50);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 10, false), "");
  EXPECT_EQ(rsp.tamanho, 150);
  EXPECT_EQ(Bytes(rsp, 8, 158), dados);
}

TEST_F(TrocaMensagemTeste, ExactMaximumIsAccepted) {
  const auto dados = Padrao(230, 4);
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    EnviaBytes(c, MontaResposta(230, dados, false));
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, false), "");
  EXPECT_EQ(rsp.tamanho, 230);
  EXPECT_EQ(Bytes(rsp, 8, 238), dados);
  EXPECT_EQ(rsp.dados[238], 0);  // the spare byte is untouched
}

TEST_F(TrocaMensagemTeste, OneByteMoreIsRefusedWithoutReadingTheData) {
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    EnviaBytes(c, MontaResposta(231, std::vector<std::uint8_t>(231, 0x77), false));
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, false), ERRO_RECEBIMENTO);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"TAM_MAX_DADOS ErrNo, TamRsp = 231"});
  EXPECT_EQ(Bytes(rsp, 8, 239), std::vector<std::uint8_t>(231, 0));
}

TEST_F(TrocaMensagemTeste, LargestAnnouncedLengthIsRefused) {
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    EnviaBytes(c, MontaResposta(65535, {}, false));
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, false), ERRO_RECEBIMENTO);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"TAM_MAX_DADOS ErrNo, TamRsp = 65535"});
}

TEST_F(TrocaMensagemTeste, BytesAfterTheAnnouncedDataAreNotRead) {
  const auto dados = Padrao(10, 2);
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    auto r = MontaResposta(10, dados, false);
    r.insert(r.end(), 20, 0x55);
    EnviaBytes(c, r);
  });
  BF pedido = Pedido(10);
  BF rsp(500);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, false), "");
  EXPECT_EQ(rsp.tamanho, 10);
  EXPECT_EQ(Bytes(rsp, 8, 18), dados);
  EXPECT_EQ(Bytes(rsp, 18, 40), std::vector<std::uint8_t>(22, 0));
}

TEST_F(TrocaMensagemTeste, PrefixedTypeBothWays) {
  BF pedido = Pedido(40 + 8 + 30, true);
  const auto dados = Padrao(60, 5);
  const auto resposta = MontaResposta(60, dados, true, 0xEE);
  std::vector<std::uint8_t> recebido;
  HostTeste host([&](Conexao c) {
    recebido = LeBytes(c, 78);
    EnviaBytes(c, resposta);
  });
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 5, true), "");
  host.Espera();
  ASSERT_EQ(recebido.size(), 78u);
  EXPECT_EQ(std::vector<std::uint8_t>(recebido.begin(), recebido.begin() + 40), std::vector<std::uint8_t>(40, 0));
  EXPECT_EQ(recebido, Bytes(pedido, 0, 78));
  EXPECT_EQ(rsp.tamanho, 60);
  // The response's prefix is dropped: the header is at 0, the data at 8.
  EXPECT_EQ(Bytes(rsp, 0, 8), std::vector<std::uint8_t>(resposta.begin() + 40, resposta.begin() + 48));
  EXPECT_EQ(Bytes(rsp, 8, 68), dados);
}

TEST_F(TrocaMensagemTeste, HostThatAcceptsAndClosesRunsOutTheBudget) {
  HostTeste host([&](Conexao c) { LeBytes(c, 10); });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 1, false), ERRO_RECEBIMENTO);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"recv TimeOut = 1s, Len = 0"});
}

TEST_F(TrocaMensagemTeste, IncompleteHeaderRunsOutTheBudget) {
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    EnviaBytes(c, {10, 1, 14, 0x44, 7});
    LeBytes(c, 1, 10000);  // stays until the exchange gives up and closes
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 1, false), ERRO_RECEBIMENTO);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"recv TimeOut = 1s, Len = 5"});
}

TEST_F(TrocaMensagemTeste, MissingDataRunsOutTheSameBudget) {
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    EnviaBytes(c, MontaResposta(40, Padrao(15, 1), true));
    LeBytes(c, 1, 10000);
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 1, true), ERRO_RECEBIMENTO);
  // The count is that of the data receive alone.
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"recv TimeOut = 1s, Len = 15"});
}

TEST_F(TrocaMensagemTeste, ResetBeforeTheSendIsASendFailure) {
  Sinal conectou;
  HostTeste host([&](Conexao c) {
    conectou.Espera();
    FechaComReset(c);
  });
  plataforma::Socket s = ConectaHost(host.Porta());
  conectou.Da();
  ASSERT_TRUE(s.Valido());
  host.Espera();
  // The reset has reached the socket before anything is sent.
  ASSERT_TRUE(EsperaLegivel(s, 5000));
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(std::move(s), pedido, rsp, 5, false), ERRO_ENVIO);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(TrocaMensagemTeste, SendToAClosedPeerDoesNotKillTheProcess) {
  // After the reset a second send would raise SIGPIPE unless it is suppressed.
  Sinal conectou;
  HostTeste host([&](Conexao c) {
    conectou.Espera();
    FechaComReset(c);
  });
  plataforma::Socket s = ConectaHost(host.Porta());
  conectou.Da();
  host.Espera();
  ASSERT_TRUE(EsperaLegivel(s, 5000));
  char lixo[4];
  std::size_t n = 0;
  int erro = 0;
  // Consumes the reset: the next send meets EPIPE (on Windows, WSAECONNRESET).
  (void)plataforma::Recebe(s, lixo, sizeof lixo, n, erro);
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(std::move(s), pedido, rsp, 5, false), ERRO_ENVIO);
}

TEST_F(TrocaMensagemTeste, ResetWhileWaitingIsAReceiveFailureAtOnce) {
  // Windows fails the recv with WSAECONNRESET; wine 8 reports the reset as the end of the stream.
  if (SobWine()) GTEST_SKIP() << "wine reports a reset by the peer as an orderly end of the stream";
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    FechaComReset(c);
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  // With 30 s of budget, only the error itself can end the wait early enough for the log to stay empty.
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 30, false), ERRO_RECEBIMENTO);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(TrocaMensagemTeste, LargeRequestIsSentWhole) {
  // More than the socket buffers hold: the sends come back short or full until the host reads.
  const int tamanho = 8 * 1024 * 1024;
  BF pedido = Pedido(tamanho);
  std::vector<std::uint8_t> recebido;
  HostTeste host([&](Conexao c) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    recebido = LeBytes(c, static_cast<std::size_t>(tamanho), 20000);
    EnviaBytes(c, MontaResposta(3, {1, 2, 3}, false));
  });
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 10, false), "");
  host.Espera();
  ASSERT_EQ(recebido.size(), static_cast<std::size_t>(tamanho));
  EXPECT_TRUE(std::equal(recebido.begin(), recebido.end(), pedido.dados.get()));
  EXPECT_EQ(rsp.tamanho, 3);
}

TEST_F(TrocaMensagemTeste, ZeroTimeOutStillWaitsForTheAnswer) {
  HostTeste host([&](Conexao c) {
    LeBytes(c, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EnviaBytes(c, MontaResposta(4, {9, 8, 7, 6}, false));
  });
  BF pedido = Pedido(10);
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 0, false), "");
  EXPECT_EQ(rsp.tamanho, 4);
}

TEST_F(TrocaMensagemTeste, InvalidBuffersFailWithTheSocketClosed) {
  PortaLocal host;
  BF pedido = Pedido(10);
  pedido.tamanho = 11;  // more than the buffer holds
  BF rsp(238);
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 1, false), ERRO_ENVIO);
  pedido.tamanho = -1;
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, rsp, 1, false), ERRO_ENVIO);
  pedido.tamanho = 10;
  BF pequena(47);  // no room for a prefix and a header
  EXPECT_EQ(FalhaTroca(ConectaHost(host.Porta()), pedido, pequena, 1, true), ERRO_RECEBIMENTO);
  EXPECT_EQ(host.AceitaPendentes(), 3);
}

// RecebeDados on its own: the budget is spent one poll at a time and kept when nothing is missing.
class RecebeDadosTeste : public TrocaMensagemTeste {};

TEST_F(RecebeDadosTeste, CompleteAtTheFirstPollSpendsNothing) {
  HostTeste host([&](Conexao c) {
    EnviaBytes(c, Padrao(8, 3));
    LeBytes(c, 1, 5000);
  });
  plataforma::Socket s = ConectaHost(host.Porta());
  ASSERT_TRUE(EsperaLegivel(s, 5000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::uint8_t destino[8] = {};
  std::int32_t orcamento = 5;
  EXPECT_EQ(RecebeDados(s, destino, 8, orcamento, 7), 8);
  EXPECT_EQ(orcamento, 5);
  EXPECT_EQ(std::vector<std::uint8_t>(destino, destino + 8), Padrao(8, 3));
  EXPECT_TRUE(s.Valido());
  std::int32_t outro = 3;
  EXPECT_EQ(RecebeDados(s, destino, 0, outro, 7), 0);
  EXPECT_EQ(outro, 3);
  s.Fecha();
}

TEST_F(RecebeDadosTeste, BudgetRunsOutAfterAsManyPollsAsItHeld) {
  HostTeste host([&](Conexao c) {
    EnviaBytes(c, Padrao(4, 3));
    LeBytes(c, 1, 5000);
  });
  plataforma::Socket s = ConectaHost(host.Porta());
  std::uint8_t destino[8] = {};
  std::int32_t orcamento = 5;
  try {
    RecebeDados(s, destino, 8, orcamento, 7);
    ADD_FAILURE() << "no Erro";
  } catch (const Erro& e) {
    EXPECT_EQ(std::string(e.Texto()), ERRO_RECEBIMENTO);
  }
  EXPECT_EQ(orcamento, 0);
  EXPECT_FALSE(s.Valido());
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"recv TimeOut = 7s, Len = 4"});
}
