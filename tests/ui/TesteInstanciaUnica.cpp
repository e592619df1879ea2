// The single-instance rule: the lock itself, and the program started twice.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QSysInfo>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "ui/ApoioUi.h"
#include "ui/qt/InstanciaUnica.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class InstanciaUnica : public testing::Test {
 protected:
  void SetUp() override {
    if (EmTelaX()) GTEST_SKIP() << "runs on the offscreen platform";
  }
};

using Programa = InstanciaUnica;

QString Caminho(const DiretorioTemporario& dir, const char* nome) { return QString::fromStdString(dir / nome); }

// zelp with these arguments on the offscreen platform, or with no display at all, with its lock in dir.
std::unique_ptr<Processo> IniciaZelp(const DiretorioTemporario& dir, const std::string& saida,
                                     const std::vector<std::string>& argumentos = {}, bool semTela = false) {
  // env takes what it removes before what it sets.
  std::vector<std::string> args{"-u", "DBUS_SESSION_BUS_ADDRESS"};
  if (semTela) {
    args.insert(args.end(), {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"});
  } else {
    args.push_back("QT_QPA_PLATFORM=offscreen");
  }
  args.push_back("XDG_RUNTIME_DIR=" + dir.Caminho());
  for (auto& v : AmbienteSanitizadores(dir.Caminho())) args.push_back(v);
  args.push_back(CaminhoPrograma("zelp"));
  args.insert(args.end(), argumentos.begin(), argumentos.end());
  return std::make_unique<Processo>(AchaPrograma("env"), args, dir.Caminho(), dir / saida);
}

void ExigeZelp() {
  ASSERT_TRUE(fs::exists(CaminhoPrograma("zelp"))) << "build the zelp program first";
}

}  // namespace

TEST_F(InstanciaUnica, SegundaTravaFalhaEnquantoAPrimeiraVive) {
  DiretorioTemporario dir;
  QString caminho = Caminho(dir, "zelp.lock");
  {
    TInstanciaUnica primeira(caminho);
    EXPECT_TRUE(primeira.PodeIniciar());
    EXPECT_TRUE(primeira.Travada());
    TInstanciaUnica segunda(caminho);
    EXPECT_FALSE(segunda.PodeIniciar());
    EXPECT_FALSE(segunda.Travada());
  }
  TInstanciaUnica depois(caminho);
  EXPECT_TRUE(depois.PodeIniciar()) << "the lock goes with its holder";
  EXPECT_TRUE(depois.Travada());
}

TEST_F(InstanciaUnica, TravaAbandonadaEAssumida) {
  // A process that ended, and files that a process killed while writing its lock may leave behind.
  Processo terminado(AchaPrograma("true"), {}, "/", "/dev/null");
  int status = -1;
  ASSERT_TRUE(terminado.Espera(10000ms, status));
  const std::string dePidMorto = std::to_string(terminado.Pid()) + "\nzelp\n" +
                                 QSysInfo::machineHostName().toStdString() + "\n";
  for (const std::string& conteudo : {dePidMorto, std::string(), std::string("lixo\n")}) {
    SCOPED_TRACE(conteudo);
    DiretorioTemporario dir;
    dir.Escreve("zelp.lock", conteudo);
    TInstanciaUnica instancia(Caminho(dir, "zelp.lock"));
    EXPECT_TRUE(instancia.PodeIniciar());
    EXPECT_TRUE(instancia.Travada());
    // And it is a real lock again: the next one is refused.
    TInstanciaUnica outra(Caminho(dir, "zelp.lock"));
    EXPECT_FALSE(outra.PodeIniciar());
  }
}

TEST_F(InstanciaUnica, SemDiretorioGravavelOProgramaAindaRoda) {
  DiretorioTemporario dir;
  TInstanciaUnica instancia(Caminho(dir, "nao-existe/zelp.lock"));
  EXPECT_TRUE(instancia.PodeIniciar());
  EXPECT_FALSE(instancia.Travada());
}

TEST_F(InstanciaUnica, TravaFicaNoDiretorioDaSessao) {
  DiretorioTemporario dir;
  QByteArray antes = qgetenv("XDG_RUNTIME_DIR");
  bool tinha = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir.Caminho()));
  EXPECT_EQ(TInstanciaUnica::CaminhoPadrao().toStdString(), dir / "zelp.lock");
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir / "nao-existe"));
  EXPECT_TRUE(TInstanciaUnica::CaminhoPadrao().startsWith(QStringLiteral("/tmp/zelp")));
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_TRUE(TInstanciaUnica::CaminhoPadrao().startsWith(QStringLiteral("/tmp/zelp")));
  EXPECT_TRUE(TInstanciaUnica::CaminhoPadrao().endsWith(QStringLiteral(".lock")));
  EXPECT_FALSE(TInstanciaUnica::CaminhoPadrao().mid(5).contains(QLatin1Char('/')));
  if (tinha) qputenv("XDG_RUNTIME_DIR", antes);
}

