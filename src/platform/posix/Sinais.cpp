// The self-pipe: the handler writes one byte, which ends the main thread's wait on the pipe.
#include "platform/Sinais.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace plataforma {

namespace {

std::atomic<int> contados{0};
static_assert(std::atomic<int>::is_always_lock_free);
int tubo[2] = {-1, -1};

// Only async-signal-safe calls: an atomic and a write that never blocks.
void AoSinal(int) {
  const int erro = errno;
  contados.fetch_add(1);
  if (tubo[1] >= 0) {
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(tubo[1], &c, 1);
  }
  errno = erro;
}

}  // namespace

void ContaSinaisDeParada() {
  if (tubo[0] < 0 && ::pipe2(tubo, O_CLOEXEC | O_NONBLOCK) != 0) tubo[0] = tubo[1] = -1;
  for (int s : {SIGTERM, SIGINT}) {
    struct sigaction acao {};
    acao.sa_handler = AoSinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    ::sigaction(s, &acao, nullptr);
  }
}

int SinaisContados() { return contados.load(); }

void EsperaSinal(std::uint32_t milissegundos) {
  if (tubo[0] < 0) {
    // No pipe: a plain sleep in short steps still notices the count soon enough.
    const int antes = contados.load();
    for (std::uint32_t dormido = 0; dormido < milissegundos && contados.load() == antes; dormido += 50) {
      ::usleep(50 * 1000);
    }
    return;
  }
  pollfd p{tubo[0], POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(milissegundos)) > 0) {
    char lixo[64];
    while (::read(tubo[0], lixo, sizeof lixo) > 0) {
    }
  }
}

void ToleraLimiteDeTamanho() { ::signal(SIGXFSZ, SIG_IGN); }

}  // namespace plataforma
