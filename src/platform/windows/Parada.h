// Between the platform's Windows files: a stop request from the service control manager counts as a
// console's Ctrl-C does, and a run under that manager keeps the console's events out.
#pragma once

namespace plataforma::windows {

// Counts one stop request and wakes EsperaSinal (Sinais.cpp).
void PedeParada();

// True inside zelpd's run under the service control manager (Servico.cpp).
bool SobGerenciador();

}  // namespace plataforma::windows
