// Between the platform's Windows file calls: writing a whole block to a handle, and telling an
// ordinary file on disk from anything else a name may stand for.
#pragma once

#include <algorithm>
#include <cstddef>

#include "platform/windows/SistemaWindows.h"

namespace plataforma::windows {

// Writes all of a block, looping on short writes (WriteFile takes at most 4 GB at once).
inline bool EscreveTudo(HANDLE h, const void* dados, std::size_t tamanho) {
  const char* p = static_cast<const char*>(dados);
  while (tamanho > 0) {
    const DWORD quer = static_cast<DWORD>(std::min<std::size_t>(tamanho, 1u << 30));
    DWORD escritos = 0;
    if (!::WriteFile(h, p, quer, &escritos, nullptr) || escritos == 0) return false;
    p += escritos;
    tamanho -= escritos;
  }
  return true;
}

// True when an open handle is an ordinary file on a disk: not a directory, not a reparse point
// opened as itself (a symbolic link, a junction: FILE_FLAG_OPEN_REPARSE_POINT), not a device, a
// pipe or a console. info receives what the system says of it; false also when it cannot say.
inline bool ArquivoComum(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
  if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info)) return false;
  constexpr DWORD OUTROS = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  return (info.dwFileAttributes & OUTROS) == 0;
}

}  // namespace plataforma::windows
