// Sockets of the host simulator: the listening loop and the handling of one connection.
#include "zelp-host/Servidor.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "catalogo/Catalogo.h"
#include "comum/Texto.h"
#include "platform/Arquivos.h"
#include "platform/Escuta.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tcp.h"
#include "zelp-host/LeituraPedido.h"
#include "zelp-host/Mascara.h"
#include "zelp-host/Quadro.h"
#include "zelp-host/Relatorio.h"
#include "zelp-host/RespostaSimulada.h"

namespace simulador {

namespace {

using Relogio = std::chrono::steady_clock;

// Enough for a burst of a thousand sales at once from a gateway in immediate mode.
constexpr int MAX_CONEXOES_SIMULTANEAS = 1024;
constexpr std::size_t TAM_PEDACO = 7;
constexpr auto PAUSA_PEDACOS = std::chrono::milliseconds(20);

int MsAte(Relogio::time_point limite) {
  const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Relogio::now()).count();
  return resta <= 0 ? 0 : static_cast<int>(resta);
}

// Receives exactly n bytes before the limit; returns how many came (fewer on close, error or
// time-out).
// One wait for data and one recv: Dados, NadaAinda (nothing before the limit, or a retry is due),
// Fechado or Falhou.
plataforma::ResultadoRecebe RecebeAte(const plataforma::Socket& s, void* destino, std::size_t n, std::size_t& lidos,
                                      Relogio::time_point limite) {
  lidos = 0;
  int erro = 0;
  const auto espera = plataforma::EsperaLeitura(s, MsAte(limite), erro);
  if (espera == plataforma::ResultadoEspera::Falhou) return plataforma::ResultadoRecebe::Falhou;
  if (espera == plataforma::ResultadoEspera::Expirou) return plataforma::ResultadoRecebe::NadaAinda;
  return plataforma::Recebe(s, destino, n, lidos, erro);
}

// Receives exactly n bytes before the limit; returns how many came (fewer on close, error or
// time-out).
std::size_t RecebeExato(const plataforma::Socket& s, std::uint8_t* destino, std::size_t n, Relogio::time_point limite) {
  std::size_t recebidos = 0;
  while (recebidos < n) {
    std::size_t lidos = 0;
    const auto r = RecebeAte(s, destino + recebidos, n - recebidos, lidos, limite);
    if (r == plataforma::ResultadoRecebe::Fechado || r == plataforma::ResultadoRecebe::Falhou) break;
    if (r == plataforma::ResultadoRecebe::NadaAinda && MsAte(limite) == 0) break;
    recebidos += lidos;
  }
  return recebidos;
}

bool EnviaTudo(const plataforma::Socket& s, const std::uint8_t* dados, std::size_t n) {
  std::size_t enviados = 0;
  while (enviados < n) {
    std::size_t feito = 0;
    int erro = 0;
    // The connection blocks on its sends: Cheio comes only from an interrupted one.
    if (plataforma::Envia(s, dados + enviados, n - enviados, feito, erro) == plataforma::ResultadoEnvio::Falhou) {
      return false;
    }
    enviados += feito;
  }
  return true;
}

// Holds the connection without answering until the peer closes it or the limit passes.
void EsperaFechamento(const plataforma::Socket& s, Relogio::time_point limite) {
  std::uint8_t descarte[512];
  for (;;) {
    std::size_t lidos = 0;
    const auto r = RecebeAte(s, descarte, sizeof descarte, lidos, limite);
    if (r == plataforma::ResultadoRecebe::Fechado || r == plataforma::ResultadoRecebe::Falhou) return;
    if (r == plataforma::ResultadoRecebe::NadaAinda && MsAte(limite) == 0) return;
  }
}

Contexto Agora(unsigned nsu) {
  const plataforma::HoraLocal agora = plataforma::AgoraLocal();
  Contexto c;
  c.ano = agora.ano;
  c.mes = agora.mes;
  c.dia = agora.dia;
  c.hora = agora.hora;
  c.minuto = agora.minuto;
  c.segundo = agora.segundo;
  c.nsu = nsu;
  return c;
}

}  // namespace

std::string Servidor::Dump(const std::uint8_t* dados, std::size_t tamanho, const PedidoLido& lido) const {
  if (opcoes_.mostraCartao) return DumpHexa(dados, tamanho);
  const std::vector<std::uint8_t> mascara = MascaraDados(lido, dados, tamanho);
  return DumpHexa(dados, tamanho, &mascara);
}

