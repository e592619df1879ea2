// Every key the configuration load reads, with its default: the load takes its names and defaults
// from this table, and the configuration check compares the keys of a file with the same table.
#pragma once

#include <string>

// Endpoint groups End0..End2 and parameter groups par0..par2.
inline constexpr int NUM_GRUPOS = 3;

struct ChaveConfig {
  const char* secao;   // with "%d": one section per group, 0 to NUM_GRUPOS - 1
  const char* chave;   // with "%d": one key per number, primeiro to ultimo
  int primeiro;
  int ultimo;
  const char* padrao;  // the value of a missing key
  bool inteira;        // read as an integer
};

enum IndiceChave : int {
  CHAVE_TOUT_INI,
  CHAVE_TOUT_CNF,
  CHAVE_TOUT_CNX,
  CHAVE_IMEDIATO,
  CHAVE_ENTRADA,
  CHAVE_SAIDA,
  CHAVE_ERRLOG,
  CHAVE_TAM_NOME_ARQ,
  CHAVE_DELETA_LOG,
  CHAVE_URL,       // End%d url
  CHAVE_URL_N,     // End%d url1..url3
  CHAVE_PORT,      // End%d Port
  CHAVE_PESTAB,    // PEstab par0..par2: slot 0 of each parameter group
  CHAVE_ARQ,       // par%d arq0..arq9
  NUM_CHAVES_CONFIG
};

extern const ChaveConfig chavesConfig[NUM_CHAVES_CONFIG];

// The section of an entry for a group, and its key for a number; each argument is used only where
// the name holds "%d".
std::string NomeSecao(IndiceChave indice, int grupo);
std::string NomeChave(IndiceChave indice, int numero);

// True when the load reads this section (names in any letter case).
bool SecaoLida(const char* secao);
// The entry of the table for this key of this section (any letter case); null when the load never
// reads it.
const ChaveConfig* ProcuraChave(const char* secao, const char* chave);
