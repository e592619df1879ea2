// The single-instance rule: a lock file held for the whole life of the process.
#pragma once

#include <QLockFile>
#include <QString>

class TInstanciaUnica {
 public:
  // Tries the lock at once, without waiting. The lock lives in $XDG_RUNTIME_DIR (the user's session
  // directory) or, without one, in /tmp under a name that carries the user's name. A lock whose process
  // has ended is taken over; so is a lock file left empty or damaged (its process killed while writing
  // it) once it is a second old, so such a start may wait that long.
  TInstanciaUnica();
  explicit TInstanciaUnica(const QString& caminho);

  // False only when another running process holds the lock. When the lock cannot be taken for any
  // other reason (no writable directory) the program still runs: it cannot prove another instance.
  bool PodeIniciar() const { return podeIniciar_; }
  bool Travada() const { return trava_.isLocked(); }

  static QString CaminhoPadrao();

 private:
  bool Legivel();
  void RemoveSeAbandonado();

  QLockFile trava_;
  QString caminho_;
  bool podeIniciar_ = true;
};
