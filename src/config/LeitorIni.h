// The reader of the configuration file: sections of keys, looked up the way Windows profile
// functions look them up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "comum/Limites.h"

// Rules (those of the profile functions the service was first written against):
// - lines end with LF or CR LF; blank lines, lines whose first non-blank character is ';' and lines
//   without '=' are ignored, as are keys before the first section;
// - "[name]" opens a section ("[name" without its bracket opens none: the keys under it are
//   ignored); names of sections and keys are compared without regard to case;
// - the first section of a name wins (a later one of the same name is ignored entirely), and within
//   it the first key of a name wins;
// - a key's value is everything after the first '=', blanks cut at both ends, then one pair of
//   double or single quotes that encloses the whole of it removed (url="10.0.0.5" is 10.0.0.5; what
//   lies inside the quotes is kept as it is); nothing else (no inline comments) is interpreted;
// - a text value keeps at most 259 characters, as if read into a buffer of 260;
// - an integer is an optional sign and the decimal digits that follow it, anything after them
//   ignored; no digits gives 0; a missing key or an empty value gives the default; values beyond
//   the 32-bit range are held at its ends rather than wrapping.
class LeitorIni {
 public:
  // Larger files are read only up to this size: a configuration file is a few hundred bytes.
  static constexpr std::size_t TAM_MAX_ARQUIVO = 1024 * 1024;
  static constexpr std::size_t TAM_MAX_VALOR = TAM_MAX_CAMINHO;

  // Reads and parses a file; false (and no keys: every lookup gives its default) when it cannot
  // be read.
  bool Carrega(const char* caminho);
  void Interpreta(std::string_view conteudo);
  // True when the text held no section at all (an empty file, or one just truncated).
  bool SemSecoes() const { return secoes_.empty(); }

  std::string LeTexto(const char* secao, const char* chave, const char* padrao) const;
  std::int32_t LeInteiro(const char* secao, const char* chave, std::int32_t padrao) const;

  // The integer rule on its own, for a value already read.
  static std::int32_t ConverteInteiro(std::string_view texto);

  // Every key line of the text, in order, for the configuration check: its section and key as
  // written, its line number, and why the lookups never see it (null when they do).
  struct LinhaChave {
    std::string secao;
    std::string chave;
    int linha;
    const char* ignorada;
  };
  const std::vector<LinhaChave>& LinhasChave() const { return linhas_; }

 private:
  struct Secao {
    std::string nome;
    std::vector<std::pair<std::string, std::string>> chaves;
  };
  const std::string* Procura(const char* secao, const char* chave) const;

  std::vector<Secao> secoes_;
  std::vector<LinhaChave> linhas_;
};
