// The main window on the offscreen platform: its elements, the list and its 128-line rule with lines
// from several threads, the commands that end the program, and the behaviour without a tray.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/ApoioUi.h"
#include "ui/qt/Umain.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::string> Linhas(const TfrmMain& frm) {
  std::vector<std::string> linhas;
  for (int i = 0; i < frm.lbmain.count(); ++i) linhas.push_back(frm.lbmain.item(i)->text().toStdString());
  return linhas;
}

// Runs the program's message loop with the window until it ends, at most limite (then 99).
int RodaLoop(std::chrono::milliseconds limite) {
  QTimer guarda;
  guarda.setSingleShot(true);
  QObject::connect(&guarda, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guarda.start(static_cast<int>(limite.count()));
  return QApplication::exec();
}

class Janela : public testing::Test {
 protected:
  void SetUp() override {
    if (EmTelaX()) GTEST_SKIP() << "offscreen tests; this copy runs the ones for the X display";
  }
};

}  // namespace

TEST_F(Janela, ElementosComoDefinidos) {
  TfrmMain frm(std::nullopt);
  frm.show();
  ASSERT_TRUE(ProcessaAte([&] { return frm.isVisible() && frm.lbmain.isVisible(); }, 5000ms));
  ProcessaDurante(50ms);

  EXPECT_EQ(frm.windowTitle().toStdString(), "Servidor ZELP V00.68");
  EXPECT_EQ(frm.lbmain.size(), QSize(649, 465)) << "the list fills the client area";
  EXPECT_EQ(frm.lbmain.geometry().bottom(), frm.height() - 1);
  EXPECT_EQ(frm.font().pixelSize(), 11);
  EXPECT_EQ(frm.font().family().toStdString(), "Tahoma");
  EXPECT_EQ(frm.palette().color(QPalette::Window), frm.palette().color(QPalette::Button));

  // Centred on the desktop when first shown.
  QRect area = frm.screen()->availableGeometry();
  QPoint desvio = frm.frameGeometry().center() - area.center();
  EXPECT_LE(std::abs(desvio.x()), 2);
  EXPECT_LE(std::abs(desvio.y()), 2);

  ASSERT_EQ(frm.MainMenu1.actions().size(), 1);
  EXPECT_EQ(frm.MainMenu1.actions()[0]->text().toStdString(), "&Arquivo");
  EXPECT_EQ(frm.MainMenu1.actions()[0]->menu(), &frm.Arquivo1);
  ASSERT_EQ(frm.Arquivo1.actions().size(), 1);
  EXPECT_EQ(frm.Arquivo1.actions()[0], &frm.Sair1);
  EXPECT_EQ(frm.Sair1.text().toStdString(), "&Sair");

  EXPECT_EQ(frm.tricon.toolTip().toStdString(), "ZELP");
  EXPECT_EQ(frm.tricon.contextMenu(), &frm.PopupMenu1);
  auto itens = frm.PopupMenu1.actions();
  ASSERT_EQ(itens.size(), 3);
  EXPECT_EQ(itens[0], &frm.abrirZELP);
  EXPECT_EQ(frm.abrirZELP.text().toStdString(), "&Abrir janela ZELP");
  EXPECT_EQ(itens[1], &frm.N1);
  EXPECT_TRUE(frm.N1.isSeparator());
  EXPECT_EQ(itens[2], &frm.FecharZELP);
  EXPECT_EQ(frm.FecharZELP.text().toStdString(), "&Encerrar ZELP");
  EXPECT_EQ(frm.PopupMenu1.defaultAction(), &frm.abrirZELP);
  EXPECT_TRUE(frm.abrirZELP.font().bold());

  EXPECT_TRUE(frm.Timer1.isActive());
  EXPECT_EQ(frm.Timer1.interval(), 1000);
  EXPECT_TRUE(frm.tricon.isVisible());
}

TEST_F(Janela, IconeProprioDe24Pixels) {
  TfrmMain frm(std::nullopt);
  QIcon icone = frm.tricon.icon();
  ASSERT_FALSE(icone.isNull());
  EXPECT_TRUE(icone.availableSizes().contains(QSize(24, 24)));
  QImage imagem = icone.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(imagem.size(), QSize(24, 24));
  // Drawn: opaque in the middle, more than one colour, transparent corner.
  EXPECT_EQ(qAlpha(imagem.pixel(12, 12)), 255);
  EXPECT_EQ(qAlpha(imagem.pixel(0, 0)) < 255, true);
  EXPECT_NE(imagem.pixel(12, 12), imagem.pixel(3, 12));
}

TEST_F(Janela, LinhasTem13PixelsENaoRolam) {
  TfrmMain frm(std::nullopt);
  frm.show();
  for (int i = 1; i <= 100; ++i) TfrmMain::AdicionaLinha(("linha " + std::to_string(i)).c_str());
  ASSERT_TRUE(ProcessaAte([&] { return frm.lbmain.count() == 100; }, 5000ms));
  ProcessaDurante(50ms);
  EXPECT_EQ(frm.lbmain.visualItemRect(frm.lbmain.item(0)).height(), 13);
  EXPECT_EQ(frm.lbmain.visualItemRect(frm.lbmain.item(1)).top(),
            frm.lbmain.visualItemRect(frm.lbmain.item(0)).top() + 13);
  // The list stays where the user left it: the first line is still in view.
  EXPECT_EQ(frm.lbmain.indexAt(QPoint(5, 5)).row(), 0);
}

