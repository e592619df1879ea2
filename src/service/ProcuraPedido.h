// The scan of the input directory: finds the next request file and claims it by renaming it to
// .log. Runs on the service thread only.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/Arquivos.h"
#include "service/ArquivosBloqueados.h"
#include "service/Momento.h"
#include "service/PedidosEmCurso.h"

class TX;

// The values one scan works with, copied from the configuration when the scan starts, so that a
// reload in between changes only the next scan.
struct DiretoriosTroca {
  std::string dirEntrada;      // ends in a separator
  std::string dirSaida;        // ends in a separator
  std::string mascaraEntrada;  // dirEntrada + "*.ENV"
  int largura = 8;
};
DiretoriosTroca CopiaDiretorios(const TX& config);

// A request just claimed: the path of its .log file, its name held in flight, and the file itself,
// opened before its claim: it is read from there, never by its name, which anyone who may write in
// the input directory could have replaced since.
struct PedidoReivindicado {
  std::string caminho;
  ReservaPedido reserva;
  Momento reivindicado;  // when its rename succeeded: the start of its journal line
  plataforma::ArquivoAberto arquivo;
};

// The name with its last three characters replaced by ext ("00000123.ENV", "log" -> "00000123.log").
std::string TrocaExtensao(const std::string& nome, const char* ext);

// How the scan asks whether a request file is still being written (the platform's answer; tests
// give their own).
using SondaPedido = plataforma::SondaArquivo (*)(const char* caminho, std::size_t limite);

// Looks at the request files in the file system's order and claims the first that can be claimed;
// true with pedido filled when one was, its new name already flushed to disk. A file that is not
// claimed now takes the path of a failed rename (the blocked-file table, retried later): one still
// being written, and one whose number is still in flight, its answer and its claim name belonging
// to that transaction until it ends. A name that is no regular file by the time it is opened (a
// link, a FIFO) is refused and logged, and left alone. A request this service may not read is
// logged with the system's reason and claimed as a processed request that gets no answer. Throws
// Err on the fatal conditions of the blocked-file table, after ten files examined without a claim,
// and when a wrongly named file stays.
bool ProcuraPedido(const DiretoriosTroca& dirs, ArquivosBloqueados& bloqueados, PedidoReivindicado& pedido,
                   SondaPedido sonda = &plataforma::SondaEscrita);

// The same scan claiming up to maximo requests from one listing: each one claimed is handed to
// aoReivindicar at once, which says whether to go on. The count of files examined without a claim
// starts again after each claim. Returns how many were claimed. The files past the last claim allowed
// are not looked at: with maximo 0 nothing in either folder is touched or logged.
using AoReivindicar = std::function<bool(PedidoReivindicado&&)>;
int ReivindicaPedidos(const DiretoriosTroca& dirs, ArquivosBloqueados& bloqueados, int maximo,
                      const AoReivindicar& aoReivindicar, SondaPedido sonda = &plataforma::SondaEscrita);
bool ProcuraPedido(const TX& config, ArquivosBloqueados& bloqueados, PedidoReivindicado& pedido);
