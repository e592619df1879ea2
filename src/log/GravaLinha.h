// The parts of the log writer below GravaLog: the line writer with its clock given, the window-only
// texts and the log lock. GravaLog uses them; tests drive the writer with a fixed time through them.
#pragma once

#include <cstddef>

#include "comum/Formato.h"
#include "comum/Mutex.h"
#include "platform/Relogio.h"

namespace zelp_log {

// A line in the file, time prefix included and CR LF not counted.
inline constexpr std::size_t TAM_MAX_LINHA = 314;
// A message shown without a log directory.
inline constexpr std::size_t TAM_MAX_MENSAGEM_JANELA = 500;
// The log file's path, directory and name: longer paths are refused like an overlong line.
inline constexpr std::size_t TAM_MAX_CAMINHO_LOG = 199;

inline constexpr const char* ESTOURO_GRAVALOG = "Estouro do Buffer de GravaLog!";

// Logs an already formatted message as a line of the given local time; the result is GravaLog's.
// GravaLog formats into 1,024 characters, so a message it had to cut is still far over the limits.
bool GravaMensagem(const plataforma::HoraLocal& hora, const char* mensagem);

// Copies texto into destino (capacidade characters with the terminator) with every control
// character written as an escape (\r, \n, \t, \x1b, ...) so that a line stays one event; only the line
// feeds that open the text, as the service's fatal texts do, are kept as they are. Bytes of 128 and
// above are text of the code page and pass unchanged. False when the result did not fit (destino
// then holds what did); tamanho is the length written.
bool EscapaControles(const char* texto, char* destino, std::size_t capacidade, std::size_t& tamanho);

// Hands a text to the window's sink, if one is installed.
void MostraJanela(const char* texto);
// The window-only formatter of the writer's own failures: at most 1,023 characters, never to the file.
ZELP_PRINTF(1, 2) void MostraJanelaFormatado(const char* formato, ...);

// The process-wide lock around opening, appending and closing the log file. It lives from the first
// use to the end of the process, so a line logged before CriaTravaLog is safe.
Mutex& TravaLog();

}  // namespace zelp_log
