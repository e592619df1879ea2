// A one-shot host on 127.0.0.1 for the codec's end-to-end tests.
#include "HostFalso.h"

#include <chrono>
#include <stdexcept>

#include "apoio/SistemaTeste.h"
#include "platform/Escuta.h"
#include "platform/Tcp.h"

namespace {

constexpr int ESPERA_MS = 10000;
using Limite = std::chrono::steady_clock::time_point;

plataforma::Socket EscutaLocal(std::uint16_t& porta) {
  int erro = 0;
  plataforma::Socket s = plataforma::LigaTcp(Loopback(), 0, erro);
  if (!s.Valido() || !plataforma::Escuta(s, 1, erro)) throw std::runtime_error("bind/listen");
  porta = plataforma::PortaLigada(s);
  return s;
}

int Resta(Limite limite) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now());
  return ms.count() > 0 ? static_cast<int>(ms.count()) : 0;
}

bool Legivel(const plataforma::Socket& s, Limite limite) {
  int erro = 0;
  return Resta(limite) > 0 && plataforma::EsperaLeitura(s, Resta(limite), erro) == plataforma::ResultadoEspera::Pronto;
}

bool LeExato(const plataforma::Socket& s, std::vector<std::uint8_t>& destino, std::size_t n, Limite limite) {
  std::size_t lidos = 0;
  const std::size_t inicio = destino.size();
  destino.resize(inicio + n);
  while (lidos < n) {
    if (!Legivel(s, limite)) return false;
    std::size_t r = 0;
    int erro = 0;
    if (plataforma::Recebe(s, destino.data() + inicio + lidos, n - lidos, r, erro) !=
        plataforma::ResultadoRecebe::Dados) {
      return false;
    }
    lidos += r;
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
}

std::vector<std::uint8_t> HostFalso::Recebido() {
  if (thread_.joinable()) thread_.join();
  return recebido_;
}

void HostFalso::Atende() {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(ESPERA_MS);
  if (!Legivel(escuta_, limite)) return;
  int erro = 0;
  const plataforma::Socket conexao = plataforma::Aceita(escuta_, nullptr, erro);
  if (!conexao.Valido()) return;
  std::vector<std::uint8_t> quadro;
  const std::size_t cabecalho = static_cast<std::size_t>(prefixo_) + 8;
  if (!LeExato(conexao, quadro, cabecalho, limite)) return;
  const std::size_t tamanho = quadro[cabecalho - 3] + 256u * quadro[cabecalho - 2];
  if (!LeExato(conexao, quadro, tamanho, limite)) return;
  recebido_ = quadro;
  std::size_t enviados = 0;
  while (enviados < resposta_.size()) {
    std::size_t r = 0;
    // The accepted connection blocks on its sends.
    if (plataforma::Envia(conexao, resposta_.data() + enviados, resposta_.size() - enviados, r, erro) !=
            plataforma::ResultadoEnvio::Enviado ||
        r == 0) {
      return;
    }
    enviados += r;
  }
}

std::uint16_t PortaFechada() {
  std::uint16_t porta = 0;
  EscutaLocal(porta);  // bound, then released as it goes
  return porta;
}
