// Network start-up and name resolution on Linux.
#include "platform/Rede.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>

#include <cstring>

namespace plataforma {

void IniciaRede() { ::signal(SIGPIPE, SIG_IGN); }

void EncerraRede() {}

bool ResolveIPv4(const char* texto, std::uint32_t& ipRede, int& erro) {
  erro = 0;
  ipRede = ::inet_addr(texto);
  if (ipRede != INADDR_NONE) return true;
  addrinfo dica{};
  dica.ai_family = AF_INET;
  dica.ai_socktype = SOCK_STREAM;
  addrinfo* resultado = nullptr;
  int r = ::getaddrinfo(texto, nullptr, &dica, &resultado);
  if (r != 0 || resultado == nullptr) {
    erro = r != 0 ? r : EAI_NONAME;
    ipRede = 0;
    return false;
  }
  sockaddr_in endereco{};
  std::memcpy(&endereco, resultado->ai_addr, sizeof endereco);
  ipRede = endereco.sin_addr.s_addr;
  ::freeaddrinfo(resultado);
  return true;
}

const char* TextoErroResolucao(int erro) { return ::gai_strerror(erro); }

bool LeIPv4(const char* texto, std::uint32_t& ipRede) {
  in_addr endereco{};
  if (texto == nullptr || ::inet_pton(AF_INET, texto, &endereco) != 1) return false;
  ipRede = endereco.s_addr;
  return true;
}

std::string TextoIPv4(std::uint32_t ipRede) {
  in_addr endereco{};
  endereco.s_addr = ipRede;
  char texto[INET_ADDRSTRLEN] = {};
  if (::inet_ntop(AF_INET, &endereco, texto, sizeof texto) == nullptr) return std::string();
  return texto;
}

}  // namespace plataforma
