// A request file held in memory: a read-only FILE* over a text that records whether it was closed.
#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>

class ArquivoMemoria {
 public:
  explicit ArquivoMemoria(std::string texto) : texto_(std::move(texto)) {
    cookie_io_functions_t funcoes{};
    funcoes.read = &Le;
    funcoes.close = &Fecha;
    arquivo_ = fopencookie(this, "r", funcoes);
  }
  // A reader that failed to close it must not leak it into the next test.
  ~ArquivoMemoria() {
    if (!fechado_ && arquivo_ != nullptr) std::fclose(arquivo_);
  }
  ArquivoMemoria(const ArquivoMemoria&) = delete;
  ArquivoMemoria& operator=(const ArquivoMemoria&) = delete;

  // The stream to hand to the reader, which takes it over.
  std::FILE* Arquivo() const { return arquivo_; }
  bool Fechado() const { return fechado_; }

 private:
  static ssize_t Le(void* cookie, char* destino, std::size_t tamanho) {
    auto* self = static_cast<ArquivoMemoria*>(cookie);
    const std::size_t resta = self->texto_.size() - self->posicao_;
    const std::size_t n = tamanho < resta ? tamanho : resta;
    self->texto_.copy(destino, n, self->posicao_);
    self->posicao_ += n;
    return static_cast<ssize_t>(n);
  }
  static int Fecha(void* cookie) {
    static_cast<ArquivoMemoria*>(cookie)->fechado_ = true;
    return 0;
  }

  std::string texto_;
  std::size_t posicao_ = 0;
  bool fechado_ = false;
  std::FILE* arquivo_ = nullptr;
};
