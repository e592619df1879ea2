// Helpers of the codec tests: field tables written as lists, expected frames read as hex.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fields/TG.h"

struct CampoTeste {
  int numero;
  int ocorrencia;
  std::string valor;
};

// A table as the request reader leaves it: fields in the given order, with the header, the
// identifier, the code (and its catalogue index) and the file index derived from them.
void PreencheTransacao(TG& transacao, const std::vector<CampoTeste>& campos, const std::string& estab1 = "",
                       const std::string& estab2 = "");

// Bytes from hex text: pairs of hex digits, blanks and line ends between them ignored, "#" starts
// a comment up to the line end. "SS" stands for `sequencia`.
std::vector<std::uint8_t> BytesDeHex(const std::string& texto, std::uint8_t sequencia = 0);
// Reads a file of tests/dados/codec in the same notation.
std::vector<std::uint8_t> VetorDeArquivo(const std::string& nome, std::uint8_t sequencia);

// Spaced lowercase hex of bytes, for readable failure messages.
std::string Hex(const std::uint8_t* dados, std::size_t n);
inline std::string Hex(const std::vector<std::uint8_t>& v) { return Hex(v.data(), v.size()); }

// The table's fields as "NNN-OOO=value" lines, in table order.
std::vector<std::string> Linhas(const TG& transacao);

// The text a field holds, or "<absent>".
std::string Valor(const TG& transacao, int numero, int ocorrencia);
