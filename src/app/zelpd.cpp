// The gateway without a window, for servers and service managers: every line the window would show
// goes to standard output; SIGTERM or SIGINT stop it in order, a fatal service error ends it with 1
// (78 for a configuration that names no host or no establishment file). It tells systemd how it is
// doing when run by it (on Windows it runs under the service control manager, ZelpdPlataforma.h),
// --verifica checks a configuration without serving, and --resumo counts a day's transaction journal.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/ZelpdPlataforma.h"
#include "catalogo/Catalogo.h"
#include "comum/Limites.h"
#include "config/TX.h"
#include "config/ValoresConfig.h"
#include "log/CamposDiario.h"
#include "log/GravaLog.h"
#include "log/PrioridadeDiario.h"
#include "platform/Arquivos.h"
#include "platform/Relogio.h"
#include "platform/Sinais.h"
#include "platform/Servico.h"
#include "service/IniciaWorker.h"
#include "service/LimiteTransacoes.h"
#include "service/ProtegeGateway.h"
#include "service/TThreadServer.h"
#include "verifica/ResumoDiario.h"
#include "verifica/VerificaConfiguracao.h"

namespace {

using plataforma::servico::FluxoPadrao;

constexpr const char* USO =
    "Usage: zelpd [-C DIR] [--verifica [--conecta] | --resumo [YYYY-MM-DD]] | -h | --help | --version\n";

constexpr const char* AJUDA =
    "\n"
    "Runs the ZELP transaction gateway without a window. The file zelp.ini in the working\n"
    "directory is the whole configuration: input and output directories, log directory, host\n"
    "addresses and establishment files.\n"
    "\n"
    "  -C DIR      change to DIR before anything else (zelp.ini and every relative path in it\n"
    "              are then read from DIR); may be given more than once, as for make and git\n"
    "  --verifica  read zelp.ini as the service does, print the settings in force and what is\n"
    "              wrong with them, and exit: 0 when the service would start and serve, 1\n"
    "              otherwise; it claims no file, sends no message and writes no log line\n"
    "  --conecta   with --verifica: also try one connection to every host address and print\n"
    "              the result and the time it took\n"
    "  --resumo [YYYY-MM-DD]\n"
    "              print the counts of that day's transaction journal (today without a date),\n"
    "              by outcome and by transaction code: the file transacoes-YYYY-MM-DD.csv in the\n"
    "              log folder of zelp.ini; 0 when it was read, 1 when there is none to read\n"
    "  -h, --help  print this help and exit\n"
    "  --version   print the gateway's banner and exit\n"
    "\n"
    "Every line the gateway's window would show is written to standard output; under systemd\n"
    "(JOURNAL_STREAM set) each line carries its journal priority (<3> fatal error, <4> alarm,\n"
    "<6> information), and the service reports its readiness, status and watchdog keep-alive.\n"
    "Each finished transaction is a line of the day's journal transacoes-YYYY-MM-DD.csv in the\n"
    "log folder, and under systemd also a journal record with the fields ZELP_NUMBER, ZELP_CODE,\n"
    "ZELP_RESPONSE, ZELP_OUTCOME and the others of the line (journalctl -u zelpd\n"
    "ZELP_NUMBER=00000704 finds sale 704).\n"
    "\n"
    "The service waits 2 s after the start before its first look at zelp.ini and the folders.\n"
    "SIGTERM or SIGINT stop it in order: no new request is claimed, the transactions already\n"
    "claimed run to their end (each bounded by its time-outs) and publish their responses, then it\n"
    "exits with status 0. A second SIGTERM or SIGINT ends it at once, with status 1 when\n"
    "transactions were still running. After a fatal service error it waits 10 s, lets the running\n"
    "transactions end and exits with status 1, or 78 when zelp.ini names no host address or no\n"
    "establishment file at the start (a restart would not mend it). A reload never ends it: such\n"
    "a file saved while it runs is refused and logged, and the values in force stay. Bad usage\n"
    "exits with status 2.\n";

// Exit status of a fatal error of the configuration (sysexits' EX_CONFIG): the unit does not
// restart on it, so a fresh install whose zelp.ini names no host yet waits for its administrator.
constexpr int STATUS_CONFIGURACAO = 78;
constexpr int STATUS_USO = 2;

// The first stop signal (SIGTERM or SIGINT) asks for an orderly stop, the second for an immediate one.
int SinaisRecebidos() { return plataforma::SinaisContados(); }

// Static: the service thread may still be setting it while the process ends.
std::atomic<bool> servicoEncerrado{false};
std::atomic<bool> pararServico{false};
// The fatal text the service reported, a constant text; null while there is none.
std::atomic<const char*> textoFatal{nullptr};
// Standard output is the journal: lines carry their priority.
bool saidaNoDiario = false;

constexpr std::uint32_t PASSO_ESPERA = 50;  // ms between two looks at the flags while stopping
// While serving, the main thread wakes at once for a signal, and once a second for the end of the
// service, as the window's timer does: an idle gateway costs next to nothing.
constexpr std::uint32_t PASSO_SERVINDO = 1000;

bool ParadaImediata() { return SinaisRecebidos() >= 2; }

// One window line, one output line: line breaks inside a message would split it.
void EscreveLinha(const char* linha) {
  std::string texto(linha != nullptr ? linha : "");
  for (char& c : texto) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  if (saidaNoDiario) {
    std::fprintf(stdout, "<%d>%s\n", PrioridadeDiario(linha, textoFatal.load()), texto.c_str());
  } else {
    std::fprintf(stdout, "%s\n", texto.c_str());
  }
  std::fflush(stdout);
}

// A finished transaction, under systemd: one journal entry with its fields, which journalctl selects
// a sale by. Outside it the transaction journal in the log folder is the record.
void EscreveRegistro(const char* mensagem, const std::vector<std::string>& campos) {
  if (saidaNoDiario) plataforma::servico::RegistraNoDiario(mensagem, PRIORIDADE_INFORMACAO, campos);
}

// The watchdog's keep-alive, at most every quarter of its time-out: the service loop passes every
// 200 ms or sooner, and a datagram per pass would be wasted.
std::uint32_t prazoVigia = 0;
std::atomic<std::uint32_t> ultimaAlimentacao{0};

void AlimentaVigia() {
  if (prazoVigia == 0) return;
  const std::uint32_t agora = plataforma::Ticks();
  if (agora - ultimaAlimentacao.load() < prazoVigia / 4) return;
  ultimaAlimentacao.store(agora);
  plataforma::servico::AlimentaVigia();
}

// The line of systemctl status: sent again only when it changed.
void InformaEstado(const char* situacao) {
  static std::string ultimo;
  char texto[160];
  std::snprintf(texto, sizeof texto, "%s: %lld transaction(s) served, %d in flight (at most %d at once)", situacao,
                TransacoesAtendidas(), WorkersEmExecucao(), TransacoesPermitidas());
  if (ultimo == texto) return;
  ultimo = texto;
  plataforma::servico::Estado(texto);
}

// Static destructors are not run: detached workers may still be using what they would destroy.
// That also skips the leak check of an AddressSanitizer build, so it is asked for here.
[[noreturn]] void Termina(int status) {
  std::fflush(stdout);
#if defined(__SANITIZE_ADDRESS__)
  __lsan_do_leak_check();
#endif
  std::fflush(stderr);
  plataforma::servico::Encerrado(status, textoFatal.load());
  std::_Exit(status);
}

// Once the service thread has ended, nothing claims a request any more: the workers still running
// carry the requests already claimed, each bounded by its connect and answer time-outs. True when
// they all ended; false when a second signal cut the wait short.
bool AguardaWorkers(const char* situacao) {
  const int emCurso = WorkersEmExecucao();
  if (emCurso > 0) GravaLog("*** Parada: aguardando %d transacao(oes) em curso", emCurso);
  while (WorkersEmExecucao() > 0) {
    if (ParadaImediata()) {
      GravaLog("*** Parada imediata: %d transacao(oes) em curso interrompida(s)", WorkersEmExecucao());
      return false;
    }
    // The loop has ended on purpose: the watchdog is kept fed while the last answers go out.
    AlimentaVigia();
    InformaEstado(situacao);
    plataforma::Dorme(PASSO_ESPERA);
  }
  return true;
}

struct LinhaDeComando {
  std::vector<std::string> diretorios;  // -C, in order
  bool verifica = false;
  bool conecta = false;
  bool resumo = false;
  const char* dataResumo = nullptr;  // YYYY-MM-DD; null: today
  const char* acao = nullptr;  // the platform's own option, if one was given (Windows: the service's)
};

[[noreturn]] void ErroDeUso(const char* formato, const char* argumento) {
  std::fprintf(stderr, "zelpd: ");
  std::fprintf(stderr, formato, argumento);
  std::fprintf(stderr, "\n%s%sTry 'zelpd --help' for more information.\n", USO, zelpd::USO_PLATAFORMA);
  std::exit(STATUS_USO);
}

LinhaDeComando LeLinhaDeComando(int argc, char** argv) {
  LinhaDeComando linha;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0) {
      std::fputs(USO, stdout);
      std::fputs(zelpd::USO_PLATAFORMA, stdout);
      std::fputs(AJUDA, stdout);
      std::fputs(zelpd::AJUDA_PLATAFORMA, stdout);
      std::exit(0);
    }
    if (std::strcmp(a, "--version") == 0) {
      std::printf("%s\n", BANNER_ZELP);
      std::exit(0);
    }
    if (std::strcmp(a, "--verifica") == 0) {
      linha.verifica = true;
    } else if (std::strcmp(a, "--conecta") == 0) {
      linha.conecta = true;
    } else if (std::strcmp(a, "--resumo") == 0) {
      linha.resumo = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') {
        int ano, mes, dia;
        if (!LeData(argv[++i], ano, mes, dia)) ErroDeUso("invalid date '%s': expected YYYY-MM-DD", argv[i]);
        linha.dataResumo = argv[i];
      }
    } else if (std::strcmp(a, "-C") == 0) {
      if (i + 1 >= argc) ErroDeUso("option '%s' needs a directory", a);
      linha.diretorios.push_back(argv[++i]);
    } else if (std::strncmp(a, "-C", 2) == 0) {
      linha.diretorios.push_back(a + 2);
    } else if (zelpd::OpcaoPlataforma(a)) {
      if (linha.acao != nullptr) ErroDeUso("%s goes alone (with -C only)", a);
      linha.acao = a;
    } else if (a[0] == '-') {
      ErroDeUso("unknown option '%s'", a);
    } else {
      ErroDeUso("unexpected argument '%s'", a);
    }
  }
  if (linha.conecta && !linha.verifica) ErroDeUso("%s goes only with --verifica", "--conecta");
  if (linha.resumo && linha.verifica) ErroDeUso("%s does not go with --verifica", "--resumo");
  if (linha.acao != nullptr && (linha.verifica || linha.resumo)) ErroDeUso("%s goes alone (with -C only)", linha.acao);
  return linha;
}

