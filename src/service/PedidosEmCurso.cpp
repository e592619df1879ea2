// The process-wide set of claimed requests in flight, and the delete that respects it.
#include "service/PedidosEmCurso.h"

#include <mutex>
#include <unordered_map>
#include <utility>

#include "arquivos/OperacoesArquivo.h"
#include "service/Perene.h"

namespace {

struct Conjunto {
  std::mutex trava;
  std::unordered_map<std::string, int> nomes;  // name -> how many holders
};

// Never destroyed: workers may still release their names while the process ends.
Conjunto& EmCurso() {
  static Perene<Conjunto> conjunto;
  return *conjunto;
}

}  // namespace

ReservaPedido::ReservaPedido(std::string nome) : nome_(std::move(nome)) {
  Conjunto& c = EmCurso();
  std::lock_guard<std::mutex> l(c.trava);
  ++c.nomes[nome_];
  ativa_ = true;
}

ReservaPedido::~ReservaPedido() { Libera(); }

ReservaPedido::ReservaPedido(ReservaPedido&& outra) noexcept
    : nome_(std::move(outra.nome_)), ativa_(std::exchange(outra.ativa_, false)) {}

ReservaPedido& ReservaPedido::operator=(ReservaPedido&& outra) noexcept {
  if (this != &outra) {
    Libera();
    nome_ = std::move(outra.nome_);
    ativa_ = std::exchange(outra.ativa_, false);
  }
  return *this;
}

void ReservaPedido::Libera() {
  if (!ativa_) return;
  ativa_ = false;
  Conjunto& c = EmCurso();
  std::lock_guard<std::mutex> l(c.trava);
  auto it = c.nomes.find(nome_);
  if (it != c.nomes.end() && --it->second <= 0) c.nomes.erase(it);
}

bool PedidoEmCurso(const std::string& nome) {
  Conjunto& c = EmCurso();
  std::lock_guard<std::mutex> l(c.trava);
  return c.nomes.find(nome) != c.nomes.end();
}

ResultadoLimpeza ApagaSeConcluido(const std::string& nome, const std::string& caminho) {
  Conjunto& c = EmCurso();
  std::lock_guard<std::mutex> l(c.trava);
  if (c.nomes.find(nome) != c.nomes.end()) return ResultadoLimpeza::EmCurso;
  return ApagaArquivo(caminho.c_str()) ? ResultadoLimpeza::Apagado : ResultadoLimpeza::Falhou;
}
