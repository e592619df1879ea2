// The zelp-host program over TCP: hand-built request frames, approvals and refusals, the prefix of
// code 14, repeated groups, the answer options and every fault it can play.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "catalogo/Catalogo.h"
#include "codec/DecodificaResposta.h"
#include "ferramentas_apoio.h"
#include "fields/TG.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class Descritor {
 public:
  explicit Descritor(int fd) : fd_(fd) {}
  ~Descritor() {
    if (fd_ >= 0) close(fd_);
  }
  Descritor(const Descritor&) = delete;
  Descritor& operator=(const Descritor&) = delete;
  int Fd() const { return fd_; }

 private:
  int fd_;
};

int Conecta(int porta) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(porta));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool EnviaTudo(int fd, const Bytes& dados) {
  std::size_t enviados = 0;
  while (enviados < dados.size()) {
    const ssize_t r = send(fd, dados.data() + enviados, dados.size() - enviados, MSG_NOSIGNAL);
    if (r <= 0) return false;
    enviados += static_cast<std::size_t>(r);
  }
  return true;
}

struct Recebido {
  Bytes bytes;
  bool fechou = false;  // the host closed its side
  int pedacos = 0;      // recv calls that brought data
};

// Reads until the host closes the connection or the limit passes.
Recebido RecebeAteFechar(int fd, std::chrono::milliseconds limite) {
  Recebido r;
  const auto fim = std::chrono::steady_clock::now() + limite;
  for (;;) {
    const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(fim - std::chrono::steady_clock::now());
    if (resta.count() <= 0) return r;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(resta.count())) <= 0) continue;
    std::uint8_t bloco[4096];
    const ssize_t n = recv(fd, bloco, sizeof bloco, 0);
    if (n <= 0) {
      r.fechou = true;
      return r;
    }
    r.bytes.insert(r.bytes.end(), bloco, bloco + n);
    ++r.pedacos;
  }
}

Recebido Troca(int porta, const Bytes& quadro, std::chrono::milliseconds limite = 10s) {
  Descritor conexao(Conecta(porta));
  EXPECT_GE(conexao.Fd(), 0) << "connect to port " << porta;
  if (conexao.Fd() < 0) return {};
  EXPECT_TRUE(EnviaTudo(conexao.Fd(), quadro));
  return RecebeAteFechar(conexao.Fd(), limite);
}

void BCD(std::uint8_t* destino, const std::string& digitos, std::size_t tamanho) {
  std::string d = std::string(2 * tamanho - digitos.size(), '0') + digitos;
  for (std::size_t i = 0; i < tamanho; ++i) {
    destino[i] = static_cast<std::uint8_t>(((d[2 * i] - '0') << 4) | (d[2 * i + 1] - '0'));
  }
}

Bytes Quadro(std::uint8_t byte0, std::uint8_t codigo, std::uint8_t sequencia, const Bytes& dados, bool prefixo) {
  const std::size_t inicio = prefixo ? 40 : 0;
  Bytes q(inicio + 8 + dados.size(), 0);
  const std::uint8_t cabecalho[8] = {byte0, 1, codigo, 68, sequencia, static_cast<std::uint8_t>(dados.size() & 0xFF),
                                     static_cast<std::uint8_t>(dados.size() >> 8), 0};
  for (std::size_t i = 0; i < 8; ++i) q[inicio + i] = cabecalho[i];
  for (std::size_t i = 0; i < dados.size(); ++i) q[inicio + 8 + i] = dados[i];
  return q;
}

// A card sale (code 31 or 53): 78 bytes laid out as the gateway lays them.
Bytes PedidoCartao(std::uint8_t codigo, const std::string& valor, std::uint8_t sequencia = 7) {
  Bytes d(78, 0);
  d[0] = codigo;
  d[1] = 'M';
  BCD(&d[2], valor, 6);
  const std::string trilha = "4111111111111111=2812";
  std::memset(&d[8], ' ', 37);
  std::memcpy(&d[8], trilha.data(), trilha.size());
  std::memcpy(&d[45], "23456789", 8);
  d[53] = '0';
  std::memcpy(&d[54], "123456000000000", 15);
  return Quadro(10, codigo, sequencia, d, false);
}

