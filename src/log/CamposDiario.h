// The record of a finished transaction as the service manager's journal keeps it: one entry whose
// fields ("ZELP_NUMBER=00000704") journalctl selects a sale by. It is not a line of the log: the
// daily log and the window keep the gateway's own lines only.
#pragma once

#include <string>
#include <vector>

namespace zelp_log {

// Where the records go; the front end whose lines reach the journal installs it. Without one they go
// nowhere (the transaction journal in the log folder has them all the same).
using SaidaRegistro = void (*)(const char* mensagem, const std::vector<std::string>& campos);
void DefineSaidaRegistro(SaidaRegistro saida);

// Hands one record, its readable message and its "NAME=value" fields, to the installed sink.
void EnviaRegistro(const std::string& mensagem, const std::vector<std::string>& campos);

}  // namespace zelp_log
