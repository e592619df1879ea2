// A parameter group: the establishment file names of slots 0..9.
#pragma once

#include <string>

#include "comum/Mutex.h"

struct TP {
  static constexpr int NUM_ARQUIVOS = 10;
  std::string arquivos[NUM_ARQUIVOS];  // empty: none
  mutable Mutex trava;  // taken also by readers that hold the group as const
};
