// Which occurrences of each layout entry a request has shown: one 32-bit mask per entry.
#pragma once

#include <cstdint>
#include <vector>

class CK {
 public:
  explicit CK(std::int32_t entradas) : mascaras_(static_cast<std::size_t>(entradas > 0 ? entradas : 0), 0u) {}

  std::int32_t Entradas() const { return static_cast<std::int32_t>(mascaras_.size()); }
  std::uint32_t Mascara(std::int32_t entrada) const { return mascaras_[static_cast<std::size_t>(entrada)]; }
  // Bit (o mod 32) of the entry: occurrence index o has been seen.
  bool Tem(std::int32_t entrada, std::int32_t o) const { return (Mascara(entrada) & Bit(o)) != 0; }
  void Marca(std::int32_t entrada, std::int32_t o) { mascaras_[static_cast<std::size_t>(entrada)] |= Bit(o); }

 private:
  static std::uint32_t Bit(std::int32_t o) { return 1u << (static_cast<std::uint32_t>(o) % 32u); }
  std::vector<std::uint32_t> mascaras_;
};
