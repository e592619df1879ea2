// Stop requests for a program without a window: SIGTERM and SIGINT on Linux; Ctrl-C, Ctrl-Break,
// the console's close and the system's shutdown on Windows. They are counted by their handler and
// waited for without polling, so that an idle process does not wake up only to look at a flag.
#pragma once

#include <cstdint>

namespace plataforma {

// Installs the handler that counts the stop requests and wakes EsperaSinal. Call once, before any
// thread is started. On Windows a console's close or the system's shutdown waits in the handler
// until the process ends, so that the orderly stop can finish (within the time the system allows).
void ContaSinaisDeParada();

// How many stop requests have arrived so far.
int SinaisContados();

// Waits at most milissegundos; returns sooner when a stop request arrives.
void EsperaSinal(std::uint32_t milissegundos);

// A write that meets the process's file-size limit fails, and is reported like any failed write,
// instead of ending the process (SIGXFSZ on Linux; Windows has no such signal).
void ToleraLimiteDeTamanho();

}  // namespace plataforma
