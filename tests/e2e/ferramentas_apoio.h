// Shared by the tools' tests: a running zelp-host, and complete requests of every transaction type.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "fields/TG.h"

// zelp-host started with --porta 0 in a directory of its own; its first output line gives the port.
class HostEmExecucao {
 public:
  explicit HostEmExecucao(std::vector<std::string> args);
  int Porta() const { return porta_; }
  Processo& Programa() { return *processo_; }
  std::string Saida() const { return processo_->Saida(); }

 private:
  DiretorioTemporario dir_;
  std::unique_ptr<Processo> processo_;
  int porta_ = 0;
};

// Fills t with a complete request of the catalogue type at `indice`, as the worker has it before
// the request assembly: every mandatory field, field 003 = valor003 where the layout has it,
// `repeticoes` occurrences of a repeated group (valid cheques of one account for code 20), the
// establishment texts loaded.
void MontaTransacao(TG& t, int indice, const std::string& valor003, int repeticoes);

// The options every tool shares, run against the tool: -h and --help give the same help and exit
// 0, --version prints its name and the project's version and exits 0, an unknown option exits 2
// and is named as unknown.
void VerificaOpcoesComuns(const std::string& programa);

// True when the layout has a definition of this field number.
bool TemCampo(const TLayoutMensagem& layout, int numero);
