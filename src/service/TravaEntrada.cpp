// The lock on the input directory, kept across passes and taken again when the directory changes.
#include "service/TravaEntrada.h"

#include "log/GravaLog.h"

bool TravaEntrada::Garante(const std::string& dirEntrada) {
  const char* caminho = dirEntrada.empty() ? "." : dirEntrada.c_str();
  if (trava_ && dir_ == dirEntrada && trava_->Vale(caminho)) return true;

  if (dir_ != dirEntrada) {
    ocupada_ = false;
    semTrava_ = false;
  }
  dir_ = dirEntrada;
  // A new lock object: workers still running keep the old one, on the directory they came from.
  trava_ = std::make_shared<plataforma::TravaDiretorio>();
  int erro = 0;
  switch (trava_->Trava(caminho, erro)) {
    case plataforma::TravaDiretorio::Resultado::Travado:
      if (ocupada_) GravaLog("Diretorio de entrada liberado pelo outro servico: %s", dirEntrada.c_str());
      ocupada_ = false;
      semTrava_ = false;
      return true;
    case plataforma::TravaDiretorio::Resultado::Ocupado:
      trava_.reset();
      if (!ocupada_) {
        GravaLog("*** Diretorio de entrada em uso por outro servico: %s", dirEntrada.c_str());
        if (aviso_ && !avisou_) aviso_(dirEntrada);
        avisou_ = true;
      }
      ocupada_ = true;
      return false;
    case plataforma::TravaDiretorio::Resultado::NaoExiste:
      // The directory watch reports it; there is nothing to claim from meanwhile.
      trava_.reset();
      return true;
    case plataforma::TravaDiretorio::Resultado::Falhou:
      break;
  }
  trava_.reset();
  if (!semTrava_) {
    GravaLog("*** Diretorio de entrada sem trava (%s): %s", plataforma::TextoErro(erro).c_str(), dirEntrada.c_str());
  }
  semTrava_ = true;
  return true;
}