void MudaDiretorios(const LinhaDeComando& linha) {
  for (const std::string& d : linha.diretorios) {
    int erro = 0;
    if (!plataforma::MudaDiretorio(d.c_str(), erro)) {
      std::fprintf(stderr, "zelpd: cannot change to directory '%s': %s\n", d.c_str(), plataforma::TextoErro(erro).c_str());
      std::exit(STATUS_USO);
    }
  }
}

// The service's own texts and waits stay as they are (the load of the defaults ends it two seconds
// from now); this line says at once which file was looked for, and where.
void AvisaSemIni() {
  plataforma::HoraArquivo hora;
  if (plataforma::HoraEscrita(CAMINHO_INI, hora)) return;
  const std::string pasta = plataforma::DiretorioAtual();
  const char* prefixo = plataforma::servico::SaidaNoDiario(FluxoPadrao::Erro) ? "<4>" : "";
  std::fprintf(stderr,
               "%szelpd: cannot read %s/zelp.ini (working directory %s): every setting takes its default, and "
               "without a host address the service stops\n",
               prefixo, pasta.c_str(), pasta.c_str());
  std::fflush(stderr);
}

bool ErroDeConfiguracao(const char* texto) {
  return texto != nullptr && (std::strcmp(texto, ERRO_SEM_URL) == 0 || std::strcmp(texto, ERRO_SEM_PAR) == 0);
}

}  // namespace

