// TCP over IPv4 for the host link: non-blocking connect with a bounded wait, send and recv that
// never raise SIGPIPE nor block. Error codes are the system's: errno values on Linux, Winsock's
// (WSAGetLastError) on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Socket.h"

namespace plataforma {

// A stream socket (AF_INET, SOCK_STREAM, IPPROTO_TCP), invalid on failure with the code in erro.
Socket CriaSocketTcp(int& erro);

// Switches the socket to non-blocking mode; false with the code in erro.
bool TornaNaoBloqueante(const Socket& socket, int& erro);

enum class ResultadoConexao { Conectado, EmAndamento, Falhou };
// Starts a connection to ipRede (network byte order) and porta (host order).
ResultadoConexao IniciaConexao(const Socket& socket, std::uint32_t ipRede, std::uint16_t porta, int& erro);

enum class ResultadoEspera { Pronto, Expirou, Falhou };
// Waits at most milissegundos (0 or more) for the socket to become writable; signals do not cut
// the wait short.
ResultadoEspera EsperaEscrita(const Socket& socket, int milissegundos, int& erro);
// The same for something to read (data, or the peer's end of the stream, or an error).
ResultadoEspera EsperaLeitura(const Socket& socket, int milissegundos, int& erro);

// The socket's pending error (SO_ERROR), 0 when none; false when it cannot be read (code in erro).
bool LeErroPendente(const Socket& socket, int& pendente, int& erro);

enum class ResultadoEnvio { Enviado, Cheio, Falhou };
// One send without SIGPIPE; Cheio when nothing could be queued now. enviados is set on Enviado.
ResultadoEnvio Envia(const Socket& socket, const void* dados, std::size_t tamanho, std::size_t& enviados,
                     int& erro);

enum class ResultadoRecebe { Dados, NadaAinda, Fechado, Falhou };
// One recv of at most tamanho bytes; NadaAinda when nothing has arrived (or a signal came first),
// Fechado when the peer closed its side.
ResultadoRecebe Recebe(const Socket& socket, void* destino, std::size_t tamanho, std::size_t& recebidos,
                       int& erro);

}  // namespace plataforma
