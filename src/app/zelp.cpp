// zelp: the windowed gateway. One instance per user session; the window starts the service thread and
// the program ends from its menu, its tray icon, or once the service thread has ended.
#include <QApplication>
#include <QMessageBox>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "app/OpcoesJanela.h"
#include "catalogo/Catalogo.h"
#include "comum/Err.h"
#include "comum/Limites.h"
#include "service/ProtegeGateway.h"
#include "ui/qt/InstanciaUnica.h"
#include "ui/qt/Umain.h"

namespace {

constexpr const char* AJUDA =
    "Usage: zelp [--help | --version]\n"
    "\n"
    "Runs the ZELP transaction gateway with its window and tray icon. The file zelp.ini in the\n"
    "working directory is the whole configuration. One instance runs per user session: a second\n"
    "start ends at once, silently, with status 0.\n"
    "\n"
    "It needs a display (DISPLAY or WAYLAND_DISPLAY, or a QT_QPA_PLATFORM that draws without one,\n"
    "such as offscreen). zelpd is the same service without a window, for servers.\n"
    "\n"
    "Exit status: 0 when ended from its menu or tray icon, and for --help and --version; 1 without\n"
    "a display, or once the service has ended on a fatal error; 2 usage error.\n";

constexpr int SAIDA_SEM_TELA = 1;
constexpr int SAIDA_USO = 2;

// Qt platforms that draw into memory or straight onto the hardware, with no display server.
constexpr const char* PLATAFORMAS_SEM_SERVIDOR[] = {"offscreen", "minimal", "minimalegl", "eglfs",
                                                    "linuxfb",   "vnc",     "vkkhrdisplay"};

bool Definida(const char* nome) {
  const char* v = std::getenv(nome);
  return v != nullptr && *v != 0;
}

// Without a display Qt aborts while building the application; this looks first. QT_QPA_PLATFORM
// may list several platforms, "name:options;name2": one that needs no server is enough.
bool TemTela() {
  if (Definida("DISPLAY") || Definida("WAYLAND_DISPLAY")) return true;
  const char* lista = std::getenv("QT_QPA_PLATFORM");
  if (lista == nullptr) return false;
  const std::string plataformas = lista;
  for (std::size_t inicio = 0; inicio <= plataformas.size();) {
    std::size_t fim = plataformas.find(';', inicio);
    if (fim == std::string::npos) fim = plataformas.size();
    const std::string entrada = plataformas.substr(inicio, fim - inicio);
    const std::string nome = entrada.substr(0, entrada.find(':'));
    for (const char* p : PLATAFORMAS_SEM_SERVIDOR)
      if (nome == p) return true;
    inicio = fim + 1;
  }
  return false;
}

void MostraFalha(const QString& texto) {
  QMessageBox::critical(nullptr, QString::fromUtf8(BANNER_ZELP), texto);
}

int Executa(int& argc, char** argv) {
  // Only the program name goes to Qt: the program reads no command line.
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    TfrmMain frmMain{OpcoesServico{}};
    frmMain.show();
    return QApplication::exec();
  } catch (const Err& e) {
    MostraFalha(QString::fromUtf8(e.mensagem));
  } catch (const std::exception& e) {
    MostraFalha(QString::fromUtf8(e.what()));
  } catch (...) {
    MostraFalha(QStringLiteral("Erro desconhecido"));
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  ProtegeGateway("zelp");
  // Only --help and --version are read, and neither needs a display or waits for the running instance.
  const OpcoesJanela opcoes = LeOpcoesJanela(argc, argv);
  if (opcoes.errado != nullptr) {
    DizArgumentoErrado(opcoes.errado);
    return SAIDA_USO;
  }
  if (opcoes.ajuda) {
    std::fputs(AJUDA, stdout);
    return 0;
  }
  if (opcoes.versao) {
    std::printf("%s\n", BANNER_ZELP);
    return 0;
  }

  MontaMapaCodigos();
  // A file-size limit must fail the write that hits it, not kill the till's gateway.
  std::signal(SIGXFSZ, SIG_IGN);
  int codigo;
  {
    TInstanciaUnica instancia;
    if (!instancia.PodeIniciar()) return 0;  // another instance runs: leave it alone, say nothing
    if (!TemTela()) {
      std::fputs("zelp: needs a display (DISPLAY or WAYLAND_DISPLAY); zelpd is the gateway without a window\n",
                 stderr);
      return SAIDA_SEM_TELA;
    }
    char nome[] = "zelp";
    int argcQt = 1;
    char* argvQt[] = {argv[0] != nullptr ? argv[0] : nome, nullptr};
    codigo = Executa(argcQt, argvQt);
  }
  // The service thread and its workers are never stopped; they end with the process. Ending it here,
  // without running the destructors of static objects they may still be using, keeps that safe.
  std::fflush(nullptr);
  std::_Exit(codigo);
}
