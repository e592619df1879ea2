// zelp.exe: the windowed gateway on Windows. One instance per session (a window of class TfrmMain with
// the banner as caption); the window starts the service thread and the program ends from its menu, its
// tray icon, or once the service thread has ended.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/OpcoesJanela.h"
#include "app/windows/Console.h"
#include "app/windows/Recursos.h"
#include "catalogo/Catalogo.h"
#include "comum/Err.h"
#include "comum/Limites.h"
#include "ui/RegrasJanela.h"
#include "ui/win32/Umain.h"

namespace {

constexpr const char* AJUDA =
    "Usage: zelp [--help | --version]\n"
    "\n"
    "Runs the ZELP transaction gateway with its window and tray icon. The file zelp.ini in the\n"
    "working directory is the whole configuration (the Start menu's entry runs it in the folder\n"
    "the installer made for it). One instance runs per session: a second start ends at once,\n"
    "silently, with status 0. zelpd is the same service without a window, and as a Windows service.\n"
    "\n"
    "Exit status: 0 when ended from its menu or tray icon, and for --help and --version; 1 once the\n"
    "service has ended on a fatal error; 2 usage error.\n";

constexpr int SAIDA_USO = 2;

// Another instance's window, or another instance starting in this very instant (before its window
// exists): the session-wide mutex closes the gap that the look for the window leaves.
bool OutraInstancia() {
  if (::FindWindowA(janela::CLASSE, janela::TITULO) != nullptr) return true;
  // Held until the process ends; the system releases it then, however the process ends.
  const HANDLE unica = ::CreateMutexA(nullptr, FALSE, "Local\\ZELP TfrmMain");
  return unica != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void MostraFalha(const char* texto) { ::MessageBoxA(nullptr, texto, janela::TITULO, MB_OK | MB_ICONERROR); }

}  // namespace

int main(int argc, char** argv) {
  // Only --help and --version are read; neither waits for the running instance.
  const OpcoesJanela opcoes = LeOpcoesJanela(argc, argv);
  if (opcoes.errado != nullptr) {
    LigaConsoleDoPai();
    DizArgumentoErrado(opcoes.errado);
    return SAIDA_USO;
  }
  if (opcoes.ajuda || opcoes.versao) {
    LigaConsoleDoPai();
    if (opcoes.ajuda) {
      std::fputs(AJUDA, stdout);
    } else {
      std::printf("%s\n", BANNER_ZELP);
    }
    std::fflush(stdout);
    return 0;
  }

  if (OutraInstancia()) return 0;  // leave it alone, say nothing
  MontaMapaCodigos();
  int codigo = 1;
  try {
    TfrmMain frmMain(::GetModuleHandleA(nullptr), ICONE_ZELP, OpcoesServico{});
    codigo = frmMain.Executa();
  } catch (const Err& e) {
    MostraFalha(e.mensagem);
  } catch (const std::exception& e) {
    MostraFalha(e.what());
  } catch (...) {
    MostraFalha("Erro desconhecido");
  }
  // The service thread and its workers are never stopped; they end with the process. Ending it here,
  // without running the destructors of static objects they may still be using, keeps that safe.
  std::fflush(nullptr);
  std::_Exit(codigo);
}
