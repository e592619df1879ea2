// Detached threads with a chosen stack size on Windows.
#include "platform/Threads.h"

#include <process.h>

#include <memory>

#include "platform/windows/SistemaWindows.h"

namespace plataforma {

namespace {
unsigned __stdcall Executa(void* arg) {
  std::unique_ptr<std::function<void()>> corpo(static_cast<std::function<void()>*>(arg));
  (*corpo)();
  return 0;
}
}  // namespace

bool IniciaThread(std::function<void()> corpo, std::size_t pilha) {
  auto arg = std::make_unique<std::function<void()>>(std::move(corpo));
  // The size is the stack's reservation, as the gateway was designed with, not its first commit.
  const std::uintptr_t t = ::_beginthreadex(nullptr, static_cast<unsigned>(pilha), Executa, arg.get(),
                                            STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (t == 0) return false;
  arg.release();  // the thread owns it now
  ::CloseHandle(reinterpret_cast<HANDLE>(t));  // detached: nobody waits for it
  return true;
}

}  // namespace plataforma
