// One request, from the claimed file to its published answer, then the clean-up of processed requests.
#include "service/ProcessaPedido.h"

#include <exception>
#include <string>
#include <utility>

#include "codec/ExecutaTransacao.h"
#include "codec/RespostaErro.h"
#include "comum/Erro.h"
#include "config/TX.h"
#include "fields/ArquivoCampos.h"
#include "fields/TG.h"
#include "hostlink/Estabelecimento.h"
#include "log/GravaLog.h"
#include "service/LimpaProcessados.h"
#include "service/RegistraTransacao.h"

namespace {

constexpr int NUM_ARQUIVOS_ESTABELECIMENTO = 10;

// The checks of the request and the conversation with the host; every refusal is an Erro. host
// receives the address of the host connected to, once there is one.
void ExecutaPedido(TX& config, TG& transacao, std::string& host) {
  if (transacao.tipo == -1) throw Erro::Formata("*ZELP* Campo [%03d-%03d = %02d] invalido", 11, 0, transacao.codigo);
  if (transacao.indiceArquivo < 0 || transacao.indiceArquivo >= NUM_ARQUIVOS_ESTABELECIMENTO) {
    throw Erro::Formata("*ZELP* Campo [%03d-%03d = %02d] invalido", 383, 0, transacao.indiceArquivo);
  }
  const TTipoTransacao& tipo = transacao.Tipo();
  const int grupo = tipo.indicePar;
  const std::string arquivo = config.ArquivoEstabelecimento(grupo, transacao.indiceArquivo);
  if (arquivo.empty()) throw Erro::Formata("*ZELP* Faltando 'Par%d', 'arq%d'", grupo, transacao.indiceArquivo);

  LeEstabelecimento(arquivo.c_str(), transacao.estabelecimento);
  // The time-outs are read now: a reload during the transaction changes only later steps.
  ExecutaTransacao(transacao, config.Servidor(tipo.indiceEnd), config.TempoResposta(), config.TempoConexao(),
                   config.Imediato(), &host);
}

// The point of sale saw the status but will never see this answer, which the host may have
// approved: the line keeps what an operator needs to settle the sale by hand.
void AvisaRespostaPerdida(const TG& transacao) {
  const TA* codigo = transacao.Procura(9, 0);
  GravaLog("*** Resposta %0*lld nao publicada, 009-000 = %.20s", LarguraNome(),
           static_cast<long long>(transacao.identificador), codigo != nullptr ? codigo->valor.c_str() : "");
}

}  // namespace

void ProcessaPedido(TX& config, std::FILE* arquivo, ReservaPedido reserva, Momento reivindicado) {
  TG transacao;
  zelp_log::RegistroTransacao registro;
  // Until an answer is out, nothing was published.
  zelp_log::Desfecho desfecho = zelp_log::Desfecho::NaoPublicada;
  try {
    const bool usavel = LePedido(transacao, arquivo);
    AnotaPedido(registro, transacao);
    // A request of three fields or fewer gets no answer at all; an "ATV" request only its status.
    if (usavel && PublicaStatus(transacao, config.DirSaida(), LarguraNome())) {
      if (PedidoDeStatus(transacao)) {
        desfecho = zelp_log::Desfecho::SoStatus;
      } else {
        bool respostaDeErro = false;
        try {
          ExecutaPedido(config, transacao, registro.host);
        } catch (const Erro& e) {
          MontaRespostaErro(transacao, e.Texto());
          respostaDeErro = true;
        } catch (const std::exception&) {
          // Nothing but Erro is expected here; anything else (memory exhausted) still gets an answer
          // instead of taking the whole service down with the till waiting.
          MontaRespostaErro(transacao, "*ZELP* Erro interno do servidor");
          respostaDeErro = true;
        }
        AnotaResposta(registro, transacao);
        if (GravaResposta(transacao, config.DirSaida(), LarguraNome())) {
          desfecho = DesfechoDaResposta(transacao, respostaDeErro);
        } else {
          AvisaRespostaPerdida(transacao);
        }
      }
    }
  } catch (const std::exception&) {
    GravaLog("*** Erro interno ao processar pedido %lld", static_cast<long long>(transacao.identificador));
  }
  RegistraTransacao(registro, desfecho, reivindicado);

  // The transaction is over: from here its .log file is an ordinary processed request.
  reserva.Libera();
  LimpaProcessados(config.DirEntrada(), config.MascaraLog(), LarguraNome());
}
