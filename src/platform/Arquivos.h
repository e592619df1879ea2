// Files and directories, as the service needs them; the only place that calls the OS for files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace plataforma {

// Names (without directory) of the regular files matching a mask "dir/*.ext": the extension is
// matched in any letter case (and only the extension: not a Windows short name's), dot-files,
// hidden and system files, directories and symbolic links (reparse points) are left out, and the
// order is the file system's. An unreadable or missing directory gives an empty list.
std::vector<std::string> ListaArquivos(const char* mascara);

// Deletes a file; a file that Windows refuses to delete is made writable (its read-only attribute
// cleared) and deleted again. A link is deleted, never what it points to.
enum class ResultadoApaga { Apagado, NaoExiste, Falhou };
ResultadoApaga Apaga(const char* caminho);

// Renames, replacing an existing target atomically; false on failure. On Windows it fails while
// another process holds the source open without allowing its deletion (a sharing violation).
bool Renomeia(const char* de, const char* para);

// Last-write time as two 32-bit halves; false when the file cannot be read.
struct HoraArquivo {
  std::uint32_t baixa = 0;
  std::uint32_t alta = 0;
  bool operator==(const HoraArquivo&) const = default;
};
bool HoraEscrita(const char* caminho, HoraArquivo& hora);

// True when the path names an existing directory.
bool ExisteDiretorio(const char* caminho);

// What a process may do in a directory: create, rename and delete names in it (write and search
// permission for this process's user), and list it; false when it is missing or not a directory.
bool DiretorioGravavel(const char* caminho);

// The process's working directory, absolute; empty when it cannot be read.
std::string DiretorioAtual();
// Makes caminho the working directory; false with the system's error code.
bool MudaDiretorio(const char* caminho, int& erro);

// Flushes a directory's entries to disk (after a rename in it); false on failure. Windows flushes no
// folder (NTFS journals the rename itself): it answers true.
bool SincronizaDiretorio(const char* diretorio);

// Who may read a file that GravaArquivoInteiro creates, besides its owner. Linux only: on Windows a
// new file takes its folder's access list, and who reads it is set on the folder.
enum class Leitores {
  Todos,        // everyone, as far as the process's umask allows (0644 less the umask)
  Grupo,        // the file's group, as far as the umask allows (0640 less the umask)
  GrupoSempre,  // the file's group whatever the umask, and nobody else (0640 exactly)
};

// Writes a whole block to a new or truncated file, looping on short writes, then flushes it to disk
// when duravel is set. A symbolic link at caminho is not followed (on Windows, a reparse point):
// the write fails. False when any step failed, with the system's code in *erro when given; a partly
// written file may remain.
bool GravaArquivoInteiro(const char* caminho, const void* dados, std::size_t tamanho, bool duravel,
                         int* erro = nullptr, Leitores leitores = Leitores::Todos);

// The system's text for an error code of this platform's calls ("No space left on device"): errno
// values on Linux, GetLastError and Winsock codes on Windows.
std::string TextoErro(int erro);

// Appends a block to a file, creating it (0644) when missing; false when it could not be opened
// (abriu = false) or not all bytes were written (abriu = true). Only a regular file is written: a
// symbolic link, a FIFO or a device under that name is neither followed nor opened for writing, and
// counts as a file that could not be opened.
bool AcrescentaArquivo(const char* caminho, const void* dados, std::size_t tamanho, bool& abriu);

// Reads a whole file, at most limite bytes; false when it cannot be opened or read.
bool LeArquivoInteiro(const char* caminho, std::string& conteudo, std::size_t limite);

// An open file held by one owner, who reads it or hands it on: closed at destruction unless handed
// over. A request is read through the file opened when it was judged, never through its name again,
// which another user may have pointed elsewhere meanwhile.
class ArquivoAberto {
 public:
  // The system's handle: a file descriptor, or a Windows HANDLE's value.
  using Alca = std::intptr_t;
  static constexpr Alca SEM_ALCA = -1;

  ArquivoAberto() = default;
  // Takes over an open handle (the platform layer's own use).
  explicit ArquivoAberto(Alca alca) : alca_(alca) {}
  ~ArquivoAberto() { Fecha(); }
  ArquivoAberto(ArquivoAberto&& outro) noexcept : alca_(outro.alca_) { outro.alca_ = SEM_ALCA; }
  ArquivoAberto& operator=(ArquivoAberto&& outro) noexcept {
    if (this != &outro) {
      Fecha();
      alca_ = std::exchange(outro.alca_, SEM_ALCA);
    }
    return *this;
  }
  ArquivoAberto(const ArquivoAberto&) = delete;
  ArquivoAberto& operator=(const ArquivoAberto&) = delete;

