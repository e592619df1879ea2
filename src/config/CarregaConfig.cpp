// The configuration load: the values of the file put in force, the addresses resolved, and the two
// fatal checks.
#include "comum/Err.h"
#include "config/LeitorIni.h"
#include "config/TX.h"
#include "config/ValoresConfig.h"
#include "log/GravaLog.h"

void TX::CarregaConfig() {
  LeitorIni ini;
  if (!ini.Carrega(caminhoIni_.c_str()) && carregou_) {
    AvisaIlegivel();
    return;
  }
  Aplica(ini);
}

void TX::AvisaIlegivel() {
  if (avisouIlegivel_) return;
  avisouIlegivel_ = true;
  GravaLog("*** Erro ao ler %s, mantida a configuracao anterior", caminhoIni_.c_str());
}

void TX::Aplica(const LeitorIni& ini) {
  carregou_ = true;
  avisouIlegivel_ = false;
  const ValoresConfig v = LeValores(ini);
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
  if (const char* erro = v.ErroFatal()) throw Err(erro);
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
