// One field of a transaction: number, occurrence and its text value.
#pragma once

#include <cstdint>
#include <string>

struct TA {
  std::uint32_t chave;     // numero * 1000 + ocorrencia, compared unsigned
  std::int32_t numero;
  std::int32_t ocorrencia;
  std::string valor;       // bytes as read; never holds a NUL

  TA(std::int32_t num, std::int32_t oc, const char* texto);
  TA(std::int32_t num, std::int32_t oc, std::string texto);
  // The number in decimal, zero-padded to at least the name width ("%0*lld").
  TA(std::int32_t num, std::int32_t oc, std::int64_t numeroValor);
  // The value may be card data (track, PIN block): its storage is wiped before it is freed.
  ~TA();
  TA(const TA&) = default;
  TA& operator=(const TA&) = delete;
};
