// Helpers of the window tests: bounded waits, short commands, the virtual X display with a tray host.
#include "ui/ApoioUi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "ui/SupressoesSanitizador.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool EmTelaX() {
  const char* v = std::getenv("ZELP_TESTE_TELA_X");
  return v != nullptr && std::string(v) == "1";
}

void ProcessaDurante(std::chrono::milliseconds periodo) {
  ProcessaAte([] { return false; }, periodo);
}

std::string AchaPrograma(const std::string& nome) {
  const char* path = std::getenv("PATH");
  std::string lista = path != nullptr ? path : "/usr/bin:/bin";
  std::stringstream partes(lista);
  std::string dir;
  while (std::getline(partes, dir, ':')) {
    if (dir.empty()) continue;
    fs::path p = fs::path(dir) / nome;
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p.string();
  }
  return "";
}

std::vector<std::string> AmbienteSanitizadores(const std::string& diretorio) {
  std::vector<std::string> ambiente;
  for (auto [variavel, arquivo, texto] : {std::tuple{"TSAN_OPTIONS", "tsan.supp", SUPRESSOES_TSAN},
                                          std::tuple{"LSAN_OPTIONS", "lsan.supp", SUPRESSOES_LSAN}}) {
    std::string caminho = diretorio + "/" + arquivo;
    std::ofstream(caminho) << texto;
    const char* herdado = std::getenv(variavel);
    std::string valor = herdado != nullptr && *herdado != '\0' ? std::string(herdado) + ":" : "";
    ambiente.push_back(std::string(variavel) + "=" + valor + "suppressions=" + caminho);
  }
  return ambiente;
}

std::string Executa(const std::vector<std::string>& comando, const std::string& diretorio,
                    std::chrono::milliseconds limite) {
  static std::atomic<int> contador{0};
  std::string saida = diretorio + "/comando-" + std::to_string(contador++) + ".out";
  std::vector<std::string> args(comando.begin() + 1, comando.end());
  Processo p(comando[0], args, diretorio, saida);
  int status = -1;
  if (!p.Espera(limite, status)) return "";
  std::string texto = p.Saida();
  std::error_code ec;
  fs::remove(saida, ec);
  return texto;
}

