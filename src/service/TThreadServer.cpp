// The service thread's body: wait, check the catalogue, create the configuration, then poll the
// input directory for ever, handing each claimed request to a worker of its own.
#include "service/TThreadServer.h"

#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <utility>

#include "catalogo/Catalogo.h"
#include "comum/Err.h"
#include "comum/Limites.h"
#include "config/TX.h"
#include "log/GravaLog.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Threads.h"
#include "service/ArquivosBloqueados.h"
#include "service/IniciaWorker.h"
#include "service/EsperaEntrada.h"
#include "service/ProcuraPedido.h"
#include "service/TravaEntrada.h"
#include "service/VigiaDiretorios.h"

namespace {

// The scan and the configuration load need more than a worker, but nothing deep.
#if defined(ZELP_SANITIZER)
constexpr std::size_t PILHA_SERVICO = 4 * 1024 * 1024;
#else
constexpr std::size_t PILHA_SERVICO = 512 * 1024;
#endif

constexpr std::uint32_t FATIA_ESPERA = 50;  // ms; how soon a stop request cuts a wait short

bool Parar(const OpcoesServico& op) { return op.parar != nullptr && op.parar->load(); }

// Sleeps ms, in slices when a stop request can cut it short; false when it was cut short.
bool Espera(std::uint32_t ms, const OpcoesServico& op) {
  if (op.parar == nullptr) {
    plataforma::Dorme(ms);
    return true;
  }
  std::uint32_t dormido = 0;
  while (dormido < ms) {
    if (Parar(op)) return false;
    const std::uint32_t fatia = ms - dormido < FATIA_ESPERA ? ms - dormido : FATIA_ESPERA;
    plataforma::Dorme(fatia);
    dormido += fatia;
  }
  return !Parar(op);
}

void CorpoServico(const OpcoesServico& op) {
  if (!Espera(op.esperaInicial, op)) return;
  // Shared with every worker, so it outlives the service thread while any of them still runs.
  std::shared_ptr<TX> config;
  ArquivosBloqueados bloqueados;
  VigiaDiretorios vigia;
  TravaEntrada trava(op.aoEntradaOcupada);
  EsperaEntrada espera(op.vigiaEntrada);
  const char* fatal = nullptr;
  bool redeIniciada = false;
  try {
    zelp_log::CriaTravaLog();
    VerificaCatalogo();
    plataforma::IniciaRede();
    redeIniciada = true;
    config = std::make_shared<TX>(op.caminhoIni);
    // The configuration check's pause: slept, or in immediate mode spent waiting for a request.
    TX* contexto = config.get();
    config->DefineRelogio(nullptr, [&espera, contexto](std::uint32_t ms) {
      espera.Pausa(ms, contexto->DirEntrada(), contexto->Imediato());
    });
    GravaLog("%s", BANNER_ZELP);

    bool pronto = false;
    while (!Parar(op)) {
      config->VerificaConfig();
      if (!pronto) {
        pronto = true;
        if (op.aoFicarPronto) op.aoFicarPronto();
      }
      if (op.aCadaPasso) op.aCadaPasso();
      const DiretoriosTroca dirs = CopiaDiretorios(*config);
      vigia.Verifica(dirs.dirEntrada, dirs.dirSaida, plataforma::Ticks());
      // Another gateway serves this input directory: claim nothing there until it stops.
      if (!trava.Garante(dirs.dirEntrada)) continue;
      // The design's pace claims one request a pass; immediate mode claims every one that is ready.
      const int maximo = config->Imediato() ? std::numeric_limits<int>::max() : 1;
      ReivindicaPedidos(dirs, bloqueados, maximo, [&](PedidoReivindicado&& pedido) {
        // Binary: on Windows a text stream would turn CR LF into LF and end the file at a Ctrl-Z;
        // the reader takes the line ends itself, and the values stay byte for byte.
        ArquivoPedido arquivo(std::fopen(pedido.caminho.c_str(), "rb"));
        // Not readable: left under its .log name for a later clean-up, as a processed request.
        if (!arquivo) return !Parar(op);
        if (!IniciaWorker(config, std::move(arquivo), std::move(pedido.reserva), trava.Posse())) {
          throw Err("*** Erro ao criar Thread !");
        }
        // A stop asked for in the middle of a burst claims nothing more.
        return !Parar(op);
      });
    }
  } catch (const Err& e) {
    fatal = e.mensagem;
  } catch (const std::exception&) {
    // Out of memory and the like: end the service in order rather than abort the process.
    fatal = "*** Erro interno do servico!";
  }

  // Workers may keep the configuration past this frame: its pause must not point into it.
  if (config) config->DefineRelogio(nullptr, nullptr);

  if (fatal != nullptr) {
    if (op.aoFalhar) op.aoFalhar(fatal);
    GravaLog("%s", fatal);
    plataforma::EncerraRede();
    Espera(op.esperaFatal, op);
  } else if (redeIniciada) {
    plataforma::EncerraRede();
  }
}

void Servico(std::atomic<bool>& servicoEncerrado, const OpcoesServico& op) {
  CorpoServico(op);
  // Last act: whoever waits for the flag may end the process at once.
  servicoEncerrado.store(true);
}

}  // namespace

TThreadServer::TThreadServer(std::atomic<bool>& servicoEncerrado, OpcoesServico opcoes) {
  std::atomic<bool>* encerrado = &servicoEncerrado;
  auto op = std::make_shared<const OpcoesServico>(std::move(opcoes));
  if (!plataforma::IniciaThread([encerrado, op] { Servico(*encerrado, *op); }, PILHA_SERVICO)) {
    zelp_log::CriaTravaLog();
    if (op->aoFalhar) op->aoFalhar("*** Erro ao criar Thread !");
    GravaLog("*** Erro ao criar Thread !");
    servicoEncerrado.store(true);
  }
}
