// Start and stop of the network layer, and the name resolution of host addresses.
#pragma once

#include <cstdint>
#include <string>

namespace plataforma {

// Starts the socket layer for the process: on Linux SIGPIPE is ignored, so a send to a closed peer
// never kills it; on Windows Winsock is started (WSAStartup). Each IniciaRede is matched by one
// EncerraRede (WSACleanup), which on Windows takes effect once the last open socket is closed: a
// worker still waiting for its host keeps the layer it uses.
void IniciaRede();
void EncerraRede();

// Dotted IPv4 text or host name to an IPv4 address in network byte order. A dotted text that is
// not the no-address value needs no lookup. On failure returns false with the resolver's code.
bool ResolveIPv4(const char* texto, std::uint32_t& ipRede, int& erro);

// The resolver's text for a code that ResolveIPv4 gave (valid until the thread's next call).
const char* TextoErroResolucao(int erro);

// Strict dotted text "a.b.c.d" (each part 0 to 255, nothing else) to an IPv4 address in network byte
// order, without any lookup; false for any other text.
bool LeIPv4(const char* texto, std::uint32_t& ipRede);

// An IPv4 address in network byte order as dotted text.
std::string TextoIPv4(std::uint32_t ipRede);

}  // namespace plataforma
