// A message buffer: a zeroed block of capacidade + 1 bytes and the count of bytes in use.
#pragma once

#include <cstdint>
#include <memory>

struct BF {
  std::unique_ptr<std::uint8_t[]> dados;
  std::int32_t capacidade;
  std::int32_t tamanho;

  explicit BF(std::int32_t cap)
      : dados(new std::uint8_t[static_cast<std::size_t>(cap < 0 ? 0 : cap) + 1]()),
        capacidade(cap < 0 ? 0 : cap),
        tamanho(0) {}
};
