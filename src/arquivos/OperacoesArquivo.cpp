// Delete-with-retry and rename-with-replace: the two file operations behind every claim and every
// published status or response file.
#include "arquivos/OperacoesArquivo.h"

#include "log/GravaLog.h"
#include "platform/Arquivos.h"

namespace {
bool Sumiu(plataforma::ResultadoApaga r) {
  return r == plataforma::ResultadoApaga::Apagado || r == plataforma::ResultadoApaga::NaoExiste;
}
}  // namespace

bool ApagaArquivo(const char* caminho) {
  if (caminho == nullptr) return false;
  if (Sumiu(plataforma::Apaga(caminho))) return true;
  // The right to delete is the folder's, not the file's: a read-only file is deleted as any other,
  // and no permission is changed to force a delete. One more try covers a passing failure.
  return Sumiu(plataforma::Apaga(caminho));
}

bool RenomeiaArquivo(const char* de, const char* para, int indice) {
  if (de == nullptr || para == nullptr) return false;
  if (!ApagaArquivo(para)) GravaLog("*** Erro de acesso a %s", para);
  if (!plataforma::Renomeia(de, para)) {
    // A blocked request is retried quietly; only its first failure is worth a line.
    if (indice < 0) GravaLog("*** Erro ao renomear para %s", para);
    return false;
  }
  GravaLog("%s renomeado como %s", de, para);
  return true;
}
