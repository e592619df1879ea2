// A request file held by the test: a read-only FILE* over a text, that tells whether the reader
// closed it. posix/ serves it from memory (fopencookie); windows/ from a file in a temporary folder,
// whose close shows as the file becoming free to open alone.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

class ArquivoMemoria {
 public:
  explicit ArquivoMemoria(std::string texto);
  // A reader that failed to close it must not leak it into the next test.
  ~ArquivoMemoria();
  ArquivoMemoria(const ArquivoMemoria&) = delete;
  ArquivoMemoria& operator=(const ArquivoMemoria&) = delete;

  // The stream to hand to the reader, which takes it over.
  std::FILE* Arquivo() const { return arquivo_; }
  bool Fechado() const;

 private:
  struct Estado;
  std::unique_ptr<Estado> estado_;
  std::FILE* arquivo_ = nullptr;
};
