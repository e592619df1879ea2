// The gateway without a window, for servers and service managers: every line the window would show
// goes to standard output; SIGTERM or SIGINT stop it in order, a fatal service error ends it with 1.
#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "catalogo/Catalogo.h"
#include "comum/Limites.h"
#include "log/GravaLog.h"
#include "platform/Relogio.h"
#include "service/IniciaWorker.h"
#include "service/TThreadServer.h"

namespace {

constexpr const char* AJUDA =
    "Usage: zelpd [--help | --version]\n"
    "\n"
    "Runs the ZELP transaction gateway without a window. The file zelp.ini in the working\n"
    "directory is the whole configuration: input and output directories, log directory, host\n"
    "addresses and establishment files. No other option or argument is read.\n"
    "\n"
    "Every line the gateway's window would show is written to standard output.\n"
    "\n"
    "SIGTERM or SIGINT stop it in order: no new request is claimed, the transactions already\n"
    "claimed run to their end (each bounded by its time-outs) and publish their responses, then it\n"
    "exits with status 0. A second SIGTERM or SIGINT ends it at once, with status 1 when\n"
    "transactions were still running. After a fatal service error (for example a zelp.ini\n"
    "without any host address) it lets the running transactions end and exits with status 1.\n";

// A signal handler may touch nothing but lock-free atomics. The first stop signal asks for an
// orderly stop, the second for an immediate one.
std::atomic<int> sinaisRecebidos{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Static: the service thread may still be setting it while the process ends.
std::atomic<bool> servicoEncerrado{false};
std::atomic<bool> pararServico{false};

constexpr std::uint32_t PASSO_ESPERA = 50;  // ms between two looks at the flags

void AoSinal(int) { sinaisRecebidos.fetch_add(1); }

bool ParadaImediata() { return sinaisRecebidos.load() >= 2; }

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
// That also skips the leak check of an AddressSanitizer build, so it is asked for here.
[[noreturn]] void Termina(int status) {
  std::fflush(stdout);
#if defined(__SANITIZE_ADDRESS__)
  __lsan_do_leak_check();
#endif
  std::fflush(stderr);
  std::_Exit(status);
}

// Once the service thread has ended, nothing claims a request any more: the workers still running
// carry the requests already claimed, each bounded by its connect and answer time-outs. True when
// they all ended; false when a second signal cut the wait short.
bool AguardaWorkers() {
  const int emCurso = WorkersEmExecucao();
  if (emCurso > 0) GravaLog("*** Parada: aguardando %d transacao(oes) em curso", emCurso);
  while (WorkersEmExecucao() > 0) {
    if (ParadaImediata()) {
      GravaLog("*** Parada imediata: %d transacao(oes) em curso interrompida(s)", WorkersEmExecucao());
      return false;
    }
    plataforma::Dorme(PASSO_ESPERA);
  }
  return true;
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
  // A file that may grow no more (a size limit on the process) must fail the write that hits the
  // limit, which the gateway reports and survives, instead of killing the process.
  std::signal(SIGXFSZ, SIG_IGN);
  zelp_log::DefineSaidaJanela(&EscreveLinha);

  OpcoesServico opcoes;
  opcoes.parar = &pararServico;
  opcoes.aoEntradaOcupada = [](const std::string& dir) {
    std::fprintf(stderr,
                 "zelpd: another gateway already serves the input folder %s; this one claims nothing there "
                 "until that one stops\n",
                 dir.c_str());
  };
  TThreadServer servico(servicoEncerrado, opcoes);

  while (sinaisRecebidos.load() == 0 && !servicoEncerrado.load()) plataforma::Dorme(PASSO_ESPERA);

  const bool pedida = sinaisRecebidos.load() > 0;
  if (pedida) {
    // The service thread finishes the pass it is in, so that a request it has just claimed still
    // reaches its worker, and claims nothing after it.
    pararServico.store(true);
    while (!servicoEncerrado.load()) {
      if (ParadaImediata()) Termina(1);
      plataforma::Dorme(PASSO_ESPERA);
    }
  }
  // After a fatal error too, the requests already claimed get their responses.
  if (!AguardaWorkers()) Termina(1);
  if (pedida) GravaLog("*** Servico parado");
  Termina(pedida ? 0 : 1);
}
