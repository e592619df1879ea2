// zelpd on Linux has no options for its service manager: systemd starts it as an ordinary process.
#include "app/ZelpdPlataforma.h"

namespace zelpd {

const char* const USO_PLATAFORMA = "";
const char* const AJUDA_PLATAFORMA = "";

bool OpcaoPlataforma(const char*) { return false; }

int ExecutaOpcaoPlataforma(const char*, Corpo) { return 2; }

}  // namespace zelpd
