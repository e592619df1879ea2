// The request text served from memory through fopencookie, which sees the reader's fclose.
#include "fields/ArquivoMemoria.h"

#include <sys/types.h>

struct ArquivoMemoria::Estado {
  std::string texto;
  std::size_t posicao = 0;
  bool fechado = false;

  static ssize_t Le(void* cookie, char* destino, std::size_t tamanho) {
    auto* self = static_cast<Estado*>(cookie);
    const std::size_t resta = self->texto.size() - self->posicao;
    const std::size_t n = tamanho < resta ? tamanho : resta;
    self->texto.copy(destino, n, self->posicao);
    self->posicao += n;
    return static_cast<ssize_t>(n);
  }
  static int Fecha(void* cookie) {
    static_cast<Estado*>(cookie)->fechado = true;
    return 0;
  }
};

ArquivoMemoria::ArquivoMemoria(std::string texto) : estado_(new Estado{std::move(texto)}) {
  cookie_io_functions_t funcoes{};
  funcoes.read = &Estado::Le;
  funcoes.close = &Estado::Fecha;
  arquivo_ = fopencookie(estado_.get(), "r", funcoes);
}

ArquivoMemoria::~ArquivoMemoria() {
  if (!estado_->fechado && arquivo_ != nullptr) std::fclose(arquivo_);
}

bool ArquivoMemoria::Fechado() const { return estado_->fechado; }
