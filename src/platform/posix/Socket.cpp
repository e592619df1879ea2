// Closing of the socket owned by a plataforma::Socket.
#include "platform/Socket.h"

#include <unistd.h>

namespace plataforma {

void Socket::Fecha() {
  if (fd_ >= 0) {
    // Linux releases the descriptor even when close is interrupted, so it is never retried.
    ::close(fd_);
    fd_ = -1;
  }
}

Socket& Socket::operator=(Socket&& outro) noexcept {
  if (this != &outro) {
    Fecha();
    fd_ = outro.fd_;
    outro.fd_ = -1;
  }
  return *this;
}

}  // namespace plataforma
