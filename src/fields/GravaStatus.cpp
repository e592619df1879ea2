// The status file: tells the point of sale that its request was taken.
#include "comum/Texto.h"
#include "fields/ArquivoCampos.h"
#include "fields/PublicaArquivo.h"

bool PublicaStatus(const TG& transacao, const std::string& dirSaida, int largura) {
  // Always "ATV", whatever the request's header: the status only says that the service is alive.
  const std::string conteudo = Formata("000-000 = ATV\r\n001-000 = %0*lld\r\n999-999 = \r\n", largura,
                                       static_cast<long long>(transacao.identificador));
  // Not flushed: the status only tells the point of sale that its request was taken, which the
  // claim's flushed rename already records, and it is superseded by the response, which is durable
  // (its directory flush also makes the status's rename durable). Its two flushes would delay every
  // sale by the disk's commit time before the host is even asked.
  return PublicaArquivo(dirSaida, largura, transacao.identificador, "sta", conteudo, false);
}

// A request with header "ATV" only asks whether the service is alive: the status is its answer.
bool PedidoDeStatus(const TG& transacao) { return IguaisSemCaixa(transacao.cabecalho, "ATV"); }

bool GravaStatus(const TG& transacao, const std::string& dirSaida, int largura) {
  return PublicaStatus(transacao, dirSaida, largura) && !PedidoDeStatus(transacao);
}
