// Request, status and response files: NNN-NNN = value lines.
#pragma once

#include <cstdio>
#include <string>

#include "fields/TG.h"

// Reads a request into the table and closes the file in every case; true when usable (4+ fields).
bool LePedido(TG& transacao, std::FILE* arquivo);

// Publishes the status file; false when publishing failed or the request only asked for it (ATV).
bool GravaStatus(const TG& transacao, const std::string& dirSaida, int largura);

// Publishes the response file; true when it now has its final name.
bool GravaResposta(const TG& transacao, const std::string& dirSaida, int largura);
