// The main window on Windows, in the Win32 API itself: the list of the latest log lines, its menu,
// the tray icon, and the timer that ends the program once the service thread has ended.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "platform/windows/SistemaWindows.h"
// After <windows.h>, which leaves the shell's calls out in its lean form.
#include <shellapi.h>

#include "service/TThreadServer.h"
#include "ui/RegrasJanela.h"

class TfrmMain {
 public:
  // The window's own messages. WM_BANDEJA carries the tray icon's mouse messages in lParam, as the
  // shell sends them; a test may post it too, as a click on the icon.
  static constexpr UINT WM_LINHAS = WM_APP + 1;   // lines wait in the queue
  static constexpr UINT WM_BANDEJA = WM_APP + 2;  // the tray icon was clicked
  static constexpr UINT WM_ESCONDE = WM_APP + 3;  // the window was minimised: off the task bar
  static constexpr UINT ID_ICONE = 1;             // the tray icon's number for this window

  // Builds the window (not shown yet), its list, menus and tray icon from the icon resource
  // recursoIcone, and, with opcoes, starts the service thread. Throws std::runtime_error when the
  // system refuses the window.
  TfrmMain(HINSTANCE instancia, int recursoIcone, std::optional<OpcoesServico> opcoes);
  ~TfrmMain();
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Shows the window centred and runs the message loop until the program is told to end; returns
  // the program's exit status.
  int Executa();

  // Appends one line to lbmain. Any thread, at any time: the line reaches the list on the window's
  // thread through WM_LINHAS, in the order of the calls; without a window, or while it is being
  // destroyed, it is dropped. This is the log's window sink, so it never logs.
  static void AdicionaLinha(const char* texto);

  // Written by the service thread as the last act of its run; read by Timer1.
  static inline std::atomic<bool> servicoEncerrado{false};

  HWND handle = nullptr;
  HWND lbmain = nullptr;
  HMENU MainMenu1 = nullptr;
  HMENU Arquivo1 = nullptr;
  HMENU PopupMenu1 = nullptr;

 private:
  static LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM w, LPARAM l);
  LRESULT Trata(UINT mensagem, WPARAM w, LPARAM l);

  void CriaElementos(int recursoIcone);
  void FormCreate(std::optional<OpcoesServico> opcoes);
  int Escala(int pixels) const;

  void triconAnimate();
  void triconClick();
  void abrirZELPClick();
  void FecharZELPClick();
  void Sair1Click();
  void Timer1Timer();
  void OnMinimize();

  bool MostraIcone();
  void EscondeIcone();
  void MenuDoIcone();
  void MinimizaAplicacao();
  void RestauraAplicacao();
  void AplicaLinhas();
  void Termina(int codigo);

  HINSTANCE instancia_;
  int dpi_ = 96;
  HFONT fonte_ = nullptr;
  HICON iconeGrande_ = nullptr;
  HICON iconePequeno_ = nullptr;
  HICON iconeBandeja_ = nullptr;
  NOTIFYICONDATAA tricon_{};
  bool iconeVisivel_ = false;
  UINT barraCriada_ = 0;  // the shell's "TaskbarCreated": its tray was made anew
  int codigo_ = 0;
  std::string falha_;     // what went wrong inside a handler, shown once the loop has ended
  std::optional<TThreadServer> threadServer;
};
