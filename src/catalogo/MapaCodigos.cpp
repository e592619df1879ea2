// The map from transaction code to catalogue index, built once before the service starts.
#include <cstring>
#include <mutex>

#include "catalogo/Catalogo.h"

std::uint8_t mapaCodigos[256];

namespace {
std::once_flag mapaMontado;
}

void MontaMapaCodigos() {
  // Start-up builds it before any thread exists; the once flag also keeps a late first lookup from a
  // worker safe.
  std::call_once(mapaMontado, [] {
    std::memset(mapaCodigos, SEM_TIPO, sizeof mapaCodigos);
    for (int i = 0; i < numTipos; ++i) {
      mapaCodigos[static_cast<std::uint8_t>(tiposTransacao[i].codigo)] = static_cast<std::uint8_t>(i);
    }
  });
}

int IndiceDoCodigo(std::int32_t codigo) {
  MontaMapaCodigos();
  // Only the low byte selects the type: the host message carries the code in one byte.
  const std::uint8_t indice = mapaCodigos[static_cast<std::uint32_t>(codigo) & 0xFFu];
  if (indice == SEM_TIPO || indice >= numTipos) return -1;
  return indice;
}