// Serves until a stop request or a fatal error, and ends the process with the exit status. Without
// saidaPadrao (a Windows service, which has no console) the window's lines go to the day's log only.
int Serve(bool saidaPadrao);

int main(int argc, char** argv) {
  ProtegeGateway("zelpd");
  const LinhaDeComando linha = LeLinhaDeComando(argc, argv);
  MudaDiretorios(linha);
  if (linha.verifica) return VerificaConfiguracao(CAMINHO_INI, linha.conecta);
  if (linha.resumo) return ResumoDiario(CAMINHO_INI, linha.dataResumo, stdout, stderr);
  if (linha.acao != nullptr) return zelpd::ExecutaOpcaoPlataforma(linha.acao, &Serve);
  return Serve(true);
}

int Serve(bool saidaPadrao) {
  // Before any thread exists: the map is read without a lock afterwards.
  MontaMapaCodigos();
  plataforma::ContaSinaisDeParada();
  // A file that may grow no more (a size limit on the process) must fail the write that hits the
  // limit, which the gateway reports and survives, instead of killing the process.
  plataforma::ToleraLimiteDeTamanho();
  saidaNoDiario = plataforma::servico::SaidaNoDiario(FluxoPadrao::Saida);
  prazoVigia = plataforma::servico::PrazoVigia();
  if (saidaPadrao) zelp_log::DefineSaidaJanela(&EscreveLinha);
  zelp_log::DefineSaidaRegistro(&EscreveRegistro);
  AvisaSemIni();

  OpcoesServico opcoes;
  opcoes.parar = &pararServico;
  opcoes.aoEntradaOcupada = [](const std::string& dir) {
    std::fprintf(stderr,
                 "%szelpd: another gateway already serves the input folder %s; this one claims nothing there "
                 "until that one stops\n",
                 plataforma::servico::SaidaNoDiario(FluxoPadrao::Erro) ? "<4>" : "", dir.c_str());
  };
  opcoes.aoFicarPronto = [] {
    InformaEstado("Serving");
    plataforma::servico::Pronto();
  };
  opcoes.aCadaPasso = [] {
    AlimentaVigia();
    InformaEstado("Serving");
  };
  opcoes.aoFalhar = [](const char* texto) {
    textoFatal.store(texto);
    std::string estado = std::string("Fatal error: ") + texto;
    for (char& c : estado) {
      if (c == '\n') c = ' ';
    }
    plataforma::servico::Estado(estado.c_str());
  };
  TThreadServer servico(servicoEncerrado, opcoes);

  while (SinaisRecebidos() == 0 && !servicoEncerrado.load()) plataforma::EsperaSinal(PASSO_SERVINDO);

  const bool pedida = SinaisRecebidos() > 0;
  if (pedida) {
    plataforma::servico::Parando();
    // The service thread finishes the pass it is in, so that a request it has just claimed still
    // reaches its worker, and claims nothing after it.
    pararServico.store(true);
    while (!servicoEncerrado.load()) {
      if (ParadaImediata()) Termina(1);
      plataforma::Dorme(PASSO_ESPERA);
    }
  }
  // After a fatal error too, the requests already claimed get their responses.
  if (!AguardaWorkers(pedida ? "Stopping" : "Ending after a fatal error")) Termina(1);
  if (pedida) {
    GravaLog("*** Servico parado");
    Termina(0);
  }
  Termina(ErroDeConfiguracao(textoFatal.load()) ? STATUS_CONFIGURACAO : 1);
}
