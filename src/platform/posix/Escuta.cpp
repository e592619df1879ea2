// Listening TCP sockets on Linux.
#include "platform/Escuta.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace plataforma {

namespace {
int Fd(const Socket& socket) { return static_cast<int>(socket.Fd()); }
}  // namespace

Socket LigaTcp(std::uint32_t ipRede, std::uint16_t porta, int& erro) {
  Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP));
  if (!socket.Valido()) {
    erro = errno;
    return socket;
  }
  const int um = 1;
  ::setsockopt(Fd(socket), SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_port = htons(porta);
  endereco.sin_addr.s_addr = ipRede;
  if (::bind(Fd(socket), reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) != 0) {
    erro = errno;
    socket.Fecha();
    return socket;
  }
  erro = 0;
  return socket;
}

bool Escuta(const Socket& socket, int fila, int& erro) {
  erro = ::listen(Fd(socket), fila) == 0 ? 0 : errno;
  return erro == 0;
}

std::uint16_t PortaLigada(const Socket& socket) {
  sockaddr_in endereco{};
  socklen_t tamanho = sizeof endereco;
  if (::getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) return 0;
  return ntohs(endereco.sin_port);
}

Socket Aceita(const Socket& escuta, std::string* origem, int& erro) {
  sockaddr_in endereco{};
  socklen_t tamanho = sizeof endereco;
  Socket conexao(::accept4(Fd(escuta), reinterpret_cast<sockaddr*>(&endereco), &tamanho, SOCK_CLOEXEC));
  erro = conexao.Valido() ? 0 : errno;
  if (conexao.Valido() && origem != nullptr) {
    char ip[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &endereco.sin_addr, ip, sizeof ip);
    char texto[INET_ADDRSTRLEN + 8];
    std::snprintf(texto, sizeof texto, "%s:%u", ip, static_cast<unsigned>(ntohs(endereco.sin_port)));
    *origem = texto;
  }
  return conexao;
}

bool ErroSoDaConexao(int erro) { return erro == EINTR || erro == ECONNABORTED; }

void FechaComReset(const Socket& socket) {
  linger l{1, 0};
  ::setsockopt(Fd(socket), SOL_SOCKET, SO_LINGER, &l, sizeof l);
}

void EncerraEnvio(const Socket& socket) { ::shutdown(Fd(socket), SHUT_WR); }

}  // namespace plataforma
