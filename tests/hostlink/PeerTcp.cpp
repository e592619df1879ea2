// Test peers on the loopback interface; every wait here is bounded.
#include "PeerTcp.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

std::uint16_t PortaDe(int fd) {
  sockaddr_in a{};
  socklen_t t = sizeof a;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &t) != 0) return 0;
  return ntohs(a.sin_port);
}

int SocketLigado() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool EsperaEvento(int fd, short eventos, int milissegundos) {
  pollfd p{fd, eventos, 0};
  for (;;) {
    int r = poll(&p, 1, milissegundos);
    if (r >= 0) return r > 0;
    if (errno != EINTR) return false;
  }
}

}  // namespace

int ContaDescritores() {
  int n = 0;
  DIR* d = opendir("/proc/self/fd");
  if (d == nullptr) return -1;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] != '.') ++n;
  }
  closedir(d);
  return n - 1;  // the listing's own descriptor
}

std::uint32_t Loopback() { return htonl(INADDR_LOOPBACK); }

void PreencheGrupo(TU& grupo, const std::vector<const char*>& urls, std::uint16_t porta) {
  MutexLocker trava(grupo.trava);
  for (int i = 0; i < TU::MAX_ENDERECOS; ++i) {
    grupo.url[i].clear();
    grupo.ip[i] = 0;
  }
  grupo.quantidade = 0;
  grupo.atual = 0;
  grupo.porta = porta;
  for (std::size_t i = 0; i < urls.size() && i < TU::MAX_ENDERECOS; ++i) {
    grupo.url[i] = urls[i];
    grupo.ip[i] = Loopback();
    ++grupo.quantidade;
  }
}

PortaLocal::PortaLocal(bool escutando) {
  fd_ = SocketLigado();
  if (fd_ >= 0) porta_ = PortaDe(fd_);
  if (escutando) Escuta();
}

PortaLocal::~PortaLocal() { Fecha(); }

void PortaLocal::Escuta() {
  if (fd_ >= 0) listen(fd_, 16);
}

void PortaLocal::Fecha() {
  int fd = fd_.exchange(-1);
  if (fd >= 0) close(fd);
}

int PortaLocal::Aceita(int milissegundos) {
  int fd = fd_;
  if (fd < 0 || !EsperaEvento(fd, POLLIN, milissegundos)) return -1;
  return accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
}

int PortaLocal::AceitaPendentes() {
  int n = 0;
  for (;;) {
    int c = Aceita(0);
    if (c < 0) return n;
    close(c);
    ++n;
  }
}

PortaMuda::PortaMuda() {
  fd_ = SocketLigado();
  if (fd_ < 0 || listen(fd_, 0) != 0) return;
  porta_ = PortaDe(fd_);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(porta_);
  // Connections that are never accepted fill the queue; the first one left unanswered proves it full.
  for (int i = 0; i < 64 && !pronta_; ++i) {
    int c = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (c < 0) return;
    ocupantes_.push_back(c);
    if (connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) continue;
    if (errno != EINPROGRESS) return;
    if (!EsperaEvento(c, POLLOUT, 300)) pronta_ = true;
  }
}

void PortaMuda::Libera() {
  if (aceitador_.joinable() || fd_ < 0) return;
  for (int c : ocupantes_) close(c);
  ocupantes_.clear();
  aceitador_ = std::thread([this] {
    while (!parar_) {
      if (!EsperaEvento(fd_, POLLIN, 20)) continue;
      int c = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (c >= 0) {
        close(c);
        ++aceitas_;
      }
    }
  });
}

PortaMuda::~PortaMuda() {
  parar_ = true;
  if (aceitador_.joinable()) aceitador_.join();
  for (int c : ocupantes_) close(c);
  if (fd_ >= 0) close(fd_);
}

HostTeste::HostTeste(Roteiro roteiro) {
  thread_ = std::thread([this, roteiro = std::move(roteiro)] {
    int c = porta_.Aceita(10000);
    if (c < 0) return;
    aceitou_ = true;
    roteiro(c);
    close(c);
  });
}

HostTeste::~HostTeste() { Espera(); }

void HostTeste::Espera() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::uint8_t> LeBytes(int conexao, std::size_t n, int milissegundos) {
  std::vector<std::uint8_t> v(n);
  std::size_t lidos = 0;
  const auto fim = std::chrono::steady_clock::now() + std::chrono::milliseconds(milissegundos);
  while (lidos < n) {
    auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(fim - std::chrono::steady_clock::now());
    if (resta.count() <= 0 || !EsperaEvento(conexao, POLLIN, static_cast<int>(resta.count()))) break;
    ssize_t r = recv(conexao, v.data() + lidos, n - lidos, 0);
    if (r <= 0) break;
    lidos += static_cast<std::size_t>(r);
  }
  v.resize(lidos);
  return v;
}

void EnviaBytes(int conexao, const std::vector<std::uint8_t>& bytes) {
  std::size_t feito = 0;
  while (feito < bytes.size()) {
    ssize_t r = send(conexao, bytes.data() + feito, bytes.size() - feito, MSG_NOSIGNAL);
    if (r <= 0) return;
    feito += static_cast<std::size_t>(r);
  }
}

void FechaComReset(int conexao) {
  linger l{1, 0};
  setsockopt(conexao, SOL_SOCKET, SO_LINGER, &l, sizeof l);
}

bool EsperaLegivel(int fd, int milissegundos) { return EsperaEvento(fd, POLLIN, milissegundos); }

std::vector<std::uint8_t> MontaResposta(int anunciado, const std::vector<std::uint8_t>& dados, bool prefixo,
                                        std::uint8_t bytePrefixo) {
  std::vector<std::uint8_t> v;
  if (prefixo) v.assign(40, bytePrefixo);
  const std::uint8_t cabecalho[8] = {10, 1, 14, 0x44, 7, static_cast<std::uint8_t>(anunciado & 0xFF),
                                     static_cast<std::uint8_t>((anunciado >> 8) & 0xFF), 0};
  v.insert(v.end(), cabecalho, cabecalho + 8);
  v.insert(v.end(), dados.begin(), dados.end());
  return v;
}
