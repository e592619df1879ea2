// Files and directories on Windows, in the system's own calls: FindFirstFileA, MoveFileExA,
// DeleteFileA, GetFileTime, FlushFileBuffers, and a named mutex for the lock of a folder.
#include "platform/Arquivos.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/windows/ArquivoComum.h"
#include "platform/windows/SistemaWindows.h"

namespace plataforma {

using windows::Alca;
using windows::AlcaBusca;
using windows::Codigo;
using windows::EscreveTudo;

namespace {

bool TerminaComSemCaixa(const char* nome, const std::string& sufixo) {
  const std::size_t n = std::strlen(nome);
  if (n < sufixo.size()) return false;
  for (std::size_t i = 0; i < sufixo.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(nome[n - sufixo.size() + i]);
    unsigned char b = static_cast<unsigned char>(sufixo[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// Every open here lets other processes read, write, rename and delete the file meanwhile: the
// gateway must never be the reason a point of sale's own open or rename fails.
constexpr DWORD PARTILHA_TOTAL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool NaoExisteErro(DWORD erro) { return erro == ERROR_FILE_NOT_FOUND || erro == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::vector<std::string> ListaArquivos(const char* mascara) {
  std::vector<std::string> nomes;
  const std::string m(mascara ? mascara : "");
  const auto barra = m.find_last_of("/\\");
  const std::string padrao = barra == std::string::npos ? m : m.substr(barra + 1);
  // Masks are "*" followed by a suffix such as ".ENV"; a bare "*" takes every name.
  if (padrao.empty() || padrao[0] != '*') return nomes;
  const std::string sufixo = padrao.substr(1);

  WIN32_FIND_DATAA achado;
  AlcaBusca busca(::FindFirstFileA(m.c_str(), &achado));
  if (!busca.Valida()) return nomes;
  // The system matches the mask against short 8.3 names too ("x.envx" is "X~1.ENV"): the
  // extension is checked again on the long name.
  constexpr DWORD FORA = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  do {
    if (achado.dwFileAttributes & FORA) continue;
    if (achado.cFileName[0] == '.' || achado.cFileName[0] == '\0') continue;
    if (!TerminaComSemCaixa(achado.cFileName, sufixo)) continue;
    nomes.emplace_back(achado.cFileName);
  } while (::FindNextFileA(busca.Get(), &achado));
  return nomes;
}

ResultadoApaga Apaga(const char* caminho) {
  if (::DeleteFileA(caminho)) return ResultadoApaga::Apagado;
  if (NaoExisteErro(::GetLastError())) return ResultadoApaga::NaoExiste;
  // A read-only file is refused: its attribute is cleared and the delete tried once more. A link's
  // own attributes are left alone, so nothing it points to is ever changed.
  const DWORD atributos = ::GetFileAttributesA(caminho);
  if (atributos == INVALID_FILE_ATTRIBUTES) {
    return NaoExisteErro(::GetLastError()) ? ResultadoApaga::NaoExiste : ResultadoApaga::Falhou;
  }
  if (atributos & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) return ResultadoApaga::Falhou;
  const DWORD semLeitura = atributos & ~FILE_ATTRIBUTE_READONLY;
  if (!::SetFileAttributesA(caminho, semLeitura != 0 ? semLeitura : FILE_ATTRIBUTE_NORMAL)) {
    return NaoExisteErro(::GetLastError()) ? ResultadoApaga::NaoExiste : ResultadoApaga::Falhou;
  }
  if (::DeleteFileA(caminho)) return ResultadoApaga::Apagado;
  return NaoExisteErro(::GetLastError()) ? ResultadoApaga::NaoExiste : ResultadoApaga::Falhou;
}

bool Renomeia(const char* de, const char* para) {
  return ::MoveFileExA(de, para, MOVEFILE_REPLACE_EXISTING) != 0;
}

bool HoraEscrita(const char* caminho, HoraArquivo& hora) {
  // Opened for reading, as at a load: a file that cannot be read has no time to go by.
  Alca arquivo(::CreateFileA(caminho, GENERIC_READ, PARTILHA_TOTAL, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!arquivo.Valida()) return false;
  FILETIME escrita;
  if (!::GetFileTime(arquivo.Get(), nullptr, nullptr, &escrita)) return false;
  hora.baixa = escrita.dwLowDateTime;
  hora.alta = escrita.dwHighDateTime;
  return true;
}

bool ExisteDiretorio(const char* caminho) {
  const DWORD atributos = ::GetFileAttributesA(caminho);
  return atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY);
}

bool DiretorioGravavel(const char* caminho) {
  if (!ExisteDiretorio(caminho)) return false;
  // The system checks the folder's access list at the open: the rights the service needs in it.
  constexpr DWORD DIREITOS = FILE_ADD_FILE | FILE_DELETE_CHILD | FILE_LIST_DIRECTORY | FILE_TRAVERSE;
  Alca pasta(::CreateFileA(caminho, DIREITOS, PARTILHA_TOTAL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                           nullptr));
  return pasta.Valida();
}

std::string DiretorioAtual() {
  char buffer[MAX_PATH * 4];
  const DWORD n = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  if (n == 0 || n >= sizeof buffer) return std::string();
  return std::string(buffer, n);
}

bool MudaDiretorio(const char* caminho, int& erro) {
  erro = 0;
  if (::SetCurrentDirectoryA(caminho)) return true;
  erro = Codigo(::GetLastError());
  return false;
}

// NTFS journals the rename itself; Windows has no call that flushes a folder's entries.
bool SincronizaDiretorio(const char*) { return true; }

// Leitores has no say here: a new file takes its folder's access list, which the installer and the
// operator set for the folder as a whole.
bool GravaArquivoInteiro(const char* caminho, const void* dados, std::size_t tamanho, bool duravel, int* erro,
                         Leitores) {
  auto falha = [erro](DWORD codigo) {
    if (erro != nullptr) *erro = Codigo(codigo);
    return false;
  };
  // Opened without following a reparse point planted under the name, and without truncating: a
  // link, a folder or a device is refused before anything is written, and only then is the file emptied.
  Alca arquivo(::CreateFileA(caminho, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!arquivo.Valida()) return falha(::GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  if (!windows::ArquivoComum(arquivo.Get(), info)) return falha(ERROR_CANT_ACCESS_FILE);
  if (!::SetEndOfFile(arquivo.Get())) return falha(::GetLastError());
  if (!EscreveTudo(arquivo.Get(), dados, tamanho)) return falha(::GetLastError());
  if (duravel && !::FlushFileBuffers(arquivo.Get())) return falha(::GetLastError());
  arquivo.Fecha();
  if (erro != nullptr) *erro = 0;
  return true;
}

std::string TextoErro(int erro) {
  char* texto = nullptr;
  const DWORD n = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(erro), 0, reinterpret_cast<char*>(&texto), 0, nullptr);
  std::string resultado;
  if (n > 0 && texto != nullptr) resultado.assign(texto, n);
  if (texto != nullptr) ::LocalFree(texto);
  // The system's texts end in a full stop and a line break, which a log line does not want.
  while (!resultado.empty() && (resultado.back() == '\n' || resultado.back() == '\r' || resultado.back() == ' ' ||
                                resultado.back() == '.')) {
    resultado.pop_back();
  }
  if (resultado.empty()) {
    char numero[32];
    std::snprintf(numero, sizeof numero, "error %d", erro);
    resultado = numero;
  }
  return resultado;
}

bool AcrescentaArquivo(const char* caminho, const void* dados, std::size_t tamanho, bool& abriu) {
  // Append access alone: every write lands at the end, also when other processes append meanwhile.
  // A reparse point under the name is opened as itself, and refused with anything else that is not
  // an ordinary file (a folder cannot be opened so at all).
  Alca arquivo(::CreateFileA(caminho, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, PARTILHA_TOTAL, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  abriu = arquivo.Valida() && windows::ArquivoComum(arquivo.Get(), info);
  if (!abriu) return false;
  return EscreveTudo(arquivo.Get(), dados, tamanho);
}

bool LeArquivoInteiro(const char* caminho, std::string& conteudo, std::size_t limite) {
  conteudo.clear();
  Alca arquivo(::CreateFileA(caminho, GENERIC_READ, PARTILHA_TOTAL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
  if (!arquivo.Valida()) return false;
  char bloco[4096];
  while (conteudo.size() < limite) {
    const DWORD quer = static_cast<DWORD>(std::min(sizeof bloco, limite - conteudo.size()));
    DWORD lidos = 0;
    if (!::ReadFile(arquivo.Get(), bloco, quer, &lidos, nullptr)) return false;
    if (lidos == 0) break;
    conteudo.append(bloco, lidos);
  }
  return true;
}

SondaArquivo SondaEscrita(const char* caminho, std::size_t) {
  // A request its writer still holds fails to rename, which takes it the way of a blocked file: the
  // claim need not ask first. The file is opened letting everyone read, write and delete it, so that
  // the claim's own rename works while this handle is held, and a writer that holds it without
  // allowing its deletion still makes that rename fail. A reparse point is opened as itself.
  SondaArquivo s;
  s.escrita = EscritaArquivo::Livre;
  Alca arquivo(::CreateFileA(caminho, GENERIC_READ, PARTILHA_TOTAL, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!arquivo.Valida()) {
    const DWORD erro = ::GetLastError();
    const DWORD atributos = ::GetFileAttributesA(caminho);
    if (atributos == INVALID_FILE_ATTRIBUTES) return s;  // gone meanwhile
    if (atributos & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) {
      s.especial = true;  // a folder cannot be opened as a file: refused as such
      return s;
    }
    s.existe = true;
    if (erro == ERROR_SHARING_VIOLATION) {
      s.escrita = EscritaArquivo::EmEscrita;  // its writer lets nobody else open it
    } else if (erro == ERROR_ACCESS_DENIED) {
      s.erro = Codigo(erro);  // this service may not read it, and never will
    }
    // Anything else (no handle left, say) may pass: the file is tried again later.
    return s;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!windows::ArquivoComum(arquivo.Get(), info)) {
    s.especial = true;
    return s;
  }
  s.existe = true;
  s.tamanho = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  s.hora.baixa = info.ftLastWriteTime.dwLowDateTime;
  s.hora.alta = info.ftLastWriteTime.dwHighDateTime;
  s.arquivo = ArquivoAberto(reinterpret_cast<ArquivoAberto::Alca>(arquivo.Solta()));
  return s;
}

}  // namespace plataforma
