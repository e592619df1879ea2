// Waiting for files to arrive in a directory (inotify), for the service's immediate mode.
#pragma once

#include <cstdint>
#include <string>

namespace plataforma {

// Watches one directory for files moved into it or closed after writing.
class EventosDiretorio {
 public:
  enum class Resultado { Vigiando, NaoExiste, Indisponivel };

  EventosDiretorio() = default;
  ~EventosDiretorio() { Para(); }
  EventosDiretorio(const EventosDiretorio&) = delete;
  EventosDiretorio& operator=(const EventosDiretorio&) = delete;

  // Stops any watch and starts one on this directory. Indisponivel, with the reason in motivo, where
  // the kernel cannot tell of every change: a network or user-space file system (changes made on
  // another machine raise no event here), or no inotify instance or watch left.
  Resultado Vigia(const char* diretorio, std::string& motivo);
  void Para();
  // False once the watched directory has gone (removed or moved away) or after Para.
  bool Ativo() const { return fd_ >= 0 && vigia_ >= 0; }

  // Waits at most milissegundos for an event of a name that ends in sufixo (in any letter case) and
  // drains every event queued; true when such an event came (or events were lost to an overflow).
  bool Espera(std::uint32_t milissegundos, const char* sufixo);

 private:
  int fd_ = -1;
  int vigia_ = -1;
};

}  // namespace plataforma
