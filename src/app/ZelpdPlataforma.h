// What zelpd does on a platform whose service manager starts programs through an interface of its
// own: the options for it and the run under it. Linux has none (systemd starts zelpd as it is, see
// posix/); on Windows the service control manager runs "zelpd --servico -C DIR" (windows/).
#pragma once

namespace zelpd {

// The gateway's run until it stops; it ends the process with its exit status. With saidaPadrao every
// window line also goes to standard output; without, the lines go to the day's log only.
using Corpo = int (*)(bool saidaPadrao);

// Usage and help lines of the platform's options; empty where it has none.
extern const char* const USO_PLATAFORMA;
extern const char* const AJUDA_PLATAFORMA;

// True when a is one of the platform's options. Each is an action that goes alone, with -C only.
bool OpcaoPlataforma(const char* a);

// Runs the action of the option acao once -C has been applied; returns the exit status.
int ExecutaOpcaoPlataforma(const char* acao, Corpo corpo);

}  // namespace zelpd
