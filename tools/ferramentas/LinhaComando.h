// The command line that every tool shares: help and version, usage errors, whole numbers.
#pragma once

#include <string>

namespace ferramentas {

// Every tool ends a usage error (an unknown option, a missing or wrong value) with this status.
inline constexpr int SAIDA_USO = 2;

enum class OpcaoComum { Nenhuma, Ajuda, Versao };

// -h and --help ask for the help, --version for the version; anything else is no common option.
OpcaoComum QualOpcaoComum(const std::string& argumento);

// The first help or version option among the arguments, the program's name left out.
OpcaoComum ProcuraOpcaoComum(int argc, const char* const* argv);

// "zelp-pdv 0.68" on standard output.
void MostraVersao(const char* programa);

// "programa: mensagem (see --help)" on standard error; returns SAIDA_USO.
int ErroDeUso(const char* programa, const std::string& mensagem);

// "unknown option '--bogus'"
std::string OpcaoDesconhecida(const std::string& opcao);

// True when the argument has the shape of an option: a dash followed by something.
bool PareceOpcao(const std::string& argumento);

// The whole text as a decimal number from minimo to maximo.
bool Inteiro(const char* texto, long minimo, long maximo, int& valor);

}  // namespace ferramentas
