// The bound on transactions in flight: derived from the open-file limit, counted process-wide, and
// waited on by the service loop while it holds requests back.
#include "service/LimiteTransacoes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>

#include "log/GravaLog.h"
#include "platform/Recursos.h"
#include "service/Perene.h"

namespace {

// The bound in force, for whoever reports on the service.
std::atomic<int> permitidas{0};

// What one transaction may hold open at its peak. Not all of them are open at the same moment (the
// request is read and closed before the establishment file, that one before the socket, the socket
// before the response), but each is counted: a change of that order, or a file held a little longer,
// must not turn into a lost answer.
constexpr int POR_TRANSACAO[] = {
    1,  // the request file
    1,  // the establishment file
    1,  // the socket to the host
    1,  // the .tmp of the status or response file being written
    1,  // the output folder, held to create the .tmp in it and to flush it after the rename
    1,  // a line of the log (or of a journal) written meanwhile; the clean-up's listing and its line
};

// What the service holds besides its transactions, at most, all at the same time.
constexpr int RESERVA[] = {
    3,  // standard input, output and error
    1,  // the day's log file, opened for each line (one at a time: the log lock)
    1,  // zelp.ini, read at a reload
    1,  // the input folder's lock, held for as long as the service claims there
    1,  // the inotify instance of the immediate mode
    3,  // the input folder listed, flushed after a claim, and a request looked at before its claim
    1,  // the output folder checked
    4,  // host names resolved at a reload (hosts file, name service, resolver's socket)
    3,  // zelpd's stop pipe and the service manager's socket
    10, // the window system's connections and the single-instance lock of zelp
    12, // what libraries and sanitizers open on their own
};

constexpr int Soma(const int* inicio, const int* fim) { return std::accumulate(inicio, fim, 0); }

struct Contagem {
  std::mutex trava;
  std::condition_variable terminou;
  int emCurso = 0;
};

// Never destroyed: detached workers may still end while the process runs its static destructors.
Contagem& Contador() {
  static Perene<Contagem> contagem;
  return *contagem;
}

}  // namespace

int DescritoresPorTransacao() { return Soma(std::begin(POR_TRANSACAO), std::end(POR_TRANSACAO)); }

int DescritoresReservados() { return Soma(std::begin(RESERVA), std::end(RESERVA)); }

int LimiteDeTransacoes(std::uint64_t descritores) {
  if (descritores == 0) return MAX_TRANSACOES;
  const std::uint64_t reserva = static_cast<std::uint64_t>(DescritoresReservados());
  if (descritores <= reserva) return 1;
  const std::uint64_t cabem = (descritores - reserva) / static_cast<std::uint64_t>(DescritoresPorTransacao());
  return static_cast<int>(std::clamp<std::uint64_t>(cabem, 1, MAX_TRANSACOES));
}

void EntraTransacao() {
  Contagem& c = Contador();
  std::lock_guard<std::mutex> l(c.trava);
  ++c.emCurso;
}

void SaiTransacao() {
  Contagem& c = Contador();
  {
    std::lock_guard<std::mutex> l(c.trava);
    --c.emCurso;
  }
  c.terminou.notify_all();
}

int TransacoesEmCurso() {
  Contagem& c = Contador();
  std::lock_guard<std::mutex> l(c.trava);
  return c.emCurso;
}

LimiteTransacoes::LimiteTransacoes() : LimiteTransacoes(0, plataforma::ElevaLimiteArquivos()) {
  limite_ = LimiteDeTransacoes(descritores_);
}

LimiteTransacoes::LimiteTransacoes(int limite, std::uint64_t descritores)
    : limite_(std::max(limite, 1)), descritores_(descritores) {}

void LimiteTransacoes::Anuncia() const {
  permitidas.store(limite_);
  if (descritores_ == 0) return;
  const std::uint64_t minimo = static_cast<std::uint64_t>(DescritoresReservados() + DescritoresPorTransacao());
  if (descritores_ < minimo) {
    GravaLog("*** Poucos descritores (%llu, minimo %llu): linhas de log e respostas podem se perder",
             static_cast<unsigned long long>(descritores_), static_cast<unsigned long long>(minimo));
  }
}

int TransacoesPermitidas() { return permitidas.load(); }

int LimiteTransacoes::Vagas(int desejados) {
  const int livres = std::max(0, limite_ - TransacoesEmCurso());
  permitidos_ = std::min(desejados, livres);
  cortado_ = permitidos_ < desejados;
  return permitidos_;
}

void LimiteTransacoes::Reivindicados(int quantos) { saturado_ = cortado_ && quantos >= permitidos_; }

bool LimiteTransacoes::EsperaVaga(std::uint32_t ms) {
  if (!saturado_) return false;
  saturado_ = false;
  Contagem& c = Contador();
  std::unique_lock<std::mutex> l(c.trava);
  c.terminou.wait_for(l, std::chrono::milliseconds(ms), [&c, this] { return c.emCurso < limite_; });
  return true;
}
