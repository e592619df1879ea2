// What the tests need to know of the system they run on: the address of this machine, the count of
// open descriptors (handles on Windows), and the socket layer's codes that the gateway's log lines
// carry (errno values on Linux, Winsock's on Windows).
#pragma once

#include <cstdint>

// 127.0.0.1 in network byte order.
std::uint32_t Loopback();

// Number of descriptors (Linux) or handles (Windows) this process holds open.
int ContaDescritores();

// True when the tests run under wine rather than on Windows itself (or on Linux).
bool SobWine();

// A connection refused by its peer; a non-blocking connect still under way.
extern const int ERRO_CONEXAO_RECUSADA;
extern const int ERRO_CONEXAO_EM_ANDAMENTO;
// A file created in a folder that does not exist (ENOENT, ERROR_PATH_NOT_FOUND).
extern const int ERRO_PASTA_INEXISTENTE;
