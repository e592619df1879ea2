// Test peers on the loopback interface; every wait here is bounded.
#include "PeerTcp.h"

#include <chrono>

#include "platform/Rede.h"
#include "platform/Tcp.h"

namespace {

plataforma::Socket SocketLigado() {
  int erro = 0;
  return plataforma::LigaTcp(Loopback(), 0, erro);
}

}  // namespace

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

PortaLocal::PortaLocal(bool escutando) : socket_(SocketLigado()) {
  porta_ = plataforma::PortaLigada(socket_);
  if (escutando) Escuta();
}

PortaLocal::~PortaLocal() { Fecha(); }

void PortaLocal::Escuta() {
  int erro = 0;
  if (socket_.Valido()) plataforma::Escuta(socket_, 16, erro);
}

void PortaLocal::Fecha() { socket_.Fecha(); }

plataforma::Socket PortaLocal::Aceita(int milissegundos) {
  if (!socket_.Valido() || !EsperaLegivel(socket_, milissegundos)) return plataforma::Socket();
  int erro = 0;
  return plataforma::Aceita(socket_, nullptr, erro);
}

int PortaLocal::AceitaPendentes() {
  int n = 0;
  while (Aceita(0).Valido()) ++n;
  return n;
}

PortaMuda::PortaMuda() : socket_(SocketLigado()) {
  int erro = 0;
  if (!socket_.Valido() || !plataforma::Escuta(socket_, 0, erro)) return;
  porta_ = plataforma::PortaLigada(socket_);
  // Connections that are never accepted fill the queue; the first one left unanswered proves it full.
  for (int i = 0; i < 64 && !pronta_; ++i) {
    plataforma::Socket c = plataforma::CriaSocketTcp(erro);
    if (!c.Valido() || !plataforma::TornaNaoBloqueante(c, erro)) return;
    const auto inicio = plataforma::IniciaConexao(c, Loopback(), porta_, erro);
    ocupantes_.push_back(std::move(c));
    if (inicio == plataforma::ResultadoConexao::Conectado) continue;
    if (inicio == plataforma::ResultadoConexao::Falhou) return;
    if (plataforma::EsperaEscrita(ocupantes_.back(), 300, erro) == plataforma::ResultadoEspera::Expirou) pronta_ = true;
  }
}

void PortaMuda::Libera() {
  if (aceitador_.joinable() || !socket_.Valido()) return;
  ocupantes_.clear();
  aceitador_ = std::thread([this] {
    while (!parar_) {
      if (!EsperaLegivel(socket_, 20)) continue;
      int erro = 0;
      if (plataforma::Aceita(socket_, nullptr, erro).Valido()) ++aceitas_;  // closed at once
    }
  });
}

PortaMuda::~PortaMuda() {
  parar_ = true;
  if (aceitador_.joinable()) aceitador_.join();
}

HostTeste::HostTeste(Roteiro roteiro) {
  thread_ = std::thread([this, roteiro = std::move(roteiro)] {
    plataforma::Socket c = porta_.Aceita(10000);
    if (!c.Valido()) return;
    aceitou_ = true;
    roteiro(c);
  });
}

HostTeste::~HostTeste() { Espera(); }

void HostTeste::Espera() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::uint8_t> LeBytes(Conexao conexao, std::size_t n, int milissegundos) {
  std::vector<std::uint8_t> v(n);
  std::size_t lidos = 0;
  const auto fim = std::chrono::steady_clock::now() + std::chrono::milliseconds(milissegundos);
  while (lidos < n) {
    auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(fim - std::chrono::steady_clock::now());
    if (resta.count() <= 0 || !EsperaLegivel(conexao, static_cast<int>(resta.count()))) break;
    std::size_t r = 0;
    int erro = 0;
    if (plataforma::Recebe(conexao, v.data() + lidos, n - lidos, r, erro) != plataforma::ResultadoRecebe::Dados) break;
    lidos += r;
  }
  v.resize(lidos);
  return v;
}

void EnviaBytes(Conexao conexao, const std::vector<std::uint8_t>& bytes) {
  std::size_t feito = 0;
  while (feito < bytes.size()) {
    std::size_t r = 0;
    int erro = 0;
    if (plataforma::Envia(conexao, bytes.data() + feito, bytes.size() - feito, r, erro) !=
            plataforma::ResultadoEnvio::Enviado ||
        r == 0) {
      return;
    }
    feito += r;
  }
}

bool EsperaLegivel(Conexao socket, int milissegundos) {
  int erro = 0;
  return plataforma::EsperaLeitura(socket, milissegundos, erro) == plataforma::ResultadoEspera::Pronto;
}

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
