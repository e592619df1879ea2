// Registering zelpd with the service control manager and removing it: the service itself and its
// source in the Application event log, whose message table is in the program.
#include <string>

#include "platform/Relogio.h"
#include "platform/windows/GerenciadorServicos.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma::servico {

namespace {

// A handle of the service control manager or of a service, closed on every path.
class AlcaServico {
 public:
  explicit AlcaServico(SC_HANDLE h) : h_(h) {}
  ~AlcaServico() {
    if (h_ != nullptr) ::CloseServiceHandle(h_);
  }
  AlcaServico(const AlcaServico&) = delete;
  AlcaServico& operator=(const AlcaServico&) = delete;
  SC_HANDLE Get() const { return h_; }
  bool Valida() const { return h_ != nullptr; }

 private:
  SC_HANDLE h_;
};

std::string ChaveFonte(const char* nome) {
  return std::string("SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\") + nome;
}

// Without it the event viewer still shows the entries, under a notice that their description is
// missing; with it, as written.
void RegistraFonte(const char* nome, const std::string& programa) {
  HKEY chave = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, ChaveFonte(nome).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &chave,
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  ::RegSetValueExA(chave, "EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(programa.c_str()),
                   static_cast<DWORD>(programa.size() + 1));
  const DWORD tipos = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  ::RegSetValueExA(chave, "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&tipos), sizeof tipos);
  ::RegCloseKey(chave);
}

void RemoveFonte(const char* nome) { ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, ChaveFonte(nome).c_str()); }

// Waits for a stop to end: as long as the service reports progress within its wait hint, and at
// most prazoMs in all. True when it stopped.
bool EsperaParar(SC_HANDLE servico, std::uint32_t prazoMs) {
  const std::uint32_t inicio = Ticks();
  std::uint32_t ultimoAvanco = inicio;
  DWORD checkpoint = 0;
  for (;;) {
    SERVICE_STATUS s{};
    if (!::QueryServiceStatus(servico, &s)) return false;
    if (s.dwCurrentState == SERVICE_STOPPED) return true;
    const std::uint32_t agora = Ticks();
    if (s.dwCheckPoint != checkpoint) {
      checkpoint = s.dwCheckPoint;
      ultimoAvanco = agora;
    }
    const std::uint32_t dica = s.dwWaitHint < 1000 ? 1000 : s.dwWaitHint;
    if (agora - inicio >= prazoMs || agora - ultimoAvanco > dica) return false;
    Dorme(250);
  }
}

}  // namespace

bool Instala(const DefinicaoServico& definicao, int& erro) {
  AlcaServico gerente(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
  if (!gerente.Valida()) {
    erro = static_cast<int>(::GetLastError());
    return false;
  }
  // LocalSystem: the account the installer's service runs as too.
  AlcaServico servico(::CreateServiceA(gerente.Get(), definicao.nome, definicao.exibicao, SERVICE_CHANGE_CONFIG,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                       definicao.comando.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  if (!servico.Valida()) {
    erro = static_cast<int>(::GetLastError());
    return false;
  }
  SERVICE_DESCRIPTIONA descricao{const_cast<char*>(definicao.descricao)};
  ::ChangeServiceConfig2A(servico.Get(), SERVICE_CONFIG_DESCRIPTION, &descricao);
  RegistraFonte(definicao.nome, definicao.programa);
  erro = 0;
  return true;
}

ResultadoRemocao Remove(const char* nome, std::uint32_t prazoMs, int& erro) {
  erro = 0;
  AlcaServico gerente(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!gerente.Valida()) {
    erro = static_cast<int>(::GetLastError());
    return ResultadoRemocao::Falhou;
  }
  AlcaServico servico(::OpenServiceA(gerente.Get(), nome, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
  if (!servico.Valida()) {
    erro = static_cast<int>(::GetLastError());
    return erro == ERROR_SERVICE_DOES_NOT_EXIST ? ResultadoRemocao::NaoExiste : ResultadoRemocao::Falhou;
  }
  SERVICE_STATUS s{};
  bool parado = ::QueryServiceStatus(servico.Get(), &s) && s.dwCurrentState == SERVICE_STOPPED;
  if (!parado) {
    if (s.dwCurrentState != SERVICE_STOP_PENDING) ::ControlService(servico.Get(), SERVICE_CONTROL_STOP, &s);
    parado = EsperaParar(servico.Get(), prazoMs);
  }
  if (!::DeleteService(servico.Get()) && ::GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
    erro = static_cast<int>(::GetLastError());
    return ResultadoRemocao::Falhou;
  }
  RemoveFonte(nome);
  return parado ? ResultadoRemocao::Removido : ResultadoRemocao::RemovidoAoParar;
}

std::string CaminhoDoPrograma() {
  char caminho[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameA(nullptr, caminho, sizeof caminho);
  if (n == 0 || n >= sizeof caminho) return std::string();
  return std::string(caminho, n);
}

}  // namespace plataforma::servico
