// The test program of the window: one QApplication for every test. The window tests run on the
// offscreen platform unless the parent test started this program on a virtual X display for them.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "catalogo/Catalogo.h"
#include "ui/ApoioUi.h"
#include "ui/SupressoesSanitizador.h"

// Read by the sanitizers of the sanitizer builds; plain unused functions otherwise.
extern "C" const char* __tsan_default_suppressions() { return SUPRESSOES_TSAN; }
extern "C" const char* __lsan_default_suppressions() { return SUPRESSOES_LSAN; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!EmTelaX()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The offscreen platform has no native interface for the tray icon to connect to; Qt says so for
  // every icon it creates, which is only noise here.
  setenv("QT_LOGGING_RULES", "qt.core.qobject.connect=false", 0);
  MontaMapaCodigos();
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
