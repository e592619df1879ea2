// Time on Linux: CLOCK_MONOTONIC for ticks, CLOCK_REALTIME with the local zone for the wall clock.
#include "platform/Relogio.h"

#include <time.h>

#include <chrono>
#include <thread>

namespace plataforma {

std::uint32_t Ticks() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  std::uint64_t ms = static_cast<std::uint64_t>(t.tv_sec) * 1000u + static_cast<std::uint64_t>(t.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

HoraLocal AgoraLocal() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  tm local{};
  time_t segundos = t.tv_sec;
  localtime_r(&segundos, &local);
  return HoraLocal{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                   local.tm_min,         local.tm_sec,     static_cast<int>(t.tv_nsec / 1000000)};
}

void Dorme(std::uint32_t milissegundos) { std::this_thread::sleep_for(std::chrono::milliseconds(milissegundos)); }

}  // namespace plataforma
