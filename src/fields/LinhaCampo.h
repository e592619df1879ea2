// Reading one "NNN-NNN = value" line of a request, with the exact rules of the line pattern
// "%03d-%03d = %s" but without handing external text to the scanf family.
#pragma once

#include <cstdint>
#include <string>

struct LinhaCampo {
  // Items read, as the scanf family counts them: -1 when the line ended before the first item,
  // else 0 to 3 (number, occurrence, value).
  int lidos = 0;
  std::int32_t numero = 0;
  std::int32_t ocorrencia = 0;
  std::string valor;  // empty unless the third item was read

  // A request line is taken when all three items were read, or number and occurrence of 999.
  bool Aceita() const { return lidos == 3 || (lidos == 2 && numero == 999); }

  // The value may be card data: whatever of it stays here (all of a short one, once moved) is wiped.
  ~LinhaCampo();
};

// Parses a NUL-terminated line (as fgets left it, line feed included or not).
LinhaCampo LeLinhaCampo(const char* linha);

// The value's leading decimal integer (optional blanks and sign first), 0 when it has none; a value
// beyond 32 bits is held at the nearest limit, whose low byte selects no transaction type.
std::int32_t InteiroInicial(const char* texto);

// "%lld" on a value: true and the number when it starts with one; false (nothing read) when it has
// no digits or does not fit in 64 bits.
bool LeInteiro64(const char* texto, std::int64_t& numero);
