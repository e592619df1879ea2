// The sink of the transaction records: a plain pointer in an atomic, as the window's sink.
#include "log/CamposDiario.h"

#include <atomic>

namespace zelp_log {

namespace {
std::atomic<SaidaRegistro> saidaRegistro{nullptr};
}  // namespace

void DefineSaidaRegistro(SaidaRegistro saida) { saidaRegistro.store(saida); }

void EnviaRegistro(const std::string& mensagem, const std::vector<std::string>& campos) {
  const SaidaRegistro saida = saidaRegistro.load();
  if (saida != nullptr) saida(mensagem.c_str(), campos);
}

}  // namespace zelp_log
