// The service control manager on Windows: zelpd --servico runs under its dispatcher, reports running,
// stop pending with its checkpoints, and stopped with the exit status as the service's exit code, and
// leaves its fatal error in the event log. Outside the manager every call does nothing.
#include "platform/Servico.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/Arquivos.h"
#include "platform/windows/GerenciadorServicos.h"
#include "platform/windows/Parada.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

namespace {

// The wait hint of a stop pending: the manager (net stop) waits this long for the next checkpoint.
constexpr DWORD PRAZO_PENDENTE = 10000;
// The message of the event-log entries in the program's message table: the entry's text itself.
constexpr DWORD EVENTO_TEXTO = 1;

std::atomic<bool> sobGerenciador{false};
const char* nomeServico = "";
int (*corpoServico)() = nullptr;

std::mutex travaEstado;
SERVICE_STATUS_HANDLE alcaEstado = nullptr;
SERVICE_STATUS estado{};

// Reports a state; a pending state advances its checkpoint at each report.
void Informa(DWORD atual, DWORD saida = NO_ERROR, DWORD saidaServico = 0) {
  std::lock_guard<std::mutex> trava(travaEstado);
  if (alcaEstado == nullptr) return;
  const bool pendente = atual == SERVICE_START_PENDING || atual == SERVICE_STOP_PENDING;
  estado.dwCheckPoint = pendente && estado.dwCurrentState == atual ? estado.dwCheckPoint + 1 : (pendente ? 1 : 0);
  estado.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  estado.dwCurrentState = atual;
  // A stop is asked for once: while it runs, and after, the manager refuses further controls.
  estado.dwControlsAccepted = atual == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  estado.dwWin32ExitCode = saida;
  estado.dwServiceSpecificExitCode = saidaServico;
  estado.dwWaitHint = pendente ? PRAZO_PENDENTE : 0;
  ::SetServiceStatus(alcaEstado, &estado);
}

DWORD EstadoAtual() {
  std::lock_guard<std::mutex> trava(travaEstado);
  return estado.dwCurrentState;
}

DWORD WINAPI Controle(DWORD controle, DWORD, void*, void*) {
  switch (controle) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      // Answered at once; the stop itself runs on the service's thread, as a Ctrl-C's would.
      Informa(SERVICE_STOP_PENDING);
      windows::PedeParada();
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI Principal(DWORD, LPSTR*) {
  {
    std::lock_guard<std::mutex> trava(travaEstado);
    alcaEstado = ::RegisterServiceCtrlHandlerExA(nomeServico, Controle, nullptr);
  }
  // Nothing can be reported without it; the dispatcher would wait for ever for a stopped service.
  if (alcaEstado == nullptr) std::_Exit(1);
  Informa(SERVICE_RUNNING);
  // The body ends the process through Encerrado; a body that returns ends the service here.
  servico::Encerrado(corpoServico(), nullptr);
}

// A fatal text of the service, on one line: its leading line break and blanks go.
std::string UmaLinha(const char* texto) {
  std::string linha(texto != nullptr ? texto : "");
  for (char& c : linha) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  const auto inicio = linha.find_first_not_of(' ');
  return inicio == std::string::npos ? std::string() : linha.substr(inicio);
}

void RegistraEventoErro(const std::string& texto) {
  const HANDLE fonte = ::RegisterEventSourceA(nullptr, nomeServico);
  if (fonte == nullptr) return;
  const char* textos[] = {texto.c_str()};
  ::ReportEventA(fonte, EVENTLOG_ERROR_TYPE, 0, EVENTO_TEXTO, nullptr, 1, 0, textos, nullptr);
  ::DeregisterEventSource(fonte);
}

}  // namespace

namespace windows {
bool SobGerenciador() { return sobGerenciador.load(); }
}  // namespace windows

namespace servico {

void Pronto() {}  // reported running as soon as the dispatcher started the service

void Parando() {
  if (sobGerenciador.load()) Informa(SERVICE_STOP_PENDING);
}

void Estado(const char*) {}

void AlimentaVigia() {
  if (sobGerenciador.load() && EstadoAtual() == SERVICE_STOP_PENDING) Informa(SERVICE_STOP_PENDING);
}

std::uint32_t PrazoVigia() { return sobGerenciador.load() ? PRAZO_PENDENTE : 0; }

// Windows has no journal reading a program's standard streams, nor one of structured records.
bool SaidaNoDiario(FluxoPadrao) { return false; }

bool RegistraNoDiario(const char*, int, const std::vector<std::string>&) { return false; }

void Encerrado(int status, const char* fatal) {
  if (!sobGerenciador.load()) return;
  if (fatal != nullptr) {
    char texto[2048];
    std::snprintf(texto, sizeof texto, "%s ended on a fatal error (exit status %d), working directory %s: %s",
                  nomeServico, status, DiretorioAtual().c_str(), UmaLinha(fatal).c_str());
    RegistraEventoErro(texto);
  }
  if (status == 0) {
    Informa(SERVICE_STOPPED);
  } else {
    Informa(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR, static_cast<DWORD>(status));
  }
}

int ExecutaSobGerenciador(const char* nome, int (*corpo)()) {
  nomeServico = nome;
  corpoServico = corpo;
  sobGerenciador.store(true);
  char nomeTabela[256];
  std::snprintf(nomeTabela, sizeof nomeTabela, "%s", nome);
  SERVICE_TABLE_ENTRYA tabela[] = {{nomeTabela, &Principal}, {nullptr, nullptr}};
  if (::StartServiceCtrlDispatcherA(tabela)) return 0;
  const DWORD erro = ::GetLastError();
  sobGerenciador.store(false);
  return static_cast<int>(erro);
}

}  // namespace servico

}  // namespace plataforma
