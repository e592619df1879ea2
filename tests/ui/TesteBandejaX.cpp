// The tray icon on a virtual X display with a tray host: the icon shows, the window goes to the tray
// about one second after start, a click brings it back, the icon's menu ends the program, and the
// window is never left hidden without a tray.
#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "ui/ApoioUi.h"
#include "ui/qt/Umain.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string TITULO = "Servidor ZELP V00.68";

class BandejaX : public testing::Test {
 protected:
  void SetUp() override {
    if (EmTelaX()) GTEST_SKIP() << "run by the parent test only";
    ASSERT_TRUE(fs::exists(CaminhoPrograma("zelp"))) << "build the zelp program first";
    fs::permissions(dir_.Caminho(), fs::perms::owner_all, fs::perm_options::replace);
    tela_ = std::make_unique<TelaX>(dir_.Caminho());
    if (!tela_->Disponivel()) GTEST_SKIP() << "no virtual X display: " << tela_->Motivo();
    if (AchaPrograma("tint2").empty()) GTEST_SKIP() << "tint2 (the tray host) is not installed";
  }

  void IniciaBandeja() { ASSERT_TRUE(tela_->IniciaBandeja()) << "tint2 did not show its panel"; }

  std::unique_ptr<Processo> IniciaZelp() {
    std::vector<std::string> args = tela_->Ambiente(dir_.Caminho());
    std::string env = args.front();
    args.erase(args.begin());
    args.push_back(CaminhoPrograma("zelp"));
    return std::make_unique<Processo>(env, args, dir_.Caminho(), dir_ / "zelp.out");
  }

  bool EsperaEstado(const std::string& estado, std::chrono::milliseconds limite) {
    return EsperaAte([&] { return tela_->EstadoJanela(TITULO) == estado; }, limite);
  }

  bool EsperaIcone(int& x, int& y, std::chrono::milliseconds limite) {
    return EsperaAte([&] { return tela_->IconeNaBandeja("zelp", x, y); }, limite);
  }

  DiretorioTemporario dir_;
  std::unique_ptr<TelaX> tela_;
};

}  // namespace

TEST_F(BandejaX, IconeAparecejanelaVaiParaABandejaEOCliqueATraz) {
  IniciaBandeja();
  auto zelp = IniciaZelp();
  // Shown first...
  ASSERT_TRUE(EsperaEstado("IsViewable", 15000ms)) << zelp->Saida();
  auto vista = std::chrono::steady_clock::now();
  int x = 0, y = 0;
  ASSERT_TRUE(EsperaIcone(x, y, 10000ms)) << tela_->Cliente({"xwininfo", "-root", "-tree"});
  // ...then, about one second after start, in the tray.
  ASSERT_TRUE(EsperaEstado("IsUnMapped", 10000ms));
  auto mostrada = std::chrono::steady_clock::now() - vista;
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(mostrada).count(), 300)
      << "the window shows before it goes to the tray";
  ASSERT_TRUE(EsperaIcone(x, y, 10000ms)) << "the icon is in the tray while the window is hidden";

  tela_->Clica(x, y, 1);
  EXPECT_TRUE(EsperaEstado("IsViewable", 10000ms)) << "a click on the icon brings the window back";
  EXPECT_TRUE(zelp->Rodando());
}

TEST_F(BandejaX, MenuDoIconeEncerraOPrograma) {
  IniciaBandeja();
  auto zelp = IniciaZelp();
  int x = 0, y = 0;
  ASSERT_TRUE(EsperaEstado("IsUnMapped", 15000ms)) << zelp->Saida();
  ASSERT_TRUE(EsperaIcone(x, y, 10000ms));
  auto antes = tela_->JanelasDaClasse("zelp");
  tela_->Clica(x, y, 3);
  // The popup is a new top-level window of the program; its last item is "&Encerrar ZELP".
  std::string popup;
  ASSERT_TRUE(EsperaAte(
      [&] {
        for (const auto& g : tela_->JanelasDaClasse("zelp")) {
          if (std::find(antes.begin(), antes.end(), g) == antes.end()) popup = g;
        }
        return !popup.empty();
      },
      10000ms));
  int w = 0, h = 0, px = 0, py = 0;
  ASSERT_EQ(std::sscanf(popup.c_str(), "%dx%d+%d+%d", &w, &h, &px, &py), 4) << popup;
  tela_->Clica(px + w / 2, py + h - 8, 1);
  int status = -1;
  ASSERT_TRUE(zelp->Espera(10000ms, status)) << "\"&Encerrar ZELP\" ends the program";
  EXPECT_EQ(status, 0);
}

