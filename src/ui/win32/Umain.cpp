// The main window on Windows: a top-level window of class TfrmMain with a list box over its whole
// client area, the menu, the tray icon with its menu, Timer1, and the lines of the log arriving from
// other threads as posted messages.
#include "ui/win32/Umain.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "log/GravaLog.h"
#include "ui/FilaLinhas.h"

namespace {

// Outlives every window, so a line that arrives while one is being destroyed finds a valid lock.
TFilaLinhas& Fila() {
  static TFilaLinhas fila;
  return fila;
}

enum : UINT_PTR { ID_TIMER1 = 1, ID_ANIMACAO = 2 };
enum : UINT { ID_LISTA = 100, ID_SAIR = 101, ID_ABRIR = 102, ID_ENCERRAR = 103 };

[[noreturn]] void Falhou(const char* oque) {
  throw std::runtime_error(std::string(oque) + ": " + std::to_string(::GetLastError()));
}

// The desktop's dots per inch, which the manifest lets the window see instead of a scaled bitmap.
int PontosPorPolegada() {
  HDC tela = ::GetDC(nullptr);
  const int dpi = tela != nullptr ? ::GetDeviceCaps(tela, LOGPIXELSY) : 96;
  if (tela != nullptr) ::ReleaseDC(nullptr, tela);
  return dpi > 0 ? dpi : 96;
}

HICON CarregaIcone(HINSTANCE instancia, int recurso, int lado) {
  return static_cast<HICON>(::LoadImageA(instancia, MAKEINTRESOURCEA(recurso), IMAGE_ICON, lado, lado, 0));
}

}  // namespace

TfrmMain::TfrmMain(HINSTANCE instancia, int recursoIcone, std::optional<OpcoesServico> opcoes)
    : instancia_(instancia) {
  dpi_ = PontosPorPolegada();
  CriaElementos(recursoIcone);
  FormCreate(std::move(opcoes));
}

int TfrmMain::Escala(int pixels) const { return ::MulDiv(pixels, dpi_, 96); }

void TfrmMain::CriaElementos(int recursoIcone) {
  iconeGrande_ = CarregaIcone(instancia_, recursoIcone, ::GetSystemMetrics(SM_CXICON));
  iconePequeno_ = CarregaIcone(instancia_, recursoIcone, ::GetSystemMetrics(SM_CXSMICON));
  iconeBandeja_ = CarregaIcone(instancia_, recursoIcone, Escala(janela::LADO_ICONE));

  WNDCLASSEXA classe{};
  classe.cbSize = sizeof classe;
  classe.style = CS_HREDRAW | CS_VREDRAW;
  classe.lpfnWndProc = &TfrmMain::Procedimento;
  classe.hInstance = instancia_;
  classe.hIcon = iconeGrande_;
  classe.hIconSm = iconePequeno_;
  classe.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  classe.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  classe.lpszClassName = janela::CLASSE;
  if (::RegisterClassExA(&classe) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    Falhou("RegisterClassEx");
  }

  MainMenu1 = ::CreateMenu();
  Arquivo1 = ::CreatePopupMenu();
  PopupMenu1 = ::CreatePopupMenu();
  if (MainMenu1 == nullptr || Arquivo1 == nullptr || PopupMenu1 == nullptr) Falhou("CreateMenu");
  ::AppendMenuA(Arquivo1, MF_STRING, ID_SAIR, janela::MENU_SAIR);
  ::AppendMenuA(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(Arquivo1), janela::MENU_ARQUIVO);
  ::AppendMenuA(PopupMenu1, MF_STRING, ID_ABRIR, janela::MENU_ABRIR);
  ::AppendMenuA(PopupMenu1, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(PopupMenu1, MF_STRING, ID_ENCERRAR, janela::MENU_ENCERRAR);
  ::SetMenuDefaultItem(PopupMenu1, ID_ABRIR, FALSE);  // drawn in bold

  // The client area is the list's; the frame, the caption and the menu bar come around it.
  constexpr DWORD ESTILO = WS_OVERLAPPEDWINDOW;
  RECT r{0, 0, Escala(janela::LARGURA_CLIENTE), Escala(janela::ALTURA_CLIENTE)};
  ::AdjustWindowRectEx(&r, ESTILO, TRUE, 0);
  const int largura = r.right - r.left;
  const int altura = r.bottom - r.top;
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const int x = area.left + (area.right - area.left - largura) / 2;
  const int y = area.top + (area.bottom - area.top - altura) / 2;

  // The caption is given at creation: the window is never without it.
  handle = ::CreateWindowExA(0, janela::CLASSE, janela::TITULO, ESTILO, x, y, largura, altura, nullptr, MainMenu1,
                             instancia_, this);
  if (handle == nullptr) Falhou("CreateWindowEx");
  // The menu bar now belongs to the window, which destroys it with itself.

  fonte_ = ::CreateFontA(-Escala(janela::ALTURA_FONTE), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                         janela::FONTE);
  RECT cliente;
  ::GetClientRect(handle, &cliente);
  // A plain list in the order the lines come, never sorted; its rows keep their height whatever the
  // font, and it fills the client area exactly instead of a whole number of rows.
  lbmain = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
                             cliente.right, cliente.bottom, handle, reinterpret_cast<HMENU>(ID_LISTA), instancia_,
                             nullptr);
  if (lbmain == nullptr) Falhou("CreateWindowEx(LISTBOX)");
  if (fonte_ != nullptr) {
    ::SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(fonte_), FALSE);
    ::SendMessageA(lbmain, WM_SETFONT, reinterpret_cast<WPARAM>(fonte_), FALSE);
  }
  ::SendMessageA(lbmain, LB_SETITEMHEIGHT, 0, Escala(janela::ALTURA_LINHA));

  tricon_.cbSize = sizeof tricon_;
  tricon_.hWnd = handle;
  tricon_.uID = ID_ICONE;
  tricon_.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  tricon_.uCallbackMessage = WM_BANDEJA;
  tricon_.hIcon = iconeBandeja_;
  std::strncpy(tricon_.szTip, janela::DICA_BANDEJA, sizeof tricon_.szTip - 1);
  barraCriada_ = ::RegisterWindowMessageA("TaskbarCreated");

  ::SetTimer(handle, ID_TIMER1, janela::INTERVALO_TIMER, nullptr);
}

