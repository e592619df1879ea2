// The gateway without a window, for servers and service managers: every line the window would show
// goes to standard output; SIGTERM or SIGINT stop it, a fatal service error ends it with status 1.
#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogo/Catalogo.h"
#include "comum/Limites.h"
#include "log/GravaLog.h"
#include "platform/Relogio.h"
#include "service/TThreadServer.h"

namespace {

constexpr const char* AJUDA =
    "Usage: zelpd [--help | --version]\n"
    "\n"
    "Runs the ZELP transaction gateway without a window. The file zelp.ini in the working\n"
    "directory is the whole configuration: input and output directories, log directory, host\n"
    "addresses and establishment files. No other option or argument is read.\n"
    "\n"
    "Every line the gateway's window would show is written to standard output. SIGTERM or\n"
    "SIGINT stop it with exit status 0; after a fatal service error (for example a zelp.ini\n"
    "without any host address) it exits with status 1.\n";

// A signal handler may touch nothing but lock-free atomics.
std::atomic<bool> sinalRecebido{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// Static: the service thread may still be setting it while the process ends.
std::atomic<bool> servicoEncerrado{false};
std::atomic<bool> pararServico{false};

constexpr std::uint32_t PASSO_ESPERA = 50;           // ms between two looks at the flags
constexpr std::uint32_t LIMITE_PARADA = 1000;        // ms granted to the service thread to stop

void AoSinal(int) { sinalRecebido.store(true); }

// One window line, one output line: line breaks inside a message would split it.
void EscreveLinha(const char* linha) {
  std::string texto(linha != nullptr ? linha : "");
  for (char& c : texto) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::fprintf(stdout, "%s\n", texto.c_str());
  std::fflush(stdout);
}

// Static destructors are not run: detached workers may still be using what they would destroy.
[[noreturn]] void Termina(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
      std::printf("%s\n", BANNER_ZELP);
      return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
      std::fputs(AJUDA, stdout);
      return 0;
    }
    std::fprintf(stderr, "zelpd: unknown argument '%s'\n\n", argv[1]);
    std::fputs(AJUDA, stderr);
    return 2;
  }

  // Before any thread exists: the map is read without a lock afterwards.
  MontaMapaCodigos();
  std::signal(SIGTERM, AoSinal);
  std::signal(SIGINT, AoSinal);
  zelp_log::DefineSaidaJanela(&EscreveLinha);

  OpcoesServico opcoes;
  opcoes.parar = &pararServico;
  TThreadServer servico(servicoEncerrado, opcoes);

  while (!sinalRecebido.load() && !servicoEncerrado.load()) plataforma::Dorme(PASSO_ESPERA);

  if (sinalRecebido.load()) {
    // Let the service thread finish the pass it is in, so that a request it has just claimed
    // still reaches its worker; workers already running end with the process.
    pararServico.store(true);
    for (std::uint32_t t = 0; t < LIMITE_PARADA && !servicoEncerrado.load(); t += PASSO_ESPERA) {
      plataforma::Dorme(PASSO_ESPERA);
    }
    Termina(0);
  }
  Termina(1);
}
