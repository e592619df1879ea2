// The one log writer: a time-stamped line to the day's file and the same text to the window.
#pragma once

#include "comum/Formato.h"

namespace zelp_log {
// Where the window's lines go; the front end installs it (the window list, or standard output).
// Called with the lock of the log held for the writer's own failure messages, so it must not log.
// Without a sink installed the window's texts are dropped; the file lines are not affected.
using SaidaJanela = void (*)(const char* linha);
void DefineSaidaJanela(SaidaJanela saida);

// Creates the log lock. The service thread calls it before anything logs; calling it again is
// harmless, and logging before it is safe too (the lock exists from the first line on).
void CriaTravaLog();

// The log directory, empty for none; replaced by the configuration load (the value as written, no
// separator appended, at most 259 characters kept). A line uses the value read once when it starts.
void DefineDirLog(const char* dir);
void CopiaDirLog(char* destino, unsigned long tamanho);
}  // namespace zelp_log

// Formats and logs one line; true when it reached the file (or, without a log directory, the window).
// Control characters in the line (a file name holding CR LF, a value holding ESC) are written
// escaped, so that a line is always one event; only line feeds that open the message, as the
// service's fatal texts do, are written as they are. The length limits count the escaped line.
ZELP_PRINTF(1, 2) bool GravaLog(const char* formato, ...);
