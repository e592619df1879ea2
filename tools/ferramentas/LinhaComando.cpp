// The command line that every tool shares: help and version, usage errors, whole numbers.
#include "ferramentas/LinhaComando.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace ferramentas {

OpcaoComum QualOpcaoComum(const std::string& argumento) {
  if (argumento == "-h" || argumento == "--help") return OpcaoComum::Ajuda;
  if (argumento == "--version") return OpcaoComum::Versao;
  return OpcaoComum::Nenhuma;
}

OpcaoComum ProcuraOpcaoComum(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const OpcaoComum o = QualOpcaoComum(argv[i]);
    if (o != OpcaoComum::Nenhuma) return o;
  }
  return OpcaoComum::Nenhuma;
}

void MostraVersao(const char* programa) { std::printf("%s %s\n", programa, ZELP_VERSAO); }

int ErroDeUso(const char* programa, const std::string& mensagem) {
  std::fprintf(stderr, "%s: %s (see --help)\n", programa, mensagem.c_str());
  return SAIDA_USO;
}

std::string OpcaoDesconhecida(const std::string& opcao) { return "unknown option '" + opcao + "'"; }

bool PareceOpcao(const std::string& argumento) { return argumento.size() > 1 && argumento[0] == '-'; }

bool Inteiro(const char* texto, long minimo, long maximo, int& valor) {
  if (texto == nullptr || *texto == 0) return false;
  char* fim = nullptr;
  errno = 0;
  const long v = std::strtol(texto, &fim, 10);
  if (errno != 0 || *fim != 0 || v < minimo || v > maximo) return false;
  valor = static_cast<int>(v);
  return true;
}

}  // namespace ferramentas
