// The configuration load: the values of the file put in force, the addresses resolved, and the two
// fatal checks; at the start a fatal file ends the service, on a reload it is refused whole.
#include "comum/Err.h"
#include "config/LeitorIni.h"
#include "config/TX.h"
#include "config/ValoresConfig.h"
#include "log/GravaLog.h"

void TX::CarregaConfig() {
  LeitorIni ini;
  const bool legivel = ini.Carrega(caminhoIni_.c_str());
  if (!carregou_) {
    PrimeiraCarga(ini);
    return;
  }
  if (!legivel) {
    AvisaIlegivel();
    return;
  }
  Recarrega(ini);
}

void TX::PrimeiraCarga(const LeitorIni& ini) {
  const ValoresConfig v = LeValores(ini);
  Aplica(v);
  // At the start nothing else is in force: the service ends, as it always has, with the values read.
  if (const char* erro = v.ErroFatal()) throw Err(erro);
}

bool TX::Recarrega(const LeitorIni& ini) {
  avisouIlegivel_ = false;
  const ValoresConfig v = LeValores(ini);
  // Checked before anything changes: a typo saved into the live file must not take the tills down,
  // nor leave them half on the new values.
  if (const char* erro = v.ErroFatal()) {
    GravaLog("%s", erro);
    GravaLog("*** Configuracao de %s nao aplicada, mantida a configuracao anterior", caminhoIni_.c_str());
    return false;
  }
  Aplica(v);
  GravaLog("Configuracao recarregada de %s", caminhoIni_.c_str());
  return true;
}

void TX::AvisaIlegivel() {
  if (avisouIlegivel_) return;
  avisouIlegivel_ = true;
  GravaLog("*** Erro ao ler %s, mantida a configuracao anterior", caminhoIni_.c_str());
}

void TX::Aplica(const ValoresConfig& v) {
  carregou_ = true;
  avisouIlegivel_ = false;
  {
    MutexLocker travado(trava_);
    intervaloIni_ = v.intervaloIni;
    tempoResposta_ = v.tempoResposta;
    tempoConexao_ = v.tempoConexao;
    imediato_ = v.imediato;

    dirEntrada_ = v.dirEntrada;
    mascaraEntrada_ = dirEntrada_ + "*.ENV";
    dirSaida_ = v.dirSaida;

    zelp_log::DefineDirLog(v.dirLog.c_str());
    DefineLarguraNome(v.larguraNome);

    // A reload replaces every value: clean-up switched off in the file is off again, and a new
    // input directory moves the clean-up with it.
    mascaraLog_ = v.apagaProcessados ? dirEntrada_ + "*.log" : std::string();
  }

  for (int n = 0; n < NUM_GRUPOS; ++n) {
    CarregaServidor(v.servidores[n], n);
    CarregaParametros(v.arquivos[n], n);
  }
}

void TX::CarregaServidor(const ValoresConfig::Servidor& valores, int n) {
  TU& grupo = servidores_[n];
  MutexLocker travado(grupo.trava);
  LimpaServidor(grupo);
  for (const auto& endereco : valores.enderecos) AdicionaEndereco(grupo, endereco.texto.c_str());
  grupo.porta = valores.porta;
}

void TX::CarregaParametros(const std::string (&arquivos)[TP::NUM_ARQUIVOS], int n) {
  TP& grupo = parametros_[n];
  MutexLocker travado(grupo.trava);
  for (int k = 0; k < TP::NUM_ARQUIVOS; ++k) grupo.arquivos[k] = arquivos[k];
}
