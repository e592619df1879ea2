// A message buffer: a zeroed block of capacidade + 1 bytes and the count of bytes in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Protecao.h"

// The request and response messages carry card data (track, PIN block): the block is wiped before
// it is freed, on every path that frees it (destruction, a move over it, an exception).
struct LiberaApagando {
  std::size_t bytes = 0;
  void operator()(std::uint8_t* p) const noexcept {
    plataforma::ApagaMemoria(p, bytes);
    delete[] p;
  }
};

struct BF {
  std::unique_ptr<std::uint8_t[], LiberaApagando> dados;
  std::int32_t capacidade;
  std::int32_t tamanho;

  explicit BF(std::int32_t cap)
      : dados(new std::uint8_t[Bytes(cap)](), LiberaApagando{Bytes(cap)}), capacidade(cap < 0 ? 0 : cap), tamanho(0) {}

 private:
  static std::size_t Bytes(std::int32_t cap) { return static_cast<std::size_t>(cap < 0 ? 0 : cap) + 1; }
};
