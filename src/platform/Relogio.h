// Time: the 32-bit millisecond tick count, the local wall-clock time and sleeping.
#pragma once

#include <cstdint>

namespace plataforma {

// Milliseconds of a monotonic clock, wrapping at 2^32; differences are taken in unsigned 32 bits.
std::uint32_t Ticks();

struct HoraLocal {
  int ano;       // e.g. 2026
  int mes;       // 1..12
  int dia;       // 1..31
  int hora;      // 0..23
  int minuto;    // 0..59
  int segundo;   // 0..60
  int milissegundo;  // 0..999
};
HoraLocal AgoraLocal();

void Dorme(std::uint32_t milissegundos);

}  // namespace plataforma