std::string Servidor::DumpResposta(const TTipoTransacao& tipo, const std::vector<std::uint8_t>& quadro) const {
  if (opcoes_.mostraCartao) return DumpHexa(quadro.data(), quadro.size());
  // The data after the prefix and the header, read back by the response layout.
  const std::size_t inicio = (tipo.prefixo > 0 ? TAM_PREFIXO : 0) + TAM_CABECALHO;
  std::vector<std::uint8_t> mascara(quadro.size(), 0);
  if (quadro.size() > inicio) {
    const std::uint8_t* dados = quadro.data() + inicio;
    const std::size_t tamanho = quadro.size() - inicio;
    const std::vector<std::uint8_t> mascaraDados =
        MascaraDados(DecodificaPedido(tipo.resposta, dados, tamanho), dados, tamanho);
    std::copy(mascaraDados.begin(), mascaraDados.end(), mascara.begin() + static_cast<std::ptrdiff_t>(inicio));
  }
  return DumpHexa(quadro.data(), quadro.size(), &mascara);
}

Servidor::~Servidor() = default;

bool Servidor::Inicia(std::string& erro) {
  std::uint32_t ip = 0;
  if (!plataforma::LeIPv4(opcoes_.endereco.c_str(), ip)) {
    erro = "invalid address: " + opcoes_.endereco;
    return false;
  }
  int codigo = 0;
  escuta_ = plataforma::LigaTcp(ip, static_cast<std::uint16_t>(opcoes_.porta), codigo);
  if (!escuta_.Valido()) {
    erro = Formata("bind %s:%d: %s", opcoes_.endereco.c_str(), opcoes_.porta, plataforma::TextoErro(codigo).c_str());
    return false;
  }
  if (!plataforma::Escuta(escuta_, plataforma::FILA_MAXIMA, codigo)) {
    erro = Formata("listen: %s", plataforma::TextoErro(codigo).c_str());
    return false;
  }
  porta_ = plataforma::PortaLigada(escuta_);
  if (porta_ == 0) {
    erro = "getsockname: the listening port cannot be read";
    return false;
  }
  return true;
}

void Servidor::Imprime(const std::string& texto) {
  std::lock_guard<std::mutex> trava(trava_);
  std::fwrite(texto.data(), 1, texto.size(), stdout);
  std::fflush(stdout);
}

int Servidor::Executa() {
  unsigned atendidas = 0;
  while (opcoes_.vezes == 0 || atendidas < static_cast<unsigned>(opcoes_.vezes)) {
    {
      std::unique_lock<std::mutex> trava(trava_);
      mudou_.wait(trava, [this] { return ativos_ < MAX_CONEXOES_SIMULTANEAS; });
    }
    std::string texto;
    int erro = 0;
    plataforma::Socket conexao = plataforma::Aceita(escuta_, &texto, erro);
    if (!conexao.Valido()) {
      if (plataforma::ErroSoDaConexao(erro)) continue;
      // Out of descriptors or similar: report and give the system a moment instead of spinning.
      std::fprintf(stderr, "zelp-host: accept: %s\n", plataforma::TextoErro(erro).c_str());
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      continue;
    }
    ++atendidas;
    {
      std::lock_guard<std::mutex> trava(trava_);
      ++ativos_;
    }
    std::thread([this, conexao = std::move(conexao), atendidas, texto]() mutable {
      Atende(std::move(conexao), atendidas, texto);
      std::lock_guard<std::mutex> trava(trava_);
      --ativos_;
      mudou_.notify_all();
    }).detach();
  }
  std::unique_lock<std::mutex> trava(trava_);
  mudou_.wait(trava, [this] { return ativos_ == 0; });
  return 0;
}

