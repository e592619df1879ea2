// The lines of zelp.ini that the service never reads: unknown sections and keys (a typo such as
// TOutCxn is silently ignored by the load), repeated sections and keys, integers that are no number.
#include <cstdint>
#include <set>
#include <string>

#include "comum/Texto.h"
#include "config/ChavesConfig.h"
#include "config/LeitorIni.h"
#include "verifica/Verificacoes.h"

namespace {

// What the load makes of an integer: a sign and digits at its start, else 0. Returns where the
// digits start, and sets fim to where they end.
std::size_t InicioDoNumero(const std::string& valor, std::size_t& fim) {
  std::size_t i = 0;
  while (i < valor.size() && (valor[i] == ' ' || valor[i] == '\t')) ++i;
  if (i < valor.size() && (valor[i] == '-' || valor[i] == '+')) ++i;
  fim = i;
  while (fim < valor.size() && valor[fim] >= '0' && valor[fim] <= '9') ++fim;
  return i;
}

std::string EmMinusculas(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

}  // namespace

void VerificaChaves(const LeitorIni& ini, Relatorio& r) {
  std::set<std::string> secoesDesconhecidas;
  for (const LeitorIni::LinhaChave& l : ini.LinhasChave()) {
    const char* secao = l.secao.c_str();
    const char* chave = l.chave.c_str();
    if (l.ignorada != nullptr) {
      r.Aviso("line %d: [%s] %s is ignored: %s", l.linha, secao, chave, l.ignorada);
      continue;
    }
    if (!SecaoLida(secao)) {
      if (secoesDesconhecidas.insert(EmMinusculas(l.secao)).second) {
        r.Aviso("line %d: [%s] is not a section the service reads: its keys are ignored", l.linha, secao);
      }
      continue;
    }
    const ChaveConfig* conhecida = ProcuraChave(secao, chave);
    if (conhecida == nullptr) {
      r.Aviso("line %d: [%s] %s is not a key the service reads: it is ignored", l.linha, secao, chave);
      continue;
    }
    const std::string valor = ini.LeTexto(secao, chave, "");
    if (!conhecida->inteira || valor.empty()) continue;
    std::size_t fim = 0;
    const std::size_t inicio = InicioDoNumero(valor, fim);
    const std::int32_t lido = LeitorIni::ConverteInteiro(valor);
    if (fim == inicio) {
      r.Aviso("line %d: [%s] %s = %s is not a number: the service reads 0", l.linha, secao, chave, valor.c_str());
    } else if (fim < valor.size()) {
      // "Port=4049 5": the load stops at the blank, and the rest is silently lost.
      r.Aviso("line %d: [%s] %s = %s has characters after the number: the service reads %d", l.linha, secao, chave,
              valor.c_str(), lido);
    }
  }
}
