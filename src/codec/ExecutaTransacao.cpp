// The conversation of one transaction with the host: request, exchange, decoded response.
#include "codec/ExecutaTransacao.h"

#include <utility>

#include "codec/DecodificaResposta.h"
#include "codec/MontaCabecalho.h"
#include "codec/PreparaPedido.h"
#include "codec/TipoValido.h"
#include "comum/BF.h"
#include "hostlink/Conexao.h"
#include "hostlink/TrocaMensagem.h"

void ExecutaTransacao(TG& transacao, TU& servidor, int tOutCnf, int tOutCnx, bool imediato, std::string* host) {
  const TTipoTransacao& t = TipoValido(transacao);

  BF pedido = PreparaPedido(transacao);
  if (pedido.tamanho <= 0) return;

  BF resposta(CapacidadeResposta(t));
  plataforma::Socket socket = Conecta(servidor, tOutCnx, host);
  TrocaMensagem(std::move(socket), pedido, resposta, tOutCnf, t.prefixo != 0, imediato);

  if (resposta.tamanho > 0) {
    // Only what arrived as data is decoded: behind a short prefixed answer the buffer still
    // holds bytes of its prefix and header, which must read as zero like any byte not sent.
    std::int32_t recebidos = resposta.tamanho;
    if (recebidos > resposta.capacidade - TAM_CABECALHO_MENSAGEM) recebidos = resposta.capacidade - TAM_CABECALHO_MENSAGEM;
    DecodificaResposta(transacao, resposta.dados.get() + TAM_CABECALHO_MENSAGEM, recebidos, t.resposta);
  }
}

void ExecutaTransacao(TG& transacao, TX& contexto) {
  const TTipoTransacao& t = TipoValido(transacao);
  ExecutaTransacao(transacao, contexto.Servidor(t.indiceEnd), contexto.TempoResposta(), contexto.TempoConexao(),
                   contexto.Imediato());
}
