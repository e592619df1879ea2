// The lines on their way from any thread to the window's list, with the 128-line rule.
#include "ui/FilaLinhas.h"

#include <utility>

void TFilaLinhas::Liga(Aviso aviso) {
  MutexLocker trava(travaLista);
  aviso_ = std::move(aviso);
  avisado_ = false;
  pendente_ = Lote{};
  linhasNaLista_ = 0;
}

void TFilaLinhas::Desliga() {
  MutexLocker trava(travaLista);
  aviso_ = nullptr;
  avisado_ = false;
  pendente_ = Lote{};
  linhasNaLista_ = 0;
}

bool TFilaLinhas::Ligada() {
  MutexLocker trava(travaLista);
  return static_cast<bool>(aviso_);
}

void TFilaLinhas::Adiciona(const char* texto) noexcept {
  if (texto == nullptr) return;
  try {
    MutexLocker trava(travaLista);
    if (!aviso_) return;
    if (linhasNaLista_ >= MAX_LINHAS_LISTA) {
      // Everything still pending would be removed with the list's lines, so it never needs to be
      // shown: the queue never holds more than one list's worth of lines, however slow the window is.
      pendente_.limpar = true;
      pendente_.linhas.clear();
      linhasNaLista_ = 0;
    }
    pendente_.linhas.emplace_back(texto);
    ++linhasNaLista_;
    if (!avisado_) {
      avisado_ = true;
      aviso_();
    }
  } catch (...) {
    // Out of memory: the line is lost.
  }
}

TFilaLinhas::Lote TFilaLinhas::Retira() {
  MutexLocker trava(travaLista);
  Lote lote = std::move(pendente_);
  pendente_ = Lote{};
  avisado_ = false;
  return lote;
}
