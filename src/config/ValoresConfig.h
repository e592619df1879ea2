// The values of a configuration file as the service takes them, every rule applied but no name
// resolved: the load and the configuration check both read a file through LeValores.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/ChavesConfig.h"
#include "config/TP.h"

class LeitorIni;

// The load's fatal texts: no host address, or no establishment file, anywhere in the file.
inline constexpr const char* ERRO_SEM_URL = "\n*** Nenhuma 'url' especificada!!!";
inline constexpr const char* ERRO_SEM_PAR = "\n*** Nenhum 'Par' especificado!!!";

struct ValoresConfig {
  std::uint32_t intervaloIni = 0;  // ms between two looks at the file
  std::int32_t tempoResposta = 0;  // s, as read
  std::int32_t tempoConexao = 0;   // s, as read
  bool imediato = false;           // wait on events instead of sleeping
  std::string dirEntrada;          // the separator appended
  std::string dirSaida;            // the separator appended
  std::string dirLog;              // as written; empty: no log file
  std::int32_t tamNomeArq = 0;     // as read
  int larguraNome = 0;             // tamNomeArq held at 8..16
  bool apagaProcessados = false;

  struct Endereco {
    std::string chave;  // url, url1, url2 or url3
    std::string texto;
  };
  struct Servidor {
    std::vector<Endereco> enderecos;  // the values long enough to count, in key order
    std::int32_t porta = 0;
  };
  Servidor servidores[NUM_GRUPOS];
  std::string arquivos[NUM_GRUPOS][TP::NUM_ARQUIVOS];  // empty: none

  bool AlgumEndereco() const;
  bool AlgumArquivo() const;
  // The fatal text the load raises for these values, or null when it succeeds.
  const char* ErroFatal() const;
};

ValoresConfig LeValores(const LeitorIni& ini);
