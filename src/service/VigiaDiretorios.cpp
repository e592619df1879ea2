// Watching the exchange directories from the service thread: a missing directory is a fault of the
// installation that the operator must hear about, but only when it changes.
#include "service/VigiaDiretorios.h"

#include "log/GravaLog.h"
#include "platform/Arquivos.h"

namespace {

void Olha(const std::string& dir, const char* qual, bool& falta) {
  const bool existe = plataforma::ExisteDiretorio(dir.empty() ? "." : dir.c_str());
  if (!existe && !falta) {
    GravaLog("*** Diretorio de %s inacessivel: %s", qual, dir.c_str());
  } else if (existe && falta) {
    GravaLog("Diretorio de %s acessivel: %s", qual, dir.c_str());
  }
  falta = !existe;
}

}  // namespace

void VigiaDiretorios::Verifica(const std::string& dirEntrada, const std::string& dirSaida, std::uint32_t agora) {
  // Unsigned difference: right across the wrap of the tick counter.
  if (olhou_ && static_cast<std::uint32_t>(agora - ultimaOlhada_) < INTERVALO) return;
  olhou_ = true;
  ultimaOlhada_ = agora;
  Olha(dirEntrada, "entrada", faltaEntrada_);
  Olha(dirSaida, "saida", faltaSaida_);
}
