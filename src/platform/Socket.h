// A TCP socket owned by one holder: closed by its destructor on every path.
#pragma once

namespace plataforma {

class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() { Fecha(); }
  Socket(Socket&& outro) noexcept : fd_(outro.fd_) { outro.fd_ = -1; }
  Socket& operator=(Socket&& outro) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  bool Valido() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  void Fecha();

 private:
  int fd_ = -1;
};

}  // namespace plataforma
