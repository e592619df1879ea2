// Start and stop of the network layer, and the name resolution of host addresses.
#pragma once

#include <cstdint>
#include <string>

namespace plataforma {

// Ignores SIGPIPE for the whole process, so a send to a closed peer never kills it.
void IniciaRede();
void EncerraRede();

// Dotted IPv4 text or host name to an IPv4 address in network byte order. A dotted text that is
// not the no-address value needs no lookup. On failure returns false with the resolver's code.
bool ResolveIPv4(const char* texto, std::uint32_t& ipRede, int& erro);

// The resolver's text for a code that ResolveIPv4 gave.
const char* TextoErroResolucao(int erro);

// An IPv4 address in network byte order as dotted text.
std::string TextoIPv4(std::uint32_t ipRede);

}  // namespace plataforma
