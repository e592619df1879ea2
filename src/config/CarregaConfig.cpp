// The configuration load: every key of the file, its default and its rule, and the two fatal checks.
#include <cstdio>
#include <limits>

#include "comum/Err.h"
#include "config/LeitorIni.h"
#include "config/TX.h"
#include "log/GravaLog.h"

namespace {

// Directory values get the separator whatever they end with: "" gives "/", the root of the disk.
constexpr const char* SEPARADOR = "/";

// Texts shorter than these are taken as not set.
constexpr std::size_t MIN_URL = 2;
constexpr std::size_t MIN_ARQUIVO = 4;

// TOutIni seconds to milliseconds, held unsigned: 0 checks at every pass, a huge value gives the
// longest interval rather than a wrapped product. A negative value is stored times 1000 as the
// unsigned number it becomes, a very long interval with the loop's pause; the few negatives whose
// product wraps to 0 would check at every pass without any pause, and get the longest instead.
std::uint32_t IntervaloEmMs(std::int32_t segundos) {
  constexpr std::uint32_t MAXIMO = std::numeric_limits<std::uint32_t>::max();
  if (segundos == 0) return 0;
  if (segundos < 0) {
    const std::uint32_t produto = static_cast<std::uint32_t>(segundos) * 1000u;
    return produto == 0 ? MAXIMO : produto;
  }
  if (static_cast<std::uint32_t>(segundos) > MAXIMO / 1000u) return MAXIMO;
  return static_cast<std::uint32_t>(segundos) * 1000u;
}

}  // namespace

void TX::CarregaConfig() {
  LeitorIni ini;
  if (!ini.Carrega(caminhoIni_.c_str()) && carregou_) {
    AvisaIlegivel();
    return;
  }
  Aplica(ini);
}

void TX::AvisaIlegivel() {
  if (avisouIlegivel_) return;
  avisouIlegivel_ = true;
  GravaLog("*** Erro ao ler %s, mantida a configuracao anterior", caminhoIni_.c_str());
}

void TX::Aplica(const LeitorIni& ini) {
  carregou_ = true;
  avisouIlegivel_ = false;
  {
    MutexLocker travado(trava_);
    intervaloIni_ = IntervaloEmMs(ini.LeInteiro("Tempos", "TOutIni", 10));
    tempoResposta_ = ini.LeInteiro("Tempos", "TOutCnf", 30);
    tempoConexao_ = ini.LeInteiro("Tempos", "TOutCnx", 3);
    imediato_ = ini.LeInteiro("Tempos", "Imediato", 0) != 0;

    dirEntrada_ = ini.LeTexto("Diretorios", "Entrada", ".") + SEPARADOR;
    mascaraEntrada_ = dirEntrada_ + "*.ENV";
    dirSaida_ = ini.LeTexto("Diretorios", "Saida", ".") + SEPARADOR;

    zelp_log::DefineDirLog(ini.LeTexto("Diretorios", "Errlog", "").c_str());
    DefineLarguraNome(ini.LeInteiro("Diretorios", "TamNomeArq", LARGURA_NOME_MIN));

    // A reload replaces every value: clean-up switched off in the file is off again, and a new
    // input directory moves the clean-up with it.
    mascaraLog_ = ini.LeInteiro("Deleta", "Log", 0) != 0 ? dirEntrada_ + "*.log" : std::string();
  }

  bool algumEndereco = false;
  bool algumParametro = false;
  for (int n = 0; n < 3; ++n) {
    if (CarregaServidor(ini, n)) algumEndereco = true;
    if (CarregaParametros(ini, n)) algumParametro = true;
  }
  if (!algumEndereco) throw Err("\n*** Nenhuma 'url' especificada!!!");
  if (!algumParametro) throw Err("\n*** Nenhum 'Par' especificado!!!");
}

bool TX::CarregaServidor(const LeitorIni& ini, int n) {
  char secao[16];
  std::snprintf(secao, sizeof secao, "End%d", n);
  const std::string url = ini.LeTexto(secao, "url", "");

  TU& grupo = servidores_[n];
  MutexLocker travado(grupo.trava);
  LimpaServidor(grupo);
  // An address counts even when its name does not resolve: the file did name a host.
  bool algum = false;
  if (url.size() >= MIN_URL) {
    AdicionaEndereco(grupo, url.c_str());
    algum = true;
  }
  for (int k = 1; k <= 3; ++k) {
    char chave[16];
    std::snprintf(chave, sizeof chave, "url%d", k);
    const std::string outra = ini.LeTexto(secao, chave, "");
    if (outra.size() >= MIN_URL) {
      AdicionaEndereco(grupo, outra.c_str());
      algum = true;
    }
  }
  grupo.porta = ini.LeInteiro(secao, "Port", 0);
  return algum;
}

bool TX::CarregaParametros(const LeitorIni& ini, int n) {
  TP& grupo = parametros_[n];
  MutexLocker travado(grupo.trava);
  for (auto& arquivo : grupo.arquivos) arquivo.clear();

  bool algum = false;
  char chave[16];
  std::snprintf(chave, sizeof chave, "par%d", n);
  std::string texto = ini.LeTexto("PEstab", chave, "");
  if (texto.size() >= MIN_ARQUIVO) {
    grupo.arquivos[0] = texto;
    algum = true;
  }
  char secao[16];
  std::snprintf(secao, sizeof secao, "par%1d", n);
  for (int k = 0; k < TP::NUM_ARQUIVOS; ++k) {
    std::snprintf(chave, sizeof chave, "arq%d", k);
    texto = ini.LeTexto(secao, chave, "");
    if (texto.size() >= MIN_ARQUIVO) {
      grupo.arquivos[k] = texto;  // arq0 takes the place of the PEstab value
      algum = true;
    }
  }
  return algum;
}