TEST_F(InstanciaUnica, SegundoInicioTerminaLogoComZeroEmSilencio) {
  ExigeZelp();
  DiretorioTemporario dir;
  fs::permissions(dir.Caminho(), fs::perms::owner_all, fs::perm_options::replace);
  auto primeiro = IniciaZelp(dir, "primeiro.out");
  ASSERT_TRUE(EsperaAte([&] { return dir.Existe("zelp.lock") || !primeiro->Rodando(); }, 15000ms));
  ASSERT_TRUE(primeiro->Rodando()) << primeiro->Saida();

  for (const char* saida : {"segundo.out", "terceiro.out"}) {
    SCOPED_TRACE(saida);
    auto outro = IniciaZelp(dir, saida);
    int status = -1;
    ASSERT_TRUE(outro->Espera(15000ms, status)) << "a second instance must end at once";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(outro->Saida(), "") << "and say nothing";
    EXPECT_TRUE(primeiro->Rodando()) << "the first goes on undisturbed";
    EXPECT_TRUE(dir.Existe("zelp.lock"));
  }
}

TEST_F(InstanciaUnica, TravaDeProcessoMortoNaoImpedeNovoInicio) {
  ExigeZelp();
  DiretorioTemporario dir;
  fs::permissions(dir.Caminho(), fs::perms::owner_all, fs::perm_options::replace);
  {
    auto morto = IniciaZelp(dir, "morto.out");
    ASSERT_TRUE(EsperaAte([&] { return dir.Existe("zelp.lock"); }, 15000ms));
    morto->Sinaliza(SIGKILL);
    int status = -1;
    ASSERT_TRUE(morto->Espera(10000ms, status));
  }
  ASSERT_TRUE(dir.Existe("zelp.lock")) << "a killed process leaves its lock file behind";
  auto novo = IniciaZelp(dir, "novo.out");
  // Still running well after a second instance would have gone.
  EXPECT_FALSE(EsperaAte([&] { return !novo->Rodando(); }, 1500ms)) << novo->Saida();
}

TEST_F(Programa, TerminaComFalhaAposErroFatalDoServico) {
  ExigeZelp();
  DiretorioTemporario dir;
  fs::permissions(dir.Caminho(), fs::perms::owner_all, fs::perm_options::replace);
  dir.Escreve("zelp.ini", "[Tempos]\r\nTOutIni=1\r\n");
  auto zelp = IniciaZelp(dir, "zelp.out");
  // 2 s before the service starts, 10 s after its fatal error, then one tick of the timer.
  int status = -1;
  ASSERT_TRUE(zelp->Espera(30000ms, status)) << zelp->Saida();
  EXPECT_EQ(status, 1);
}

TEST_F(Programa, AjudaVersaoOpcaoDesconhecidaESemTela) {
  ExigeZelp();
  const struct {
    bool semTela;  // neither DISPLAY nor WAYLAND_DISPLAY nor QT_QPA_PLATFORM
    std::vector<std::string> args;
    int status;
    std::string saida;  // the whole output; "" for the help, which only must be there
  } casos[] = {
      {true, {"--help"}, 0, ""},
      {true, {"-h"}, 0, ""},
      {true, {"--version"}, 0, "Servidor ZELP V00.68\n"},
      {true, {}, 1, "zelp: needs a display (DISPLAY or WAYLAND_DISPLAY); zelpd is the gateway without a window\n"},
      {false, {"--bogus"}, 2, "zelp: unknown option '--bogus' (see --help)\n"},
      {false, {"--help", "avulso"}, 2, "zelp: unknown argument 'avulso' (see --help)\n"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.args.empty() ? std::string("(no argument)") : caso.args.back());
    DiretorioTemporario dir;
    auto zelp = IniciaZelp(dir, "zelp.out", caso.args, caso.semTela);
    int status = -1;
    ASSERT_TRUE(zelp->Espera(15000ms, status)) << "zelp must end at once";
    EXPECT_EQ(status, caso.status) << zelp->Saida();
    EXPECT_FALSE(zelp->Saida().empty());
    if (!caso.saida.empty()) {
      EXPECT_EQ(zelp->Saida(), caso.saida);
    }
  }
}
