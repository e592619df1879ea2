// The Windows service control manager as zelpd runs under it and registers itself with it. Windows
// only: the programs' own Windows files include this header.
#pragma once

#include <cstdint>
#include <string>

namespace plataforma::servico {

// Runs corpo as the service nome under the manager's dispatcher, on the thread the manager gives it:
// reported running at once; its stop and shutdown controls count as stop requests
// (plataforma::SinaisContados), Parando reports the stop pending, AlimentaVigia its progress and
// Encerrado the end. corpo ends the process itself. Returns only when the dispatcher could not be
// reached, with the system's code: 1063 when the process was not started by the manager.
int ExecutaSobGerenciador(const char* nome, int (*corpo)());

struct DefinicaoServico {
  const char* nome;       // the service's key name ("zelpd")
  const char* exibicao;   // the name the services console shows
  const char* descricao;
  std::string comando;    // the whole command line, the program's path quoted
  std::string programa;   // the program's path: its message table describes the event-log entries
};

// Registers the service (a process of its own, started with the system, as LocalSystem) and its
// event-log source; false with the system's code.
bool Instala(const DefinicaoServico& servico, int& erro);

enum class ResultadoRemocao { Removido, RemovidoAoParar, NaoExiste, Falhou };
// Stops the service when it runs, waiting while its stop makes progress and at most prazoMs, then
// removes it and its event-log source. RemovidoAoParar: still stopping, it goes once it has stopped.
ResultadoRemocao Remove(const char* nome, std::uint32_t prazoMs, int& erro);

// The full path of the running program; empty when the system does not say.
std::string CaminhoDoPrograma();

}  // namespace plataforma::servico