TEST_F(BandejaX, SemBandejaAJanelaFicaEOIconeApareceQuandoABandejaSurge) {
  auto zelp = IniciaZelp();
  ASSERT_TRUE(EsperaEstado("IsViewable", 15000ms)) << zelp->Saida();
  // Well past the first tick: with nowhere to go, the window stays.
  EXPECT_FALSE(EsperaAte([&] { return tela_->EstadoJanela(TITULO) != "IsViewable"; }, 2500ms));

  IniciaBandeja();
  int x = 0, y = 0;
  EXPECT_TRUE(EsperaIcone(x, y, 10000ms)) << "the icon shows once a tray exists";
  EXPECT_EQ(tela_->EstadoJanela(TITULO), "IsViewable");
  tela_->Clica(x, y, 1);
  EXPECT_TRUE(EsperaEstado("IsViewable", 5000ms));
}

TEST_F(BandejaX, BandejaQueSomeDevolveAJanela) {
  IniciaBandeja();
  auto zelp = IniciaZelp();
  ASSERT_TRUE(EsperaEstado("IsUnMapped", 15000ms)) << zelp->Saida();
  tela_->EncerraBandeja();
  EXPECT_TRUE(EsperaEstado("IsViewable", 10000ms)) << "without its tray the hidden window could not be reached";
}

TEST_F(BandejaX, MinimizarAMaoEscondeDaBarraDeTarefas) {
  IniciaBandeja();
  // The checks that need the window object run in a copy of this program on the same display.
  std::vector<std::string> args = tela_->Ambiente(dir_.Caminho());
  std::string env = args.front();
  args.erase(args.begin());
  args.push_back("ZELP_TESTE_TELA_X=1");
  args.push_back(fs::read_symlink("/proc/self/exe").string());
  args.push_back("--gtest_filter=JanelaTelaX.*");
  Processo copia(env, args, dir_.Caminho(), dir_ / "copia.out");
  int status = -1;
  ASSERT_TRUE(copia.Espera(60000ms, status)) << copia.Saida();
  EXPECT_EQ(status, 0) << copia.Saida();
  EXPECT_NE(copia.Saida().find("[  PASSED  ] 1 test"), std::string::npos) << copia.Saida();
}

// Runs only in the copy started above, on the virtual display with its tray.
TEST(JanelaTelaX, MinimizadaAMaoVaiParaABandeja) {
  if (!EmTelaX()) GTEST_SKIP() << "runs in the copy that BandejaX.MinimizarAMaoEscondeDaBarraDeTarefas starts";
  ASSERT_TRUE(ProcessaAte([] { return TfrmMain::BandejaDisponivel(); }, 10000ms));
  TfrmMain frm(std::nullopt);
  frm.show();
  ASSERT_TRUE(ProcessaAte([&] { return frm.isVisible(); }, 5000ms));
  // Let the first tick send it to the tray, then bring it back as a click on the icon would.
  ASSERT_TRUE(ProcessaAte([&] { return frm.NaBandeja() && !frm.isVisible(); }, 5000ms));
  frm.triconClick();
  ASSERT_TRUE(ProcessaAte([&] { return frm.isVisible() && !frm.NaBandeja(); }, 5000ms));

  frm.showMinimized();
  EXPECT_TRUE(ProcessaAte([&] { return !frm.isVisible() && frm.NaBandeja(); }, 5000ms))
      << "minimised by hand it leaves the task bar for the tray";
  frm.abrirZELP.trigger();
  EXPECT_TRUE(ProcessaAte([&] { return frm.isVisible() && !frm.isMinimized(); }, 5000ms));
}
