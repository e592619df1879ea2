// The bound on transactions in flight. Each one holds a thread and a few descriptors until it ends;
// under a flood the scan leaves the requests in the input folder while the bound is reached and
// claims them as transactions end, so that no log line or answer is ever lost for lack of one.
#pragma once

#include <cstdint>

// The most transactions in flight whatever the descriptors allow: threads (64 KiB of stack each)
// and memory stay bounded too.
inline constexpr int MAX_TRANSACOES = 1024;

// Descriptors one transaction may hold at its peak, and those the service keeps for itself.
int DescritoresPorTransacao();
int DescritoresReservados();

// How many transactions may be in flight in a process that may hold `descritores` open at once
// (0: no limit): what the reserve leaves, divided by a transaction's peak, from 1 to MAX_TRANSACOES.
int LimiteDeTransacoes(std::uint64_t descritores);

// The process-wide count of transactions in flight: a worker counts itself from before its thread
// starts until its body has ended (IniciaWorker).
void EntraTransacao();
void SaiTransacao();
int TransacoesEmCurso();
// The bound the service works with, once it has started (0 before): for the service manager's status.
int TransacoesPermitidas();

// The service thread's side of the bound.
class LimiteTransacoes {
 public:
  // Raises the process's open-file limit as far as the system allows and derives the bound from it.
  LimiteTransacoes();
  // A bound given (tests).
  explicit LimiteTransacoes(int limite, std::uint64_t descritores = 0);

  int Limite() const { return limite_; }

  // Makes the bound the service's (TransacoesPermitidas), and logs an alarm when the descriptors do
  // not even cover one transaction. The bound itself is no event of the log.
  void Anuncia() const;

  // How many requests a scan may claim now, `desejados` at most: none while the bound is reached.
  int Vagas(int desejados);
  // What the scan that asked Vagas claimed: when the bound cut it short, requests may be waiting.
  void Reivindicados(int quantos);

  // The pause of the immediate mode after a scan cut short by the bound: waits at most ms for a
  // transaction to end (at once when one already has) and returns true. False, without waiting,
  // when the last scan was not cut short: the pause then waits for requests as usual.
  bool EsperaVaga(std::uint32_t ms);

 private:
  int limite_;
  std::uint64_t descritores_;
  int permitidos_ = 0;     // what the last Vagas allowed
  bool cortado_ = false;   // the last Vagas allowed fewer than asked
  bool saturado_ = false;  // the last scan claimed all it was allowed, fewer than asked
};
