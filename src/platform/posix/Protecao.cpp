// Process protection, memory wiping and others' access on Linux.
#include "platform/Protecao.h"

#include <sys/prctl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace plataforma {

bool ProtegeProcesso(bool depuravel, int& erro) {
  erro = 0;
  // Group members (the point of sale) read status, response and log files; others get nothing.
  ::umask(027);
  // Not dumpable: no core file, and /proc/<pid>/mem and ptrace are closed to the user's other processes.
  if (!depuravel && ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) != 0) {
    erro = errno;
    return false;
  }
  return true;
}

void ApagaMemoria(void* dados, std::size_t tamanho) noexcept {
  if (dados != nullptr && tamanho > 0) ::explicit_bzero(dados, tamanho);
}

bool ConsultaAcessoDeOutros(const char* caminho, AcessoDeOutros& acesso) {
  struct stat st;
  if (caminho == nullptr || ::stat(caminho, &st) != 0) return false;
  acesso.leitura = (st.st_mode & S_IROTH) != 0;
  acesso.escrita = (st.st_mode & S_IWOTH) != 0;
  return true;
}

}  // namespace plataforma
