// Bounded text helpers shared by every module.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>

#include "comum/Formato.h"

// printf into a fixed buffer; returns false (buffer holds the cut text) when the result did not fit.
ZELP_PRINTF(3, 4) inline bool FormataEm(char* destino, std::size_t tamanho, const char* formato, ...) {
  va_list args;
  va_start(args, formato);
  int n = std::vsnprintf(destino, tamanho, formato, args);
  va_end(args);
  return n >= 0 && static_cast<std::size_t>(n) < tamanho;
}

// printf into a std::string of any length.
ZELP_PRINTF(1, 2) inline std::string Formata(const char* formato, ...) {
  va_list args;
  va_start(args, formato);
  va_list copia;
  va_copy(copia, args);
  int n = std::vsnprintf(nullptr, 0, formato, copia);
  va_end(copia);
  std::string s;
  if (n > 0) {
    s.resize(static_cast<std::size_t>(n));
    std::vsnprintf(s.data(), s.size() + 1, formato, args);
  }
  va_end(args);
  return s;
}

// Case-insensitive comparison of two ASCII texts.
inline bool IguaisSemCaixa(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == 0) return true;
  }
}