void TfrmMain::FormCreate(std::optional<OpcoesServico> opcoes) {
  const HWND destino = handle;
  // Runs with the queue's lock held: a post never blocks, and needs nothing from this thread.
  Fila().Liga([destino] { ::PostMessageA(destino, WM_LINHAS, 0, 0); });
  zelp_log::DefineSaidaJanela(&TfrmMain::AdicionaLinha);

  // The icon's animation: its one tick, a second from now, sends the window to the tray.
  ::SetTimer(handle, ID_ANIMACAO, janela::INTERVALO_TIMER, nullptr);
  MostraIcone();

  servicoEncerrado.store(false);
  if (opcoes) threadServer.emplace(servicoEncerrado, std::move(*opcoes));
}

TfrmMain::~TfrmMain() {
  if (handle != nullptr) ::DestroyWindow(handle);
  Fila().Desliga();
  if (PopupMenu1 != nullptr) ::DestroyMenu(PopupMenu1);
  if (fonte_ != nullptr) ::DeleteObject(fonte_);
  for (HICON icone : {iconeGrande_, iconePequeno_, iconeBandeja_}) {
    if (icone != nullptr) ::DestroyIcon(icone);
  }
}

int TfrmMain::Executa() {
  ::ShowWindow(handle, SW_SHOWNORMAL);
  ::UpdateWindow(handle);
  MSG mensagem;
  int r;
  while ((r = ::GetMessageA(&mensagem, nullptr, 0, 0)) > 0) {
    ::TranslateMessage(&mensagem);
    ::DispatchMessageA(&mensagem);
  }
  if (!falha_.empty()) throw std::runtime_error(falha_);
  return r < 0 ? 1 : static_cast<int>(mensagem.wParam);
}

void TfrmMain::AdicionaLinha(const char* texto) { Fila().Adiciona(texto); }

void TfrmMain::AplicaLinhas() {
  TFilaLinhas::Lote lote = Fila().Retira();
  if (!lote.limpar && lote.linhas.empty()) return;
  ::SendMessageA(lbmain, WM_SETREDRAW, FALSE, 0);
  if (lote.limpar) ::SendMessageA(lbmain, LB_RESETCONTENT, 0, 0);
  for (const std::string& linha : lote.linhas) {
    const std::string texto = janela::TextoDaLinha(linha);
    ::SendMessageA(lbmain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texto.c_str()));
  }
  ::SendMessageA(lbmain, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(lbmain, nullptr, TRUE);
}

bool TfrmMain::MostraIcone() {
  iconeVisivel_ = ::Shell_NotifyIconA(NIM_ADD, &tricon_) != FALSE;
  return iconeVisivel_;
}

void TfrmMain::EscondeIcone() {
  if (iconeVisivel_) ::Shell_NotifyIconA(NIM_DELETE, &tricon_);
  iconeVisivel_ = false;
}

void TfrmMain::triconAnimate() {
  EscondeIcone();
  ::KillTimer(handle, ID_ANIMACAO);
  MostraIcone();
  MinimizaAplicacao();
}

void TfrmMain::MinimizaAplicacao() {
  // Without its icon (no tray yet) the window stays: hidden, it could not be found again.
  if (!iconeVisivel_) return;
  ::ShowWindow(handle, SW_MINIMIZE);
}

