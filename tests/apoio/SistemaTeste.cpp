// The tests' view of the system that is the same everywhere.
#include "apoio/SistemaTeste.h"

#include "platform/Rede.h"

namespace {
// The tests' sockets need the socket layer started (Winsock on Windows), as the service thread
// starts it for the gateway: every test program with peers on 127.0.0.1 links this file.
const bool redeIniciada = (plataforma::IniciaRede(), true);
}  // namespace

std::uint32_t Loopback() {
  std::uint32_t ip = 0;
  plataforma::LeIPv4("127.0.0.1", ip);
  return ip;
}
