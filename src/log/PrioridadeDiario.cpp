// The journal priority of a window line.
#include "log/PrioridadeDiario.h"

#include <cstring>

namespace {

const char* SemBrancosIniciais(const char* texto) {
  while (*texto == ' ' || *texto == '\n' || *texto == '\r' || *texto == '\t') ++texto;
  return texto;
}

// The service thread's fatal texts begin with a line break before their "***" (the load's, the
// catalogue's): a reload refused for one of them logs it while the service goes on.
bool TextoFatal(const char* linha) {
  while (*linha == ' ') ++linha;
  return (*linha == '\n' || *linha == '\r') && std::strncmp(SemBrancosIniciais(linha), "***", 3) == 0;
}

}  // namespace

int PrioridadeDiario(const char* linha, const char* textoFatal) {
  if (linha == nullptr) return PRIORIDADE_INFORMACAO;
  const char* texto = SemBrancosIniciais(linha);
  if (textoFatal != nullptr && std::strcmp(texto, SemBrancosIniciais(textoFatal)) == 0) return PRIORIDADE_ERRO;
  if (TextoFatal(linha)) return PRIORIDADE_ERRO;
  if (std::strncmp(texto, "***", 3) == 0) return PRIORIDADE_AVISO;
  return PRIORIDADE_INFORMACAO;
}
