// The time-outs, the name width and the three directories: each directory must exist and let the
// service create, rename and delete files in it.
#include <string>

#include "config/TX.h"
#include "hostlink/Conexao.h"
#include "hostlink/TrocaMensagem.h"
#include "platform/Arquivos.h"
#include "platform/Protecao.h"
#include "verifica/Verificacoes.h"

namespace {

void VerificaPasta(const char* papel, const std::string& caminho, bool deTroca, Relatorio& r) {
  r.Linha("%s: %s", papel, MostraCaminho(caminho).c_str());
  if (!plataforma::ExisteDiretorio(caminho.c_str())) {
    r.Erro("missing, or not a directory");
    return;
  }
  if (!plataforma::DiretorioGravavel(caminho.c_str())) {
    r.Erro("this user may not create, rename and delete files in it");
  }
  plataforma::AcessoDeOutros outros;
  if (deTroca && plataforma::ConsultaAcessoDeOutros(caminho.c_str(), outros) && outros.escrita) {
    r.Aviso("every user may write in it, not only the point of sale's group: any of them can drop requests "
            "or put files in the gateway's way; make it mode 2770, group zelp");
  }
}

}  // namespace

void VerificaTemposEPastas(const ValoresConfig& v, Relatorio& r) {
  r.Linha("Times: zelp.ini looked at every %u s, %d s to connect, %d s for the host's answer; %s",
          v.intervaloIni / 1000u, TempoConexaoValido(v.tempoConexao), TempoRespostaValido(v.tempoResposta),
          v.imediato ? "immediate mode (waits on events)" : "the default pace (200 ms passes, 100 ms looks)");
  if (TempoConexaoValido(v.tempoConexao) != v.tempoConexao) {
    r.Aviso("TOutCnx = %d: the service waits %d s instead", v.tempoConexao, TempoConexaoValido(v.tempoConexao));
  }
  if (TempoRespostaValido(v.tempoResposta) != v.tempoResposta) {
    r.Aviso("TOutCnf = %d: the service waits %d s instead", v.tempoResposta, TempoRespostaValido(v.tempoResposta));
  }
  r.Linha("File names: %d digits; processed requests are %s", v.larguraNome,
          v.apagaProcessados ? "deleted after each transaction" : "kept");
  if (!v.apagaProcessados) {
    r.Aviso("[Deleta] Log is 0: every processed request (*.log), with its card data, stays in the input "
            "directory; set Log=1 to delete each one once its transaction is over");
  }
  if (v.larguraNome != v.tamNomeArq) {
    r.Aviso("TamNomeArq = %d is outside %d..%d: the service uses %d", v.tamNomeArq, LARGURA_NOME_MIN, LARGURA_NOME_MAX,
            v.larguraNome);
  }

  VerificaPasta("Input directory (requests)", v.dirEntrada, true, r);
  VerificaPasta("Output directory (status and responses)", v.dirSaida, true, r);
  if (v.dirLog.empty()) {
    r.Linha("Log directory: none");
    r.Aviso("Errlog is not set: no daily log file is written");
  } else {
    VerificaPasta("Log directory", v.dirLog, false, r);
  }
}
