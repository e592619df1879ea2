// An endpoint group: up to four host addresses of one port, and the entry tried first.
#pragma once

#include <cstdint>
#include <string>

#include "comum/Mutex.h"

struct TU {
  static constexpr int MAX_ENDERECOS = 4;

  // Entries 0..quantidade-1 are valid, in reading order, without gaps; the others are empty.
  std::string url[MAX_ENDERECOS];
  std::uint32_t ip[MAX_ENDERECOS] = {};  // network byte order
  std::int32_t atual = 0;
  std::int32_t quantidade = 0;
  std::int32_t porta = 0;  // only the low 16 bits are used
  Mutex trava;
};

// Empties a group; the caller holds its lock.
void LimpaServidor(TU& grupo);

// Adds an address as the group's next entry, resolving it; the caller holds its lock. A name that
// cannot be resolved is logged ("gethostbyname Error = %d") and left out.
void AdicionaEndereco(TU& grupo, const char* texto);
