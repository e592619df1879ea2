// The open-file limit on Linux: the soft RLIMIT_NOFILE raised to the hard one, which an unprivileged
// process may do (the usual soft limit of 1,024 sits far below a hard one of 524,288 under systemd).
#include "platform/Recursos.h"

#include <sys/resource.h>
#include <unistd.h>

namespace plataforma {

std::uint64_t ElevaLimiteArquivos() {
  rlimit atual{};
  if (::getrlimit(RLIMIT_NOFILE, &atual) != 0) {
    const long aberto = ::sysconf(_SC_OPEN_MAX);
    return aberto > 0 ? static_cast<std::uint64_t>(aberto) : 0;
  }
  if (atual.rlim_cur != atual.rlim_max) {
    // An unlimited hard limit is refused as a soft one by Linux (nr_open caps it): the soft stays.
    const rlimit novo{atual.rlim_max, atual.rlim_max};
    if (::setrlimit(RLIMIT_NOFILE, &novo) == 0) atual = novo;
  }
  return atual.rlim_cur == RLIM_INFINITY ? 0 : static_cast<std::uint64_t>(atual.rlim_cur);
}

}  // namespace plataforma
