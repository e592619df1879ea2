// The field encoders: every type's bytes for typical, short, long and odd values.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "catalogo/Catalogo.h"
#include "codec/Codificadores.h"

namespace {

struct CasoCodificacao {
  const char* nome;
  int tipo;
  const char* valor;
  int tamanho;
  const char* esperado;  // hex of the bytes the field takes (tamanho + 1 for the prefixed BCD)
};

void PrintTo(const CasoCodificacao& c, std::ostream* os) { *os << c.nome; }

class Codificacao : public ::testing::TestWithParam<CasoCodificacao> {};

TEST_P(Codificacao, EscreveOsBytesDoCampoENadaAlem) {
  const CasoCodificacao& caso = GetParam();
  const std::vector<std::uint8_t> esperado = BytesDeHex(caso.esperado);
  // Guard bytes on both sides show any write outside the field.
  std::vector<std::uint8_t> area(esperado.size() + 8, 0xEE);
  CodificaValor(area.data() + 4, caso.valor, caso.tamanho, caso.tipo);
  std::vector<std::uint8_t> campo(area.begin() + 4, area.end() - 4);
  EXPECT_EQ(Hex(campo), Hex(esperado)) << caso.nome;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(area[static_cast<std::size_t>(i)], 0xEE) << caso.nome;
    EXPECT_EQ(area[area.size() - 1 - static_cast<std::size_t>(i)], 0xEE) << caso.nome;
  }
}

const CasoCodificacao casos[] = {
    // Numeric: right-aligned, "0" on the left, a longer value keeps its last characters.
    {"numerico 7 em 6", TIPO_NUMERICO, "7", 6, "30 30 30 30 30 37"},
    {"numerico 1234567 em 6", TIPO_NUMERICO, "1234567", 6, "32 33 34 35 36 37"},
    {"numerico vazio", TIPO_NUMERICO, "", 3, "30 30 30"},
    {"numerico copia qualquer caractere", TIPO_NUMERICO, "A b", 4, "30 41 20 62"},
    // BCD: right-aligned nibbles, longer values keep their last digits.
    {"bcd 12345 em 3", TIPO_BCD, "12345", 3, "01 23 45"},
    {"bcd 7 em 2", TIPO_BCD, "7", 2, "00 07"},
    {"bcd longo guarda os ultimos", TIPO_BCD, "9876543210", 2, "32 10"},
    {"bcd vazio", TIPO_BCD, "", 2, "00 00"},
    {"bcd zeros alem do campo", TIPO_BCD, "00000000001500", 6, "00 00 00 00 15 00"},
    {"bcd nao digito pelos 4 bits baixos", TIPO_BCD, "?A", 1, "f1"},
    // Hex: packed from the left, missing digits zero, surplus ignored, odd characters 0.
    {"hexa 0171 em 2", TIPO_HEXA, "0171", 2, "01 71"},
    {"hexa ABC em 2", TIPO_HEXA, "ABC", 2, "ab c0"},
    {"hexa minusculas", TIPO_HEXA, "a1b2c3d4", 4, "a1 b2 c3 d4"},
    {"hexa excedente ignorado", TIPO_HEXA, "123456", 2, "12 34"},
    {"hexa caractere invalido vale 0", TIPO_HEXA, "G1Z9", 2, "01 09"},
    // Binary: decimal value modulo 256.
    {"binario 300", TIPO_BINARIO, "300", 1, "2c"},
    {"binario 20", TIPO_BINARIO, "20", 1, "14"},
    {"binario brancos e sinal", TIPO_BINARIO, "  +7", 1, "07"},
    {"binario negativo", TIPO_BINARIO, "-1", 1, "ff"},
    {"binario sem digitos", TIPO_BINARIO, "abc", 1, "00"},
    {"binario digitos depois do numero param", TIPO_BINARIO, "12x9", 1, "0c"},
    {"binario enorme guarda o byte baixo", TIPO_BINARIO, "100000000000000000000257", 1, "01"},
    // Character: the first character, 0 when empty.
    {"caracter", TIPO_CARACTER, "MX", 1, "4d"},
    {"caracter vazio", TIPO_CARACTER, "", 1, "00"},
    // Prefixed BCD: raw first character, then the rest as BCD over tamanho bytes.
    {"prefixo bcd", TIPO_PREFIXO_BCD, "A1234567", 7, "41 00 00 00 01 23 45 67"},
    {"prefixo bcd vazio", TIPO_PREFIXO_BCD, "", 3, "00 00 00 00"},
    {"prefixo bcd so o prefixo", TIPO_PREFIXO_BCD, "Z", 2, "5a 00 00"},
    // Texts: left-aligned, filled with spaces or NULs, cut to the field.
    {"texto AB em 4", TIPO_TEXTO, "AB", 4, "41 42 20 20"},
    {"texto nul AB em 4", TIPO_TEXTO_NUL, "AB", 4, "41 42 00 00"},
    {"texto longo cortado", TIPO_TEXTO, "ABCDEF", 4, "41 42 43 44"},
    {"texto nul longo cortado", TIPO_TEXTO_NUL, "ABCDEF", 4, "41 42 43 44"},
    {"texto vazio", TIPO_TEXTO, "", 2, "20 20"},
};

INSTANTIATE_TEST_SUITE_P(Tipos, Codificacao, ::testing::ValuesIn(casos));

TEST(Codificacao, TiposSemCodificacaoNaoEscrevemNada) {
  for (int tipo : std::initializer_list<int>{TIPO_NENHUM, 6, 7, TIPO_CHEQUE, 12, 99, -1}) {
    std::uint8_t area[8];
    std::memset(area, 0xEE, sizeof area);
    CodificaValor(area, "123", 4, tipo);
    for (std::uint8_t b : area) EXPECT_EQ(b, 0xEE) << "tipo " << tipo;
  }
}

TEST(Codificacao, ValorHexaDeCadaCaractere) {
  const std::string digitos = "0123456789ABCDEFabcdef";
  const int valores[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 10, 11, 12, 13, 14, 15};
  for (std::size_t i = 0; i < digitos.size(); ++i) EXPECT_EQ(ValorHexa(digitos[i]), valores[i]) << digitos[i];
  for (char c : {'G', 'g', ' ', '\0', '/', ':', '@', '`'}) EXPECT_EQ(ValorHexa(c), 0) << int(c);
}

}  // namespace
