// Every key of the file with its default and its rule: the one place where they are applied.
#include "config/ValoresConfig.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "config/LeitorIni.h"
#include "config/TX.h"

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

std::string Texto(const LeitorIni& ini, IndiceChave i, int grupo = 0, int numero = 0) {
  return ini.LeTexto(NomeSecao(i, grupo).c_str(), NomeChave(i, numero).c_str(), chavesConfig[i].padrao);
}

std::int32_t Inteiro(const LeitorIni& ini, IndiceChave i, int grupo = 0) {
  return ini.LeInteiro(NomeSecao(i, grupo).c_str(), NomeChave(i, 0).c_str(),
                       LeitorIni::ConverteInteiro(chavesConfig[i].padrao));
}

void LeServidor(const LeitorIni& ini, int n, ValoresConfig::Servidor& grupo) {
  const auto acrescenta = [&](IndiceChave i, int k) {
    std::string valor = Texto(ini, i, n, k);
    // An address counts even when its name does not resolve: the file did name a host.
    if (valor.size() >= MIN_URL) grupo.enderecos.push_back({NomeChave(i, k), std::move(valor)});
  };
  acrescenta(CHAVE_URL, 0);
  for (int k = chavesConfig[CHAVE_URL_N].primeiro; k <= chavesConfig[CHAVE_URL_N].ultimo; ++k) acrescenta(CHAVE_URL_N, k);
  grupo.porta = Inteiro(ini, CHAVE_PORT, n);
}

void LeParametros(const LeitorIni& ini, int n, std::string (&arquivos)[TP::NUM_ARQUIVOS]) {
  std::string texto = Texto(ini, CHAVE_PESTAB, 0, n);
  if (texto.size() >= MIN_ARQUIVO) arquivos[0] = texto;
  for (int k = 0; k < TP::NUM_ARQUIVOS; ++k) {
    texto = Texto(ini, CHAVE_ARQ, n, k);
    if (texto.size() >= MIN_ARQUIVO) arquivos[k] = texto;  // arq0 takes the place of the PEstab value
  }
}

}  // namespace

bool ValoresConfig::AlgumEndereco() const {
  return std::any_of(std::begin(servidores), std::end(servidores), [](const Servidor& s) { return !s.enderecos.empty(); });
}

bool ValoresConfig::AlgumArquivo() const {
  for (const auto& grupo : arquivos) {
    for (const std::string& a : grupo) {
      if (!a.empty()) return true;
    }
  }
  return false;
}

const char* ValoresConfig::ErroFatal() const {
  if (!AlgumEndereco()) return ERRO_SEM_URL;
  if (!AlgumArquivo()) return ERRO_SEM_PAR;
  return nullptr;
}

ValoresConfig LeValores(const LeitorIni& ini) {
  ValoresConfig v;
  v.intervaloIni = IntervaloEmMs(Inteiro(ini, CHAVE_TOUT_INI));
  v.tempoResposta = Inteiro(ini, CHAVE_TOUT_CNF);
  v.tempoConexao = Inteiro(ini, CHAVE_TOUT_CNX);
  v.imediato = Inteiro(ini, CHAVE_IMEDIATO) != 0;
  v.dirEntrada = Texto(ini, CHAVE_ENTRADA) + SEPARADOR;
  v.dirSaida = Texto(ini, CHAVE_SAIDA) + SEPARADOR;
  v.dirLog = Texto(ini, CHAVE_ERRLOG);
  v.tamNomeArq = Inteiro(ini, CHAVE_TAM_NOME_ARQ);
  v.larguraNome = std::clamp<int>(v.tamNomeArq, LARGURA_NOME_MIN, LARGURA_NOME_MAX);
  v.apagaProcessados = Inteiro(ini, CHAVE_DELETA_LOG) != 0;
  for (int n = 0; n < NUM_GRUPOS; ++n) {
    LeServidor(ini, n, v.servidores[n]);
    LeParametros(ini, n, v.arquivos[n]);
  }
  return v;
}
