// The request text in a file of a temporary folder, opened as the service opens a claimed request.
// The C runtime's open lets others read and write but not open alone: once the reader has closed it,
// an exclusive open succeeds.
#include "fields/ArquivoMemoria.h"

#include <fstream>

#include "apoio/DiretorioTemporario.h"
#include "platform/windows/SistemaWindows.h"

struct ArquivoMemoria::Estado {
  DiretorioTemporario dir;
  std::string caminho;
};

ArquivoMemoria::ArquivoMemoria(std::string texto) : estado_(new Estado) {
  estado_->caminho = estado_->dir / "pedido.log";
  estado_->dir.Escreve("pedido.log", texto);
  arquivo_ = std::fopen(estado_->caminho.c_str(), "rb");
}

ArquivoMemoria::~ArquivoMemoria() {
  if (!Fechado() && arquivo_ != nullptr) std::fclose(arquivo_);
}

bool ArquivoMemoria::Fechado() const {
  plataforma::windows::Alca so(::CreateFileA(estado_->caminho.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
  return so.Valida();
}
