// The 8-byte header ahead of every request's data, and the process-wide sequence number.
#include "codec/MontaCabecalho.h"

#include <cstdlib>

std::atomic<std::uint8_t> numeroSequencia{0};

std::uint8_t ValorCabecalhoByte3(const char* texto) {
  if (!texto) return 0;
  return static_cast<std::uint8_t>(std::strtoul(texto, nullptr, 0) & 0xFFu);
}

void MontaCabecalho(const TG& transacao, std::uint8_t* destino, std::int32_t tamanhoDados) {
  const TTipoTransacao& t = transacao.Tipo();
  destino[0] = static_cast<std::uint8_t>(t.cabecalhoByte0);
  destino[1] = 1;
  destino[2] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(transacao.codigo) & 0xFFu);
  destino[3] = ValorCabecalhoByte3(t.cabecalhoByte3);
  destino[4] = numeroSequencia.fetch_add(1, std::memory_order_relaxed);
  destino[5] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(tamanhoDados) & 0xFFu);
  destino[6] = static_cast<std::uint8_t>((static_cast<std::uint32_t>(tamanhoDados) >> 8) & 0xFFu);
  destino[7] = 0;
}
