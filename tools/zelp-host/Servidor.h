// The simulator's TCP side: listens, serves one request frame per connection, each on its own
// thread, and answers (or fails) as the options say.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "zelp-host/LeituraPedido.h"
#include "platform/Socket.h"
#include "zelp-host/Opcoes.h"

namespace simulador {

class Servidor {
 public:
  explicit Servidor(const OpcoesHost& opcoes) : opcoes_(opcoes) {}
  ~Servidor();
  Servidor(const Servidor&) = delete;
  Servidor& operator=(const Servidor&) = delete;

  // Opens the listening socket; false with the reason in erro.
  bool Inicia(std::string& erro);
  int Porta() const { return porta_; }
  // Serves connections until --vezes of them were taken (never, when 0), then waits for the
  // ones still being served. The exit status of the program.
  int Executa();

 private:
  void Atende(plataforma::Socket conexao, unsigned numero, const std::string& origem);
  void Imprime(const std::string& texto);
  // Hex dumps of what came and what goes, with card data masked unless --mostra-cartao.
  std::string Dump(const std::uint8_t* dados, std::size_t tamanho, const PedidoLido& lido) const;
  std::string DumpResposta(const TTipoTransacao& tipo, const std::vector<std::uint8_t>& quadro) const;

  OpcoesHost opcoes_;
  plataforma::Socket escuta_;
  int porta_ = 0;
  std::atomic<unsigned> nsu_{0};

  std::mutex trava_;                 // guards ativos_ and the output
  std::condition_variable mudou_;
  int ativos_ = 0;
};

}  // namespace simulador
