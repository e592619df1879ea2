// Claiming a request: stale answer removed, name checked, renamed to .log with retries for files
// the point of sale still holds.
#include "service/ProcuraPedido.h"

#include <utility>

#include "arquivos/OperacoesArquivo.h"
#include "comum/Err.h"
#include "config/TX.h"
#include "fields/ArquivoCampos.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"
#include "platform/Protecao.h"
#include "platform/Relogio.h"
#include "service/VerificaNome.h"

namespace {
// More files than this in one scan without a claim means the directory is jammed.
constexpr int MAX_EXAMINADOS = 10;
// Enough of a request file to find its closing line: 255 lines of a usual length.
constexpr std::size_t MAX_LIDO_SONDA = 64 * 1024;

ArquivosBloqueados::Aspecto AspectoDe(const plataforma::SondaArquivo& s) {
  return {s.tamanho, (static_cast<std::uint64_t>(s.hora.alta) << 32) | s.hora.baixa};
}

// Whether the point of sale is done writing the request, so that its claim cannot cut it short.
// Where the kernel cannot tell, a request is done when its closing line is whole, or when it has
// not changed for a while (retries of its slot in the blocked-file table measure that).
bool EscritaConcluida(const plataforma::SondaArquivo& s, ArquivosBloqueados& bloqueados, int indice,
                      std::uint32_t agora) {
  // Gone meanwhile: nothing to read, and nothing to claim.
  if (!s.arquivo.Aberto()) return false;
  switch (s.escrita) {
    case plataforma::EscritaArquivo::Livre: return true;
    case plataforma::EscritaArquivo::EmEscrita: return false;
    case plataforma::EscritaArquivo::Desconhecida: break;
  }
  if (PedidoTerminado(s.conteudo)) return true;
  return indice >= 0 && bloqueados.Estavel(indice, AspectoDe(s), agora);
}

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

int ReivindicaPedidos(const DiretoriosTroca& dirs, ArquivosBloqueados& bloqueados, int maximo,
                      const AoReivindicar& aoReivindicar, SondaPedido sonda) {
  if (dirs.mascaraEntrada.empty() || maximo <= 0) return 0;
  int examinados = 0;
  int reivindicados = 0;
  for (const std::string& nome : plataforma::ListaArquivos(dirs.mascaraEntrada.c_str())) {
    if (++examinados > MAX_EXAMINADOS) throw Err("*** Erro Arquivo bloqueado![3]");

    const int indice = bloqueados.Procura(nome);
    if (indice >= 0 && !bloqueados.RetentativaDevida(indice, plataforma::Ticks())) continue;

    // 00000123.ENV and 00000123.env are two files here but one transaction number: while one is
    // in flight, the other waits, and the answer it would remove is that transaction's own.
    const std::string nomeLog = TrocaExtensao(nome, "log");
    const bool numeroEmCurso = PedidoEmCurso(nomeLog);

    // An answer left from an earlier request of the same number must not be taken for this one's.
    if (!numeroEmCurso) ApagaArquivo((dirs.dirSaida + TrocaExtensao(nome, "rsp")).c_str());

    const std::string caminho = dirs.dirEntrada + nome;
    if (!VerificaNome(nome.c_str(), caminho.c_str(), dirs.largura)) continue;

    const std::string caminhoLog = dirs.dirEntrada + nomeLog;
    if (indice < 0) GravaLog("Arquivo %s encontrado", caminho.c_str());

    const std::uint32_t agora = plataforma::Ticks();
    plataforma::SondaArquivo estado;
    bool pronto = false;
    if (!numeroEmCurso) {
      estado = sonda(caminho.c_str(), MAX_LIDO_SONDA);
      if (estado.especial) {
        // Planted by someone who may write in the folder: never read, claimed nor removed.
        GravaLog("*** Arquivo %s recusado: nao e um arquivo comum", caminho.c_str());
        if (indice >= 0) bloqueados.Remove(indice);
        continue;
      }
      if (estado.erro != 0) {
        // This service will never read it: said once, then claimed as a request served without an
        // answer, so that it neither waits for ever nor fills the table of blocked files.
        if (indice < 0) {
          GravaLog("*** Erro ao ler %s (%s)", caminho.c_str(), plataforma::TextoErro(estado.erro).c_str());
        }
        if (RenomeiaArquivo(caminho.c_str(), caminhoLog.c_str(), indice)) {
          if (indice >= 0) bloqueados.Remove(indice);
          examinados = 0;
        } else if (indice < 0) {
          bloqueados.Adiciona(nome, agora);
        }
        continue;
      } else {
        pronto = EscritaConcluida(estado, bloqueados, indice, agora);
        // The request's first bytes, card data among them, are not needed any more.
        plataforma::ApagaTexto(estado.conteudo);
      }
    }
    if (pronto) {
      // In flight before it bears its .log name: no worker's clean-up may take it from then on.
      ReservaPedido reserva(nomeLog);
      if (RenomeiaArquivo(caminho.c_str(), caminhoLog.c_str(), indice)) {
        const Momento reivindicado = MomentoAtual();
        if (indice >= 0) bloqueados.Remove(indice);
        // On disk before its message can reach the host: after a power cut, a request already sent
        // must not come back under its .ENV name and be charged a second time. A file system that
        // cannot flush a directory still gets its requests served; the line tells the operator.
        if (!plataforma::SincronizaDiretorio(dirs.dirEntrada.c_str())) {
          GravaLog("*** Erro ao sincronizar %s", dirs.dirEntrada.c_str());
        }
        PedidoReivindicado pedido{caminhoLog, std::move(reserva), reivindicado, std::move(estado.arquivo)};
        ++reivindicados;
        examinados = 0;
        if (!aoReivindicar(std::move(pedido)) || reivindicados >= maximo) return reivindicados;
        continue;
      }
    } else if (indice < 0) {
      // Held back, it goes the way of a rename that failed: one line now, quiet retries after.
      GravaLog("*** Erro ao renomear para %s", caminhoLog.c_str());
    }
    if (indice < 0) {
      const int novo = bloqueados.Adiciona(nome, agora);
      // The first look at a file that nothing else can judge starts the measure of its stillness.
      if (!pronto && !numeroEmCurso) bloqueados.Estavel(novo, AspectoDe(estado), agora);
    }
  }
  return reivindicados;
}

bool ProcuraPedido(const DiretoriosTroca& dirs, ArquivosBloqueados& bloqueados, PedidoReivindicado& pedido,
                   SondaPedido sonda) {
  return ReivindicaPedidos(
             dirs, bloqueados, 1,
             [&pedido](PedidoReivindicado&& p) {
               pedido = std::move(p);
               return true;
             },
             sonda) > 0;
}

bool ProcuraPedido(const TX& config, ArquivosBloqueados& bloqueados, PedidoReivindicado& pedido) {
  return ProcuraPedido(CopiaDiretorios(config), bloqueados, pedido);
}