void TfrmMain::OnMinimize() {
  // Hidden, the window has no task-bar entry; the icon is then the only way back to it.
  if (iconeVisivel_ && ::IsIconic(handle)) ::ShowWindow(handle, SW_HIDE);
}

void TfrmMain::RestauraAplicacao() {
  ::ShowWindow(handle, SW_RESTORE);
  ::SetForegroundWindow(handle);
}

void TfrmMain::triconClick() { RestauraAplicacao(); }

void TfrmMain::abrirZELPClick() { triconClick(); }

void TfrmMain::MenuDoIcone() {
  POINT ponto;
  ::GetCursorPos(&ponto);
  // The menu closes when the user clicks elsewhere only if its window is in the foreground, and the
  // message after it lets the shell see the menu end.
  ::SetForegroundWindow(handle);
  ::TrackPopupMenu(PopupMenu1, TPM_RIGHTBUTTON, ponto.x, ponto.y, 0, handle, nullptr);
  ::PostMessageA(handle, WM_NULL, 0, 0);
}

void TfrmMain::Termina(int codigo) {
  codigo_ = codigo;
  if (handle != nullptr) ::DestroyWindow(handle);
}

void TfrmMain::FecharZELPClick() { Termina(0); }

void TfrmMain::Sair1Click() { FecharZELPClick(); }

void TfrmMain::Timer1Timer() {
  if (janela::ServicoTerminou(servicoEncerrado)) Termina(janela::CODIGO_SAIDA_SERVICO);
}

LRESULT CALLBACK TfrmMain::Procedimento(HWND janela, UINT mensagem, WPARAM w, LPARAM l) {
  if (mensagem == WM_NCCREATE) {
    // The first message: from here on the window's messages reach its object, which knows its handle
    // before CreateWindowEx returns it.
    auto* criado = static_cast<TfrmMain*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    criado->handle = janela;
    ::SetWindowLongPtrA(janela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(criado));
  }
  auto* frm = reinterpret_cast<TfrmMain*>(::GetWindowLongPtrA(janela, GWLP_USERDATA));
  if (frm == nullptr) return ::DefWindowProcA(janela, mensagem, w, l);
  // No exception may cross the system's frames: the first one ends the program and is shown then.
  try {
    return frm->Trata(mensagem, w, l);
  } catch (const std::exception& e) {
    if (frm->falha_.empty()) frm->falha_ = e.what();
  } catch (...) {
    if (frm->falha_.empty()) frm->falha_ = "Erro desconhecido";
  }
  ::PostQuitMessage(1);
  return 0;
}

LRESULT TfrmMain::Trata(UINT mensagem, WPARAM w, LPARAM l) {
  switch (mensagem) {
    case WM_LINHAS:
      AplicaLinhas();
      return 0;
    case WM_TIMER:
      if (w == ID_TIMER1) Timer1Timer();
      if (w == ID_ANIMACAO) triconAnimate();
      return 0;
    case WM_BANDEJA:
      switch (static_cast<UINT>(l)) {
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
          triconClick();
          break;
        case WM_RBUTTONUP:
          MenuDoIcone();
          break;
        default:
          break;
      }
      return 0;
    case WM_COMMAND:
      switch (LOWORD(w)) {
        case ID_SAIR:
          Sair1Click();
          break;
        case ID_ABRIR:
          abrirZELPClick();
          break;
        case ID_ENCERRAR:
          FecharZELPClick();
          break;
        default:
          break;
      }
      return 0;
    case WM_SIZE:
      if (w == SIZE_MINIMIZED) {
        // Hiding from inside the size change would disturb the minimise itself: right after it.
        ::PostMessageA(handle, WM_ESCONDE, 0, 0);
      } else if (lbmain != nullptr) {
        ::MoveWindow(lbmain, 0, 0, LOWORD(l), HIWORD(l), TRUE);
      }
      return 0;
    case WM_ESCONDE:
      OnMinimize();
      return 0;
    case WM_CLOSE:
      // The main window: closing it ends the program.
      FecharZELPClick();
      return 0;
    case WM_DESTROY:
      // From here on no line is posted to this window, and those already queued are dropped.
      Fila().Desliga();
      EscondeIcone();
      ::KillTimer(handle, ID_TIMER1);
      ::KillTimer(handle, ID_ANIMACAO);
      ::PostQuitMessage(codigo_);
      return 0;
    case WM_NCDESTROY: {
      const HWND janela = handle;
      ::SetWindowLongPtrA(janela, GWLP_USERDATA, 0);
      handle = nullptr;
      lbmain = nullptr;
      return ::DefWindowProcA(janela, mensagem, w, l);
    }
    default:
      // The shell's tray was made anew (Explorer started late, or restarted): the icon goes into it.
      if (mensagem == barraCriada_ && barraCriada_ != 0) {
        MostraIcone();
        return 0;
      }
      return ::DefWindowProcA(handle, mensagem, w, l);
  }
}
