// Each worker receives its own request through its thread's argument, never through a shared slot
// that the service thread might refill before the worker has taken it.
#include "service/IniciaWorker.h"

#include <atomic>
#include <utility>

#include "config/TX.h"
#include "platform/Threads.h"
#include "service/ProcessaPedido.h"

namespace {

std::atomic<int> workersAtivos{0};
std::atomic<long long> workersConcluidos{0};

struct Entrega {
  std::shared_ptr<TX> config;
  ArquivoPedido arquivo;
  ReservaPedido reserva;
};

struct ContaWorker {
  ~ContaWorker() {
    // Counted as served before it leaves the running ones, so the two never miss it together.
    workersConcluidos.fetch_add(1);
    workersAtivos.fetch_sub(1);
  }
};

}  // namespace

bool IniciaWorker(std::shared_ptr<TX> config, ArquivoPedido arquivo, ReservaPedido reserva) {
  // The thread's function object must be copyable, so the move-only parts travel in one block.
  auto entrega = std::make_shared<Entrega>(Entrega{std::move(config), std::move(arquivo), std::move(reserva)});
  workersAtivos.fetch_add(1);
  const bool iniciou = plataforma::IniciaThread(
      [entrega] {
        ContaWorker conta;
        ProcessaPedido(*entrega->config, entrega->arquivo.release(), std::move(entrega->reserva));
        entrega->config.reset();
      },
      plataforma::PILHA_WORKER);
  if (!iniciou) workersAtivos.fetch_sub(1);
  return iniciou;
}

int WorkersEmExecucao() { return workersAtivos.load(); }

long long TransacoesAtendidas() { return workersConcluidos.load(); }
