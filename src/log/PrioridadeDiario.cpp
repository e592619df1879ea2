// The journal priority of a window line.
#include "log/PrioridadeDiario.h"

#include <cstring>

namespace {

const char* SemBrancosIniciais(const char* texto) {
  while (*texto == ' ' || *texto == '\n' || *texto == '\r' || *texto == '\t') ++texto;
  return texto;
}

}  // namespace

int PrioridadeDiario(const char* linha, const char* textoFatal) {
  if (linha == nullptr) return PRIORIDADE_INFORMACAO;
  const char* texto = SemBrancosIniciais(linha);
  if (textoFatal != nullptr && std::strcmp(texto, SemBrancosIniciais(textoFatal)) == 0) return PRIORIDADE_ERRO;
  if (std::strncmp(texto, "***", 3) == 0) return PRIORIDADE_AVISO;
  return PRIORIDADE_INFORMACAO;
}
