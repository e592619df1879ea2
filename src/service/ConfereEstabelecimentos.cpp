// The establishment files of a configuration just put in force, examined once each.
#include "service/ConfereEstabelecimentos.h"

#include <set>
#include <string>

#include "config/ChavesConfig.h"
#include "config/TX.h"
#include "hostlink/Estabelecimento.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"

void ConfereEstabelecimentos(const TX& config) {
  std::set<std::string> vistos;
  for (int g = 0; g < NUM_GRUPOS; ++g) {
    for (int k = 0; k < TP::NUM_ARQUIVOS; ++k) {
      const std::string caminho = config.ArquivoEstabelecimento(g, k);
      if (caminho.empty() || !vistos.insert(caminho).second) continue;
      const ExameEstabelecimento exame = ExaminaEstabelecimento(caminho.c_str());
      const char* c = caminho.c_str();
      switch (exame.estado) {
        case EstadoEstabelecimento::Bom:
          break;
        case EstadoEstabelecimento::Inexistente:
          GravaLog("*** Arquivo de estabelecimento inexistente: %s", c);
          break;
        case EstadoEstabelecimento::Ilegivel:
          GravaLog("*** Arquivo de estabelecimento ilegivel (%s): %s", plataforma::TextoErro(exame.erro).c_str(), c);
          break;
        case EstadoEstabelecimento::Curto:
          GravaLog("*** Arquivo de estabelecimento com %zu bytes, esperados %d: %s", exame.tamanho,
                   TAM_ESTABELECIMENTO, c);
          break;
        case EstadoEstabelecimento::Adulterado:
          GravaLog("*** Arquivo de estabelecimento adulterado: %s", c);
          break;
      }
    }
  }
}
