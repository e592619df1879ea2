// The system's texts on Linux: its code page is UTF-8, the program's own.
#include "platform/TextoSistema.h"

namespace plataforma {

const char* TextoDoSistema(const char* utf8) { return utf8 != nullptr ? utf8 : ""; }

}  // namespace plataforma
