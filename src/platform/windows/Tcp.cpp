// The host link's TCP on Winsock: ioctlsocket for the non-blocking mode, select for the waits,
// WSAGetLastError codes where Linux has errno.
#include "platform/Tcp.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>

#include "platform/windows/SistemaWindows.h"

namespace plataforma {

using windows::SocketDe;

Socket CriaSocketTcp(int& erro) {
  erro = windows::TomaWinsock();
  if (erro != 0) return Socket();
  // Not inherited: a program started by the process must not hold a host connection.
  const SOCKET s = ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
  if (s == INVALID_SOCKET) {
    erro = ::WSAGetLastError();
    ::WSACleanup();
    return Socket();
  }
  return Socket(static_cast<DescritorSocket>(s));
}

bool TornaNaoBloqueante(const Socket& socket, int& erro) {
  u_long um = 1;
  if (::ioctlsocket(SocketDe(socket), FIONBIO, &um) != 0) {
    erro = ::WSAGetLastError();
    return false;
  }
  erro = 0;
  return true;
}

ResultadoConexao IniciaConexao(const Socket& socket, std::uint32_t ipRede, std::uint16_t porta, int& erro) {
  sockaddr_in endereco;
  std::memset(&endereco, 0, sizeof endereco);
  endereco.sin_family = AF_INET;
  endereco.sin_port = ::htons(porta);
  endereco.sin_addr.s_addr = ipRede;
  if (::connect(SocketDe(socket), reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0) {
    erro = 0;
    return ResultadoConexao::Conectado;
  }
  erro = ::WSAGetLastError();
  return erro == WSAEWOULDBLOCK ? ResultadoConexao::EmAndamento : ResultadoConexao::Falhou;
}

namespace {

// The tick count moves in steps of 16 ms: the waits are measured by the precise clock.
DWORD MsDesde(std::chrono::steady_clock::time_point inicio) {
  return static_cast<DWORD>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - inicio).count());
}

// select with the socket in one set and in the exception set: Winsock reports a connection that
// failed (refused, unreachable) there and never as writable, and the caller then reads the cause.
ResultadoEspera EsperaEvento(const Socket& socket, bool escrita, int milissegundos, int& erro) {
  if (milissegundos < 0) milissegundos = 0;
  const auto inicio = std::chrono::steady_clock::now();
  for (;;) {
    const DWORD passado = MsDesde(inicio);
    const DWORD resta = passado >= static_cast<DWORD>(milissegundos) ? 0 : milissegundos - passado;
    fd_set conjunto, excecao;
    FD_ZERO(&conjunto);
    FD_ZERO(&excecao);
    FD_SET(SocketDe(socket), &conjunto);
    FD_SET(SocketDe(socket), &excecao);
    timeval prazo{static_cast<long>(resta / 1000), static_cast<long>(resta % 1000) * 1000};
    const int r = ::select(0, escrita ? nullptr : &conjunto, escrita ? &conjunto : nullptr, &excecao, &prazo);
    if (r > 0) {
      erro = 0;
      return ResultadoEspera::Pronto;
    }
    if (r < 0) {
      erro = ::WSAGetLastError();
      if (erro == WSAEINTR) continue;
      return ResultadoEspera::Falhou;
    }
    // select may come back a little early; the wait is the caller's whole time.
    if (MsDesde(inicio) >= static_cast<DWORD>(milissegundos)) {
      erro = 0;
      return ResultadoEspera::Expirou;
    }
  }
}

}  // namespace

ResultadoEspera EsperaEscrita(const Socket& socket, int milissegundos, int& erro) {
  return EsperaEvento(socket, true, milissegundos, erro);
}

ResultadoEspera EsperaLeitura(const Socket& socket, int milissegundos, int& erro) {
  return EsperaEvento(socket, false, milissegundos, erro);
}

bool LeErroPendente(const Socket& socket, int& pendente, int& erro) {
  int valor = 0;
  int tamanho = sizeof valor;
  if (::getsockopt(SocketDe(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&valor), &tamanho) != 0) {
    erro = ::WSAGetLastError();
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
  // A send takes an int: a larger block goes in several, as a short send does.
  const int quer = static_cast<int>(std::min<std::size_t>(tamanho, INT_MAX));
  const int r = ::send(SocketDe(socket), static_cast<const char*>(dados), quer, 0);
  if (r != SOCKET_ERROR) {
    erro = 0;
    enviados = static_cast<std::size_t>(r);
    return ResultadoEnvio::Enviado;
  }
  erro = ::WSAGetLastError();
  return erro == WSAEWOULDBLOCK ? ResultadoEnvio::Cheio : ResultadoEnvio::Falhou;
}

ResultadoRecebe Recebe(const Socket& socket, void* destino, std::size_t tamanho, std::size_t& recebidos,
                       int& erro) {
  recebidos = 0;
  const int quer = static_cast<int>(std::min<std::size_t>(tamanho, INT_MAX));
  const int r = ::recv(SocketDe(socket), static_cast<char*>(destino), quer, 0);
  if (r > 0) {
    erro = 0;
    recebidos = static_cast<std::size_t>(r);
    return ResultadoRecebe::Dados;
  }
  if (r == 0) {
    erro = 0;
    return ResultadoRecebe::Fechado;
  }
  erro = ::WSAGetLastError();
  return erro == WSAEWOULDBLOCK || erro == WSAEINTR ? ResultadoRecebe::NadaAinda : ResultadoRecebe::Falhou;
}

}  // namespace plataforma
