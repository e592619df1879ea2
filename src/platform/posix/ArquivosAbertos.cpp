// Files and directories held open on Linux: a request read through the descriptor it was judged by,
// and status and response files made in the output directory through its own descriptor.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/Arquivos.h"
#include "platform/posix/EscreveTudo.h"

namespace plataforma {

std::FILE* ArquivoAberto::Entrega() {
  if (!Aberto()) return nullptr;
  const int fd = static_cast<int>(alca_);
  alca_ = SEM_ALCA;
  std::FILE* f = ::lseek(fd, 0, SEEK_SET) == 0 ? ::fdopen(fd, "r") : nullptr;
  if (f == nullptr) ::close(fd);
  return f;
}

void ArquivoAberto::Fecha() {
  if (!Aberto()) return;
  ::close(static_cast<int>(alca_));
  alca_ = SEM_ALCA;
}

namespace {

// Removes whatever stands under nome (never a directory) and tells what it was.
Pasta::Anterior RemoveAnterior(int dfd, const char* nome) {
  struct stat st;
  if (::fstatat(dfd, nome, &st, AT_SYMLINK_NOFOLLOW) != 0) return Pasta::Anterior::Nada;
  ::unlinkat(dfd, nome, 0);
  return S_ISREG(st.st_mode) ? Pasta::Anterior::Arquivo : Pasta::Anterior::Outro;
}

// Tries to make a new name this many times when another process keeps putting something there.
constexpr int TENTATIVAS_CRIACAO = 3;

}  // namespace

bool Pasta::Abre(const char* caminho, int& erro) {
  Fecha();
  erro = 0;
  const char* dir = caminho != nullptr && *caminho != '\0' ? caminho : ".";
  int fd = ::open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A directory this user may search and write but not list is still usable by name; it just
  // cannot be flushed.
  if (fd < 0 && errno == EACCES) fd = ::open(dir, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    erro = errno;
    return false;
  }
  alca_ = fd;
  caminho_ = dir;
  return true;
}

void Pasta::Fecha() {
  if (alca_ < 0) return;
  ::close(static_cast<int>(alca_));
  alca_ = -1;
  caminho_.clear();
}

bool Pasta::GravaNovo(const char* nome, const void* dados, std::size_t tamanho, bool duravel, int& erro,
                      Anterior& anterior) {
  erro = 0;
  anterior = Anterior::Nada;
  if (alca_ < 0) {
    erro = EBADF;
    return false;
  }
  const int dfd = static_cast<int>(alca_);
  int fd = -1;
  for (int i = 0; i < TENTATIVAS_CRIACAO && fd < 0; ++i) {
    const Anterior achado = RemoveAnterior(dfd, nome);
    if (anterior != Anterior::Outro) anterior = achado;
    fd = ::openat(dfd, nome, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) erro = errno;
    if (fd < 0 && erro != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = EscreveTudo(fd, dados, tamanho);
  if (ok && duravel) ok = ::fsync(fd) == 0;
  erro = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    erro = errno;
  }
  return ok;
}

bool Pasta::Renomeia(const char* de, const char* para) {
  return alca_ >= 0 && ::renameat(static_cast<int>(alca_), de, static_cast<int>(alca_), para) == 0;
}

ResultadoApaga Pasta::Apaga(const char* nome) {
  if (alca_ < 0) return ResultadoApaga::Falhou;
  if (::unlinkat(static_cast<int>(alca_), nome, 0) == 0) return ResultadoApaga::Apagado;
  return errno == ENOENT ? ResultadoApaga::NaoExiste : ResultadoApaga::Falhou;
}

bool Pasta::Sincroniza() { return alca_ >= 0 && ::fsync(static_cast<int>(alca_)) == 0; }

}  // namespace plataforma
