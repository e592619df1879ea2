// The field table of one transaction, owned by its worker.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "catalogo/Catalogo.h"
#include "comum/Limites.h"
#include "comum/TEstabelecimento.h"
#include "fields/TA.h"

class TG {
 public:
  static constexpr int TAM_CABECALHO = 12;  // 11 characters and the terminator

  std::int32_t quantidade = 0;
  char cabecalho[TAM_CABECALHO] = {};
  std::int64_t identificador = 0;
  std::int32_t codigo = 0;
  TEstabelecimento estabelecimento;
  std::int32_t indiceArquivo = 0;
  std::array<std::unique_ptr<TA>, MAX_CAMPOS> campos;
  std::int32_t tipo = -1;

  // The transaction's catalogue entry; only when tipo is not -1.
  const TTipoTransacao& Tipo() const { return tiposTransacao[tipo]; }

  // Appends a field in the next slot; false (field dropped) when all slots are taken.
  bool Acrescenta(std::unique_ptr<TA> campo);
  // Releases every field; quantidade becomes 0.
  void LimpaCampos();
  // Sorts the fields by chave as unsigned keys.
  void Ordena();
  // The field with this number and occurrence, or null.
  const TA* Procura(std::int32_t numero, std::int32_t ocorrencia) const;
};
