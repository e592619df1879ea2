// Winsock's start and end, and name resolution, on Windows.
#include "platform/Rede.h"

#include <cstring>
#include <string>

#include "platform/Arquivos.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

// Winsock counts its starts: each is matched by its own cleanup, and the last one ends the layer.
void IniciaRede() {
  WSADATA dados;
  ::WSAStartup(MAKEWORD(2, 2), &dados);
}

void EncerraRede() { ::WSACleanup(); }

bool ResolveIPv4(const char* texto, std::uint32_t& ipRede, int& erro) {
  erro = 0;
  ipRede = ::inet_addr(texto);
  if (ipRede != INADDR_NONE) return true;
  addrinfo dica{};
  dica.ai_family = AF_INET;
  dica.ai_socktype = SOCK_STREAM;
  addrinfo* resultado = nullptr;
  // Its code is Winsock's own (WSAHOST_NOT_FOUND, 11001, for a name no server knows), as the one
  // that gethostbyname leaves for WSAGetLastError.
  const int r = ::getaddrinfo(texto, nullptr, &dica, &resultado);
  if (r != 0 || resultado == nullptr) {
    erro = r != 0 ? r : WSAHOST_NOT_FOUND;
    ipRede = 0;
    if (resultado != nullptr) ::freeaddrinfo(resultado);
    return false;
  }
  sockaddr_in endereco{};
  std::memcpy(&endereco, resultado->ai_addr, sizeof endereco);
  ipRede = endereco.sin_addr.s_addr;
  ::freeaddrinfo(resultado);
  return true;
}

const char* TextoErroResolucao(int erro) {
  thread_local std::string texto;
  texto = TextoErro(erro);
  return texto.c_str();
}

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