TEST_F(Janela, RegraDas128Linhas) {
  struct Caso {
    int linhas;
    std::vector<std::string> primeiraEUltima;
    int quantas;
  };
  const Caso casos[] = {
      {127, {"linha 1", "linha 127"}, 127},  {128, {"linha 1", "linha 128"}, 128},
      {129, {"linha 129", "linha 129"}, 1},  {256, {"linha 129", "linha 256"}, 128},
      {300, {"linha 257", "linha 300"}, 44},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.linhas);
    TfrmMain frm(std::nullopt);
    for (int i = 1; i <= caso.linhas; ++i) TfrmMain::AdicionaLinha(("linha " + std::to_string(i)).c_str());
    ASSERT_TRUE(ProcessaAte(
        [&] { return !Linhas(frm).empty() && Linhas(frm).back() == "linha " + std::to_string(caso.linhas); }, 5000ms));
    auto linhas = Linhas(frm);
    ASSERT_EQ(static_cast<int>(linhas.size()), caso.quantas);
    EXPECT_EQ(linhas.front(), caso.primeiraEUltima[0]);
    EXPECT_EQ(linhas.back(), caso.primeiraEUltima[1]);
  }
}

TEST_F(Janela, A129aLinhaApagaAListaEFicaSozinha) {
  TfrmMain frm(std::nullopt);
  for (int i = 1; i <= 128; ++i) TfrmMain::AdicionaLinha(("linha " + std::to_string(i)).c_str());
  ASSERT_TRUE(ProcessaAte([&] { return frm.lbmain.count() == 128; }, 5000ms));
  TfrmMain::AdicionaLinha("a linha 129");
  ASSERT_TRUE(ProcessaAte([&] { return frm.lbmain.count() == 1; }, 5000ms));
  EXPECT_EQ(Linhas(frm), std::vector<std::string>{"a linha 129"});
}

TEST_F(Janela, QuebrasDeLinhaAparecemComoEspaco) {
  TfrmMain frm(std::nullopt);
  TfrmMain::AdicionaLinha("\n*** Erro fatal\r\tfim");
  TfrmMain::AdicionaLinha("acentua\xc3\xa7\xc3\xa3o");
  TfrmMain::AdicionaLinha("byte solto \xff ok");
  ASSERT_TRUE(ProcessaAte([&] { return frm.lbmain.count() == 3; }, 5000ms));
  EXPECT_EQ(frm.lbmain.item(0)->text().toStdString(), " *** Erro fatal  fim");
  EXPECT_EQ(frm.lbmain.item(1)->text().toStdString(), "acentua\xc3\xa7\xc3\xa3o");
  EXPECT_TRUE(frm.lbmain.item(2)->text().startsWith(QStringLiteral("byte solto ")));
  EXPECT_TRUE(frm.lbmain.item(2)->text().endsWith(QStringLiteral(" ok")));
}

TEST_F(Janela, LinhasDeVariasThreadsChegamInteirasEEmOrdem) {
  // 4 x 32: every line stays; 4 x 500: 2,000 lines, the list ends with the last 80 of them.
  for (int porThread : {32, 500}) {
    SCOPED_TRACE(porThread);
    TfrmMain frm(std::nullopt);
    constexpr int THREADS = 4;
    const std::string carga(150, 'z');
    std::vector<std::thread> threads;
    std::atomic<int> prontas{0};
    for (int t = 0; t < THREADS; ++t) {
      threads.emplace_back([&, t] {
        for (int i = 0; i < porThread; ++i)
          TfrmMain::AdicionaLinha(("t" + std::to_string(t) + " " + std::to_string(i) + " " + carga).c_str());
        ++prontas;
      });
    }
    // The window keeps handling its events while the threads add.
    EXPECT_TRUE(ProcessaAte([&] { return prontas.load() == THREADS; }, 30000ms));
    for (auto& th : threads) th.join();
    const int total = THREADS * porThread;
    const int esperadas = (total - 1) % 128 + 1;
    ASSERT_TRUE(ProcessaAte([&] { return frm.lbmain.count() == esperadas; }, 5000ms)) << frm.lbmain.count();
    ProcessaDurante(50ms);
    ASSERT_EQ(frm.lbmain.count(), esperadas);
    std::vector<int> ultima(THREADS, -1);
    for (const auto& linha : Linhas(frm)) {
      int t = -1, i = -1;
      char resto[200] = {};
      ASSERT_EQ(std::sscanf(linha.c_str(), "t%d %d %199s", &t, &i, resto), 3) << linha;
      ASSERT_TRUE(t >= 0 && t < THREADS);
      EXPECT_GT(i, ultima[t]) << "thread " << t << " out of order";
      ultima[t] = i;
      EXPECT_EQ(std::string(resto), carga);
    }
    if (porThread == 32) {
      for (int t = 0; t < THREADS; ++t) EXPECT_EQ(ultima[t], porThread - 1);
    }
  }
}

