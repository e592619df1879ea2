// What the journals keep of one transaction: a few named fields, never card data.
#include "service/RegistraTransacao.h"

#include <exception>
#include <string>
#include <vector>

#include "comum/Texto.h"
#include "config/TX.h"
#include "log/CamposDiario.h"

namespace {

std::string Valor(const TG& t, std::int32_t numero) {
  const TA* campo = t.Procura(numero, 0);
  return campo != nullptr ? campo->valor : std::string();
}

std::string Mensagem(const zelp_log::RegistroTransacao& r) {
  std::string linha =
      "Pedido " + zelp_log::EscapaControles(r.numero) + " encerrado em " + std::to_string(r.ms) + " ms: ";
  if (!r.codigo.empty()) linha += "codigo " + zelp_log::EscapaControles(r.codigo) + ", ";
  if (!r.resposta.empty()) linha += "resposta " + zelp_log::EscapaControles(r.resposta) + ", ";
  return linha + "resultado " + zelp_log::NomeDesfecho(r.desfecho);
}

}  // namespace

void AnotaPedido(zelp_log::RegistroTransacao& registro, const TG& pedido) {
  registro.numero = Formata("%0*lld", LarguraNome(), static_cast<long long>(pedido.identificador));
  registro.cabecalho = pedido.cabecalho;
  registro.codigo = pedido.Procura(11, 0) != nullptr ? std::to_string(pedido.codigo) : std::string();
  registro.valor = Valor(pedido, 3);
}

void AnotaResposta(zelp_log::RegistroTransacao& registro, const TG& resposta) {
  registro.resposta = Valor(resposta, 9);
  // The blanks that fill the host's fixed-width text say nothing.
  registro.texto = Valor(resposta, 30);
  registro.texto.erase(registro.texto.find_last_not_of(' ') + 1);
}

zelp_log::Desfecho DesfechoDaResposta(const TG& resposta, bool respostaDeErro) {
  if (resposta.tipo == -1) return zelp_log::Desfecho::TipoDesconhecido;
  if (respostaDeErro) return zelp_log::Desfecho::Erro;
  return Valor(resposta, 9) == "00" ? zelp_log::Desfecho::Aprovada : zelp_log::Desfecho::Recusada;
}

void RegistraTransacao(zelp_log::RegistroTransacao& registro, zelp_log::Desfecho desfecho,
                       const Momento& reivindicado) {
  try {
    const Momento fim = MomentoAtual();
    registro.inicio = reivindicado.hora;
    registro.fim = fim.hora;
    registro.ms = fim.ticks - reivindicado.ticks;
    registro.desfecho = desfecho;
    zelp_log::GravaDiarioTransacoes(registro);

    const std::vector<std::string> valores = zelp_log::ValoresRegistro(registro);
    std::vector<std::string> campos;
    for (int i = 0; i < zelp_log::NUM_COLUNAS_DIARIO; ++i) {
      campos.push_back(std::string(zelp_log::colunasDiario[i].diario) + "=" + valores[static_cast<std::size_t>(i)]);
    }
    zelp_log::EnviaRegistro(Mensagem(registro), campos);
  } catch (const std::exception&) {
    // Memory exhausted: the answer is out already, and the record is not worth a failed worker.
  }
}
