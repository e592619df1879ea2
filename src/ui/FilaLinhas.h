// The lines on their way from any thread to the window's list. The 128-line rule is applied here, in
// the order the lines arrive, so the list on the window's thread only replays what this queue decided.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "comum/Mutex.h"

// A list that already holds this many lines is emptied before the next one is added.
inline constexpr int MAX_LINHAS_LISTA = 128;

class TFilaLinhas {
 public:
  // Runs on the adding thread, with the queue's lock held, when a line arrives and the consumer has
  // not yet been woken for earlier ones. It must only post a wake-up: no blocking, no logging.
  using Aviso = std::function<void()>;

  // What the list has to do, in order: empty itself (when limpar), then append every line.
  struct Lote {
    bool limpar = false;
    std::vector<std::string> linhas;
  };

  // Connects a new, empty list; lines are accepted from now on.
  void Liga(Aviso aviso);
  // Disconnects the list: pending and later lines are dropped until the next Liga.
  void Desliga();
  bool Ligada();

  // From any thread. A null text is ignored; a line that finds no memory is lost, and the caller
  // (the log writer) goes on.
  void Adiciona(const char* texto) noexcept;

  // On the consumer's thread, after a wake-up: everything the list must do to catch up.
  Lote Retira();

 private:
  Mutex travaLista;
  Aviso aviso_;
  bool avisado_ = false;
  Lote pendente_;
  // The lines the list holds once the pending lote has been applied.
  int linhasNaLista_ = 0;
};
