// The window with the real service thread: its lines reach the list, and a fatal service error ends
// the program through the window's timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <string>

#include "apoio/DiretorioTemporario.h"
#include "ui/ApoioUi.h"
#include "ui/qt/Umain.h"

using namespace std::chrono_literals;

TEST(ServicoNaJanela, ConfiguracaoSemUrlEncerraOProgramaComFalha) {
  if (EmTelaX()) GTEST_SKIP() << "runs on the offscreen platform";
  DiretorioTemporario dir;
  dir.Escreve("zelp.ini", "[Tempos]\r\nTOutIni=1\r\n");
  OpcoesServico opcoes;
  opcoes.esperaInicial = 20;
  opcoes.esperaFatal = 100;
  opcoes.caminhoIni = dir / "zelp.ini";

  TfrmMain frm(opcoes);
  frm.show();
  QTimer guarda;
  guarda.setSingleShot(true);
  QObject::connect(&guarda, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guarda.start(20000);
  int codigo = QApplication::exec();

  EXPECT_EQ(codigo, TfrmMain::CODIGO_SAIDA_SERVICO);
  EXPECT_TRUE(TfrmMain::servicoEncerrado.load());
  // The last lines the service logged may still be on their way to the list.
  ProcessaAte([&] { return frm.lbmain.count() >= 2; }, 2000ms);
  ASSERT_GE(frm.lbmain.count(), 2);
  EXPECT_EQ(frm.lbmain.item(0)->text().toStdString(), "Servidor ZELP V00.68");
  bool erroMostrado = false;
  for (int i = 1; i < frm.lbmain.count(); ++i)
    erroMostrado |= frm.lbmain.item(i)->text().contains(QStringLiteral("***"));
  EXPECT_TRUE(erroMostrado) << "the fatal message shows in the list";
}
