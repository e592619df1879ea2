// Claiming a request: stale answer removed, name checked, renamed to .log with retries for files
// the point of sale still holds.
#include "service/ProcuraPedido.h"

#include <utility>

#include "arquivos/OperacoesArquivo.h"
#include "comum/Err.h"
#include "config/TX.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"
#include "platform/Relogio.h"
#include "service/VerificaNome.h"

namespace {
// More files than this in one scan without a claim means the directory is jammed.
constexpr int MAX_EXAMINADOS = 10;
}  // namespace

DiretoriosTroca CopiaDiretorios(const TX& config) {
  DiretoriosTroca d;
  d.dirEntrada = config.DirEntrada();
  d.dirSaida = config.DirSaida();
  d.mascaraEntrada = config.MascaraEntrada();
  d.largura = LarguraNome();
  return d;
}

std::string TrocaExtensao(const std::string& nome, const char* ext) {
  std::string r = nome.size() >= 3 ? nome.substr(0, nome.size() - 3) : std::string();
  return r + ext;
}

bool ProcuraPedido(const DiretoriosTroca& dirs, ArquivosBloqueados& bloqueados, PedidoReivindicado& pedido) {
  if (dirs.mascaraEntrada.empty()) return false;
  int examinados = 0;
  for (const std::string& nome : plataforma::ListaArquivos(dirs.mascaraEntrada.c_str())) {
    if (++examinados > MAX_EXAMINADOS) throw Err("*** Erro Arquivo bloqueado![3]");

    const int indice = bloqueados.Procura(nome);
    if (indice >= 0 && !bloqueados.RetentativaDevida(indice, plataforma::Ticks())) continue;

    // An answer left from an earlier request of the same number must not be taken for this one's.
    ApagaArquivo((dirs.dirSaida + TrocaExtensao(nome, "rsp")).c_str());

    const std::string caminho = dirs.dirEntrada + nome;
    if (!VerificaNome(nome.c_str(), caminho.c_str(), dirs.largura)) continue;

    const std::string nomeLog = TrocaExtensao(nome, "log");
    const std::string caminhoLog = dirs.dirEntrada + nomeLog;
    if (indice < 0) GravaLog("Arquivo %s encontrado", caminho.c_str());

    // In flight before it bears its .log name: no worker's clean-up may take it from then on.
    ReservaPedido reserva(nomeLog);
    if (RenomeiaArquivo(caminho.c_str(), caminhoLog.c_str(), indice)) {
      if (indice >= 0) bloqueados.Remove(indice);
      // On disk before its message can reach the host: after a power cut, a request already sent
      // must not come back under its .ENV name and be charged a second time. A file system that
      // cannot flush a directory still gets its requests served; the line tells the operator.
      if (!plataforma::SincronizaDiretorio(dirs.dirEntrada.c_str())) {
        GravaLog("*** Erro ao sincronizar %s", dirs.dirEntrada.c_str());
      }
      pedido.caminho = caminhoLog;
      pedido.reserva = std::move(reserva);
      return true;
    }
    if (indice < 0) bloqueados.Adiciona(nome, plataforma::Ticks());
  }
  return false;
}

bool ProcuraPedido(const TX& config, ArquivosBloqueados& bloqueados, PedidoReivindicado& pedido) {
  return ProcuraPedido(CopiaDiretorios(config), bloqueados, pedido);
}
