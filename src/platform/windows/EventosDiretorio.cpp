// ReadDirectoryChangesW on the input folder, for the immediate mode: one overlapped read kept
// pending on the folder, so that no change made between two waits is missed.
#include "platform/EventosDiretorio.h"

#include <chrono>
#include <cstring>

#include "platform/Arquivos.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

using windows::Alca;

namespace {

// The tick count moves in steps of 16 ms: the waits are measured by the precise clock.
DWORD MsDesde(std::chrono::steady_clock::time_point inicio) {
  return static_cast<DWORD>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - inicio).count());
}

constexpr DWORD FILTRO = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// A file name of the notice (UTF-16, not terminated) ends in an ASCII suffix, in any letter case.
bool TerminaEm(const FILE_NOTIFY_INFORMATION& aviso, const char* sufixo) {
  const std::size_t n = aviso.FileNameLength / sizeof(WCHAR);
  const std::size_t s = std::strlen(sufixo);
  if (n < s) return false;
  for (std::size_t i = 0; i < s; ++i) {
    WCHAR a = aviso.FileName[n - s + i];
    char b = sufixo[i];
    if (a >= L'A' && a <= L'Z') a = static_cast<WCHAR>(a - L'A' + L'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != static_cast<unsigned char>(b)) return false;
  }
  return true;
}

}  // namespace

struct EventosDiretorio::Estado {
  Alca pasta;
  Alca evento;  // signalled when the pending read completes
  OVERLAPPED leitura{};
  bool pendente = false;
  bool ativo = true;  // false once the folder has gone
  // DWORD-aligned, as the notices must be; 64 KB is the most a network folder's notices may fill.
  alignas(DWORD) unsigned char avisos[64 * 1024];

  bool Pede() {
    std::memset(&leitura, 0, sizeof leitura);
    leitura.hEvent = evento.Get();
    ::ResetEvent(evento.Get());
    pendente = ::ReadDirectoryChangesW(pasta.Get(), avisos, sizeof avisos, FALSE, FILTRO, nullptr, &leitura,
                                       nullptr) != 0;
    return pendente;
  }

  // The read must be over before its buffer may go.
  void Cancela() {
    if (!pendente) return;
    ::CancelIoEx(pasta.Get(), &leitura);
    DWORD n = 0;
    ::GetOverlappedResult(pasta.Get(), &leitura, &n, TRUE);
    pendente = false;
  }
};

EventosDiretorio::EventosDiretorio() = default;
EventosDiretorio::~EventosDiretorio() { Para(); }

bool EventosDiretorio::Ativo() const { return estado_ && estado_->ativo; }

EventosDiretorio::Resultado EventosDiretorio::Vigia(const char* diretorio, std::string& motivo) {
  Para();
  const char* caminho = diretorio && *diretorio ? diretorio : ".";
  auto estado = std::make_unique<Estado>();
  estado->pasta = Alca(::CreateFileA(caminho, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
  if (!estado->pasta.Valida()) {
    const DWORD erro = ::GetLastError();
    if (erro == ERROR_FILE_NOT_FOUND || erro == ERROR_PATH_NOT_FOUND || erro == ERROR_DIRECTORY) {
      return Resultado::NaoExiste;
    }
    motivo = TextoErro(windows::Codigo(erro));
    return Resultado::Indisponivel;
  }
  if (!ExisteDiretorio(caminho)) return Resultado::NaoExiste;
  estado->evento = Alca(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  // A file system that cannot report changes refuses the first read.
  if (!estado->evento.Valida() || !estado->Pede()) {
    motivo = TextoErro(windows::Codigo(::GetLastError()));
    return Resultado::Indisponivel;
  }
  estado_ = std::move(estado);
  return Resultado::Vigiando;
}

void EventosDiretorio::Para() {
  if (estado_) estado_->Cancela();
  estado_.reset();
}

bool EventosDiretorio::Espera(std::uint32_t milissegundos, const char* sufixo) {
  if (!estado_ || !estado_->ativo) return false;
  Estado& e = *estado_;
  const auto inicio = std::chrono::steady_clock::now();
  bool veio = false;
  for (;;) {
    if (!e.pendente && !e.Pede()) {
      e.ativo = false;  // the folder is gone, or can no longer be read
      return veio;
    }
    // Every read already completed is taken first: notices of other names must not keep waking
    // the wait, and a notice that came meanwhile must not be left for the next one.
    const DWORD passado = MsDesde(inicio);
    const DWORD resta = veio || passado >= milissegundos ? 0 : milissegundos - passado;
    DWORD n = 0;
    if (::WaitForSingleObject(e.evento.Get(), resta) != WAIT_OBJECT_0) return veio;
    e.pendente = false;
    if (!::GetOverlappedResult(e.pasta.Get(), &e.leitura, &n, FALSE)) {
      const DWORD erro = ::GetLastError();
      // Too many changes for the buffer: they are lost, so a pass must look.
      if (erro == ERROR_NOTIFY_ENUM_DIR) {
        veio = true;
        continue;
      }
      e.ativo = false;
      return veio;
    }
    if (n == 0) {
      veio = true;  // the system dropped its notices: as above
      continue;
    }
    for (DWORD p = 0;;) {
      const auto* aviso = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(e.avisos + p);
      const bool chegou = aviso->Action == FILE_ACTION_ADDED || aviso->Action == FILE_ACTION_RENAMED_NEW_NAME ||
                          aviso->Action == FILE_ACTION_MODIFIED;
      if (chegou && TerminaEm(*aviso, sufixo)) veio = true;
      if (aviso->NextEntryOffset == 0) break;
      p += aviso->NextEntryOffset;
    }
  }
}

}  // namespace plataforma
