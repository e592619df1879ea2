// zelpd --verifica: the file read as the service reads it, each part checked, a verdict.
#include "verifica/VerificaConfiguracao.h"

#include <cstdio>

#include "config/LeitorIni.h"
#include "config/ValoresConfig.h"
#include "verifica/Relatorio.h"
#include "verifica/Verificacoes.h"

int VerificaConfiguracao(const char* caminhoIni, bool conecta) {
  Relatorio r(stdout);
  LeitorIni ini;
  r.Linha("Configuration file: %s", MostraCaminho(caminhoIni).c_str());
  // The service loads the defaults from a file it cannot read, and so stops for want of a host.
  if (!ini.Carrega(caminhoIni)) r.Erro("cannot be read: every setting takes its default");
  VerificaChaves(ini, r);

  const ValoresConfig v = LeValores(ini);
  VerificaTemposEPastas(v, r);
  VerificaServidores(v, conecta, r);
  VerificaEstabelecimentos(v, r);

  const char* fatal = v.ErroFatal();
  if (fatal != nullptr) {
    r.Linha("Start-up:");
    // The text as the service logs it, without its leading line break.
    r.Erro("the service stops at its first load with \"%s\"", fatal + (fatal[0] == '\n' ? 1 : 0));
  }

  if (r.Erros() == 0) {
    r.Linha("Ready: the service would start and serve (%d warning(s)).", r.Avisos());
    std::fflush(stdout);
    return 0;
  }
  r.Linha("Not ready: %d error(s), %d warning(s); the service would %s.", r.Erros(), r.Avisos(),
          fatal != nullptr ? "not start" : "not serve every transaction");
  std::fflush(stdout);
  return 1;
}
