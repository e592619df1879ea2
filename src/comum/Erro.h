// A transaction's exception: a refusal whose text goes back to the point of sale.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "comum/Formato.h"
#include "comum/Limites.h"

class Erro {
 public:
  // The text is copied, cut at 1,023 characters if longer.
  explicit Erro(const char* texto) { std::snprintf(texto_, sizeof texto_, "%s", texto ? texto : ""); }

  // printf-like construction, bounded to 1,023 characters.
  ZELP_PRINTF(1, 2) static Erro Formata(const char* formato, ...) {
    Erro e("");
    va_list args;
    va_start(args, formato);
    std::vsnprintf(e.texto_, sizeof e.texto_, formato, args);
    va_end(args);
    return e;
  }

  const char* Texto() const { return texto_; }

 private:
  char texto_[TAM_MENSAGEM];
};
