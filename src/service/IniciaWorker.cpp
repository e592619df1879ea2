// Each worker receives its own request through its thread's argument, never through a shared slot
// that the service thread might refill before the worker has taken it.
#include "service/IniciaWorker.h"

#include <atomic>
#include <exception>
#include <utility>

#include "config/TX.h"
#include "platform/Threads.h"
#include "service/LimiteTransacoes.h"
#include "service/ProcessaPedido.h"

namespace {

std::atomic<long long> workersConcluidos{0};

struct Entrega {
  std::shared_ptr<TX> config;
  ArquivoPedido arquivo;
  ReservaPedido reserva;
  std::shared_ptr<const void> posse;
  Momento reivindicado;
};

// One worker counted from before its thread starts (so an orderly stop that looks in between still
// waits for it) until its body has ended, or until its start has failed in any way. The count is
// the one the bound on transactions in flight watches: its end lets the scan claim again.
class ContaWorker {
 public:
  ContaWorker() { EntraTransacao(); }
  ~ContaWorker() {
    if (ativo_) SaiTransacao();
  }
  ContaWorker(ContaWorker&& outro) noexcept : ativo_(std::exchange(outro.ativo_, false)) {}
  ContaWorker(const ContaWorker&) = delete;
  ContaWorker& operator=(const ContaWorker&) = delete;
  ContaWorker& operator=(ContaWorker&&) = delete;

 private:
  bool ativo_ = true;
};

}  // namespace

bool IniciaWorker(std::shared_ptr<TX> config, ArquivoPedido arquivo, ReservaPedido reserva,
                  std::shared_ptr<const void> posse, Momento reivindicado) {
  try {
    // The thread's function object must be copyable, so the move-only parts travel in one block.
    auto entrega = std::make_shared<Entrega>(
        Entrega{std::move(config), std::move(arquivo), std::move(reserva), std::move(posse), reivindicado});
    // When the thread does not start, the last copies of entrega and conta go at the return:
    // the file closes, the name leaves the set and the count drops back.
    auto conta = std::make_shared<ContaWorker>();
    return plataforma::IniciaThread(
        [entrega, conta] {
          ProcessaPedido(*entrega->config, entrega->arquivo.release(), std::move(entrega->reserva),
                         entrega->reivindicado);
          entrega->config.reset();
          entrega->posse.reset();
          // Counted as served before the count of running workers drops (when conta goes with
          // this function object), so the two never miss it together.
          workersConcluidos.fetch_add(1);
        },
        plataforma::PILHA_WORKER);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

int WorkersEmExecucao() { return TransacoesEmCurso(); }

long long TransacoesAtendidas() { return workersConcluidos.load(); }