TelaX::TelaX(const std::string& diretorio) : diretorio_(diretorio) {
  std::string xvfb = AchaPrograma("Xvfb");
  if (xvfb.empty()) {
    motivo_ = "Xvfb is not installed (scripts/instala-dependencias.sh installs it)";
    return;
  }
  for (const char* cliente : {"env", "xwininfo", "xdotool", "xprop"}) {
    if (AchaPrograma(cliente).empty()) {
      motivo_ = std::string(cliente) + " is not installed (scripts/instala-dependencias.sh installs it)";
      return;
    }
  }
  // -displayfd picks a free display number and writes it once the server accepts clients; -noreset
  // keeps the root properties below when the last client goes.
  std::string saida = diretorio_ + "/xvfb.out";
  xvfb_ = std::make_unique<Processo>(
      xvfb, std::vector<std::string>{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
      diretorio_, saida);
  bool pronto = EsperaAte(
      [&] {
        std::istringstream linhas(xvfb_->Saida());
        std::string linha;
        while (std::getline(linhas, linha)) {
          if (!linha.empty() && linha.find_first_not_of("0123456789") == std::string::npos) {
            display_ = ":" + linha;
            return true;
          }
        }
        return !xvfb_->Rodando();
      },
      15000ms);
  if (!pronto || display_.empty()) {
    motivo_ = "Xvfb did not start: " + xvfb_->Saida();
    xvfb_.reset();
    return;
  }
  // The tray host waits for a window manager's desktop properties before it shows its panel; there is
  // no window manager here, so they are set by hand.
  Cliente({"xprop", "-root", "-f", "_NET_NUMBER_OF_DESKTOPS", "32c", "-set", "_NET_NUMBER_OF_DESKTOPS", "1"});
  Cliente({"xprop", "-root", "-f", "_NET_CURRENT_DESKTOP", "32c", "-set", "_NET_CURRENT_DESKTOP", "0"});
  Cliente({"xprop", "-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", "0, 0, 1024, 768"});
}

TelaX::~TelaX() {
  tint2_.reset();
  xvfb_.reset();
}

std::string TelaX::Cliente(std::vector<std::string> comando) {
  comando.insert(comando.begin(), {AchaPrograma("env"), "DISPLAY=" + display_});
  return Executa(comando, diretorio_);
}

std::vector<std::string> TelaX::Ambiente(const std::string& runtime) const {
  // No session bus: the icon must take the X tray, the one this display has.
  std::vector<std::string> ambiente{AchaPrograma("env"), "-u", "DBUS_SESSION_BUS_ADDRESS", "-u", "WAYLAND_DISPLAY",
                                    "DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=" + runtime};
  for (auto& v : AmbienteSanitizadores(diretorio_)) ambiente.push_back(v);
  return ambiente;
}

bool TelaX::IniciaBandeja() {
  std::string tint2 = AchaPrograma("tint2");
  if (tint2.empty()) return false;
  std::string rc = diretorio_ + "/tint2rc";
  {
    std::ofstream f(rc);
    f << "panel_items = S\n"
         "panel_size = 100% 30\n"
         "panel_position = bottom center horizontal\n"
         "systray_padding = 2 2 2\n"
         "systray_icon_size = 24\n";
  }
  tint2_ = std::make_unique<Processo>(AchaPrograma("env"),
                                      std::vector<std::string>{"DISPLAY=" + display_, tint2, "-c", rc}, diretorio_,
                                      diretorio_ + "/tint2.out");
  // Ready when its panel exists; the tray selection is taken with it.
  return EsperaAte([&] { return Cliente({"xwininfo", "-root", "-tree"}).find("\"tint2\": (") != std::string::npos; },
                   10000ms);
}

void TelaX::EncerraBandeja() { tint2_.reset(); }

std::string TelaX::EstadoJanela(const std::string& titulo) {
  std::string info = Cliente({"xwininfo", "-name", titulo});
  auto pos = info.find("Map State: ");
  if (pos == std::string::npos) return "";
  pos += 11;
  return info.substr(pos, info.find('\n', pos) - pos);
}

namespace {
int Recuo(const std::string& linha) { return static_cast<int>(linha.find_first_not_of(' ')); }
}  // namespace

bool TelaX::IconeNaBandeja(const std::string& classe, int& x, int& y) {
  std::istringstream arvore(Cliente({"xwininfo", "-root", "-tree"}));
  std::string linha;
  int recuoBandeja = -1;
  std::string marca = "(\"" + classe + "\" ";
  while (std::getline(arvore, linha)) {
    if (linha.find("\"tint2\": (") != std::string::npos) {
      recuoBandeja = Recuo(linha);
      continue;
    }
    if (recuoBandeja < 0) continue;
    if (Recuo(linha) <= recuoBandeja && linha.find("child") == std::string::npos) {
      recuoBandeja = -1;  // left the panel's subtree
      continue;
    }
    if (linha.find(marca) == std::string::npos || linha.find(" 24x24+") == std::string::npos) continue;
    // The last field is the absolute position: "+X+Y".
    auto pos = linha.find_last_of(' ');
    int ax = 0, ay = 0;
    if (std::sscanf(linha.c_str() + pos + 1, "+%d+%d", &ax, &ay) != 2) continue;
    x = ax + 12;
    y = ay + 12;
    return true;
  }
  return false;
}

std::vector<std::string> TelaX::JanelasDaClasse(const std::string& classe) {
  std::istringstream arvore(Cliente({"xwininfo", "-root", "-children"}));
  std::string linha;
  std::vector<std::string> janelas;
  std::string marca = "(\"" + classe + "\" ";
  while (std::getline(arvore, linha)) {
    auto pos = linha.find(marca);
    if (pos == std::string::npos) continue;
    std::istringstream campos(linha.substr(linha.find(')', pos) + 1));
    std::string geometria;
    campos >> geometria;
    janelas.push_back(geometria);
  }
  return janelas;
}

void TelaX::Clica(int x, int y, int botao) {
  Cliente({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", std::to_string(botao)});
}
