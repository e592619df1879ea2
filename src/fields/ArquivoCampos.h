// Request, status and response files: NNN-NNN = value lines.
#pragma once

#include <cstdio>
#include <string>

#include "fields/TG.h"

// Only the first TAM_LINHA_PEDIDO - 1 characters of a request line are read (the rest of a longer
// line is skipped), and at most MAX_CAMPOS_PEDIDO fields (one slot stays free for the fields
// assembly adds itself).
inline constexpr int TAM_LINHA_PEDIDO = 260;
inline constexpr int MAX_CAMPOS_PEDIDO = 255;

// Reads a request into the table and closes the file in every case; true when usable (4+ fields).
// The stream must not have been read from: it is given a buffer of the reader's own, wiped with
// the reader's line buffer once the file is closed.
bool LePedido(TG& transacao, std::FILE* arquivo);

// True when the reader, given these first bytes of a request file, would already stop on a whole
// line (the 999 field, or the last field it reads), so that bytes written after them could change
// nothing it reads: a line whose line feed is there, or whose first characters fill the buffer. A request still
// being written in place is not taken before this holds, where nothing better can tell.
bool PedidoTerminado(const std::string& conteudo);

// Publishes the status file; false when publishing failed or the request only asked for it (ATV).
bool GravaStatus(const TG& transacao, const std::string& dirSaida, int largura);
// Publishes the status file; true when it now has its final name.
bool PublicaStatus(const TG& transacao, const std::string& dirSaida, int largura);
// True when the request's header is "ATV" (any letter case): it asks only whether the service is
// alive, and its status is its whole answer.
bool PedidoDeStatus(const TG& transacao);

// Publishes the response file; true when it now has its final name.
bool GravaResposta(const TG& transacao, const std::string& dirSaida, int largura);
