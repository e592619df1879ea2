// The configuration context: creation, the locked accessors and the process-wide name width.
#include "config/TX.h"

#include <atomic>
#include <utility>

#include "platform/Relogio.h"

namespace {
std::atomic<int> larguraNome{LARGURA_NOME_MIN};
}  // namespace

int LarguraNome() { return larguraNome.load(); }

void DefineLarguraNome(int largura) {
  if (largura < LARGURA_NOME_MIN) largura = LARGURA_NOME_MIN;
  if (largura > LARGURA_NOME_MAX) largura = LARGURA_NOME_MAX;
  larguraNome.store(largura);
}

TX::TX(std::string caminhoIni)
    : caminhoIni_(std::move(caminhoIni)), ticks_(&plataforma::Ticks), dorme_(&plataforma::Dorme) {}

void TX::DefineRelogio(std::function<std::uint32_t()> ticks, std::function<void(std::uint32_t)> dorme) {
  ticks_ = ticks ? std::move(ticks) : std::function<std::uint32_t()>(&plataforma::Ticks);
  dorme_ = dorme ? std::move(dorme) : std::function<void(std::uint32_t)>(&plataforma::Dorme);
}

std::string TX::DirEntrada() const {
  MutexLocker travado(trava_);
  return dirEntrada_;
}

std::string TX::DirSaida() const {
  MutexLocker travado(trava_);
  return dirSaida_;
}

std::string TX::MascaraEntrada() const {
  MutexLocker travado(trava_);
  return mascaraEntrada_;
}

std::string TX::MascaraLog() const {
  MutexLocker travado(trava_);
  return mascaraLog_;
}

std::int32_t TX::TempoConexao() const {
  MutexLocker travado(trava_);
  return tempoConexao_;
}

std::int32_t TX::TempoResposta() const {
  MutexLocker travado(trava_);
  return tempoResposta_;
}

std::uint32_t TX::IntervaloIni() const {
  MutexLocker travado(trava_);
  return intervaloIni_;
}

bool TX::Imediato() const {
  MutexLocker travado(trava_);
  return imediato_;
}

std::string TX::ArquivoEstabelecimento(int g, int k) const {
  if (g < 0 || g >= 3 || k < 0 || k >= TP::NUM_ARQUIVOS) return {};
  const TP& grupo = parametros_[g];
  MutexLocker travado(grupo.trava);
  return grupo.arquivos[k];
}
