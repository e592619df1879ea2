// The lines of zelp.ini that the service never reads: unknown sections and keys (a typo such as
// TOutCxn is silently ignored by the load), repeated sections and keys, integers that are no number.
#include <set>
#include <string>

#include "comum/Texto.h"
#include "config/ChavesConfig.h"
#include "config/LeitorIni.h"
#include "verifica/Verificacoes.h"

namespace {

// What the load makes of an integer: a sign and digits at its start, else 0.
bool PareceNumero(const std::string& valor) {
  std::size_t i = 0;
  while (i < valor.size() && (valor[i] == ' ' || valor[i] == '\t')) ++i;
  if (i < valor.size() && (valor[i] == '-' || valor[i] == '+')) ++i;
  return i < valor.size() && valor[i] >= '0' && valor[i] <= '9';
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
    if (conhecida->inteira && !valor.empty() && !PareceNumero(valor)) {
      r.Aviso("line %d: [%s] %s = %s is not a number: the service reads 0", l.linha, secao, chave, valor.c_str());
    }
  }
}
