// The service thread: start-up, then the polling loop that claims requests and starts workers.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "service/EsperaEntrada.h"

struct OpcoesServico {
  std::uint32_t esperaInicial = 2000;  // ms before anything happens
  std::uint32_t esperaFatal = 10000;   // ms between a fatal error and the end flag
  std::string caminhoIni = "./zelp.ini";
  // When given and set, the service stops at its next pass (or cuts its waits short) without the
  // fatal path, then sets servicoEncerrado: an orderly stop for the headless program and the tests.
  // Must outlive the service thread.
  std::atomic<bool>* parar = nullptr;
  // Called on the service thread, once, the first time the input directory is found served by
  // another gateway (its path given): a front end without a window tells its operator.
  std::function<void(const std::string&)> aoEntradaOcupada;
  // How the immediate mode watches the input directory (empty: inotify); tests give their own.
  EsperaEntrada::Vigia vigiaEntrada;
  // Run on the service thread, each when given: once the banner is logged and the first
  // configuration loaded; once per pass of the loop; and with the text of a fatal error just before
  // it is logged (a constant text, valid for the life of the process). They must be quick and must
  // not log: the front end tells the service manager through them.
  std::function<void()> aoFicarPronto;
  std::function<void()> aCadaPasso;
  std::function<void(const char* texto)> aoFalhar;
};

class TThreadServer {
 public:
  // Starts the thread at once, detached; it sets servicoEncerrado as the last act of its body.
  // The flag must outlive the process's use of it (a member of the window, or a static).
  explicit TThreadServer(std::atomic<bool>& servicoEncerrado, OpcoesServico opcoes = {});
};
