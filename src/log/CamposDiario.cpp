// The fields of the line being logged, kept per thread: the window's sink runs on the logging thread.
#include "log/CamposDiario.h"

namespace zelp_log {

namespace {
thread_local const LinhaComCampos* atual = nullptr;
}  // namespace

LinhaComCampos::LinhaComCampos(const std::string& mensagem, const std::vector<std::string>& campos)
    : mensagem_(mensagem), campos_(campos), anterior_(atual) {
  atual = this;
}

LinhaComCampos::~LinhaComCampos() { atual = anterior_; }

const std::vector<std::string>* CamposDaLinha(const char* linhaJanela) {
  if (atual == nullptr || linhaJanela == nullptr) return nullptr;
  // Any other text shown meanwhile (an overflow notice, a failure to open the file) is not the line.
  const char* texto = linhaJanela[0] == ' ' ? linhaJanela + 1 : linhaJanela;
  if (atual->Mensagem() != texto && atual->Mensagem() != linhaJanela) return nullptr;
  return &atual->Campos();
}

}  // namespace zelp_log
