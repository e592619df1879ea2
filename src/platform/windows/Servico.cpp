// The service manager on Windows: nothing to tell it yet, as zelpd runs as a console program. The
// service control manager's calls belong here once zelpd can run as a Windows service.
#include "platform/Servico.h"

namespace plataforma::servico {

void Pronto() {}
void Parando() {}
void Estado(const char*) {}
void AlimentaVigia() {}
std::uint32_t PrazoVigia() { return 0; }
// Windows has no journal reading a program's standard streams.
bool SaidaNoDiario(FluxoPadrao) { return false; }

}  // namespace plataforma::servico
