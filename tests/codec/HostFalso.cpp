// A one-shot host on 127.0.0.1 for the codec's end-to-end tests.
#include "HostFalso.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

constexpr int ESPERA_MS = 10000;

// Closes the descriptor when the holder goes.
struct Descritor {
  int fd;
  explicit Descritor(int f) : fd(f) {}
  ~Descritor() {
    if (fd >= 0) ::close(fd);
  }
};

int EscutaLocal(std::uint16_t& porta) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error("socket");
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  endereco.sin_port = 0;
  socklen_t tamanho = sizeof endereco;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 || ::listen(fd, 1) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
    ::close(fd);
    throw std::runtime_error("bind/listen");
  }
  porta = ntohs(endereco.sin_port);
  return fd;
}

bool Espera(int fd, short eventos, std::chrono::steady_clock::time_point limite) {
  auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now()).count();
  if (resta <= 0) return false;
  pollfd p{fd, eventos, 0};
  return ::poll(&p, 1, static_cast<int>(resta)) > 0;
}

bool LeExato(int fd, std::vector<std::uint8_t>& destino, std::size_t n, std::chrono::steady_clock::time_point limite) {
  std::size_t lidos = 0;
  const std::size_t inicio = destino.size();
  destino.resize(inicio + n);
  while (lidos < n) {
    if (!Espera(fd, POLLIN, limite)) return false;
    ssize_t r = ::recv(fd, destino.data() + inicio + lidos, n - lidos, 0);
    if (r <= 0) return false;
    lidos += static_cast<std::size_t>(r);
  }
  return true;
}

}  // namespace

HostFalso::HostFalso(std::vector<std::uint8_t> resposta, int prefixo)
    : resposta_(std::move(resposta)), prefixo_(prefixo) {
  escuta_ = EscutaLocal(porta_);
  thread_ = std::thread([this] { Atende(); });
}

HostFalso::~HostFalso() {
  if (thread_.joinable()) thread_.join();
  if (escuta_ >= 0) ::close(escuta_);
}

std::vector<std::uint8_t> HostFalso::Recebido() {
  if (thread_.joinable()) thread_.join();
  return recebido_;
}

void HostFalso::Atende() {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(ESPERA_MS);
  if (!Espera(escuta_, POLLIN, limite)) return;
  Descritor conexao(::accept(escuta_, nullptr, nullptr));
  if (conexao.fd < 0) return;
  std::vector<std::uint8_t> quadro;
  const std::size_t cabecalho = static_cast<std::size_t>(prefixo_) + 8;
  if (!LeExato(conexao.fd, quadro, cabecalho, limite)) return;
  const std::size_t tamanho = quadro[cabecalho - 3] + 256u * quadro[cabecalho - 2];
  if (!LeExato(conexao.fd, quadro, tamanho, limite)) return;
  recebido_ = quadro;
  std::size_t enviados = 0;
  while (enviados < resposta_.size()) {
    if (!Espera(conexao.fd, POLLOUT, limite)) return;
    ssize_t r = ::send(conexao.fd, resposta_.data() + enviados, resposta_.size() - enviados, MSG_NOSIGNAL);
    if (r <= 0) return;
    enviados += static_cast<std::size_t>(r);
  }
}

std::uint16_t PortaFechada() {
  std::uint16_t porta = 0;
  int fd = EscutaLocal(porta);
  ::close(fd);
  return porta;
}
