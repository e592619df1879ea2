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

// What users other than a file's owner and its group may do with it, by its permissions.
struct AcessoDeOutros {
  bool leitura = false;
  bool escrita = false;
};
// The access of others to a file or folder (a link is followed); false when it cannot be examined.
bool ConsultaAcessoDeOutros(const char* caminho, AcessoDeOutros& acesso);

}  // namespace plataforma
