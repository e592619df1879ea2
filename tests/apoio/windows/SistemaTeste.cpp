// The tests' view of Windows.
#include "apoio/SistemaTeste.h"

#include "platform/windows/SistemaWindows.h"

const int ERRO_CONEXAO_RECUSADA = WSAECONNREFUSED;
const int ERRO_CONEXAO_EM_ANDAMENTO = WSAEWOULDBLOCK;
const int ERRO_PASTA_INEXISTENTE = ERROR_PATH_NOT_FOUND;

bool SobWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int ContaDescritores() {
  DWORD n = 0;
  if (!::GetProcessHandleCount(::GetCurrentProcess(), &n)) return -1;
  return static_cast<int>(n);
}
