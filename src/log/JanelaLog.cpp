// The window side of the log: the sink the front end installs and the window-only failure texts.
#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "comum/Limites.h"
#include "log/GravaLinha.h"
#include "log/GravaLog.h"

namespace zelp_log {

namespace {
// A plain pointer in an atomic: installing or removing the sink is safe while other threads log.
std::atomic<SaidaJanela> saidaJanela{nullptr};
}  // namespace

void DefineSaidaJanela(SaidaJanela saida) { saidaJanela.store(saida); }

void MostraJanela(const char* texto) {
  SaidaJanela saida = saidaJanela.load();
  if (saida != nullptr && texto != nullptr) saida(texto);
}

void MostraJanelaFormatado(const char* formato, ...) {
  char texto[TAM_MENSAGEM];
  va_list args;
  va_start(args, formato);
  int n = std::vsnprintf(texto, sizeof texto, formato, args);
  va_end(args);
  if (n < 0) return;
  // A path named here comes from the configuration; escaped like any logged name (cut if need be).
  char escapado[TAM_MENSAGEM];
  std::size_t tamanho = 0;
  EscapaControles(texto, escapado, sizeof escapado, tamanho);
  MostraJanela(escapado);
}

}  // namespace zelp_log
