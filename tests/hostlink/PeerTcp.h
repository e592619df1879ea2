// Peers on 127.0.0.1 for the connection and exchange tests: ports that listen, refuse or never
// answer, and a host that runs a script on the one connection it accepts. Their sockets are the
// platform layer's, so the same tests run on every platform.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "apoio/SistemaTeste.h"
#include "config/TU.h"
#include "platform/Escuta.h"
#include "platform/Socket.h"

// The connection a host script works on.
using Conexao = const plataforma::Socket&;

// Fills a group with entries of 127.0.0.1 named by urls, all at one port, atual 0.
void PreencheGrupo(TU& grupo, const std::vector<const char*>& urls, std::uint16_t porta);

// An ephemeral port of 127.0.0.1, bound at construction. Until it listens a connection to it is
// refused; after Fecha nothing is bound there any more, so it refuses again.
class PortaLocal {
 public:
  explicit PortaLocal(bool escutando = true);
  ~PortaLocal();
  PortaLocal(const PortaLocal&) = delete;
  PortaLocal& operator=(const PortaLocal&) = delete;
  std::uint16_t Porta() const { return porta_; }
  void Escuta();
  void Fecha();
  // Accepts one connection within the time; an invalid socket when none came.
  plataforma::Socket Aceita(int milissegundos);
  // Accepts and closes every connection waiting now; returns how many.
  int AceitaPendentes();

 private:
  plataforma::Socket socket_;
  std::uint16_t porta_ = 0;
};

// A port of 127.0.0.1 whose accept queue is full: a new connection stays unanswered until Libera,
// after which every connection is accepted (and closed at once).
class PortaMuda {
 public:
  PortaMuda();
  ~PortaMuda();
  PortaMuda(const PortaMuda&) = delete;
  PortaMuda& operator=(const PortaMuda&) = delete;
  std::uint16_t Porta() const { return porta_; }
  bool Pronta() const { return pronta_; }
  void Libera();
  int Aceitas() const { return aceitas_.load(); }

 private:
  plataforma::Socket socket_;
  std::uint16_t porta_ = 0;
  bool pronta_ = false;
  std::vector<plataforma::Socket> ocupantes_;
  std::atomic<bool> parar_{false};
  std::atomic<int> aceitas_{0};
  std::thread aceitador_;
};

// A host that accepts one connection and runs a script on it in its own thread.
class HostTeste {
 public:
  using Roteiro = std::function<void(Conexao conexao)>;
  explicit HostTeste(Roteiro roteiro);
  ~HostTeste();  // waits for the script and closes everything
  HostTeste(const HostTeste&) = delete;
  HostTeste& operator=(const HostTeste&) = delete;
  std::uint16_t Porta() const { return porta_.Porta(); }
  void Espera();  // waits for the script to end
  bool Aceitou() const { return aceitou_.load(); }

 private:
  PortaLocal porta_;
  std::atomic<bool> aceitou_{false};
  std::thread thread_;
};

// Script helpers, each bounded in time (plataforma::FechaComReset makes the close a reset).
// Reads exactly n bytes (fewer when the peer closes or the time runs out).
std::vector<std::uint8_t> LeBytes(Conexao conexao, std::size_t n, int milissegundos = 10000);
void EnviaBytes(Conexao conexao, const std::vector<std::uint8_t>& bytes);
// Waits until the socket has something to report (data, end of stream or error), at most the time.
bool EsperaLegivel(Conexao socket, int milissegundos);

// A response frame: optional 40-byte prefix, the 8-byte header announcing `anunciado` bytes, the data.
std::vector<std::uint8_t> MontaResposta(int anunciado, const std::vector<std::uint8_t>& dados, bool prefixo,
                                        std::uint8_t bytePrefixo = 0xA5);
