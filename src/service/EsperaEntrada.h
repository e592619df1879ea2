// How the service loop spends its pause: asleep, or, in immediate mode, waiting for a request to
// arrive in the input directory, whichever comes first.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/EventosDiretorio.h"

class EsperaEntrada {
 public:
  // The directory watch the pause uses; tests give one that is never available.
  using Vigia = std::function<plataforma::EventosDiretorio::Resultado(plataforma::EventosDiretorio&,
                                                                       const std::string& dir, std::string& motivo)>;
  explicit EsperaEntrada(Vigia vigia = nullptr);

  // Pauses at most ms: the whole of it in the default mode; in immediate mode until a request file
  // is moved into dirEntrada or closed after writing there. Where the directory cannot be watched
  // (a network share, no watch left) the pause is slept, and that is logged once per directory.
  void Pausa(std::uint32_t ms, const std::string& dirEntrada, bool imediato);

 private:
  Vigia vigia_;
  plataforma::EventosDiretorio eventos_;
  std::string dir_;           // the directory watched, or last found unwatchable
  bool indisponivel_ = false;  // dir_ cannot be watched: slept, already logged
};
