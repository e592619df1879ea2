// Files and directories, as the service needs them; the only place that calls the OS for files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plataforma {

// Names (without directory) of the regular files matching a mask "dir/*.ext": the extension is
// matched in any letter case, dot-files, directories and symbolic links are left out, and the order
// is the file system's. An unreadable or missing directory gives an empty list.
std::vector<std::string> ListaArquivos(const char* mascara);

enum class ResultadoApaga { Apagado, NaoExiste, Falhou };
ResultadoApaga Apaga(const char* caminho);

// Gives the owner write permission (the read-only attribute cleared); false when that failed.
bool TornaGravavel(const char* caminho);

// Renames, replacing an existing target atomically; false on failure.
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

// The system's text for an error code (errno value).
std::string TextoErro(int erro);

// Flushes a directory's entries to disk (after a rename in it); false on failure.
bool SincronizaDiretorio(const char* diretorio);

// Writes a whole block to a new or truncated file (mode 0644), looping on short writes, then flushes
// it to disk when duravel is set. False when any step failed; a partly written file may remain.
bool GravaArquivoInteiro(const char* caminho, const void* dados, std::size_t tamanho, bool duravel);

// Appends a block to a file, creating it (0644) when missing; false when it could not be opened
// (abriu = false) or not all bytes were written (abriu = true).
bool AcrescentaArquivo(const char* caminho, const void* dados, std::size_t tamanho, bool& abriu);

// Reads a whole file, at most limite bytes; false when it cannot be opened or read.
bool LeArquivoInteiro(const char* caminho, std::string& conteudo, std::size_t limite);

}  // namespace plataforma
