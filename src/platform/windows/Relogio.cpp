// Time on Windows: GetTickCount, GetLocalTime and Sleep, as the gateway was designed with.
#include "platform/Relogio.h"

#include "platform/windows/SistemaWindows.h"

namespace plataforma {

// Milliseconds since the system started, wrapping after 49.7 days like Linux's 32-bit count.
std::uint32_t Ticks() { return ::GetTickCount(); }

HoraLocal AgoraLocal() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return HoraLocal{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

void Dorme(std::uint32_t milissegundos) { ::Sleep(milissegundos); }

}  // namespace plataforma
