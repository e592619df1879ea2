// The pause of the service loop, by the mode in force at each pass.
#include "service/EsperaEntrada.h"

#include <utility>

#include "log/GravaLog.h"
#include "platform/Relogio.h"

EsperaEntrada::EsperaEntrada(Vigia vigia) : vigia_(std::move(vigia)) {
  if (!vigia_) {
    vigia_ = [](plataforma::EventosDiretorio& e, const std::string& dir, std::string& motivo) {
      return e.Vigia(dir.c_str(), motivo);
    };
  }
}

void EsperaEntrada::Pausa(std::uint32_t ms, const std::string& dirEntrada, bool imediato) {
  if (!imediato) {
    eventos_.Para();
    dir_.clear();
    indisponivel_ = false;
    plataforma::Dorme(ms);
    return;
  }
  if (dirEntrada != dir_) {
    eventos_.Para();
    dir_ = dirEntrada;
    indisponivel_ = false;
  }
  // A directory that went away (or is not there yet) is watched again once it is back.
  if (!eventos_.Ativo() && !indisponivel_) {
    std::string motivo;
    switch (vigia_(eventos_, dir_, motivo)) {
      case plataforma::EventosDiretorio::Resultado::Vigiando:
        break;
      case plataforma::EventosDiretorio::Resultado::NaoExiste:
        break;
      case plataforma::EventosDiretorio::Resultado::Indisponivel:
        indisponivel_ = true;
        GravaLog("*** Modo imediato sem aviso de arquivos em %s (%s): pausa de %u ms", dir_.c_str(), motivo.c_str(),
                 static_cast<unsigned>(ms));
        break;
    }
  }
  if (!eventos_.Ativo()) {
    plataforma::Dorme(ms);
    return;
  }
  eventos_.Espera(ms, ".env");
  // Gone during the wait: the rest of the pause is not waited for, the next pass looks again.
}
