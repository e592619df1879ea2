// The tests' view of Linux.
#include "apoio/SistemaTeste.h"

#include <dirent.h>

#include <cerrno>

const int ERRO_CONEXAO_RECUSADA = ECONNREFUSED;
const int ERRO_CONEXAO_EM_ANDAMENTO = EINPROGRESS;
const int ERRO_PASTA_INEXISTENTE = ENOENT;

bool SobWine() { return false; }

int ContaDescritores() {
  int n = 0;
  DIR* d = opendir("/proc/self/fd");
  if (d == nullptr) return -1;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] != '.') ++n;
  }
  closedir(d);
  return n - 1;  // the listing's own descriptor
}
