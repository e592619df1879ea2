// Delete-with-retry and rename-with-replace: the two file operations behind every claim and every
// published status or response file.
#include "arquivos/OperacoesArquivo.h"

#include "log/GravaLog.h"
#include "platform/Arquivos.h"

namespace {

bool Sumiu(plataforma::ResultadoApaga r) {
  return r == plataforma::ResultadoApaga::Apagado || r == plataforma::ResultadoApaga::NaoExiste;
}

// The right to delete is the folder's, not the file's: a read-only file is deleted as any other,
// and no permission is changed to force a delete. One more try covers a passing failure.
template <typename ApagaF>
bool ApagaDuasVezes(ApagaF apaga) {
  return Sumiu(apaga()) || Sumiu(apaga());
}

// The old target removed first, then the move; logged with the paths the operator knows.
template <typename ApagaF, typename RenomeiaF>
bool Move(const char* de, const char* para, int indice, ApagaF apagaAlvo, RenomeiaF renomeia) {
  if (!ApagaDuasVezes(apagaAlvo)) GravaLog("*** Erro de acesso a %s", para);
  if (!renomeia()) {
    // A blocked request is retried quietly; only its first failure is worth a line.
    if (indice < 0) GravaLog("*** Erro ao renomear para %s", para);
    return false;
  }
  GravaLog("%s renomeado como %s", de, para);
  return true;
}

}  // namespace

bool ApagaArquivo(const char* caminho) {
  if (caminho == nullptr) return false;
  return ApagaDuasVezes([caminho] { return plataforma::Apaga(caminho); });
}

bool RenomeiaArquivo(const char* de, const char* para, int indice) {
  if (de == nullptr || para == nullptr) return false;
  return Move(
      de, para, indice, [para] { return plataforma::Apaga(para); },
      [de, para] { return plataforma::Renomeia(de, para); });
}

bool RenomeiaNaPasta(plataforma::Pasta& pasta, const std::string& dir, const std::string& de,
                     const std::string& para) {
  const std::string caminhoDe = dir + de, caminhoPara = dir + para;
  return Move(
      caminhoDe.c_str(), caminhoPara.c_str(), -1, [&] { return pasta.Apaga(para.c_str()); },
      [&] { return pasta.Renomeia(de.c_str(), para.c_str()); });
}
