// zelp: the windowed gateway. One instance per user session; the window starts the service thread and
// the program ends from its menu, its tray icon, or once the service thread has ended.
#include <QApplication>
#include <QMessageBox>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>

#include "catalogo/Catalogo.h"
#include "comum/Err.h"
#include "comum/Limites.h"
#include "ui/InstanciaUnica.h"
#include "ui/Umain.h"

namespace {

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

int main(int, char** argv) {
  MontaMapaCodigos();
  // A file-size limit must fail the write that hits it, not kill the till's gateway.
  std::signal(SIGXFSZ, SIG_IGN);
  int codigo;
  {
    TInstanciaUnica instancia;
    if (!instancia.PodeIniciar()) return 0;  // another instance runs: leave it alone, say nothing
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
