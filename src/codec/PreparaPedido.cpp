// Everything of a request up to the finished frame, without any network.
#include "codec/PreparaPedido.h"

#include <memory>

#include "codec/MensagemCampoInvalido.h"
#include "codec/MontaCabecalho.h"
#include "codec/MontaPedido.h"
#include "codec/TipoValido.h"
#include "comum/Erro.h"
#include "comum/Texto.h"

namespace {

const char* TextoEstabelecimento(const TG& transacao, int i) {
  return i == 1 ? transacao.estabelecimento.texto1.c_str() : transacao.estabelecimento.texto2.c_str();
}

}  // namespace

std::int32_t CapacidadePedido(const TTipoTransacao& t) {
  return t.prefixo + 8 + t.pedido.TamanhoFixo() + t.pedido.maxRepeticoes * t.pedido.tamRepeticao;
}

std::int32_t CapacidadeResposta(const TTipoTransacao& t) {
  return t.resposta.TamanhoFixo() + t.resposta.maxRepeticoes * t.resposta.tamRepeticao + 8;
}

BF PreparaPedido(TG& transacao) {
  const TTipoTransacao& t = TipoValido(transacao);

  if (transacao.quantidade + t.numConstantes + t.numEstabelecimento >= MAX_CAMPOS)
    throw Erro("*ZELP* NUMERO DE CAMPOS EXCEDIDO!");

  if (!IguaisSemCaixa(transacao.cabecalho, t.nome)) {
    char mensagem[TAM_MENSAGEM];
    throw Erro(MensagemCampoInvalido(mensagem, 0, 0, transacao.cabecalho));
  }

  for (int i = 1; i <= t.numEstabelecimento; ++i)
    transacao.Acrescenta(std::make_unique<TA>(900 + i, 0, TextoEstabelecimento(transacao, i)));
  for (int j = 0; j < t.numConstantes; ++j)
    transacao.Acrescenta(std::make_unique<TA>(910 + j, 0, t.constantes[j]));

  transacao.Ordena();

  const std::int32_t p = t.prefixo + TAM_CABECALHO_MENSAGEM;
  BF pedido(CapacidadePedido(t));
  const std::int32_t l = MontaPedido(transacao, pedido.dados.get() + p, t.pedido);
  pedido.tamanho = l;
  if (l <= 0) {
    pedido.tamanho = 0;
    return pedido;
  }
  MontaCabecalho(transacao, pedido.dados.get() + t.prefixo, l);
  pedido.tamanho = l + p;
  return pedido;
}
