// Files and folders held open on Windows: a request read through the handle it was judged by, and
// status and response files made afresh in an output folder that cannot be moved meanwhile.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "platform/Arquivos.h"
#include "platform/windows/ArquivoComum.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

using windows::Alca;
using windows::Codigo;

namespace {

HANDLE AlcaDe(std::intptr_t alca) { return reinterpret_cast<HANDLE>(alca); }

// Tries to make a new name this many times when another process keeps putting something there.
constexpr int TENTATIVAS_CRIACAO = 3;

// Removes whatever stands under caminho, never through it, and tells what it was. A symbolic link
// or a junction is removed itself (DeleteFileA, RemoveDirectoryA), whatever it points to; a folder
// only when empty; an ordinary file even when read-only.
Pasta::Anterior RemoveAnterior(const std::string& caminho) {
  const DWORD atributos = ::GetFileAttributesA(caminho.c_str());
  if (atributos == INVALID_FILE_ATTRIBUTES) return Pasta::Anterior::Nada;
  if (atributos & FILE_ATTRIBUTE_DIRECTORY) {
    ::RemoveDirectoryA(caminho.c_str());
  } else {
    Apaga(caminho.c_str());
  }
  constexpr DWORD OUTROS = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  return (atributos & OUTROS) == 0 ? Pasta::Anterior::Arquivo : Pasta::Anterior::Outro;
}

}  // namespace

std::FILE* ArquivoAberto::Entrega() {
  if (!Aberto()) return nullptr;
  const HANDLE h = AlcaDe(alca_);
  alca_ = SEM_ALCA;
  const LARGE_INTEGER inicio{};
  if (!::SetFilePointerEx(h, inicio, nullptr, FILE_BEGIN)) {
    ::CloseHandle(h);
    return nullptr;
  }
  // The C runtime's descriptor owns the handle from here, and its stream the descriptor.
  const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(h), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(h);
    return nullptr;
  }
  std::FILE* f = ::_fdopen(fd, "rb");
  if (f == nullptr) ::_close(fd);
  return f;
}

void ArquivoAberto::Fecha() {
  if (!Aberto()) return;
  ::CloseHandle(AlcaDe(alca_));
  alca_ = SEM_ALCA;
}

bool Pasta::Abre(const char* caminho, int& erro) {
  Fecha();
  erro = 0;
  const char* dir = caminho != nullptr && *caminho != '\0' ? caminho : ".";
  // Held without letting anyone delete or rename it: every name of one publication is in this very
  // folder, as on Linux by its descriptor. Listing access makes the share mode count. A folder this
  // user may write in but not list, or one that another process is renaming right now, is still
  // opened, without that hold: a publication is never lost for it.
  Alca pasta(::CreateFileA(dir, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!pasta.Valida() && (::GetLastError() == ERROR_ACCESS_DENIED || ::GetLastError() == ERROR_SHARING_VIOLATION)) {
    pasta = Alca(::CreateFileA(dir, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  }
  if (!pasta.Valida()) {
    // A folder that is not there is a path not found, whatever its last component.
    const DWORD codigo = ::GetLastError();
    erro = Codigo(codigo == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : codigo);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(pasta.Get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    erro = Codigo(ERROR_DIRECTORY);
    return false;
  }
  alca_ = reinterpret_cast<std::intptr_t>(pasta.Solta());
  caminho_ = dir;
  if (caminho_.back() != '\\' && caminho_.back() != '/') caminho_ += '\\';
  return true;
}

void Pasta::Fecha() {
  if (alca_ == -1) return;
  ::CloseHandle(AlcaDe(alca_));
  alca_ = -1;
  caminho_.clear();
}

bool Pasta::GravaNovo(const char* nome, const void* dados, std::size_t tamanho, bool duravel, int& erro,
                      Anterior& anterior) {
  erro = 0;
  anterior = Anterior::Nada;
  if (alca_ == -1) {
    erro = Codigo(ERROR_INVALID_HANDLE);
    return false;
  }
  const std::string caminho = caminho_ + nome;
  Alca arquivo;
  for (int i = 0; i < TENTATIVAS_CRIACAO && !arquivo.Valida(); ++i) {
    const Anterior achado = RemoveAnterior(caminho);
    if (anterior != Anterior::Outro) anterior = achado;
    // Only a name nothing stands under is made: whatever was put there since is not written through.
    arquivo = Alca(::CreateFileA(caminho.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (arquivo.Valida()) break;
    const DWORD codigo = ::GetLastError();
    erro = Codigo(codigo);
    if (codigo != ERROR_FILE_EXISTS && codigo != ERROR_ALREADY_EXISTS) return false;
  }
  if (!arquivo.Valida()) return false;
  bool ok = windows::EscreveTudo(arquivo.Get(), dados, tamanho);
  if (ok && duravel) ok = ::FlushFileBuffers(arquivo.Get()) != 0;
  erro = ok ? 0 : Codigo(::GetLastError());
  if (!::CloseHandle(arquivo.Solta()) && ok) {
    ok = false;
    erro = Codigo(::GetLastError());
  }
  return ok;
}

bool Pasta::Renomeia(const char* de, const char* para) {
  return alca_ != -1 &&
         ::MoveFileExA((caminho_ + de).c_str(), (caminho_ + para).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

ResultadoApaga Pasta::Apaga(const char* nome) {
  if (alca_ == -1) return ResultadoApaga::Falhou;
  return plataforma::Apaga((caminho_ + nome).c_str());
}

// NTFS journals the rename itself; Windows has no call that flushes a folder's entries.
bool Pasta::Sincroniza() { return alca_ != -1; }

}  // namespace plataforma