// A cheque check of code 14: 45 bytes of data behind 40 zero bytes and the header.
Bytes PedidoCheque14(const std::string& valor) {
  Bytes d(45, 0);
  d[0] = 14;
  BCD(&d[1], valor, 6);
  std::memcpy(&d[23], "23456789", 8);
  d[39] = 'R';
  d[40] = 'M';
  return Quadro(3, 14, 9, d, true);
}

// A code-109 request with `repeticoes` occurrences of its 44-byte group.
Bytes Pedido109(int repeticoes) {
  Bytes d(100 + 44 * static_cast<std::size_t>(repeticoes), 0);
  d[0] = 109;
  BCD(&d[93], "1500", 6);
  d[99] = static_cast<std::uint8_t>(repeticoes);
  for (int k = 0; k < repeticoes; ++k) BCD(&d[100 + 44 * static_cast<std::size_t>(k)], std::to_string(1000 + k), 4);
  return Quadro(10, 109, 3, d, false);
}

std::string Texto(const Bytes& b, std::size_t inicio, std::size_t tamanho) {
  return std::string(reinterpret_cast<const char*>(b.data() + inicio), tamanho);
}

int TamanhoAnunciado(const Bytes& b, std::size_t inicioCabecalho) {
  return b[inicioCabecalho + 5] | (b[inicioCabecalho + 6] << 8);
}

