// The owned socket and the TCP layer: closing, moving, connecting, waiting, sending and receiving.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/Socket.h"
#include "platform/Tcp.h"

using namespace plataforma;

namespace {

bool Aberto(int fd) { return fcntl(fd, F_GETFD) != -1; }

// A listening socket on 127.0.0.1 with an ephemeral port.
struct Ouvinte {
  int fd = -1;
  std::uint16_t porta = 0;
  explicit Ouvinte(bool escuta = true) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
    if (escuta) listen(fd, 8);
    socklen_t t = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &t);
    porta = ntohs(a.sin_port);
  }
  ~Ouvinte() { close(fd); }
  int Aceita() {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return -1;
    return accept(fd, nullptr, nullptr);
  }
};

// A connected, non-blocking client socket to the listener, or an invalid one.
Socket Conectado(const Ouvinte& o) {
  int erro = 0;
  Socket s = CriaSocketTcp(erro);
  if (!s.Valido() || !TornaNaoBloqueante(s, erro)) return Socket();
  ResultadoConexao r = IniciaConexao(s, htonl(INADDR_LOOPBACK), o.porta, erro);
  if (r == ResultadoConexao::Falhou) return Socket();
  if (r == ResultadoConexao::EmAndamento && EsperaEscrita(s, 5000, erro) != ResultadoEspera::Pronto) return Socket();
  int pendente = -1;
  if (!LeErroPendente(s, pendente, erro) || pendente != 0) return Socket();
  return s;
}

}  // namespace

TEST(Socket, ClosesOnDestructionAndOnFecha) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  {
    Socket a(fds[0]);
    EXPECT_TRUE(a.Valido());
    EXPECT_EQ(a.Fd(), fds[0]);
  }
  EXPECT_FALSE(Aberto(fds[0]));
  Socket b(fds[1]);
  b.Fecha();
  EXPECT_FALSE(b.Valido());
  EXPECT_FALSE(Aberto(fds[1]));
  b.Fecha();  // harmless a second time
  Socket vazio;
  EXPECT_FALSE(vazio.Valido());
}

TEST(Socket, MoveHandsOverOwnership) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  Socket a(fds[0]);
  Socket b(std::move(a));
  EXPECT_FALSE(a.Valido());
  EXPECT_EQ(b.Fd(), fds[0]);

  Socket c(fds[1]);
  // Assignment closes what the target held.
  c = std::move(b);
  EXPECT_FALSE(Aberto(fds[1]));
  EXPECT_TRUE(Aberto(fds[0]));
  EXPECT_EQ(c.Fd(), fds[0]);
  EXPECT_FALSE(b.Valido());
  Socket& mesmo = c;
  c = std::move(mesmo);  // self-assignment keeps the socket
  EXPECT_TRUE(Aberto(fds[0]));
  c = Socket();
  EXPECT_FALSE(Aberto(fds[0]));
}

TEST(Tcp, NonBlockingConnectToAListener) {
  Ouvinte o;
  Socket s = Conectado(o);
  ASSERT_TRUE(s.Valido());
  EXPECT_TRUE(fcntl(s.Fd(), F_GETFL) & O_NONBLOCK);
  EXPECT_TRUE(fcntl(s.Fd(), F_GETFD) & FD_CLOEXEC);
  int c = o.Aceita();
  ASSERT_GE(c, 0);
  close(c);
}

TEST(Tcp, RefusalShowsAsFailureOrPendingError) {
  Ouvinte o(false);  // bound, not listening
  int erro = 0;
  Socket s = CriaSocketTcp(erro);
  ASSERT_TRUE(TornaNaoBloqueante(s, erro));
  ResultadoConexao r = IniciaConexao(s, htonl(INADDR_LOOPBACK), o.porta, erro);
  if (r == ResultadoConexao::Falhou) {
    EXPECT_EQ(erro, ECONNREFUSED);
  } else {
    ASSERT_EQ(r, ResultadoConexao::EmAndamento);
    EXPECT_EQ(erro, EINPROGRESS);
    ASSERT_EQ(EsperaEscrita(s, 5000, erro), ResultadoEspera::Pronto);
    int pendente = 0;
    ASSERT_TRUE(LeErroPendente(s, pendente, erro));
    EXPECT_EQ(pendente, ECONNREFUSED);
  }
}

TEST(Tcp, SendAndReceiveWithoutBlocking) {
  Ouvinte o;
  Socket s = Conectado(o);
  ASSERT_TRUE(s.Valido());
  int c = o.Aceita();
  ASSERT_GE(c, 0);

  char buf[16];
  std::size_t n = 99;
  int erro = 0;
  EXPECT_EQ(Recebe(s, buf, sizeof buf, n, erro), ResultadoRecebe::NadaAinda);
  EXPECT_EQ(n, 0u);

  std::size_t enviados = 0;
  ASSERT_EQ(Envia(s, "abc", 3, enviados, erro), ResultadoEnvio::Enviado);
  EXPECT_EQ(enviados, 3u);
  char lido[3];
  ASSERT_EQ(recv(c, lido, 3, MSG_WAITALL), 3);
  EXPECT_EQ(std::string(lido, 3), "abc");

  ASSERT_EQ(send(c, "xy", 2, 0), 2);
  pollfd p{static_cast<int>(s.Fd()), POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  EXPECT_EQ(Recebe(s, buf, 1, n, erro), ResultadoRecebe::Dados);  // never more than asked
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(Recebe(s, buf + 1, sizeof buf, n, erro), ResultadoRecebe::Dados);
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(std::string(buf, 2), "xy");

  close(c);
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  EXPECT_EQ(Recebe(s, buf, sizeof buf, n, erro), ResultadoRecebe::Fechado);
}

TEST(Tcp, FullSendBufferAndTheWaitForRoom) {
  Ouvinte o;
  Socket s = Conectado(o);
  ASSERT_TRUE(s.Valido());
  int c = o.Aceita();
  ASSERT_GE(c, 0);
  std::vector<char> bloco(1 << 20, 'z');
  std::size_t enviados = 0;
  int erro = 0;
  ResultadoEnvio r = ResultadoEnvio::Enviado;
  for (int i = 0; i < 256 && r == ResultadoEnvio::Enviado; ++i) r = Envia(s, bloco.data(), bloco.size(), enviados, erro);
  ASSERT_EQ(r, ResultadoEnvio::Cheio);
  EXPECT_EQ(EsperaEscrita(s, 100, erro), ResultadoEspera::Expirou);
  // Once the peer reads, there is room again.
  std::vector<char> dreno(1 << 22);
  while (recv(c, dreno.data(), dreno.size(), MSG_DONTWAIT) > 0) {
  }
  EXPECT_EQ(EsperaEscrita(s, 5000, erro), ResultadoEspera::Pronto);
  close(c);
}

TEST(Tcp, SendToAClosedPeerReturnsAnErrorInsteadOfASignal) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  Socket s(fds[0]);
  close(fds[1]);
  std::size_t enviados = 0;
  int erro = 0;
  // Without suppression this send raises SIGPIPE and the test program dies here.
  EXPECT_EQ(Envia(s, "x", 1, enviados, erro), ResultadoEnvio::Falhou);
  EXPECT_EQ(erro, EPIPE);
}
