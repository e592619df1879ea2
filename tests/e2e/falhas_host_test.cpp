// A host that misbehaves in the middle of a transaction: resets the connection inside the data,
// sends bytes that are no frame, announces 65,535 bytes. The point of sale gets a response file
// that is whole and well formed, and the next sale goes through as usual.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "falhas_apoio.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
using namespace falhas;

constexpr const char* ERRO_RECEBIMENTO = "02 *ZELP* Erro na comunicação(Recebimento)";

std::vector<std::uint8_t> Aleatorios(std::size_t n, unsigned semente) {
  std::mt19937 gerador(semente);
  std::vector<std::uint8_t> v(n);
  for (auto& b : v) b = static_cast<std::uint8_t>(gerador() & 0xFF);
  return v;
}

// A response header as the host writes it: the request's bytes 0, 2, 3 and 4, byte 1 = 1, the
// length little-endian in bytes 5 and 6.
std::vector<std::uint8_t> Cabecalho(const std::vector<std::uint8_t>& pedido, int tamanho) {
  std::vector<std::uint8_t> c(pedido.begin(), pedido.begin() + 8);
  c[1] = 1;
  c[5] = static_cast<std::uint8_t>(tamanho & 0xFF);
  c[6] = static_cast<std::uint8_t>((tamanho >> 8) & 0xFF);
  c[7] = 0;
  return c;
}

// Holds the connection until the gateway closes its side (at most a few seconds).
void EsperaFechar(int conexao) {
  char lixo[256];
  const auto fim = std::chrono::steady_clock::now() + 8s;
  while (std::chrono::steady_clock::now() < fim) {
    const ssize_t r = ::recv(conexao, lixo, sizeof lixo, MSG_DONTWAIT);
    if (r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return;
    std::this_thread::sleep_for(20ms);
  }
}

struct CasoHost {
  const char* nome;
  HostRoteirizado::Roteiro roteiro;
  const char* texto030;   // the error text the point of sale must see; null: any well-formed answer
  const char* linhaLog;   // a line the gateway must log, or null
};

// Every line "NNN-NNN = value", no line break inside a value, 000-000 first and 999-999 last.
void ConfereFormato(const std::string& rsp) {
  static const std::regex linha("[0-9]{3}-[0-9]{3} = [^\r\n]*");
  ASSERT_GE(rsp.size(), 2u);
  EXPECT_EQ(rsp.substr(rsp.size() - 2), "\r\n");
  std::vector<std::string> linhas;
  for (std::size_t p = 0; p < rsp.size();) {
    std::size_t fim = rsp.find("\r\n", p);
    if (fim == std::string::npos) fim = rsp.size();
    linhas.push_back(rsp.substr(p, fim - p));
    p = fim + 2;
  }
  ASSERT_GE(linhas.size(), 3u) << rsp;
  for (const std::string& l : linhas) EXPECT_TRUE(std::regex_match(l, linha)) << "line: " << l;
  EXPECT_EQ(linhas.front().substr(0, 10), "000-000 = ");
  EXPECT_EQ(linhas[1], "001-000 = 00000001");
  EXPECT_EQ(linhas.back(), "999-999 = ");
}

void PrintTo(const CasoHost& caso, std::ostream* os) { *os << caso.nome; }

class HostComDefeito : public testing::TestWithParam<CasoHost> {};

TEST_P(HostComDefeito, PdvRecebeRespostaInteiraEOGatewayContinua) {
  const CasoHost& caso = GetParam();
  HostEmExecucao sadio({"--resumo"});
  ASSERT_GT(sadio.Porta(), 0) << sadio.Saida();
  const int portaSadio = sadio.Porta();
  HostRoteirizado host({caso.roteiro, [portaSadio](int conexao) {
                          const std::vector<std::uint8_t> pedido = LeQuadro(conexao);
                          if (!pedido.empty()) Repassa(conexao, pedido, portaSadio);
                        }});
  ASSERT_GT(host.Porta(), 0);
  ConfigGateway c;
  c.porta = host.Porta();
  c.tOutCnf = 2;
  ZelpdEmTeste g(c);
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  g.EscrevePedido(1);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(1, "rsp", 20s, rsp)) << g.Saida();
  ConfereFormato(rsp);
  if (caso.texto030 != nullptr) {
    EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "000-000"), "CRT") << rsp;
    EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "85") << rsp;
    EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "030-000"), caso.texto030) << rsp;
  }
  if (caso.linhaLog != nullptr) {
    EXPECT_TRUE(g.EsperaSaida(caso.linhaLog, 5s)) << g.Saida();
  }

  // The next sale reaches a sound host through the same address and is approved.
  g.EscrevePedido(2);
  ASSERT_TRUE(g.EsperaArquivo(2, "rsp", 20s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "370-000").rfind("ZELP HOST SIMULADOR", 0), 0u) << rsp;
  EXPECT_TRUE(g.Zelpd().Rodando());
  EXPECT_EQ(host.Aceitas(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, HostComDefeito,
    testing::Values(
        CasoHost{"ResetNoMeioDosDados",
                 [](int conexao) {
                   const std::vector<std::uint8_t> pedido = LeQuadro(conexao);
                   if (pedido.empty()) return;
                   std::vector<std::uint8_t> parte = Cabecalho(pedido, 120);
                   const std::vector<std::uint8_t> dados = Aleatorios(40, 1);
                   parte.insert(parte.end(), dados.begin(), dados.end());
                   EnviaBytes(conexao, parte);
                   std::this_thread::sleep_for(300ms);
                   PreparaReset(conexao);
                 },
                 ERRO_RECEBIMENTO, nullptr},
        CasoHost{"Anuncia65535Bytes",
                 [](int conexao) {
                   const std::vector<std::uint8_t> pedido = LeQuadro(conexao);
                   if (pedido.empty()) return;
                   std::vector<std::uint8_t> parte = Cabecalho(pedido, 65535);
                   const std::vector<std::uint8_t> dados = Aleatorios(500, 2);
                   parte.insert(parte.end(), dados.begin(), dados.end());
                   EnviaBytes(conexao, parte);
                   EsperaFechar(conexao);
                 },
                 ERRO_RECEBIMENTO, "TAM_MAX_DADOS ErrNo, TamRsp = 65535\n"},
        CasoHost{"LixoComCabecalhoValido",
                 [](int conexao) {
                   const std::vector<std::uint8_t> pedido = LeQuadro(conexao);
                   if (pedido.empty()) return;
                   std::vector<std::uint8_t> parte = Cabecalho(pedido, 60);
                   const std::vector<std::uint8_t> dados = Aleatorios(60, 3);
                   parte.insert(parte.end(), dados.begin(), dados.end());
                   EnviaBytes(conexao, parte);
                   EsperaFechar(conexao);
                 },
                 nullptr, nullptr},
        CasoHost{"LixoSemQuadro",
                 [](int conexao) {
                   if (LeQuadro(conexao).empty()) return;
                   EnviaBytes(conexao, Aleatorios(300, 4));
                   EsperaFechar(conexao);
                 },
                 nullptr, nullptr},
        CasoHost{"FechaNoMeioDoCabecalho",
                 [](int conexao) {
                   const std::vector<std::uint8_t> pedido = LeQuadro(conexao);
                   if (pedido.empty()) return;
                   EnviaBytes(conexao, std::vector<std::uint8_t>(pedido.begin(), pedido.begin() + 5));
                 },
                 ERRO_RECEBIMENTO, "recv TimeOut = 2s, Len = 5\n"}),
    [](const testing::TestParamInfo<CasoHost>& i) { return i.param.nome; });

}  // namespace
