// Which transaction types use a group: from the catalogue's own table, not a list of our own.
#include <string>

#include "catalogo/Catalogo.h"
#include "verifica/Verificacoes.h"

std::string CodigosDoGrupo(int g, bool endpoint) {
  std::string codigos;
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    if ((endpoint ? t.indiceEnd : t.indicePar) != g) continue;
    if (!codigos.empty()) codigos += ' ';
    codigos += std::to_string(t.codigo);
  }
  return codigos;
}
