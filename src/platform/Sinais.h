// Stop signals for a program without a window: counted by their handler, and waited for without
// polling, so that an idle process does not wake up only to look at a flag.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace plataforma {

// Installs a handler for each of these signals that counts it and wakes EsperaSinal. Call once,
// before any thread is started.
void ContaSinais(std::initializer_list<int> sinais);

// How many of those signals have arrived so far.
int SinaisContados();

// Waits at most milissegundos; returns sooner when one of the counted signals arrives.
void EsperaSinal(std::uint32_t milissegundos);

}  // namespace plataforma
