// The process-wide log directory, replaced by the configuration load and read for every line.
#include <cstdio>
#include <cstring>

#include "comum/Limites.h"
#include "comum/Mutex.h"
#include "log/GravaLog.h"

namespace zelp_log {

namespace {
// Fixed storage with a trivial destructor, so a worker that logs while the process ends never
// touches a destroyed object; its own small lock keeps a line from seeing half of a new value.
char dirLog[TAM_CAMINHO];

Mutex& TravaDirLog() {
  static Mutex trava;
  return trava;
}
}  // namespace

void DefineDirLog(const char* dir) {
  MutexLocker travado(TravaDirLog());
  std::snprintf(dirLog, sizeof dirLog, "%s", dir ? dir : "");
}

void CopiaDirLog(char* destino, unsigned long tamanho) {
  if (destino == nullptr || tamanho == 0) return;
  MutexLocker travado(TravaDirLog());
  std::snprintf(destino, tamanho, "%s", dirLog);
}

}  // namespace zelp_log
