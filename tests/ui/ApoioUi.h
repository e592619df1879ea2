// Helpers of the window tests: bounded waits that keep the window's events flowing, and a virtual X
// display with a tray host for the tests of the tray icon.
#pragma once

#include <QCoreApplication>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "apoio/Processo.h"

// True in the copy of the test program that a tray test started on its virtual display.
bool EmTelaX();

// Processes the window's events until cond holds or limite passes; the result of the last look.
template <typename F>
bool ProcessaAte(F cond, std::chrono::milliseconds limite) {
  auto fim = std::chrono::steady_clock::now() + limite;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (cond()) return true;
    if (std::chrono::steady_clock::now() >= fim) return cond();
  }
}

// Processes events for the whole of a period.
void ProcessaDurante(std::chrono::milliseconds periodo);

// Full path of a program found in PATH, empty when there is none.
std::string AchaPrograma(const std::string& nome);

// Environment assignments (for env) that give a child program the suppressions of the sanitizer
// builds, kept as files in diretorio; what the test's own environment sets is kept.
std::vector<std::string> AmbienteSanitizadores(const std::string& diretorio);

// Runs a short command to its end (at most limite) and gives its output; empty when it did not end.
std::string Executa(const std::vector<std::string>& comando, const std::string& diretorio,
                    std::chrono::milliseconds limite = std::chrono::milliseconds(10000));

// A virtual X display (Xvfb) with, on request, a tray host (tint2), for as long as the object lives.
class TelaX {
 public:
  explicit TelaX(const std::string& diretorio);
  ~TelaX();
  TelaX(const TelaX&) = delete;
  TelaX& operator=(const TelaX&) = delete;

  // False, with the reason, when the display could not be had (a missing program is not a failure).
  bool Disponivel() const { return motivo_.empty(); }
  const std::string& Motivo() const { return motivo_; }
  const std::string& Display() const { return display_; }

  bool IniciaBandeja();
  void EncerraBandeja();

  // An X client run on this display.
  std::string Cliente(std::vector<std::string> comando);
  // The environment a program needs to run on this display, before its own arguments (for env).
  std::vector<std::string> Ambiente(const std::string& runtime) const;

  // The map state of the top-level window with this caption: "IsViewable", "IsUnMapped", or empty
  // when there is none.
  std::string EstadoJanela(const std::string& titulo);
  // The centre, in screen coordinates, of a 24 x 24 window of the given class embedded in the tray.
  bool IconeNaBandeja(const std::string& classe, int& x, int& y);
  // Top-level windows of the given class, one line each: "WxH+X+Y" (override-redirect popups included).
  std::vector<std::string> JanelasDaClasse(const std::string& classe);
  void Clica(int x, int y, int botao);

 private:
  std::string diretorio_;
  std::string motivo_;
  std::string display_;
  std::unique_ptr<Processo> xvfb_;
  std::unique_ptr<Processo> tint2_;
};