TEST_F(Janela, LinhasDuranteADestruicaoSaoDescartadas) {
  std::atomic<bool> parar{false};
  std::atomic<long> enviadas{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&] {
      while (!parar.load()) {
        TfrmMain::AdicionaLinha("linha de uma thread");
        ++enviadas;
      }
    });
  }
  for (int rodada = 0; rodada < 20; ++rodada) {
    auto frm = std::make_unique<TfrmMain>(std::nullopt);
    ProcessaDurante(5ms);
    frm.reset();  // lines keep coming while it goes
    QCoreApplication::processEvents();
  }
  parar.store(true);
  for (auto& th : threads) th.join();
  EXPECT_GT(enviadas.load(), 0);

  // Without a window a line goes nowhere.
  TfrmMain::AdicionaLinha("sem janela");
  QCoreApplication::processEvents();
  TfrmMain frm(std::nullopt);
  ProcessaDurante(50ms);
  EXPECT_EQ(frm.lbmain.count(), 0) << "nothing of the old windows reaches a new one";
  TfrmMain::AdicionaLinha("nova");
  ASSERT_TRUE(ProcessaAte([&] { return frm.lbmain.count() == 1; }, 5000ms));
  EXPECT_EQ(Linhas(frm), std::vector<std::string>{"nova"});
}

TEST_F(Janela, Timer1EncerraOProgramaAoVerOFimDoServico) {
  TfrmMain frm(std::nullopt);
  frm.show();
  EXPECT_FALSE(TfrmMain::servicoEncerrado.load()) << "cleared at creation";
  std::chrono::steady_clock::time_point marcado;
  QTimer marca;
  marca.setSingleShot(true);
  QObject::connect(&marca, &QTimer::timeout, [&] {
    marcado = std::chrono::steady_clock::now();
    TfrmMain::servicoEncerrado.store(true);
  });
  marca.start(300);
  int codigo = RodaLoop(10000ms);
  auto demora = std::chrono::steady_clock::now() - marcado;
  EXPECT_EQ(codigo, TfrmMain::CODIGO_SAIDA_SERVICO);
  EXPECT_TRUE(TfrmMain::servicoEncerrado.load());
  // One tick of the one-second timer, with room for a loaded machine.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(demora).count(), 2500);
}

TEST_F(Janela, ComandosQueEncerramOPrograma) {
  struct Caso {
    const char* nome;
    void (*comando)(TfrmMain&);
  };
  const Caso casos[] = {
      {"&Sair", [](TfrmMain& f) { f.Sair1.trigger(); }},
      {"&Encerrar ZELP", [](TfrmMain& f) { f.FecharZELP.trigger(); }},
      {"closing the window", [](TfrmMain& f) { f.close(); }},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    TfrmMain frm(std::nullopt);
    frm.show();
    QTimer gatilho;
    gatilho.setSingleShot(true);
    QObject::connect(&gatilho, &QTimer::timeout, [&] { caso.comando(frm); });
    gatilho.start(100);
    EXPECT_EQ(RodaLoop(10000ms), 0);
  }
}

TEST_F(Janela, AbrirJanelaEClickNoIconeRestauram) {
  TfrmMain frm(std::nullopt);
  frm.show();
  ASSERT_TRUE(ProcessaAte([&] { return frm.isVisible(); }, 5000ms));
  frm.hide();
  ASSERT_TRUE(ProcessaAte([&] { return !frm.isVisible(); }, 5000ms));
  frm.abrirZELP.trigger();
  EXPECT_TRUE(ProcessaAte([&] { return frm.isVisible() && !frm.isMinimized(); }, 5000ms));

  frm.showMinimized();
  ProcessaDurante(100ms);
  frm.triconClick();
  EXPECT_TRUE(ProcessaAte([&] { return frm.isVisible() && !frm.isMinimized(); }, 5000ms));
  EXPECT_FALSE(frm.NaBandeja());
}

TEST_F(Janela, SemBandejaAJanelaNuncaSeEsconde) {
  if (TfrmMain::BandejaDisponivel()) GTEST_SKIP() << "this platform reports a tray";
  TfrmMain frm(std::nullopt);
  frm.show();
  ASSERT_TRUE(ProcessaAte([&] { return frm.isVisible(); }, 5000ms));
  // The icon's first tick comes about one second after start and switches the animation off.
  ASSERT_TRUE(ProcessaAte([&] { return !frm.triconAnimacao.isActive(); }, 5000ms));
  ProcessaDurante(200ms);
  EXPECT_TRUE(frm.isVisible());
  EXPECT_FALSE(frm.isMinimized());
  EXPECT_FALSE(frm.NaBandeja());
  EXPECT_TRUE(frm.tricon.isVisible()) << "the icon stays switched on, for a tray that may come";

  // Minimised by hand it keeps its task-bar entry: it is not hidden.
  frm.showMinimized();
  ProcessaDurante(300ms);
  EXPECT_FALSE(frm.isHidden());
  EXPECT_FALSE(frm.NaBandeja());
}
