// Text output of a program without a console of its own.
#include "app/windows/Console.h"

#include <cstdio>

#include "platform/windows/SistemaWindows.h"

void LigaConsoleDoPai() {
  const HANDLE saida = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (saida != nullptr && saida != INVALID_HANDLE_VALUE) return;  // redirected: already somewhere
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}