TEST(ZelpHost, AprovaERecusaPelosDoisUltimosDigitosDoValor) {
  HostEmExecucao host({"--vezes", "2"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();

  const Recebido aprovada = Troca(host.Porta(), PedidoCartao(31, "1500", 200));
  ASSERT_TRUE(aprovada.fechou);
  ASSERT_EQ(aprovada.bytes.size(), 8u + 230u);
  // Header: bytes 0, 2, 3 and the sequence of the request, byte 1 = 1, length little-endian, 0.
  const std::uint8_t cabecalho[8] = {10, 1, 31, 68, 200, 230, 0, 0};
  EXPECT_EQ(std::memcmp(aprovada.bytes.data(), cabecalho, 8), 0);
  const std::size_t d = 8;
  EXPECT_EQ(Texto(aprovada.bytes, d + 8, 2), "00");
  std::uint8_t valor[6];
  BCD(valor, "1500", 6);
  EXPECT_EQ(std::memcmp(&aprovada.bytes[d + 59], valor, 6), 0);  // 003 echoed
  EXPECT_EQ(aprovada.bytes[d + 159], 0);                           // no refusal text

  const Recebido recusada = Troca(host.Porta(), PedidoCartao(31, "2551"));
  ASSERT_EQ(recusada.bytes.size(), 8u + 230u);
  EXPECT_EQ(Texto(recusada.bytes, d + 8, 2), "51");
  EXPECT_EQ(Texto(recusada.bytes, d + 159, 23), "SALDO INSUFICIENTE (51)");

  int status = -1;
  ASSERT_TRUE(host.Programa().Espera(10s, status)) << "--vezes 2 must end the simulator";
  EXPECT_EQ(status, 0);
  const std::string saida = host.Saida();
  EXPECT_NE(saida.find("003-000  pos   2 tam   6 BCD  = \"000000002551\""), std::string::npos) << saida;
  EXPECT_NE(saida.find("answer: response code 51"), std::string::npos);
  EXPECT_NE(saida.find("0000  0a 01 1f 44"), std::string::npos) << "hex dump of the answer";
}

// Card data in everything the simulator prints is masked, in the fields and the dumps, unless asked.
TEST(ZelpHost, ImprimeCartaoPINETrilhaMascaradosSoMostraInteirosSePedido) {
  const std::string trilha = "4111111111111111=28121015432";
  const std::uint8_t pin[8] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
  Bytes quadro = PedidoCartao(31, "1500");
  std::memcpy(&quadro[8 + 8], trilha.data(), trilha.size());
  std::memcpy(&quadro[8 + 69], pin, sizeof pin);
  Bytes desconhecido = quadro;  // no layout reads it: only its zero bytes are shown
  desconhecido[2] = 15;
  for (const bool mostra : {false, true}) {
    HostEmExecucao host(mostra ? std::vector<std::string>{"--vezes", "2", "--mostra-cartao"}
                               : std::vector<std::string>{"--vezes", "2"});
    ASSERT_GT(host.Porta(), 0) << host.Saida();
    EXPECT_EQ(Troca(host.Porta(), quadro).bytes.size(), 238u);
    EXPECT_TRUE(Troca(host.Porta(), desconhecido).fechou);
    int status = -1;
    ASSERT_TRUE(host.Programa().Espera(10s, status));
    const std::string saida = host.Saida();
    // A whole card number is a run of 13 to 19 digits; the PIN block shows in its field and its dump.
    EXPECT_EQ(std::regex_search(saida, std::regex("(^|[^0-9])[0-9]{13,19}([^0-9]|$)")), mostra) << saida;
    for (const char* pinInteiro : {"= \"123456789ABCDEF0\"", " 12 34 56 78 9a bc de f0"}) {
      EXPECT_EQ(saida.find(pinInteiro) != std::string::npos, mostra) << pinInteiro << "\n" << saida;
    }
    if (mostra) continue;
    for (const char* mascarado : {"098-000  pos   8 tam  37 TXT  = \"411111******1111=***********",
                                  " 34 31 31 31 31 31 ** **  |.M......411111**|",
                                  "  0000  ** ** 00 00 00 00 ** 00 ** ** ** ** ** ** ** **  |**....*.********|"}) {
      EXPECT_NE(saida.find(mascarado), std::string::npos) << mascarado << "\n" << saida;
    }
  }
}

TEST(ZelpHost, Codigo14TemPrefixoDeQuarentaZerosNosDoisSentidos) {
  HostEmExecucao host({"--vezes", "1"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const Recebido r = Troca(host.Porta(), PedidoCheque14("1000"));
  ASSERT_EQ(r.bytes.size(), 40u + 8u + 230u);
  for (std::size_t i = 0; i < 40; ++i) ASSERT_EQ(r.bytes[i], 0) << "prefix byte " << i;
  EXPECT_EQ(r.bytes[40], 3);
  EXPECT_EQ(r.bytes[42], 14);
  EXPECT_EQ(r.bytes[44], 9);
  EXPECT_EQ(TamanhoAnunciado(r.bytes, 40), 230);
  EXPECT_EQ(Texto(r.bytes, 48 + 8, 2), "00");
  int status = -1;
  ASSERT_TRUE(host.Programa().Espera(10s, status));
  EXPECT_NE(host.Saida().find("with a 40-byte prefix"), std::string::npos);
}

TEST(ZelpHost, GrupoRepetidoComAsOcorrenciasDoPedidoLidoPeloGateway) {
  HostEmExecucao host({"--vezes", "1"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const Recebido r = Troca(host.Porta(), Pedido109(3));
  ASSERT_EQ(r.bytes.size(), 8u + 280u + 3u * 63u);
  EXPECT_EQ(TamanhoAnunciado(r.bytes, 0), 280 + 3 * 63);
  EXPECT_EQ(r.bytes[8 + 279], 3);

  // The gateway's own decoder finds the three occurrences, each echoing the request's 313.
  const int indice = IndiceDoCodigo(109);
  ASSERT_GE(indice, 0);
  TG t;
  t.tipo = indice;
  t.identificador = 1;
  DecodificaResposta(t, r.bytes.data() + 8, static_cast<std::int32_t>(r.bytes.size() - 8),
                     tiposTransacao[indice].resposta);
  ASSERT_NE(t.Procura(9, 0), nullptr);
  EXPECT_EQ(t.Procura(9, 0)->valor, "00");
  ASSERT_NE(t.Procura(312, 0), nullptr);
  EXPECT_EQ(t.Procura(312, 0)->valor, "003");
  for (int k = 1; k <= 3; ++k) {
    ASSERT_NE(t.Procura(313, k), nullptr) << k;
    EXPECT_EQ(t.Procura(313, k)->valor, "0000" + std::to_string(999 + k));
  }
  EXPECT_EQ(t.Procura(313, 4), nullptr);
}

TEST(ZelpHost, CodigoDeRespostaPorOpcaoPorTransacaoEParaTodas) {
  HostEmExecucao host({"--vezes", "2", "--codigo-resposta", "31=05", "--codigo-resposta", "12"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const Recebido r31 = Troca(host.Porta(), PedidoCartao(31, "1500"));
  ASSERT_EQ(r31.bytes.size(), 238u);
  EXPECT_EQ(Texto(r31.bytes, 16, 2), "05");
  EXPECT_EQ(Texto(r31.bytes, 8 + 159, 19), "NAO AUTORIZADA (05)");
  const Recebido r53 = Troca(host.Porta(), PedidoCartao(53, "1500"));
  ASSERT_EQ(r53.bytes.size(), 238u);
  EXPECT_EQ(Texto(r53.bytes, 16, 2), "12");
}

TEST(ZelpHost, PedidoQueNaoPodeSerAtendidoFechaSemRespostaEOHostContinua) {
  HostEmExecucao host({"--vezes", "4", "--tempo-leitura", "5"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();

  // A code without a catalogue type.
  Bytes desconhecido = PedidoCartao(31, "1500");
  desconhecido[2] = 15;
  Recebido r = Troca(host.Porta(), desconhecido);
  EXPECT_TRUE(r.fechou);
  EXPECT_TRUE(r.bytes.empty());

  // A header that announces 78 bytes followed by 10 and the end of the sending side.
  {
    Descritor c(Conecta(host.Porta()));
    ASSERT_GE(c.Fd(), 0);
    Bytes curto = PedidoCartao(31, "1500");
    curto.resize(8 + 10);
    ASSERT_TRUE(EnviaTudo(c.Fd(), curto));
    shutdown(c.Fd(), SHUT_WR);
    r = RecebeAteFechar(c.Fd(), 10s);
    EXPECT_TRUE(r.fechou);
    EXPECT_TRUE(r.bytes.empty());
  }

  // A prefix that is not all zeros.
  Bytes prefixo = PedidoCheque14("1000");
  prefixo[5] = 1;
  r = Troca(host.Porta(), prefixo);
  EXPECT_TRUE(r.fechou);
  EXPECT_TRUE(r.bytes.empty());

  // The next good request is still served.
  r = Troca(host.Porta(), PedidoCartao(31, "1500"));
  EXPECT_EQ(r.bytes.size(), 238u);

  int status = -1;
  ASSERT_TRUE(host.Programa().Espera(10s, status));
  EXPECT_EQ(status, 0);
  const std::string saida = host.Saida();
  EXPECT_NE(saida.find("code 15 has no catalogue type"), std::string::npos) << saida;
  EXPECT_NE(saida.find("incomplete request: 10 of 78 data bytes"), std::string::npos) << saida;
  EXPECT_NE(saida.find("40-byte prefix with bytes other than zero"), std::string::npos) << saida;
}

TEST(ZelpHost, FalhaFechaNaoResponde) {
  HostEmExecucao host({"--vezes", "1", "--falha", "fecha"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const Recebido r = Troca(host.Porta(), PedidoCartao(31, "1500"));
  EXPECT_TRUE(r.fechou);
  EXPECT_TRUE(r.bytes.empty());
}

TEST(ZelpHost, FalhaMudoMantemAConexaoSemResponder) {
  HostEmExecucao host({"--vezes", "1", "--falha", "mudo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  {
    Descritor c(Conecta(host.Porta()));
    ASSERT_GE(c.Fd(), 0);
    ASSERT_TRUE(EnviaTudo(c.Fd(), PedidoCartao(31, "1500")));
    const Recebido r = RecebeAteFechar(c.Fd(), 700ms);
    EXPECT_FALSE(r.fechou) << "the host must hold the connection";
    EXPECT_TRUE(r.bytes.empty());
  }
  // Our side closed: the host lets go of the connection and ends (--vezes 1).
  int status = -1;
  ASSERT_TRUE(host.Programa().Espera(10s, status)) << host.Saida();
  EXPECT_EQ(status, 0);
  EXPECT_NE(host.Saida().find("closed (mudo)"), std::string::npos);
}

TEST(ZelpHost, FalhaTamanhoErradoAnunciaUmByteAlemDoQueOLayoutComporta) {
  HostEmExecucao host({"--vezes", "2", "--falha", "tamanho-errado"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  Recebido r = Troca(host.Porta(), PedidoCartao(31, "1500"));
  ASSERT_EQ(r.bytes.size(), 238u);
  EXPECT_EQ(TamanhoAnunciado(r.bytes, 0), 231);  // response layout of code 31: 230 bytes, no group
  r = Troca(host.Porta(), Pedido109(1));
  ASSERT_EQ(r.bytes.size(), 8u + 280u + 63u);
  EXPECT_EQ(TamanhoAnunciado(r.bytes, 0), 280 + 10 * 63 + 1);
}

TEST(ZelpHost, FalhaPedacosEntregaARespostaInteiraEmVariasPartes) {
  HostEmExecucao host({"--vezes", "1", "--falha", "pedacos"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const Recebido r = Troca(host.Porta(), PedidoCartao(31, "2551"));
  ASSERT_EQ(r.bytes.size(), 238u);
  EXPECT_GT(r.pedacos, 1);
  EXPECT_EQ(TamanhoAnunciado(r.bytes, 0), 230);
  EXPECT_EQ(Texto(r.bytes, 16, 2), "51");
}

TEST(ZelpHost, AtrasoEsperaAntesDeResponder) {
  HostEmExecucao host({"--vezes", "1", "--atraso", "400", "--resumo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const auto inicio = std::chrono::steady_clock::now();
  const Recebido r = Troca(host.Porta(), PedidoCartao(31, "1500"));
  EXPECT_GE(std::chrono::steady_clock::now() - inicio, 350ms);
  EXPECT_EQ(r.bytes.size(), 238u);
  int status = -1;
  ASSERT_TRUE(host.Programa().Espera(10s, status));
  EXPECT_NE(host.Saida().find("code 31, sequence 7, response 00 (approval)"), std::string::npos) << host.Saida();
}

TEST(ZelpHost, AjudaVersaoEOpcaoDesconhecida) { VerificaOpcoesComuns("zelp-host"); }

TEST(ZelpHost, AjudaDocumentaCadaOpcaoEErrosDeOpcaoSaoRecusados) {
  DiretorioTemporario dir;
  {
    Processo p(CaminhoPrograma("zelp-host"), {"--help"}, dir.Caminho(), dir / "ajuda.out");
    int status = -1;
    ASSERT_TRUE(p.Espera(10s, status));
    EXPECT_EQ(status, 0);
    const std::string ajuda = p.Saida();
    for (const char* termo : {"--porta", "--endereco", "--atraso", "--falha", "fecha", "mudo", "tamanho-errado",
                              "pedacos", "--vezes", "--codigo-resposta", "--repeticoes", "--resumo", "003",
                              "--mostra-cartao"}) {
      EXPECT_NE(ajuda.find(termo), std::string::npos) << termo;
    }
  }
  const std::vector<std::vector<std::string>> errados = {
      {"--falha", "outra"}, {"--porta", "70000"}, {"--atraso", "-1"}, {"--codigo-resposta", "100"}, {"--nada"},
      {"--endereco", "nao-e-ip"}, {"--porta"}, {"avulso"}};
  for (const auto& args : errados) {
    Processo p(CaminhoPrograma("zelp-host"), args, dir.Caminho(), dir / "erro.out");
    int status = -1;
    ASSERT_TRUE(p.Espera(10s, status));
    EXPECT_EQ(status, 2) << args[0];
  }
}

}  // namespace
