// Listening TCP sockets on Winsock.
#include "platform/Escuta.h"

#include <cstdio>

#include "platform/Tcp.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

using windows::SocketDe;

Socket LigaTcp(std::uint32_t ipRede, std::uint16_t porta, int& erro) {
  Socket socket = CriaSocketTcp(erro);
  if (!socket.Valido()) return socket;
  const SOCKET s = SocketDe(socket);
  // Windows' SO_REUSEADDR would let another program take the port over; this keeps it ours.
  const BOOL um = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&um), sizeof um);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_port = ::htons(porta);
  endereco.sin_addr.s_addr = ipRede;
  if (::bind(s, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) != 0) {
    erro = ::WSAGetLastError();
    socket.Fecha();
    return socket;
  }
  erro = 0;
  return socket;
}

bool Escuta(const Socket& socket, int fila, int& erro) {
  erro = ::listen(SocketDe(socket), fila) == 0 ? 0 : ::WSAGetLastError();
  return erro == 0;
}

std::uint16_t PortaLigada(const Socket& socket) {
  sockaddr_in endereco{};
  int tamanho = sizeof endereco;
  if (::getsockname(SocketDe(socket), reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) return 0;
  return ::ntohs(endereco.sin_port);
}

Socket Aceita(const Socket& escuta, std::string* origem, int& erro) {
  sockaddr_in endereco{};
  int tamanho = sizeof endereco;
  const SOCKET s = ::accept(SocketDe(escuta), reinterpret_cast<sockaddr*>(&endereco), &tamanho);
  if (s == INVALID_SOCKET) {
    erro = ::WSAGetLastError();
    return Socket();
  }
  erro = windows::TomaWinsock();
  if (erro != 0) {
    ::closesocket(s);
    return Socket();
  }
  Socket conexao(static_cast<DescritorSocket>(s));
  // An accepted socket takes its listener's modes; the connection is to block on its own calls.
  u_long zero = 0;
  ::ioctlsocket(s, FIONBIO, &zero);
  ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  erro = 0;
  if (origem != nullptr) {
    char ip[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &endereco.sin_addr, ip, sizeof ip);
    char texto[INET_ADDRSTRLEN + 8];
    std::snprintf(texto, sizeof texto, "%s:%u", ip, static_cast<unsigned>(::ntohs(endereco.sin_port)));
    *origem = texto;
  }
  return conexao;
}

bool ErroSoDaConexao(int erro) { return erro == WSAECONNRESET || erro == WSAEINTR || erro == WSAECONNABORTED; }

void FechaComReset(const Socket& socket) {
  linger l{1, 0};
  ::setsockopt(SocketDe(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
}

void EncerraEnvio(const Socket& socket) { ::shutdown(SocketDe(socket), SD_SEND); }

}  // namespace plataforma
