// The check that paces the service loop and reloads the configuration when its file changes.
#include "config/LeitorIni.h"
#include "config/TX.h"
#include "platform/Arquivos.h"

namespace {
constexpr std::uint32_t PAUSA_MS = 200;
}  // namespace

bool TX::VerificaConfig() {
  if (!verificouAlgumaVez_) {
    ultimaVerificacao_ = ticks_();
    verificouAlgumaVez_ = true;
  }
  // Unsigned 32-bit difference: the tick counter's wrap does no harm.
  if (IntervaloIni() > ticks_() - ultimaVerificacao_) {
    dorme_(PAUSA_MS);
    return false;
  }

  plataforma::HoraArquivo hora;
  const bool legivel = plataforma::HoraEscrita(caminhoIni_.c_str(), hora);
  bool aplicou = false;
  if (!carregou_) {
    // The first check always loads, whatever the file's time (or the defaults when it is missing).
    horaIni_ = legivel ? hora : plataforma::HoraArquivo{};
    CarregaConfig();
    aplicou = true;
  } else if (!legivel) {
    AvisaIlegivel();
  } else if (hora == horaIni_) {
    avisouIlegivel_ = false;
  } else {
    // Read before anything changes, so a file that vanishes in between keeps the values in force;
    // its time is kept only once it was read, so a failed read is tried again at the next check.
    // A file rewritten in place is empty between its truncation and its first write: a reload that
    // finds no section at all is taken as such a moment, keeps the values in force and looks again
    // at the next check, instead of ending the service for a file that is still being written.
    // A file that would end the service is refused whole, once: its time is kept, so the next look
    // at it is the next change, and a file mended meanwhile is taken at that check.
    LeitorIni ini;
    if (ini.Carrega(caminhoIni_.c_str()) && !ini.SemSecoes()) {
      horaIni_ = hora;
      aplicou = Recarrega(ini);
    } else {
      AvisaIlegivel();
    }
  }
  ultimaVerificacao_ = ticks_();
  return aplicou;
}
