// The framed exchange with the host: send the whole request, then poll for the response header and
// the data it announces, within one receive budget shared by both.
#include "hostlink/TrocaMensagem.h"

#include <cstring>

#include "comum/Erro.h"
#include "log/GravaLog.h"
#include "platform/Relogio.h"
#include "platform/Tcp.h"
#include "platform/TextoSistema.h"

namespace {

constexpr int TEMPO_RESPOSTA_PADRAO = 30;
constexpr int TAM_CABECALHO = 8;
constexpr int TAM_PREFIXO = 40;
constexpr int POLLS_POR_SEGUNDO = 10;
constexpr std::uint32_t INTERVALO_POLL_MS = 100;

constexpr const char* ERRO_ENVIO = "01 *ZELP* Erro na comunicação(Envio)";
constexpr const char* ERRO_RECEBIMENTO = "02 *ZELP* Erro na comunicação(Recebimento)";

// texto is one of the constant texts above, in the program's UTF-8.
[[noreturn]] void Falha(plataforma::Socket& socket, const char* texto) {
  socket.Fecha();
  throw Erro(plataforma::TextoDoSistema(texto));
}

// Sends every byte of the frame: a short send goes on with the rest, and a full send buffer is
// waited for, at most the receive time-out for the whole frame.
void EnviaTudo(plataforma::Socket& socket, const std::uint8_t* dados, std::size_t tamanho, int tOutCnf) {
  const std::uint32_t inicio = plataforma::Ticks();
  const std::uint64_t limiteMs = static_cast<std::uint64_t>(tOutCnf) * 1000u;
  const std::uint32_t limite = limiteMs > INT32_MAX ? INT32_MAX : static_cast<std::uint32_t>(limiteMs);
  std::size_t feito = 0;
  while (feito < tamanho) {
    std::size_t enviados = 0;
    int erro = 0;
    switch (plataforma::Envia(socket, dados + feito, tamanho - feito, enviados, erro)) {
      case plataforma::ResultadoEnvio::Enviado:
        feito += enviados;
        if (enviados > 0) continue;
        break;
      case plataforma::ResultadoEnvio::Cheio:
        break;
      case plataforma::ResultadoEnvio::Falhou:
        Falha(socket, ERRO_ENVIO);
    }
    const std::uint32_t passado = plataforma::Ticks() - inicio;
    if (passado >= limite) Falha(socket, ERRO_ENVIO);
    if (plataforma::EsperaEscrita(socket, static_cast<int>(limite - passado), erro) ==
        plataforma::ResultadoEspera::Falhou) {
      Falha(socket, ERRO_ENVIO);
    }
  }
}

}  // namespace

// Without a positive time-out the budget would never run out by counting down; the configuration's
// default applies instead.
int TempoRespostaValido(int tOutCnf) {
  if (tOutCnf <= 0) return TEMPO_RESPOSTA_PADRAO;
  if (tOutCnf > INT32_MAX / POLLS_POR_SEGUNDO) return INT32_MAX / POLLS_POR_SEGUNDO;
  return tOutCnf;
}

