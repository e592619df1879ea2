// Waiting for files to arrive in a directory (inotify on Linux, ReadDirectoryChangesW on Windows),
// for the service's immediate mode.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace plataforma {

// Watches one directory for files moved into it or closed after writing.
class EventosDiretorio {
 public:
  enum class Resultado { Vigiando, NaoExiste, Indisponivel };

  EventosDiretorio();
  ~EventosDiretorio();
  EventosDiretorio(const EventosDiretorio&) = delete;
  EventosDiretorio& operator=(const EventosDiretorio&) = delete;

  // Stops any watch and starts one on this directory. Indisponivel, with the reason in motivo, where
  // the kernel cannot tell of every change: on Linux a network or user-space file system (changes
  // made on another machine raise no event here), or no inotify instance or watch left; on Windows a
  // file system that refuses to report changes.
  Resultado Vigia(const char* diretorio, std::string& motivo);
  void Para();
  // False once the watched directory has gone (removed or moved away) or after Para.
  bool Ativo() const;

  // Waits at most milissegundos for a file whose name ends in sufixo (in any letter case) to be moved
  // into the directory or written there (on Linux: closed after writing), and drains every event
  // queued; true when such an event came (or events were lost to an overflow).
  bool Espera(std::uint32_t milissegundos, const char* sufixo);

 private:
  struct Estado;  // what the platform holds for the watch
  std::unique_ptr<Estado> estado_;
};

}  // namespace plataforma
