// The claimed requests whose transaction has not ended yet. The clean-up of processed requests
// must leave these alone: a request renamed to .log but not yet read would otherwise be lost.
#pragma once

#include <string>

// Holds one claimed request name (as it stands in the input directory, e.g. "00000123.log") in
// the process-wide set from just before its claim until its worker has done with the file.
// Move-only; the name leaves the set at Libera() or at destruction, whichever comes first. The
// same name may be held more than once (a request claimed again over an older one of its name).
class ReservaPedido {
 public:
  ReservaPedido() = default;
  explicit ReservaPedido(std::string nome);
  ~ReservaPedido();
  ReservaPedido(ReservaPedido&& outra) noexcept;
  ReservaPedido& operator=(ReservaPedido&& outra) noexcept;
  ReservaPedido(const ReservaPedido&) = delete;
  ReservaPedido& operator=(const ReservaPedido&) = delete;

  void Libera();
  bool Ativa() const { return ativa_; }
  const std::string& Nome() const { return nome_; }

 private:
  std::string nome_;
  bool ativa_ = false;
};

// True when a request of this name is held in flight.
bool PedidoEmCurso(const std::string& nome);

enum class ResultadoLimpeza { EmCurso, Apagado, Falhou };

// Deletes caminho (the processed request nome in the input directory) unless nome is in flight.
// The check and the delete happen under the set's lock, so a claim of the same name cannot slip
// in between them.
ResultadoLimpeza ApagaSeConcluido(const std::string& nome, const std::string& caminho);