namespace {

enum class Olhada { Completo, Continua };

// One look of the default mode: one recv, then the 100 ms sleep, also when data has just come.
Olhada OlhaDormindo(plataforma::Socket& socket, std::uint8_t* destino, int n, int& recebidos) {
  // Never more than is missing: bytes after the announced data stay unread.
  if (recebidos < n) {
    std::size_t lidos = 0;
    int erro = 0;
    switch (plataforma::Recebe(socket, destino + recebidos, static_cast<std::size_t>(n - recebidos), lidos, erro)) {
      case plataforma::ResultadoRecebe::Dados:
        recebidos += static_cast<int>(lidos);
        break;
      case plataforma::ResultadoRecebe::NadaAinda:
      case plataforma::ResultadoRecebe::Fechado:
        // A host that closed its side may still be waited for until the budget ends.
        break;
      case plataforma::ResultadoRecebe::Falhou:
        Falha(socket, ERRO_RECEBIMENTO);
    }
  }
  plataforma::Dorme(INTERVALO_POLL_MS);
  return recebidos >= n ? Olhada::Completo : Olhada::Continua;
}

// One look of the immediate mode: the same 100 ms, spent waiting on the socket, so that the bytes
// are taken the moment they come and the look ends as soon as all of them are in.
Olhada OlhaEsperando(plataforma::Socket& socket, std::uint8_t* destino, int n, int& recebidos) {
  const std::uint32_t inicio = plataforma::Ticks();
  for (;;) {
    if (recebidos >= n) return Olhada::Completo;
    std::size_t lidos = 0;
    int erro = 0;
    switch (plataforma::Recebe(socket, destino + recebidos, static_cast<std::size_t>(n - recebidos), lidos, erro)) {
      case plataforma::ResultadoRecebe::Dados:
        recebidos += static_cast<int>(lidos);
        continue;
      case plataforma::ResultadoRecebe::Fechado: {
        // Nothing more will come, and the socket would wake every wait at once: the rest of the
        // look is slept, as in the default mode.
        const std::uint32_t passado = plataforma::Ticks() - inicio;
        if (passado < INTERVALO_POLL_MS) plataforma::Dorme(INTERVALO_POLL_MS - passado);
        return Olhada::Continua;
      }
      case plataforma::ResultadoRecebe::NadaAinda:
        break;
      case plataforma::ResultadoRecebe::Falhou:
        Falha(socket, ERRO_RECEBIMENTO);
    }
    const std::uint32_t passado = plataforma::Ticks() - inicio;
    if (passado >= INTERVALO_POLL_MS) return Olhada::Continua;
    if (plataforma::EsperaLeitura(socket, static_cast<int>(INTERVALO_POLL_MS - passado), erro) ==
        plataforma::ResultadoEspera::Falhou) {
      Falha(socket, ERRO_RECEBIMENTO);
    }
  }
}

}  // namespace

int RecebeDados(plataforma::Socket& socket, std::uint8_t* destino, int n, std::int32_t& orcamento,
                int tOutCnf, bool imediato) {
  if (n < 0 || (n > 0 && destino == nullptr)) Falha(socket, ERRO_RECEBIMENTO);
  int recebidos = 0;
  for (;;) {
    const Olhada olhada = imediato ? OlhaEsperando(socket, destino, n, recebidos)
                                   : OlhaDormindo(socket, destino, n, recebidos);
    if (olhada == Olhada::Completo) return n;
    if (--orcamento <= 0) {
      GravaLog("recv TimeOut = %is, Len = %d", tOutCnf, recebidos);
      Falha(socket, ERRO_RECEBIMENTO);
    }
  }
}

int TrocaMensagem(plataforma::Socket socket, BF& pedido, BF& resposta, int tOutCnf, bool temPrefixo,
                  bool imediato) {
  tOutCnf = TempoRespostaValido(tOutCnf);

  if (pedido.tamanho < 0 || pedido.tamanho > pedido.capacidade || !pedido.dados) Falha(socket, ERRO_ENVIO);
  EnviaTudo(socket, pedido.dados.get(), static_cast<std::size_t>(pedido.tamanho), tOutCnf);

  std::int32_t orcamento = tOutCnf * POLLS_POR_SEGUNDO;
  const int tamInicio = temPrefixo ? TAM_PREFIXO + TAM_CABECALHO : TAM_CABECALHO;
  if (resposta.capacidade < tamInicio || !resposta.dados) Falha(socket, ERRO_RECEBIMENTO);
  std::uint8_t* dados = resposta.dados.get();

  RecebeDados(socket, dados, tamInicio, orcamento, tOutCnf, imediato);
  if (temPrefixo) std::memmove(dados, dados + TAM_PREFIXO, TAM_CABECALHO);

  const int tamanho = dados[5] + 256 * dados[6];
  if (tamanho + TAM_CABECALHO > resposta.capacidade) {
    GravaLog("TAM_MAX_DADOS ErrNo, TamRsp = %d", tamanho);
    Falha(socket, ERRO_RECEBIMENTO);
  }
  resposta.tamanho = RecebeDados(socket, dados + TAM_CABECALHO, tamanho, orcamento, tOutCnf, imediato);
  socket.Fecha();
  return resposta.tamanho;
}
