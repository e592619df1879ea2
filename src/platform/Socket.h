// A TCP socket owned by one holder: closed by its destructor on every path.
#pragma once

#include <cstdint>
#include <utility>

namespace plataforma {

// The system's name for a socket: a descriptor on Linux, a SOCKET on Windows; SEM_SOCKET for none.
using DescritorSocket = std::intptr_t;
inline constexpr DescritorSocket SEM_SOCKET = -1;

class Socket {
 public:
  Socket() = default;
  explicit Socket(DescritorSocket fd) : fd_(fd) {}
  ~Socket() { Fecha(); }
  Socket(Socket&& outro) noexcept : fd_(outro.fd_) { outro.fd_ = SEM_SOCKET; }
  Socket& operator=(Socket&& outro) noexcept {
    if (this != &outro) {
      Fecha();
      fd_ = std::exchange(outro.fd_, SEM_SOCKET);
    }
    return *this;
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  bool Valido() const { return fd_ != SEM_SOCKET; }
  DescritorSocket Fd() const { return fd_; }
  void Fecha();

 private:
  DescritorSocket fd_ = SEM_SOCKET;
};

}  // namespace plataforma
