// The open-file limit on Windows: handles have no limit of their own worth the name, but requests are
// read through C runtime streams, and the runtime counts those (512 at start): the count is raised to
// the most the runtime allows (2,048 in msvcrt.dll, 8,192 in the universal runtime).
#include "platform/Recursos.h"

#include <cstdio>
#include <initializer_list>

namespace plataforma {

std::uint64_t ElevaLimiteArquivos() {
  for (const int quantos : {8192, 2048}) {
    if (::_setmaxstdio(quantos) != -1) break;
  }
  const int limite = ::_getmaxstdio();
  return limite > 0 ? static_cast<std::uint64_t>(limite) : 0;
}

}  // namespace plataforma
