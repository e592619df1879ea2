// zelpd as a Windows service: --servico runs it under the service control manager, --instala-servico
// and --remove-servico register it there and remove it.
#include "app/ZelpdPlataforma.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Arquivos.h"
#include "platform/windows/GerenciadorServicos.h"

namespace zelpd {

namespace {

constexpr const char* NOME = "zelpd";
constexpr const char* EXIBICAO = "ZELP gateway";
constexpr const char* DESCRICAO =
    "Takes the payment requests a point of sale drops into a folder, exchanges them with the "
    "authorisation host and publishes the answers (zelp.ini in the folder given by -C).";
constexpr int STATUS_FALHA = 1;
constexpr int STATUS_USO = 2;
// How long --remove-servico waits for a running service to end its transactions.
constexpr std::uint32_t PRAZO_PARADA_MS = 120000;
// The system's code when a program not started by the service control manager asks for its dispatcher.
constexpr int NAO_E_SERVICO = 1063;

Corpo corpoGuardado = nullptr;
int CorpoDoServico() { return corpoGuardado(false); }

// One argument of a Windows command line, as the C runtime reads it back: in quotes, a quote inside
// escaped, and the backslashes before a quote or the closing one doubled ("C:\" is "C:\\").
std::string Citado(const std::string& texto) {
  std::string r = "\"";
  std::size_t barras = 0;
  for (char c : texto) {
    if (c == '\\') {
      ++barras;
      continue;
    }
    r.append(c == '"' ? barras * 2 + 1 : barras, '\\');
    barras = 0;
    r += c;
  }
  r.append(barras * 2, '\\');
  r += '"';
  return r;
}

void Falha(const char* oque, int erro) {
  std::fprintf(stderr, "zelpd: %s: %s (error %d)\n", oque, plataforma::TextoErro(erro).c_str(), erro);
  if (erro == 5) std::fputs("zelpd: run it from a command prompt opened as administrator\n", stderr);
}

int Instala() {
  const std::string programa = plataforma::servico::CaminhoDoPrograma();
  const std::string pasta = plataforma::DiretorioAtual();
  if (programa.empty() || pasta.empty()) {
    std::fputs("zelpd: cannot read the program's path or the working directory\n", stderr);
    return STATUS_FALHA;
  }
  plataforma::servico::DefinicaoServico definicao{NOME, EXIBICAO, DESCRICAO,
                                                  Citado(programa) + " --servico -C " + Citado(pasta), programa};
  int erro = 0;
  if (!plataforma::servico::Instala(definicao, erro)) {
    Falha("cannot install the service zelpd", erro);
    if (erro == 1073) std::fputs("zelpd: remove the one installed first: zelpd --remove-servico\n", stderr);
    return STATUS_FALHA;
  }
  std::printf("Service zelpd installed, started with Windows: %s\n", definicao.comando.c_str());
  plataforma::HoraArquivo hora;
  if (!plataforma::HoraEscrita((pasta + "\\zelp.ini").c_str(), hora)) {
    std::printf("There is no zelp.ini in %s yet: write it before the service starts.\n", pasta.c_str());
  }
  std::printf("Check the configuration with: zelpd --verifica -C %s\nthen start the service with: net start zelpd\n",
              Citado(pasta).c_str());
  return 0;
}

int Remove() {
  std::printf("Stopping and removing the service zelpd...\n");
  std::fflush(stdout);
  int erro = 0;
  switch (plataforma::servico::Remove(NOME, PRAZO_PARADA_MS, erro)) {
    case plataforma::servico::ResultadoRemocao::Removido:
      std::printf("Service zelpd removed.\n");
      return 0;
    case plataforma::servico::ResultadoRemocao::RemovidoAoParar:
      std::printf("Service zelpd marked for removal: it goes once its transactions in flight have ended.\n");
      return 0;
    case plataforma::servico::ResultadoRemocao::NaoExiste:
      std::fputs("zelpd: there is no service zelpd to remove\n", stderr);
      return STATUS_FALHA;
    case plataforma::servico::ResultadoRemocao::Falhou:
      break;
  }
  Falha("cannot remove the service zelpd", erro);
  return STATUS_FALHA;
}

int Servico(Corpo corpo) {
  corpoGuardado = corpo;
  const int erro = plataforma::servico::ExecutaSobGerenciador(NOME, &CorpoDoServico);
  if (erro == NAO_E_SERVICO) {
    std::fputs("zelpd: --servico is for the service control manager (net start zelpd); without it zelpd "
               "serves from this console\n",
               stderr);
    return STATUS_USO;
  }
  Falha("cannot reach the service control manager", erro);
  return STATUS_FALHA;
}

}  // namespace

const char* const USO_PLATAFORMA = "       zelpd [-C DIR] --servico | --instala-servico | --remove-servico\n";

const char* const AJUDA_PLATAFORMA =
    "\n"
    "As a Windows service (an administrator's command prompt installs and removes it):\n"
    "  --instala-servico\n"
    "              register zelpd with the service control manager as the service zelpd,\n"
    "              started with Windows, serving in the working directory (-C DIR) with its\n"
    "              zelp.ini; start it with: net start zelpd\n"
    "  --remove-servico\n"
    "              stop the service zelpd, letting its transactions end, and remove it\n"
    "  --servico   the service's own command line: run under the service control manager\n"
    "Under the service control manager the window's lines go to the day's log only (Errlog in\n"
    "zelp.ini), a fatal error also to the Application event log (source zelpd), and the exit\n"
    "status is the service's exit code (sc query zelpd); net stop zelpd stops it in order.\n";

bool OpcaoPlataforma(const char* a) {
  return std::strcmp(a, "--servico") == 0 || std::strcmp(a, "--instala-servico") == 0 ||
         std::strcmp(a, "--remove-servico") == 0;
}

int ExecutaOpcaoPlataforma(const char* acao, Corpo corpo) {
  if (std::strcmp(acao, "--instala-servico") == 0) return Instala();
  if (std::strcmp(acao, "--remove-servico") == 0) return Remove();
  return Servico(corpo);
}

}  // namespace zelpd
