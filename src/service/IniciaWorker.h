// The hand-over of a claimed request to a worker thread of its own.
#pragma once

#include <cstdio>
#include <memory>

#include "service/Momento.h"
#include "service/PedidosEmCurso.h"

class TX;

struct FechaArquivo {
  void operator()(std::FILE* f) const noexcept {
    if (f != nullptr) std::fclose(f);
  }
};
using ArquivoPedido = std::unique_ptr<std::FILE, FechaArquivo>;

// Starts a worker (stack plataforma::PILHA_WORKER) with this file and this in-flight name as its
// own argument; the worker keeps the configuration, and whatever posse holds (the input
// directory's lock), alive until it ends. False when the thread could not start (memory exhausted
// included): the file is then closed, the name leaves the set and the worker count is as before.
// reivindicado: when the request was claimed, for its journal line.
bool IniciaWorker(std::shared_ptr<TX> config, ArquivoPedido arquivo, ReservaPedido reserva,
                  std::shared_ptr<const void> posse = nullptr, Momento reivindicado = MomentoAtual());

// Workers started in this process that have not finished yet.
int WorkersEmExecucao();
// Workers of this process that have finished: the transactions served, answered or not.
long long TransacoesAtendidas();
