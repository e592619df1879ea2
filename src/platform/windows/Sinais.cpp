// Stop requests of a console program on Windows: Ctrl-C, Ctrl-Break, the console's close and the
// system's shutdown, counted by a console control handler that wakes the main thread's wait.
#include "platform/Sinais.h"

#include <atomic>

#include "platform/windows/Parada.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

namespace {

std::atomic<int> contados{0};
HANDLE evento = nullptr;  // auto-reset: one wake per request

BOOL WINAPI AoControle(DWORD tipo) {
  switch (tipo) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      contados.fetch_add(1);
      ::SetEvent(evento);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:  // a console's session ends with its user's (a service ignores it)
    case CTRL_SHUTDOWN_EVENT:
      contados.fetch_add(1);
      ::SetEvent(evento);
      // Returning would end the process at once: the handler's thread waits instead, while the main
      // thread stops in order and ends the process (Windows allows a few seconds for it).
      ::Sleep(INFINITE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

namespace windows {
void PedeParada() {
  contados.fetch_add(1);
  if (evento != nullptr) ::SetEvent(evento);
}
}  // namespace windows

void ContaSinaisDeParada() {
  if (evento == nullptr) evento = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  // A service's stop comes from the service control manager; it must not take a user's logoff, nor
  // the system's shutdown a second time, for a stop request.
  if (!windows::SobGerenciador()) ::SetConsoleCtrlHandler(AoControle, TRUE);
}

int SinaisContados() { return contados.load(); }

void EsperaSinal(std::uint32_t milissegundos) {
  if (evento == nullptr) {
    ::Sleep(milissegundos);
    return;
  }
  ::WaitForSingleObject(evento, milissegundos);
}

void ToleraLimiteDeTamanho() {}

}  // namespace plataforma
