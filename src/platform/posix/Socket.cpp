// Closing of the socket owned by a plataforma::Socket.
#include "platform/Socket.h"

#include <unistd.h>

namespace plataforma {

void Socket::Fecha() {
  if (fd_ != SEM_SOCKET) {
    // Linux releases the descriptor even when close is interrupted, so it is never retried.
    ::close(static_cast<int>(fd_));
    fd_ = SEM_SOCKET;
  }
}

}  // namespace plataforma
