// Process protection of the gateway programs, with the developer's way out.
#include "service/ProtegeGateway.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Arquivos.h"
#include "platform/Protecao.h"

void ProtegeGateway(const char* programa) {
  const char* depuravel = std::getenv(VARIAVEL_DEPURAVEL);
  int erro = 0;
  if (!plataforma::ProtegeProcesso(depuravel != nullptr && std::strcmp(depuravel, "1") == 0, erro)) {
    std::fprintf(stderr, "%s: cannot keep card data out of core dumps (%s)\n", programa,
                 plataforma::TextoErro(erro).c_str());
    std::fflush(stderr);
  }
}
