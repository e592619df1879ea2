// The list of mandatory fields a request lacks, raised as one refusal.
#include "codec/VerificaFaltantes.h"

#include <cstring>

#include "comum/Erro.h"
#include "comum/Texto.h"

namespace {
constexpr const char* INICIO = "*ZELP* Campo(s) ";
constexpr const char* FIM = " faltando";
// Room kept for one more entry and the closing text.
constexpr std::size_t RESERVA = 20;
}  // namespace

void sErr::Acrescenta(std::int32_t numero, std::int32_t ocorrencia) {
  char entrada[32];
  FormataEm(entrada, sizeof entrada, "[%03d-%03d]", numero, ocorrencia);
  std::size_t n = std::strlen(entrada);
  if (tamanho_ == 0) {
    std::size_t ini = std::strlen(INICIO);
    std::memcpy(texto_, INICIO, ini);
    tamanho_ = ini;
  } else {
    if (tamanho_ + RESERVA > TAM_MENSAGEM) return;
    // Entries are 9 characters for every field of a layout; anything wider must still fit.
    if (tamanho_ + 1 + n + std::strlen(FIM) >= TAM_MENSAGEM) return;
    texto_[tamanho_++] = ',';
  }
  std::memcpy(texto_ + tamanho_, entrada, n);
  tamanho_ += n;
  texto_[tamanho_] = '\0';
}

const char* sErr::Fecha() {
  std::size_t f = std::strlen(FIM);
  if (tamanho_ > 0 && tamanho_ + f < TAM_MENSAGEM) {
    std::memcpy(texto_ + tamanho_, FIM, f);
    tamanho_ += f;
    texto_[tamanho_] = '\0';
  }
  return texto_;
}

void VerificaFaltantes(const CK& presencas, const TLayoutMensagem& layout, std::uint32_t esperado) {
  sErr lista;
  std::int32_t entradas = layout.numDefinicoes < presencas.Entradas() ? layout.numDefinicoes : presencas.Entradas();
  for (std::int32_t i = 0; i < entradas; ++i) {
    const TLayoutCampo& e = layout.definicoes[i];
    std::uint32_t m = presencas.Mascara(i);
    if (esperado != 0 && e.repetido == 1 && m != esperado) {
      if (m == 0 && e.condicao != 0) continue;  // an optional repeated field, simply absent
      std::uint32_t d = esperado & ~m;
      // More occurrences than expected and none missing: the surplus is for the cheque check to
      // judge; the scan goes on so that no later mandatory field slips through unreported.
      if (d == 0) continue;
      for (std::int32_t k = 0; k < 32; ++k)
        if (d & (1u << k)) lista.Acrescenta(e.numero, k + 1);
    } else if (m == 0 && e.condicao == 0) {
      lista.Acrescenta(e.numero, 0);
    }
  }
  if (!lista.Vazia()) throw Erro(lista.Fecha());
}
