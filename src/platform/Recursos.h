// What the system lets this process hold at once.
#pragma once

#include <cstdint>

namespace plataforma {

// Raises the process's limit of open files (the descriptors its files, folders and sockets take)
// to the most the system lets it have, and returns the limit in force afterwards: how many it may
// hold open at once. 0 when the system sets no such limit on the process. On Windows, where handles
// are not so limited, it is the C runtime's count of open streams, through which requests are
// read: raised to the most the runtime allows.
std::uint64_t ElevaLimiteArquivos();

}  // namespace plataforma
