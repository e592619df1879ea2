// Closing of the SOCKET owned by a plataforma::Socket.
#include "platform/Socket.h"

#include "platform/windows/SistemaWindows.h"

namespace plataforma {

void Socket::Fecha() {
  if (fd_ != SEM_SOCKET) {
    ::closesocket(static_cast<SOCKET>(fd_));
    ::WSACleanup();  // the start of Winsock this socket held (windows::TomaWinsock)
    fd_ = SEM_SOCKET;
  }
}

}  // namespace plataforma
