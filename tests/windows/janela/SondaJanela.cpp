// sonda-janela.exe: looks at the running window of zelp.exe from another process, as a user or the
// shell would reach it, and prints what it finds, one "name=value" a line, for the wine tests.
// Usage: sonda-janela [--espera MS] [--linha TEXT] [--clique]
//   --espera MS   wait up to MS for the window (and, with --linha, for a line containing TEXT)
//   --clique      then post the tray icon's click to the window and report its visibility again,
//                 as clique_visivel, clique_iconica and clique_cliente
// Exit status: 0 when the window was found (and the line, if asked for), 1 otherwise, 2 usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/windows/SistemaWindows.h"
#include <shellapi.h>

namespace {

// What the window must be (class, caption, list, sizes): the test script compares the values.
constexpr const char* CLASSE = "TfrmMain";
constexpr const char* TITULO = "Servidor ZELP V00.68";
// The icon's click as the window asks the shell to send it (its callback message and icon number).
constexpr UINT WM_BANDEJA = WM_APP + 2;
constexpr UINT ID_ICONE = 1;

BOOL CALLBACK Conta(HWND janela, LPARAM contador) {
  char classe[64] = "", titulo[64] = "";
  ::GetClassNameA(janela, classe, sizeof classe);
  ::GetWindowTextA(janela, titulo, sizeof titulo);
  if (std::strcmp(classe, CLASSE) == 0 && std::strcmp(titulo, TITULO) == 0) ++*reinterpret_cast<int*>(contador);
  return TRUE;
}

// Read as UTF-16 and turned into the system's code page here: a list's text read across processes
// through the ANSI messages comes back as UTF-16 under wine.
std::vector<std::string> Linhas(HWND lista) {
  std::vector<std::string> linhas;
  const LRESULT n = ::SendMessageW(lista, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const LRESULT tamanho = ::SendMessageW(lista, LB_GETTEXTLEN, i, 0);
    if (tamanho < 0) continue;
    std::wstring texto(static_cast<std::size_t>(tamanho) + 1, L'\0');
    const LRESULT lidos = ::SendMessageW(lista, LB_GETTEXT, i, reinterpret_cast<LPARAM>(texto.data()));
    texto.resize(lidos < 0 ? 0 : static_cast<std::size_t>(lidos));
    std::string ansi(texto.size() * 2 + 1, '\0');
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, texto.data(), static_cast<int>(texto.size()), ansi.data(),
                                            static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    linhas.push_back(ansi);
  }
  return linhas;
}

bool TemLinha(HWND lista, const char* parte) {
  for (const std::string& l : Linhas(lista))
    if (l.find(parte) != std::string::npos) return true;
  return false;
}

// Minimised, a window's client area is empty: its size is told only while it is shown.
void Visibilidade(HWND janela, const char* prefixo) {
  std::printf("%svisivel=%d\n%siconica=%d\n", prefixo, ::IsWindowVisible(janela) ? 1 : 0, prefixo,
              ::IsIconic(janela) ? 1 : 0);
  RECT cliente{};
  if (!::IsIconic(janela) && ::GetClientRect(janela, &cliente)) {
    std::printf("%scliente=%ldx%ld\n", prefixo, cliente.right, cliente.bottom);
  }
}

}  // namespace

int main(int argc, char** argv) {
  DWORD espera = 0;
  const char* linha = nullptr;
  bool clique = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--espera") == 0 && i + 1 < argc) {
      espera = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--linha") == 0 && i + 1 < argc) {
      linha = argv[++i];
    } else if (std::strcmp(argv[i], "--clique") == 0) {
      clique = true;
    } else {
      std::fprintf(stderr, "usage: sonda-janela [--espera MS] [--linha TEXT] [--clique]\n");
      return 2;
    }
  }
  // The window is made before its list, and the list gets its lines later still.
  const DWORD inicio = ::GetTickCount();
  HWND janela = nullptr, lista = nullptr;
  for (;;) {
    janela = ::FindWindowA(CLASSE, TITULO);
    lista = janela != nullptr ? ::FindWindowExA(janela, nullptr, "LISTBOX", nullptr) : nullptr;
    if (lista != nullptr && (linha == nullptr || TemLinha(lista, linha))) break;
    if (::GetTickCount() - inicio >= espera) break;
    ::Sleep(20);
  }
  if (janela == nullptr) {
    std::printf("janela=0\n");
    return 1;
  }
  int janelas = 0;
  ::EnumWindows(Conta, reinterpret_cast<LPARAM>(&janelas));
  std::printf("janela=1\njanelas=%d\n", janelas);
  Visibilidade(janela, "");
  if (lista != nullptr) {
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    ::GetWindowInfo(lista, &info);
    std::printf("lista=%ldx%ld\n", info.rcWindow.right - info.rcWindow.left, info.rcWindow.bottom - info.rcWindow.top);
    std::printf("altura_linha=%ld\n", static_cast<long>(::SendMessageA(lista, LB_GETITEMHEIGHT, 0, 0)));
    const std::vector<std::string> linhas = Linhas(lista);
    std::printf("linhas=%zu\n", linhas.size());
    for (const std::string& l : linhas) std::printf("linha=%s\n", l.c_str());
  }
  // The shell accepts a change to an icon only while that icon is in the tray.
  NOTIFYICONDATAA icone{};
  icone.cbSize = sizeof icone;
  icone.hWnd = janela;
  icone.uID = ID_ICONE;
  icone.uFlags = NIF_TIP;
  std::strcpy(icone.szTip, "ZELP");
  std::printf("icone=%d\n", ::Shell_NotifyIconA(NIM_MODIFY, &icone) ? 1 : 0);
  if (clique) {
    ::PostMessageA(janela, WM_BANDEJA, ID_ICONE, WM_LBUTTONUP);
    const DWORD desde = ::GetTickCount();
    while (!::IsWindowVisible(janela) && ::GetTickCount() - desde < 2000) ::Sleep(20);
    Visibilidade(janela, "clique_");
  }
  std::fflush(stdout);
  return linha == nullptr || (lista != nullptr && TemLinha(lista, linha)) ? 0 : 1;
}
