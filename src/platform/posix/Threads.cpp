// Detached POSIX threads with a chosen stack size.
#include "platform/Threads.h"

#include <pthread.h>

#include <memory>

namespace plataforma {

namespace {
void* Executa(void* arg) {
  std::unique_ptr<std::function<void()>> corpo(static_cast<std::function<void()>*>(arg));
  (*corpo)();
  return nullptr;
}
}  // namespace

bool IniciaThread(std::function<void()> corpo, std::size_t pilha) {
  auto arg = std::make_unique<std::function<void()>>(std::move(corpo));
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return false;
  std::size_t minimo = static_cast<std::size_t>(PTHREAD_STACK_MIN);
  pthread_attr_setstacksize(&attr, pilha < minimo ? minimo : pilha);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  pthread_t t;
  int r = pthread_create(&t, &attr, Executa, arg.get());
  pthread_attr_destroy(&attr);
  if (r != 0) return false;
  arg.release();  // the thread owns it now
  return true;
}

}  // namespace plataforma
