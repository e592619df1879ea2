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

namespace {

constexpr int NUM_ARQUIVOS_ESTABELECIMENTO = 10;

// The checks of the request and the conversation with the host; every refusal is an Erro.
void ExecutaPedido(TX& config, TG& transacao) {
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
                   config.Imediato());
}

// The point of sale saw the status but will never see this answer, which the host may have
// approved: the line keeps what an operator needs to settle the sale by hand.
void AvisaRespostaPerdida(const TG& transacao) {
  const TA* codigo = transacao.Procura(9, 0);
  GravaLog("*** Resposta %0*lld nao publicada, 009-000 = %.20s", LarguraNome(),
           static_cast<long long>(transacao.identificador), codigo != nullptr ? codigo->valor.c_str() : "");
}

}  // namespace

void ProcessaPedido(TX& config, std::FILE* arquivo, ReservaPedido reserva) {
  TG transacao;
  try {
    // A request of three fields or fewer gets no answer at all; an "ATV" request only its status.
    if (LePedido(transacao, arquivo) && GravaStatus(transacao, config.DirSaida(), LarguraNome())) {
      try {
        ExecutaPedido(config, transacao);
      } catch (const Erro& e) {
        MontaRespostaErro(transacao, e.Texto());
      } catch (const std::exception&) {
        // Nothing but Erro is expected here; anything else (memory exhausted) still gets an answer
        // instead of taking the whole service down with the till waiting.
        MontaRespostaErro(transacao, "*ZELP* Erro interno do servidor");
      }
      if (!GravaResposta(transacao, config.DirSaida(), LarguraNome())) AvisaRespostaPerdida(transacao);
    }
  } catch (const std::exception&) {
    GravaLog("*** Erro interno ao processar pedido %lld", static_cast<long long>(transacao.identificador));
  }

  // The transaction is over: from here its .log file is an ordinary processed request.
  reserva.Libera();
  LimpaProcessados(config.DirEntrada(), config.MascaraLog(), LarguraNome());
}
