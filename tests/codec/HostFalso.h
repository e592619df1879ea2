// A one-shot host on 127.0.0.1 for the codec's end-to-end tests: reads one request frame and
// answers it with a fixed response frame. Every wait is bounded.
#pragma once

#include <cstdint>
#include <thread>
#include <vector>

#include "platform/Socket.h"

class HostFalso {
 public:
  // prefixo: bytes ahead of the request header (40 for the prefixed type, else 0).
  HostFalso(std::vector<std::uint8_t> resposta, int prefixo);
  ~HostFalso();
  HostFalso(const HostFalso&) = delete;
  HostFalso& operator=(const HostFalso&) = delete;

  std::uint16_t Porta() const { return porta_; }
  // Waits for the host to finish and returns the request frame it read (empty when none came).
  std::vector<std::uint8_t> Recebido();

 private:
  void Atende();

  plataforma::Socket escuta_;
  std::uint16_t porta_ = 0;
  std::vector<std::uint8_t> resposta_;
  int prefixo_;
  std::vector<std::uint8_t> recebido_;
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
std::uint16_t PortaFechada();
