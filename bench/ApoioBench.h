// Helpers of the micro-benchmarks: field tables of the largest requests, the host's answers to them
// and a scratch directory that is removed at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fields/TG.h"

struct CampoBench {
  int numero;
  int ocorrencia;
  std::string valor;
};

// A table as the request reader leaves it: the fields in the given order, with the header, the
// identifier, the code, the catalogue type and the file index derived from them, plus the two
// establishment texts the establishment reader would have filled.
void PreencheTabela(TG& transacao, const std::vector<CampoBench>& campos);

// Card request of code 41 or 109 with its fixed fields and `repeticoes` repetitions of the group.
std::vector<CampoBench> PedidoComGrupo(int codigo, int repeticoes);
// Cheque check of code 20 with `cheques` valid cheques of one account (numbers 000101 on).
std::vector<CampoBench> PedidoCheques(int cheques);
// The card sale of code 31 that the point of sale sends most.
std::vector<CampoBench> PedidoVenda();

// The request file of the card sale, as the point of sale writes it.
std::string TextoPedidoVenda();

// The data of the simulated host's answer (header not included) to the request in `campos`, with
// `repeticoes` repetitions when the response layout has a group (0: as many as the request).
// Empty with a message in erro when the request is refused by the assembly.
std::vector<std::uint8_t> RespostaDoHost(const std::vector<CampoBench>& campos, int repeticoes, std::string& erro);

// A directory of its own under the system's temporary directory (TMPDIR), removed with its files.
class DiretorioBench {
 public:
  DiretorioBench();
  ~DiretorioBench();
  DiretorioBench(const DiretorioBench&) = delete;
  DiretorioBench& operator=(const DiretorioBench&) = delete;
  // The path with a trailing '/', as directory values of the configuration end.
  const std::string& Caminho() const { return caminho_; }

 private:
  std::string caminho_;
};
