// The list of mandatory fields a request lacks, raised as one refusal.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogo/Catalogo.h"
#include "codec/Presencas.h"
#include "comum/Limites.h"

// The missing list: "*ZELP* Campo(s) " and comma-separated entries, never above 1,023 characters.
class sErr {
 public:
  // Adds "[NNN-NNN]"; an entry that would bring the text near its limit is dropped.
  void Acrescenta(std::int32_t numero, std::int32_t ocorrencia);
  bool Vazia() const { return tamanho_ == 0; }
  // Appends " faltando" to a non-empty list and returns the text.
  const char* Fecha();
  const char* Texto() const { return texto_; }
  std::size_t Tamanho() const { return tamanho_; }

 private:
  char texto_[TAM_MENSAGEM] = {};
  std::size_t tamanho_ = 0;
};

// Throws Erro with the missing list when a mandatory field, or an expected occurrence of a
// repeated field (bits of `esperado`), has not been seen.
void VerificaFaltantes(const CK& presencas, const TLayoutMensagem& layout, std::uint32_t esperado);
