// The table of the keys the load reads, and the lookup of a file's names in it.
#include "config/ChavesConfig.h"

#include <cstring>

#include "comum/Texto.h"

const ChaveConfig chavesConfig[NUM_CHAVES_CONFIG] = {
    {"Tempos", "TOutIni", 0, 0, "10", true},
    {"Tempos", "TOutCnf", 0, 0, "30", true},
    {"Tempos", "TOutCnx", 0, 0, "3", true},
    {"Tempos", "Imediato", 0, 0, "0", true},
    {"Diretorios", "Entrada", 0, 0, ".", false},
    {"Diretorios", "Saida", 0, 0, ".", false},
    {"Diretorios", "Errlog", 0, 0, "", false},
    {"Diretorios", "TamNomeArq", 0, 0, "8", true},
    {"Deleta", "Log", 0, 0, "0", true},
    {"End%d", "url", 0, 0, "", false},
    {"End%d", "url%d", 1, 3, "", false},
    {"End%d", "Port", 0, 0, "0", true},
    {"PEstab", "par%d", 0, NUM_GRUPOS - 1, "", false},
    {"par%d", "arq%d", 0, 9, "", false},
};

namespace {

bool Numerado(const char* nome) { return std::strstr(nome, "%d") != nullptr; }

std::string Nome(const char* modelo, int numero) {
  if (!Numerado(modelo)) return modelo;
  char texto[32];
  std::snprintf(texto, sizeof texto, modelo, numero);
  return texto;
}

// The numbers a name of the entry stands for: the groups for a section, the entry's range for a key.
void Numeros(const char* modelo, int primeiro, int ultimo, int& de, int& ate) {
  de = Numerado(modelo) ? primeiro : 0;
  ate = Numerado(modelo) ? ultimo : 0;
}

bool SecaoDaEntrada(const ChaveConfig& c, const char* secao) {
  int de, ate;
  Numeros(c.secao, 0, NUM_GRUPOS - 1, de, ate);
  for (int g = de; g <= ate; ++g) {
    if (IguaisSemCaixa(Nome(c.secao, g).c_str(), secao)) return true;
  }
  return false;
}

}  // namespace

std::string NomeSecao(IndiceChave indice, int grupo) { return Nome(chavesConfig[indice].secao, grupo); }

std::string NomeChave(IndiceChave indice, int numero) { return Nome(chavesConfig[indice].chave, numero); }

bool SecaoLida(const char* secao) {
  for (const ChaveConfig& c : chavesConfig) {
    if (SecaoDaEntrada(c, secao)) return true;
  }
  return false;
}

const ChaveConfig* ProcuraChave(const char* secao, const char* chave) {
  for (const ChaveConfig& c : chavesConfig) {
    if (!SecaoDaEntrada(c, secao)) continue;
    int de, ate;
    Numeros(c.chave, c.primeiro, c.ultimo, de, ate);
    for (int k = de; k <= ate; ++k) {
      if (IguaisSemCaixa(Nome(c.chave, k).c_str(), chave)) return &c;
    }
  }
  return nullptr;
}
