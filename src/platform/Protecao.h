// Keeping card data from other users: the process shut to dumps and to other processes, memory
// wiped once a transaction is done with it, and what others may do with a file.
#pragma once

#include <cstddef>
#include <string>

namespace plataforma {

// Protects the process for the rest of its run: no core dump is written of it and no other process
// of its user may read its memory (depuravel keeps both allowed, for a developer's debugger and
// measuring tools), and the files and folders it creates from now on give no access to others and
// no write access to its group. False, with the system's code in erro, when a part could not be set.
// What Windows offers is less: Windows Error Reporting is not invoked for a fault of the process
// (no report, and no dump of it under the machine's LocalDumps setting; a fail-fast, which the
// system reports whatever the process asked, is the exception), and no error dialog waits at the
// till. Windows has no way to
// keep the process's own user, or an administrator, from reading its memory or dumping it with a
// tool (a debugger, Task Manager's "Create dump file"); the service runs as LocalSystem, which
// only administrators may touch. There is no umask: files take their folder's access list.
bool ProtegeProcesso(bool depuravel, int& erro);

// Overwrites tamanho bytes with zeros; never dropped by the compiler as a store nobody reads.
void ApagaMemoria(void* dados, std::size_t tamanho) noexcept;

// Wipes a text's whole storage, its spare capacity included, before it is freed or reused; the text
// is left empty.
inline void ApagaTexto(std::string& texto) noexcept {
  // Growing within the capacity never allocates, and makes every byte of the storage the text's own.
  texto.resize(texto.capacity());
  ApagaMemoria(texto.data(), texto.size());
  texto.clear();
}

// Wipes a block when the scope that holds it ends, on every path.
class ApagaAoSair {
 public:
  ApagaAoSair(void* dados, std::size_t tamanho) noexcept : dados_(dados), tamanho_(tamanho) {}
  ~ApagaAoSair() { ApagaMemoria(dados_, tamanho_); }
  ApagaAoSair(const ApagaAoSair&) = delete;
  ApagaAoSair& operator=(const ApagaAoSair&) = delete;

 private:
  void* dados_;
  std::size_t tamanho_;
};

// What users other than a file's owner and its group may do with it, by its permissions; on
// Windows, what its access list lets the groups of every user (Everyone, Authenticated Users,
// Users) do, their entries taken in order.
struct AcessoDeOutros {
  bool leitura = false;
  bool escrita = false;
};
// The access of others to a file or folder (a link is followed); false when it cannot be examined.
bool ConsultaAcessoDeOutros(const char* caminho, AcessoDeOutros& acesso);

}  // namespace plataforma
