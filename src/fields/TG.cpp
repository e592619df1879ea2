// The field table: slots, release, the sort by key and the lookup.
#include "fields/TG.h"

#include <algorithm>
#include <utility>

namespace {
// quantidade is a public member; never let a wrong value take a loop past the slots.
int EmUso(std::int32_t quantidade) { return std::clamp<std::int32_t>(quantidade, 0, MAX_CAMPOS); }
}  // namespace

bool TG::Acrescenta(std::unique_ptr<TA> campo) {
  if (!campo || quantidade < 0 || quantidade >= MAX_CAMPOS) return false;
  campos[static_cast<std::size_t>(quantidade)] = std::move(campo);
  ++quantidade;
  return true;
}

void TG::LimpaCampos() {
  for (auto& campo : campos) campo.reset();
  quantidade = 0;
}

void TG::Ordena() {
  const int n = EmUso(quantidade);
  // Not stable, as a plain introsort: fields with the same key keep no particular order. An empty
  // slot (only possible if a caller filled campos by hand) sorts last instead of being dereferenced.
  std::sort(campos.begin(), campos.begin() + n, [](const std::unique_ptr<TA>& a, const std::unique_ptr<TA>& b) {
    if (!a || !b) return a != nullptr && b == nullptr;
    return a->chave < b->chave;
  });
}

const TA* TG::Procura(std::int32_t numero, std::int32_t ocorrencia) const {
  const int n = EmUso(quantidade);
  for (int i = 0; i < n; ++i) {
    const TA* campo = campos[static_cast<std::size_t>(i)].get();
    if (campo && campo->numero == numero && campo->ocorrencia == ocorrencia) return campo;
  }
  return nullptr;
}
