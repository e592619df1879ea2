// Listening TCP sockets on IPv4, for the host simulator and for the peers of the tests: the host
// link itself only connects (Tcp.h). Error codes are those of Tcp.h.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

#include "platform/Socket.h"

namespace plataforma {

// A stream socket bound to ipRede (network byte order) and porta (host order; 0 for an ephemeral
// one), not listening yet: until Escuta a connection to it is refused. Linux lets a restarted
// listener take its port again at once; Windows lets no other socket share it. Invalid on failure.
Socket LigaTcp(std::uint32_t ipRede, std::uint16_t porta, int& erro);

// The longest queue of waiting connections the system allows.
inline constexpr int FILA_MAXIMA = INT_MAX;
// Starts listening, with at most fila connections waiting to be accepted; false with the code.
bool Escuta(const Socket& socket, int fila, int& erro);

// The port (host order) a socket is bound to; 0 when it cannot be read.
std::uint16_t PortaLigada(const Socket& socket);

// Accepts one waiting connection (EsperaLeitura on the listening socket waits for one); the new
// socket blocks on its recv and send. origem, when given, receives the peer as "a.b.c.d:port".
// Invalid when none could be taken, with the code in erro.
Socket Aceita(const Socket& escuta, std::string* origem, int& erro);

// True for a failed accept that concerns only the connection that went away meanwhile (aborted by
// its peer, or interrupted): the next accept may well succeed.
bool ErroSoDaConexao(int erro);

// Makes the socket's close a reset of the connection instead of an orderly end.
void FechaComReset(const Socket& socket);

// Ends the sending side of a connection: the peer reads the end of the stream, and can still answer.
void EncerraEnvio(const Socket& socket);

}  // namespace plataforma
