// One service per input folder on Windows: a named mutex that bears the folder's full path, in
// the machine-wide namespace, so that a console gateway and the service see each other's. The
// mutex's existence is the lock: the first to create it holds it until its handle is closed.
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Arquivos.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

using windows::Alca;
using windows::Codigo;

namespace {

// A folder as the file system knows it: its volume and its number there.
struct Identidade {
  DWORD volume = 0;
  std::uint64_t indice = 0;
  bool operator==(const Identidade&) const = default;
};

Alca AbrePasta(const char* caminho) {
  // Opened for no access at all, so that the folder stays free to be renamed or removed.
  return Alca(::CreateFileA(caminho, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool IdentidadeDe(HANDLE pasta, Identidade& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(pasta, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  id.volume = info.dwVolumeSerialNumber;
  id.indice = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

// The mutex's name: the folder's final path (links, short names and "..\" resolved), its letters
// folded to one case as the file system folds them, without the one character a kernel object's
// name may not hold. A path too long for a name is represented by its hash.
std::string NomeDaTrava(HANDLE pasta) {
  char caminho[MAX_PATH * 4];
  DWORD n = ::GetFinalPathNameByHandleA(pasta, caminho, sizeof caminho, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0 || n >= sizeof caminho) return std::string();
  std::string texto(caminho, n);
  ::CharUpperBuffA(texto.data(), static_cast<DWORD>(texto.size()));
  while (texto.size() > 1 && (texto.back() == '\\' || texto.back() == '/')) texto.pop_back();
  for (char& c : texto) {
    if (c == '\\') c = '/';
  }
  std::string nome = "Global\\ZELP entrada " + texto;
  if (nome.size() < MAX_PATH) return nome;
  std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
  for (unsigned char c : texto) hash = (hash ^ c) * 0x100000001b3u;
  char resumo[17];
  std::snprintf(resumo, sizeof resumo, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("Global\\ZELP entrada #") + resumo;
}

}  // namespace

struct TravaDiretorio::Estado {
  Alca mutex;
  Identidade pasta;
};

TravaDiretorio::TravaDiretorio() = default;
TravaDiretorio::~TravaDiretorio() { Libera(); }

TravaDiretorio::Resultado TravaDiretorio::Trava(const char* diretorio, int& erro) {
  Libera();
  Alca pasta = AbrePasta(diretorio && *diretorio ? diretorio : ".");
  Identidade id;
  if (!pasta.Valida() || !IdentidadeDe(pasta.Get(), id)) {
    const DWORD codigo = pasta.Valida() ? ERROR_DIRECTORY : ::GetLastError();
    erro = Codigo(codigo);
    return codigo == ERROR_FILE_NOT_FOUND || codigo == ERROR_PATH_NOT_FOUND || codigo == ERROR_DIRECTORY
               ? Resultado::NaoExiste
               : Resultado::Falhou;
  }
  const std::string nome = NomeDaTrava(pasta.Get());
  if (nome.empty()) {
    erro = Codigo(::GetLastError());
    return Resultado::Falhou;
  }
  Alca mutex(::CreateMutexA(nullptr, FALSE, nome.c_str()));
  const DWORD codigo = ::GetLastError();
  if (!mutex.Valida()) {
    erro = Codigo(codigo);
    // A mutex of that name that this user may not open is another user's gateway on the folder.
    return codigo == ERROR_ACCESS_DENIED ? Resultado::Ocupado : Resultado::Falhou;
  }
  if (codigo == ERROR_ALREADY_EXISTS) {
    erro = Codigo(codigo);
    return Resultado::Ocupado;
  }
  estado_ = std::make_unique<Estado>(Estado{std::move(mutex), id});
  return Resultado::Travado;
}

bool TravaDiretorio::Vale(const char* diretorio) const {
  if (!estado_) return false;
  Alca pasta = AbrePasta(diretorio && *diretorio ? diretorio : ".");
  Identidade agora;
  return pasta.Valida() && IdentidadeDe(pasta.Get(), agora) && agora == estado_->pasta;
}

void TravaDiretorio::Libera() { estado_.reset(); }  // the last handle closed removes the mutex

}  // namespace plataforma
