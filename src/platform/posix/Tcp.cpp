// The POSIX side of the host link's TCP use.
#include "platform/Tcp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>

#include <cerrno>
#include <cstring>

namespace plataforma {

namespace {

int Fd(const Socket& socket) { return static_cast<int>(socket.Fd()); }

std::int64_t AgoraMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

}  // namespace

Socket CriaSocketTcp(int& erro) {
  // Close-on-exec: a tool started by the process must not inherit a host connection.
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  erro = fd < 0 ? errno : 0;
  return Socket(fd);
}

bool TornaNaoBloqueante(const Socket& socket, int& erro) {
  int flags = ::fcntl(Fd(socket), F_GETFL);
  if (flags < 0 || ::fcntl(Fd(socket), F_SETFL, flags | O_NONBLOCK) < 0) {
    erro = errno;
    return false;
  }
  erro = 0;
  return true;
}

ResultadoConexao IniciaConexao(const Socket& socket, std::uint32_t ipRede, std::uint16_t porta, int& erro) {
  sockaddr_in endereco;
  std::memset(&endereco, 0, sizeof endereco);
  endereco.sin_family = AF_INET;
  endereco.sin_port = htons(porta);
  endereco.sin_addr.s_addr = ipRede;
  if (::connect(Fd(socket), reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0) {
    erro = 0;
    return ResultadoConexao::Conectado;
  }
  erro = errno;
  // An interrupted connect goes on in the background, like one in progress.
  if (erro == EINPROGRESS || erro == EINTR) return ResultadoConexao::EmAndamento;
  return ResultadoConexao::Falhou;
}

namespace {

// Waits at most milissegundos for the events; a signal does not cut the wait short.
ResultadoEspera EsperaEvento(const Socket& socket, short eventos, int milissegundos, int& erro) {
  if (milissegundos < 0) milissegundos = 0;
  const std::int64_t fim = AgoraMs() + milissegundos;
  for (;;) {
    std::int64_t resta = fim - AgoraMs();
    if (resta < 0) resta = 0;
    pollfd p{Fd(socket), eventos, 0};
    int r = ::poll(&p, 1, static_cast<int>(resta));
    if (r > 0) {
      erro = 0;
      return ResultadoEspera::Pronto;
    }
    if (r == 0) {
      erro = 0;
      return ResultadoEspera::Expirou;
    }
    if (errno != EINTR) {
      erro = errno;
      return ResultadoEspera::Falhou;
    }
  }
}

}  // namespace

ResultadoEspera EsperaEscrita(const Socket& socket, int milissegundos, int& erro) {
  return EsperaEvento(socket, POLLOUT, milissegundos, erro);
}

ResultadoEspera EsperaLeitura(const Socket& socket, int milissegundos, int& erro) {
  return EsperaEvento(socket, POLLIN, milissegundos, erro);
}

bool LeErroPendente(const Socket& socket, int& pendente, int& erro) {
  int valor = 0;
  socklen_t tamanho = sizeof valor;
  if (::getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &valor, &tamanho) < 0) {
    erro = errno;
    pendente = 0;
    return false;
  }
  erro = 0;
  pendente = valor;
  return true;
}

ResultadoEnvio Envia(const Socket& socket, const void* dados, std::size_t tamanho, std::size_t& enviados,
                     int& erro) {
  enviados = 0;
  for (;;) {
    ssize_t r = ::send(Fd(socket), dados, tamanho, MSG_NOSIGNAL);
    if (r >= 0) {
      erro = 0;
      enviados = static_cast<std::size_t>(r);
      return ResultadoEnvio::Enviado;
    }
    if (errno == EINTR) continue;
    erro = errno;
    if (erro == EAGAIN || erro == EWOULDBLOCK) return ResultadoEnvio::Cheio;
    return ResultadoEnvio::Falhou;
  }
}

ResultadoRecebe Recebe(const Socket& socket, void* destino, std::size_t tamanho, std::size_t& recebidos,
                       int& erro) {
  recebidos = 0;
  ssize_t r = ::recv(Fd(socket), destino, tamanho, 0);
  if (r > 0) {
    erro = 0;
    recebidos = static_cast<std::size_t>(r);
    return ResultadoRecebe::Dados;
  }
  if (r == 0) {
    erro = 0;
    return ResultadoRecebe::Fechado;
  }
  erro = errno;
  if (erro == EAGAIN || erro == EWOULDBLOCK || erro == EINTR) return ResultadoRecebe::NadaAinda;
  return ResultadoRecebe::Falhou;
}

}  // namespace plataforma
