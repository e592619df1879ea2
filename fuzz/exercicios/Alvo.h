// The libFuzzer entry point around one exercise: a failed property ends the run like a crash.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "Verifica.h"

#define ZELP_ALVO_FUZZ(exercicio)                                                  \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) { \
    try {                                                                          \
      exercicio(dados, tamanho);                                                   \
    } catch (const ::fuzz::FalhaFuzz& falha) {                                     \
      std::fprintf(stderr, "==ZELP== propriedade violada: %s\n", falha.texto.c_str()); \
      std::abort();                                                                \
    }                                                                              \
    return 0;                                                                      \
  }
