// Writing a whole block to a descriptor, shared by the file operations of the Linux platform layer.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace plataforma {

// Writes all of a block, retrying short writes and interruptions; false on an error.
inline bool EscreveTudo(int fd, const void* dados, std::size_t tamanho) {
  const char* p = static_cast<const char*>(dados);
  while (tamanho > 0) {
    ssize_t n = ::write(fd, p, tamanho);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    p += n;
    tamanho -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace plataforma
