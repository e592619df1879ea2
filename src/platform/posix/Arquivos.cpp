// Files and directories on Linux.
#include "platform/Arquivos.h"
#include "platform/posix/EscreveTudo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

namespace plataforma {

namespace {

bool TerminaComSemCaixa(const std::string& nome, const std::string& sufixo) {
  if (nome.size() < sufixo.size()) return false;
  for (std::size_t i = 0; i < sufixo.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(nome[nome.size() - sufixo.size() + i]);
    unsigned char b = static_cast<unsigned char>(sufixo[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> ListaArquivos(const char* mascara) {
  std::vector<std::string> nomes;
  std::string m(mascara ? mascara : "");
  std::string dir, padrao;
  auto barra = m.rfind('/');
  if (barra == std::string::npos) {
    dir = ".";
    padrao = m;
  } else {
    dir = barra == 0 ? "/" : m.substr(0, barra);
    padrao = m.substr(barra + 1);
  }
  // Masks are "*" followed by a suffix such as ".ENV"; a bare "*" takes every name.
  if (padrao.empty() || padrao[0] != '*') return nomes;
  std::string sufixo = padrao.substr(1);

  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return nomes;
  int dfd = ::dirfd(d);
  while (dirent* e = ::readdir(d)) {
    std::string nome = e->d_name;
    if (nome.empty() || nome[0] == '.') continue;
    if (!TerminaComSemCaixa(nome, sufixo)) continue;
    struct stat st;
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode)) continue;
    nomes.push_back(std::move(nome));
  }
  ::closedir(d);
  return nomes;
}

ResultadoApaga Apaga(const char* caminho) {
  if (::unlink(caminho) == 0) return ResultadoApaga::Apagado;
  return errno == ENOENT ? ResultadoApaga::NaoExiste : ResultadoApaga::Falhou;
}

bool Renomeia(const char* de, const char* para) { return ::rename(de, para) == 0; }

bool HoraEscrita(const char* caminho, HoraArquivo& hora) {
  struct stat st;
  if (::stat(caminho, &st) != 0) return false;
  int fd = ::open(caminho, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // the file must be readable, as at a load
  ::close(fd);
  hora.baixa = static_cast<std::uint32_t>(st.st_mtim.tv_nsec);
  hora.alta = static_cast<std::uint32_t>(st.st_mtim.tv_sec);
  return true;
}

bool ExisteDiretorio(const char* caminho) {
  struct stat st;
  return ::stat(caminho, &st) == 0 && S_ISDIR(st.st_mode);
}

bool DiretorioGravavel(const char* caminho) {
  return ExisteDiretorio(caminho) && ::access(caminho, W_OK | X_OK | R_OK) == 0;
}

std::string DiretorioAtual() {
  char buffer[4096];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return std::string();
  return buffer;
}

bool MudaDiretorio(const char* caminho, int& erro) {
  erro = 0;
  if (::chdir(caminho) == 0) return true;
  erro = errno;
  return false;
}

bool SincronizaDiretorio(const char* diretorio) {
  int fd = ::open(diretorio && *diretorio ? diretorio : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool GravaArquivoInteiro(const char* caminho, const void* dados, std::size_t tamanho, bool duravel, int* erro,
                         Leitores leitores) {
  const mode_t modo = leitores == Leitores::Todos ? 0644 : 0640;
  int fd = ::open(caminho, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, modo);
  if (fd < 0) {
    if (erro != nullptr) *erro = errno;
    return false;
  }
  bool ok = true;
  // An older file of that name keeps its own mode through the truncation; and the umask may have
  // taken away the group's read right, which this file's readers need.
  struct stat st;
  if (leitores == Leitores::GrupoSempre) {
    ok = ::fchmod(fd, 0640) == 0;
  } else if (leitores == Leitores::Grupo && ::fstat(fd, &st) == 0 && (st.st_mode & 07777 & ~0640) != 0) {
    ok = ::fchmod(fd, st.st_mode & 0640) == 0;
  }
  ok = ok && EscreveTudo(fd, dados, tamanho);
  if (ok && duravel) ok = ::fsync(fd) == 0;
  int codigo = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    codigo = errno;
  }
  if (erro != nullptr) *erro = codigo;
  return ok;
}

std::string TextoErro(int erro) {
  char texto[128];
  // The GNU strerror_r returns its text, which need not be the buffer.
  return ::strerror_r(erro, texto, sizeof texto);
}

bool AcrescentaArquivo(const char* caminho, const void* dados, std::size_t tamanho, bool& abriu) {
  // Not waiting: a FIFO put under the name would otherwise hold the open until someone reads it.
  int fd = ::open(caminho, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    fd = -1;
  }
  abriu = fd >= 0;
  if (!abriu) return false;
  bool ok = EscreveTudo(fd, dados, tamanho);
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool LeArquivoInteiro(const char* caminho, std::string& conteudo, std::size_t limite) {
  conteudo.clear();
  int fd = ::open(caminho, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char bloco[4096];
  bool ok = true;
  while (conteudo.size() < limite) {
    std::size_t quer = std::min(sizeof bloco, limite - conteudo.size());
    ssize_t n = ::read(fd, bloco, quer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    conteudo.append(bloco, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ok;
}

namespace {

// A lease broken by another process's open is announced with SIGIO, whose default action ends the
// process. The lease is held only for an instant, so the signal carries nothing we need.
void IgnoraAvisoDeLease() {
  static std::once_flag feito;
  std::call_once(feito, [] {
    struct sigaction atual {};
    if (::sigaction(SIGIO, nullptr, &atual) == 0 && atual.sa_handler == SIG_DFL) ::signal(SIGIO, SIG_IGN);
  });
}

void CopiaEstado(const struct stat& st, SondaArquivo& s) {
  s.existe = S_ISREG(st.st_mode);
  s.tamanho = static_cast<std::uint64_t>(st.st_size);
  s.hora.baixa = static_cast<std::uint32_t>(st.st_mtim.tv_nsec);
  s.hora.alta = static_cast<std::uint32_t>(st.st_mtim.tv_sec);
}

}  // namespace

SondaArquivo SondaEscrita(const char* caminho, std::size_t limite) {
  IgnoraAvisoDeLease();
  SondaArquivo s;
  // Non-blocking: a file under someone's write lease answers at once instead of stalling the scan,
  // and so does a FIFO. A symbolic link is not followed.
  int fd = ::open(caminho, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int erro = errno;
    if (erro == EWOULDBLOCK) {
      s.existe = true;
      s.escrita = EscritaArquivo::EmEscrita;
      return s;
    }
    // A link (refused by O_NOFOLLOW) or a socket: never anything to read, whatever stands there now.
    if (erro == ELOOP || erro == ENXIO) {
      s.especial = true;
      return s;
    }
    // Not opened: the caller can still judge by its size and time. Only a refused permission
    // lasts; anything else (no descriptor left, say) may pass, and the file is tried again later.
    struct stat st;
    if (::lstat(caminho, &st) == 0) {
      CopiaEstado(st, s);
      if (!s.existe) {
        s.especial = true;
      } else if (erro == EACCES || erro == EPERM) {
        s.erro = erro;
      }
    }
    return s;
  }
  ArquivoAberto dono(fd);
  struct stat st;
  if (::fstat(fd, &st) != 0) return s;
  CopiaEstado(st, s);
  if (!s.existe) {
    s.especial = true;
    return s;
  }
  // A regular file: reading it never waits, and the stream made of it later must not see EAGAIN.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    s.escrita = EscritaArquivo::Livre;
  } else if (errno == EAGAIN || errno == EBUSY) {
    s.escrita = EscritaArquivo::EmEscrita;
    return s;
  } else {
    // No lease right (a file of another user), or no leases on this file system.
    s.conteudo.resize(std::min<std::uint64_t>(limite, s.tamanho));
    std::size_t lido = 0;
    while (lido < s.conteudo.size()) {
      ssize_t n = ::pread(fd, s.conteudo.data() + lido, s.conteudo.size() - lido, static_cast<off_t>(lido));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      lido += static_cast<std::size_t>(n);
    }
    s.conteudo.resize(lido);
  }
  s.arquivo = std::move(dono);
  return s;
}

struct TravaDiretorio::Estado {
  int fd;  // the directory, open for as long as the lock is held
};

TravaDiretorio::TravaDiretorio() = default;
TravaDiretorio::~TravaDiretorio() { Libera(); }

TravaDiretorio::Resultado TravaDiretorio::Trava(const char* diretorio, int& erro) {
  Libera();
  int fd = ::open(diretorio && *diretorio ? diretorio : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    erro = errno;
    return erro == ENOENT || erro == ENOTDIR ? Resultado::NaoExiste : Resultado::Falhou;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    erro = errno;
    ::close(fd);
    return erro == EWOULDBLOCK ? Resultado::Ocupado : Resultado::Falhou;
  }
  estado_ = std::make_unique<Estado>(Estado{fd});
  return Resultado::Travado;
}

bool TravaDiretorio::Vale(const char* diretorio) const {
  if (!estado_) return false;
  struct stat meu, agora;
  if (::fstat(estado_->fd, &meu) != 0 || ::stat(diretorio && *diretorio ? diretorio : ".", &agora) != 0) return false;
  return meu.st_dev == agora.st_dev && meu.st_ino == agora.st_ino;
}

void TravaDiretorio::Libera() {
  if (!estado_) return;
  ::close(estado_->fd);  // closing the only descriptor releases the lock
  estado_.reset();
}

}  // namespace plataforma
