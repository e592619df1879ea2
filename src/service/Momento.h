// A moment of a transaction as its journal needs it: the wall-clock time to show, and the tick
// count to measure from.
#pragma once

#include <cstdint>

#include "platform/Relogio.h"

struct Momento {
  plataforma::HoraLocal hora{};
  std::uint32_t ticks = 0;
};

inline Momento MomentoAtual() { return Momento{plataforma::AgoraLocal(), plataforma::Ticks()}; }