  bool Aberto() const { return alca_ != SEM_ALCA; }
  // Hands the file over as a stream read from its start, in binary mode (no line ends translated, no
  // end-of-file character); the caller closes it with std::fclose. Null when none is held, or when no stream could be made (the file is closed).
  std::FILE* Entrega();
  void Fecha();

 private:
  Alca alca_ = SEM_ALCA;
};

// Whether some process holds a request file open for writing, as far as the kernel can tell: a read
// lease is refused while the file is open for writing anywhere. Windows needs no such question: its
// rename fails while the writer holds the file, so the answer there is Livre at once (EmEscrita only
// when the writer lets nobody else open it), and the file is held letting others read, write and
// delete it, so that the claim's own rename still works. Where it
// cannot be asked (a file of another user without the right to lease it, a file system without leases) the answer is
// Desconhecida, with the file's size, last-write time and first bytes for the caller to judge.
// The file is opened for reading without following a symbolic link and without waiting (a FIFO
// never blocks the probe; on Windows a reparse point is opened as itself); anything but a regular
// file (on Windows an ordinary file on a disk) is closed at once and marked especial. A
// regular file that could be opened and is not being written is kept open in arquivo, for the
// caller to read that very file whatever becomes of its name.
enum class EscritaArquivo { Livre, EmEscrita, Desconhecida };
struct SondaArquivo {
  EscritaArquivo escrita = EscritaArquivo::Desconhecida;
  bool existe = false;    // a regular file of that name was there
  bool especial = false;  // the name is a symbolic link, a FIFO, a device, a socket or a directory
  int erro = 0;           // a regular file this process has no right to open: the system's code
  std::uint64_t tamanho = 0;
  HoraArquivo hora;
  std::string conteudo;  // read only when escrita is Desconhecida: at most limite bytes
  ArquivoAberto arquivo;  // open when existe, and escrita is Livre or Desconhecida
};
SondaArquivo SondaEscrita(const char* caminho, std::size_t limite);

// A directory held open, in which files are made, renamed and removed by their names alone: every
// step of one publication happens in that one directory, and a name in it is never followed.
class Pasta {
 public:
  Pasta() = default;
  ~Pasta() { Fecha(); }
  Pasta(const Pasta&) = delete;
  Pasta& operator=(const Pasta&) = delete;

  // Opens the directory (an empty path is the working directory); false with the system's code.
  bool Abre(const char* caminho, int& erro);
  void Fecha();

  // What stood under a name that GravaNovo made anew.
  enum class Anterior { Nada, Arquivo, Outro };
  // Makes nome anew and writes the whole block into it: whatever stood under that name (a stale
  // file, a symbolic link, a FIFO) is removed first, never opened, and the file is then created
  // exclusively, so that nothing put there meanwhile is written through. Flushed to disk when
  // duravel. False with the system's code in erro; a partly written file may remain.
  bool GravaNovo(const char* nome, const void* dados, std::size_t tamanho, bool duravel, int& erro,
                 Anterior& anterior);
  // Renames de to para, replacing an existing para atomically; false on failure.
  bool Renomeia(const char* de, const char* para);
  ResultadoApaga Apaga(const char* nome);
  // Flushes the directory's entries to disk (after a rename in it); false on failure.
  bool Sincroniza();

 private:
  std::intptr_t alca_ = -1;  // the directory's own handle, where the system gives one
  std::string caminho_;      // the path it was opened by
};

// An exclusive lock on a directory, which adds no file to it: an advisory lock (flock) on the
// directory itself on Linux, a named mutex that bears the folder's full path on Windows. Held until
// Libera or destruction. Other processes, and other holders in this one, are refused it meanwhile.
class TravaDiretorio {
 public:
  enum class Resultado { Travado, Ocupado, NaoExiste, Falhou };
  TravaDiretorio();
  ~TravaDiretorio();
  TravaDiretorio(const TravaDiretorio&) = delete;
  TravaDiretorio& operator=(const TravaDiretorio&) = delete;

  // Releases any lock held, then tries this directory's at once, without waiting; on Falhou the
  // system's code is in erro. NaoExiste: no directory of that name.
  Resultado Trava(const char* diretorio, int& erro);
  // True while a lock is held and the path still names the directory it was taken on (not one
  // removed and made again under the same name).
  bool Vale(const char* diretorio) const;
  void Libera();
  bool Travado() const { return estado_ != nullptr; }

 private:
  struct Estado;  // what the platform holds for the lock
  std::unique_ptr<Estado> estado_;
};

}  // namespace plataforma
