// inotify on the input directory, and the file systems on which it cannot be trusted.
#include "platform/EventosDiretorio.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Arquivos.h"

namespace plataforma {

namespace {

// File systems whose changes may be made where this kernel never sees them, so that inotify stays
// silent about them: network shares and user-space file systems.
struct SistemaRemoto {
  unsigned long tipo;
  const char* nome;
};
constexpr SistemaRemoto REMOTOS[] = {
    {0x6969, "NFS"},          {0x517B, "SMB"},     {0xFF534D42, "CIFS"}, {0xFE534D42, "SMB2"},
    {0x65735546, "FUSE"},     {0x73757245, "Coda"}, {0x5346414F, "AFS"},  {0x01021997, "9P"},
    {0x00C36400, "Ceph"},     {0x564C, "NCP"},      {0x01161970, "GFS2"}, {0x7461636F, "OCFS2"},
    {0x0BD00BD0, "Lustre"},
};

std::int64_t AgoraMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool TerminaEm(const char* nome, const char* sufixo) {
  const std::size_t n = std::strlen(nome), s = std::strlen(sufixo);
  if (n < s) return false;
  for (std::size_t i = 0; i < s; ++i) {
    char a = nome[n - s + i], b = sufixo[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

}  // namespace

struct EventosDiretorio::Estado {
  int fd = -1;     // the inotify instance
  int vigia = -1;  // its watch of the directory; -1 once the directory has gone
};

EventosDiretorio::EventosDiretorio() = default;
EventosDiretorio::~EventosDiretorio() { Para(); }

bool EventosDiretorio::Ativo() const { return estado_ && estado_->vigia >= 0; }

EventosDiretorio::Resultado EventosDiretorio::Vigia(const char* diretorio, std::string& motivo) {
  Para();
  const char* caminho = diretorio && *diretorio ? diretorio : ".";
  struct statfs fs {};
  if (::statfs(caminho, &fs) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Resultado::NaoExiste;
    motivo = TextoErro(errno);
    return Resultado::Indisponivel;
  }
  for (const SistemaRemoto& r : REMOTOS) {
    if (static_cast<unsigned long>(fs.f_type) == r.tipo) {
      motivo = std::string("file system ") + r.nome;
      return Resultado::Indisponivel;
    }
  }
  const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) {
    motivo = TextoErro(errno);
    return Resultado::Indisponivel;
  }
  estado_ = std::make_unique<Estado>();
  estado_->fd = fd;
  estado_->vigia = ::inotify_add_watch(fd, caminho, IN_MOVED_TO | IN_CLOSE_WRITE | IN_ONLYDIR);
  if (estado_->vigia < 0) {
    const int erro = errno;
    Para();
    if (erro == ENOENT || erro == ENOTDIR) return Resultado::NaoExiste;
    motivo = TextoErro(erro);
    return Resultado::Indisponivel;
  }
  return Resultado::Vigiando;
}

void EventosDiretorio::Para() {
  if (estado_) ::close(estado_->fd);  // the watch goes with its instance
  estado_.reset();
}

bool EventosDiretorio::Espera(std::uint32_t milissegundos, const char* sufixo) {
  if (!estado_) return false;
  int& vigia = estado_->vigia;
  const int fd = estado_->fd;
  const std::int64_t fim = AgoraMs() + milissegundos;
  bool veio = false;
  for (;;) {
    // Drain whatever is queued first: events of other names must not keep waking the wait.
    alignas(inotify_event) char bloco[4096];
    for (;;) {
      const ssize_t n = ::read(fd, bloco, sizeof bloco);
      if (n <= 0) break;
      for (ssize_t p = 0; p < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(bloco + p);
        if (e->mask & IN_Q_OVERFLOW) veio = true;
        if (e->mask & IN_IGNORED) vigia = -1;  // the directory is gone
        if (e->len > 0 && !(e->mask & IN_ISDIR) && TerminaEm(e->name, sufixo)) veio = true;
        p += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    }
    if (veio || vigia < 0) return veio;
    const std::int64_t resta = fim - AgoraMs();
    if (resta <= 0) return false;
    pollfd pf{fd, POLLIN, 0};
    const int r = ::poll(&pf, 1, static_cast<int>(resta));
    if (r < 0 && errno != EINTR) return false;
    if (r == 0) return false;
  }
}

}  // namespace plataforma