void Servidor::Atende(plataforma::Socket conexao, unsigned numero, const std::string& origem) {
  const bool completo = !opcoes_.resumo;
  std::string s = Formata("--- connection %u from %s\n", numero, origem.c_str());
  const auto limite = Relogio::now() + std::chrono::seconds(opcoes_.tempoLeituraS);

  // The prefix is told apart by its first byte: a header never starts with 0.
  std::uint8_t inicio[TAM_PREFIXO + TAM_CABECALHO] = {};
  std::size_t lidos = RecebeExato(conexao, inicio, TAM_CABECALHO, limite);
  if (lidos < TAM_CABECALHO) {
    Imprime(s + Formata("incomplete request: %zu of %d header bytes; connection closed\n", lidos, TAM_CABECALHO));
    return;
  }
  const bool comPrefixo = IndicaPrefixo(inicio[0]);
  const std::uint8_t* bytesCabecalho = inicio;
  if (comPrefixo) {
    lidos += RecebeExato(conexao, inicio + TAM_CABECALHO, TAM_PREFIXO, limite);
    if (lidos < sizeof inicio) {
      Imprime(s + Formata("incomplete request: %zu of %zu bytes of prefix and header; connection closed\n", lidos,
                          sizeof inicio));
      return;
    }
    if (!PrefixoZerado(inicio)) {
      Imprime(s + "40-byte prefix with bytes other than zero; connection closed\n" +
              Dump(inicio, sizeof inicio, PedidoLido{}));
      return;
    }
    bytesCabecalho = inicio + TAM_PREFIXO;
  }
  const Cabecalho cabecalho = LeCabecalho(bytesCabecalho);
  std::vector<std::uint8_t> dados(cabecalho.tamanhoDados);
  lidos = RecebeExato(conexao, dados.data(), dados.size(), limite);
  s += TextoCabecalho(cabecalho) + (comPrefixo ? ", with a 40-byte prefix\n" : "\n");
  if (lidos < dados.size()) {
    Imprime(s + Formata("incomplete request: %zu of %zu data bytes; connection closed\n", lidos, dados.size()) +
            Dump(dados.data(), lidos, PedidoLido{}));
    return;
  }

  const int indice = IndiceDoCodigo(cabecalho.codigo);
  if (indice < 0) {
    Imprime(s + Formata("code %u has no catalogue type; connection closed without an answer\n", cabecalho.codigo) +
            Dump(dados.data(), dados.size(), PedidoLido{}));
    return;
  }
  const TTipoTransacao& tipo = tiposTransacao[indice];
  const PedidoLido pedido = DecodificaPedido(tipo.pedido, dados.data(), dados.size());
  if (completo) {
    s += Formata("type %s, code %d\n", tipo.nome, static_cast<int>(tipo.codigo));
    if (comPrefixo != (tipo.prefixo > 0)) {
      s += Formata("  warning: code %d %s a prefix; the answer follows the catalogue\n", static_cast<int>(tipo.codigo),
                   tipo.prefixo > 0 ? "has" : "has no");
    }
    s += TextoPedido(pedido, opcoes_.mostraCartao) + "request data:\n" + Dump(dados.data(), dados.size(), pedido);
  }

  if (opcoes_.atrasoMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(opcoes_.atrasoMs));

  if (opcoes_.falha == Falha::Fecha) {
    Imprime(s + (completo ? "" : Formata("code %d: ", static_cast<int>(tipo.codigo))) +
            "fault fecha: connection closed without an answer\n");
    return;
  }
  if (opcoes_.falha == Falha::Mudo) {
    Imprime(s + (completo ? "" : Formata("code %d: ", static_cast<int>(tipo.codigo))) +
            "fault mudo: no answer; the connection stays open until the other side closes it\n");
    EsperaFechamento(conexao, Relogio::now() + std::chrono::seconds(opcoes_.esperaMudoS));
    Imprime(Formata("--- connection %u closed (mudo)\n", numero));
    return;
  }

  const RespostaSimulada resposta = MontaResposta(tipo, pedido, opcoes_.regras, Agora(++nsu_));
  std::uint16_t anunciado = static_cast<std::uint16_t>(resposta.dados.size());
  if (opcoes_.falha == Falha::TamanhoErrado) {
    const TLayoutMensagem& r = tipo.resposta;
    const long maximo = static_cast<long>(r.TamanhoFixo()) + static_cast<long>(r.maxRepeticoes) * r.tamRepeticao;
    anunciado = static_cast<std::uint16_t>(maximo + 1 > 65535 ? 65535 : maximo + 1);
  }
  const std::vector<std::uint8_t> quadro =
      MontaQuadro(tipo.prefixo > 0, CabecalhoResposta(cabecalho, anunciado), resposta.dados);

  bool enviado = true;
  if (opcoes_.falha == Falha::Pedacos) {
    for (std::size_t i = 0; i < quadro.size() && enviado; i += TAM_PEDACO) {
      if (i > 0) std::this_thread::sleep_for(PAUSA_PEDACOS);
      enviado = EnviaTudo(conexao, quadro.data() + i, std::min(TAM_PEDACO, quadro.size() - i));
    }
  } else {
    enviado = EnviaTudo(conexao, quadro.data(), quadro.size());
  }

  if (completo) {
    s += TextoResposta(resposta, opcoes_.mostraCartao);
    if (opcoes_.falha != Falha::Nenhuma) {
      s += Formata("fault %s: %u bytes announced in the header\n", NomeFalha(opcoes_.falha),
                   static_cast<unsigned>(anunciado));
    }
    s += "answer frame:\n" + DumpResposta(tipo, quadro);
  } else {
    s = Formata("--- connection %u from %s: code %d, sequence %u, response %02d (%s)%s%s\n", numero, origem.c_str(),
                static_cast<int>(tipo.codigo), static_cast<unsigned>(cabecalho.sequencia), resposta.codigoResposta,
                resposta.aprovacao ? "approval" : "refusal", opcoes_.falha != Falha::Nenhuma ? ", fault " : "",
                opcoes_.falha != Falha::Nenhuma ? NomeFalha(opcoes_.falha) : "");
  }
  s += enviado ? "" : "send failed: the other side closed the connection\n";
  Imprime(s);
}

}  // namespace simulador
