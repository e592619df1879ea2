// Talking to the service manager (systemd; on Windows the service control manager, under which
// zelpd --servico runs): readiness, status, stop, the keep-alive, the end, and whether standard output
// is its journal. Outside a service manager every call does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plataforma::servico {

// The service has started and serves ("READY=1").
void Pronto();
// The service is stopping in order ("STOPPING=1").
void Parando();
// One line that the manager shows for the service ("STATUS=...").
void Estado(const char* texto);
// The keep-alive of the watchdog ("WATCHDOG=1"; on Windows the next checkpoint of a stop pending).
void AlimentaVigia();
// The time within which the manager expects each keep-alive, in milliseconds; 0 without a watchdog.
std::uint32_t PrazoVigia();
// The service ends with this exit status, after the fatal error fatal (null for an orderly stop). On
// Windows the service control manager is told that it stopped, with the status as the service's exit
// code, and the fatal error goes to the system's event log; systemd reads both from the process itself.
void Encerrado(int status, const char* fatal);

// True when the process's standard output or error stream is the one that the manager's journal
// reads (JOURNAL_STREAM names its device and inode), so that lines written to it may carry a
// priority prefix.
enum class FluxoPadrao { Saida, Erro };
bool SaidaNoDiario(FluxoPadrao fluxo);

// One record of the manager's journal: the message at its syslog priority (3 error, 4 warning, 6
// information) with fields of the service's own ("ZELP_NUMBER=00000704", upper-case names), which
// journalctl selects by. True when the journal took it; false, doing nothing, when the process was
// not started by the manager with its journal (JOURNAL_STREAM not set), or when it could not be sent.
// Windows has no such journal: always false there.
bool RegistraNoDiario(const char* mensagem, int prioridade, const std::vector<std::string>& campos);

}  // namespace plataforma::servico
