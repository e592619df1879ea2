// Test programs run as Windows processes (under wine, in the test's own prefix), each in a process
// group of its own so that a Ctrl-Break reaches it alone.
#include "apoio/Processo.h"

#include <csignal>

#include "platform/windows/SistemaWindows.h"

namespace {

// One argument as the C runtime's parser reads it back: quotes around it, a quote inside escaped,
// and the backslashes before a quote doubled.
std::string Cita(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string s = "\"";
  std::size_t barras = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++barras;
      continue;
    }
    s.append(c == '"' ? barras * 2 + 1 : barras, '\\');
    barras = 0;
    s += c;
  }
  s.append(barras * 2, '\\');
  return s + "\"";
}

HANDLE Alca(void* p) { return static_cast<HANDLE>(p); }

}  // namespace

Processo::Processo(const std::string& programa, const std::vector<std::string>& args, const std::string& diretorio,
                   const std::string& saida)
    : saida_(saida) {
  std::string linha = Cita(programa);
  for (const std::string& a : args) linha += " " + Cita(a);

  SECURITY_ATTRIBUTES herdavel{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  plataforma::windows::Alca arquivo(::CreateFileA(saida.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  &herdavel, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  plataforma::windows::Alca nulo(::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &herdavel,
                                               OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA inicio{};
  inicio.cb = sizeof inicio;
  inicio.dwFlags = STARTF_USESTDHANDLES;
  inicio.hStdInput = nulo.Get();
  inicio.hStdOutput = arquivo.Get();
  inicio.hStdError = arquivo.Get();
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(programa.c_str(), linha.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP, nullptr,
                        diretorio.c_str(), &inicio, &info)) {
    return;
  }
  ::CloseHandle(info.hThread);
  alca_ = info.hProcess;
  pid_ = static_cast<int>(info.dwProcessId);
}

Processo::~Processo() {
  if (alca_ == nullptr) return;
  if (!terminou_) {
    ::TerminateProcess(Alca(alca_), 137);
    ::WaitForSingleObject(Alca(alca_), 10000);
  }
  ::CloseHandle(Alca(alca_));
}

void Processo::Sinaliza(int sinal) {
  if (alca_ == nullptr || terminou_) return;
  if (sinal == SIGTERM || sinal == SIGINT) {
    ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, static_cast<DWORD>(pid_));
  } else {
    ::TerminateProcess(Alca(alca_), 128 + sinal);
  }
}

bool Processo::Rodando() {
  if (alca_ == nullptr || terminou_) return false;
  if (::WaitForSingleObject(Alca(alca_), 0) != WAIT_OBJECT_0) return true;
  DWORD codigo = 0;
  ::GetExitCodeProcess(Alca(alca_), &codigo);
  terminou_ = true;
  status_ = static_cast<int>(codigo);
  return false;
}

std::string CaminhoPrograma(const std::string& nome) { return std::string(ZELP_DIR_BINARIOS) + "/" + nome + ".exe"; }
