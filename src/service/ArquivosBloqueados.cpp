// Bookkeeping of the blocked request files, used by the scan on the service thread only.
#include "service/ArquivosBloqueados.h"

#include "comum/Err.h"

void ArquivosBloqueados::Limpa() {
  for (Slot& s : slots_) s = Slot{};
  quantidade_ = 0;
}

int ArquivosBloqueados::Procura(const std::string& nome) const {
  if (quantidade_ == 0 || nome.empty()) return -1;
  for (int i = 0; i < MAX_BLOQUEADOS; ++i) {
    if (slots_[static_cast<std::size_t>(i)].nome == nome) return i;
  }
  return -1;
}

bool ArquivosBloqueados::RetentativaDevida(int i, std::uint32_t agora) {
  if (i < 0 || i >= MAX_BLOQUEADOS) return false;
  Slot& s = slots_[static_cast<std::size_t>(i)];
  // Unsigned difference: right across the wrap of the tick counter.
  if (static_cast<std::uint32_t>(agora - s.ultimaTentativa) < INTERVALO_RETENTATIVA) return false;
  s.ultimaTentativa = agora;
  if (++s.tentativas > MAX_TENTATIVAS) throw Err("*** Erro Arquivo bloqueado![1]");
  return true;
}

int ArquivosBloqueados::Adiciona(const std::string& nome, std::uint32_t agora) {
  if (quantidade_ >= MAX_BLOQUEADOS) throw Err("*** Erro Arquivo bloqueado![2]");
  for (int i = 0; i < MAX_BLOQUEADOS; ++i) {
    Slot& s = slots_[static_cast<std::size_t>(i)];
    if (s.nome.empty()) {
      s.nome = nome;
      s.ultimaTentativa = agora;
      s.tentativas = 0;
      ++quantidade_;
      return i;
    }
  }
  // The count and the slots disagree only if the table was corrupted; treat it as full.
  throw Err("*** Erro Arquivo bloqueado![2]");
}

void ArquivosBloqueados::Remove(int i) {
  if (i < 0 || i >= MAX_BLOQUEADOS) return;
  Slot& s = slots_[static_cast<std::size_t>(i)];
  if (s.nome.empty()) return;
  s = Slot{};
  --quantidade_;
}

bool ArquivosBloqueados::Estavel(int i, const Aspecto& aspecto, std::uint32_t agora) {
  if (i < 0 || i >= MAX_BLOQUEADOS) return false;
  Slot& s = slots_[static_cast<std::size_t>(i)];
  if (!s.temAspecto || !(s.aspecto == aspecto)) {
    s.aspecto = aspecto;
    s.aspectoDesde = agora;
    s.temAspecto = true;
    return false;
  }
  return static_cast<std::uint32_t>(agora - s.aspectoDesde) >= TEMPO_ESTAVEL;
}
