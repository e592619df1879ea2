// What every fuzz exercise shares: the failed-property exception, a scratch directory and file
// helpers. The same exercises run inside the fuzzers and in the regression tests of tests/.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace fuzz {

// A property of the code under test did not hold; carries what and where.
struct FalhaFuzz {
  std::string texto;
};

[[noreturn, gnu::format(printf, 1, 2)]] inline void Falha(const char* formato, ...) {
  char texto[1024];
  va_list args;
  va_start(args, formato);
  std::vsnprintf(texto, sizeof texto, formato, args);
  va_end(args);
  throw FalhaFuzz{texto};
}

}  // namespace fuzz

// The message names the property; the file and line tell which exercise found it.
#define ZELP_VERIFICA(condicao, ...)                                   \
  do {                                                                 \
    if (!(condicao)) {                                                 \
      std::fprintf(stderr, "%s:%d: falhou: %s\n", __FILE__, __LINE__, #condicao); \
      ::fuzz::Falha(__VA_ARGS__);                                      \
    }                                                                  \
  } while (0)

namespace fuzz {

// A private directory, removed with its contents at the end. In memory when the system has a
// tmpfs at /dev/shm: the response writer flushes every file to disk, which would slow a fuzzer
// down to a few runs a second.
class DiretorioFuzz {
 public:
  DiretorioFuzz() {
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                       : std::filesystem::temp_directory_path();
    std::string modelo = (base / "zelp-fuzz-XXXXXX").string();
    std::vector<char> nome(modelo.begin(), modelo.end());
    nome.push_back('\0');
    if (::mkdtemp(nome.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    caminho_ = nome.data();
  }
  ~DiretorioFuzz() {
    std::error_code ec;
    std::filesystem::remove_all(caminho_, ec);
  }
  DiretorioFuzz(const DiretorioFuzz&) = delete;
  DiretorioFuzz& operator=(const DiretorioFuzz&) = delete;

  const std::string& Caminho() const { return caminho_; }
  std::string operator/(const std::string& nome) const { return caminho_ + "/" + nome; }

  // Removes whatever one input left behind, so that the next input starts from an empty directory.
  void Esvazia() const {
    std::error_code ec;
    for (const auto& entrada : std::filesystem::directory_iterator(caminho_, ec))
      std::filesystem::remove_all(entrada.path(), ec);
  }
  std::vector<std::string> Nomes() const {
    std::vector<std::string> nomes;
    std::error_code ec;
    for (const auto& entrada : std::filesystem::directory_iterator(caminho_, ec))
      nomes.push_back(entrada.path().filename().string());
    return nomes;
  }

 private:
  std::string caminho_;
};

// One directory for the whole process: a fuzzer runs millions of inputs through it.
inline DiretorioFuzz& DiretorioDoProcesso() {
  static DiretorioFuzz diretorio;
  return diretorio;
}

inline void EscreveArquivo(const std::string& caminho, const std::uint8_t* dados, std::size_t tamanho) {
  std::ofstream saida(caminho, std::ios::binary | std::ios::trunc);
  saida.write(reinterpret_cast<const char*>(dados), static_cast<std::streamsize>(tamanho));
  ZELP_VERIFICA(saida.good(), "nao foi possivel escrever %s", caminho.c_str());
}

inline bool LeArquivo(const std::string& caminho, std::string& conteudo) {
  std::ifstream entrada(caminho, std::ios::binary);
  if (!entrada) return false;
  conteudo.assign(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
  return true;
}

// The blanks of the C locale: a request value never holds one.
inline bool EhBrancoC(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace fuzz
