// The pieces of the establishment check value: CRC, EBCDIC key table, DES, and whole vectors.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <ostream>
#include <cstring>
#include <string>
#include <vector>

#include "hostlink/Crc16.h"
#include "hostlink/Des.h"
#include "hostlink/Ebcdic.h"
#include "hostlink/Estabelecimento.h"

namespace {

std::vector<std::uint8_t> LeVetor(const std::string& nome) {
  std::string caminho = std::string(ZELP_DIR_DADOS_TESTE) + "/hostlink/" + nome;
  std::vector<std::uint8_t> v(512);
  std::FILE* f = std::fopen(caminho.c_str(), "rb");
  if (f == nullptr) {
    ADD_FAILURE() << "missing " << caminho;
    return {};
  }
  v.resize(std::fread(v.data(), 1, v.size(), f));
  std::fclose(f);
  return v;
}

std::vector<std::uint8_t> Hex(const char* texto) {
  std::vector<std::uint8_t> v;
  for (std::size_t i = 0; texto[i] && texto[i + 1]; i += 2) {
    unsigned b = 0;
    std::sscanf(texto + i, "%2x", &b);
    v.push_back(static_cast<std::uint8_t>(b));
  }
  return v;
}

std::string Verificador(const std::vector<std::uint8_t>& imagem) {
  char v[5] = {'x', 'x', 'x', 'x', 'x'};
  CalculaVerificador(imagem.data(), v);
  EXPECT_EQ(v[4], '\0');
  return std::string(v, 4);
}

}  // namespace

TEST(Crc16Xmodem, CheckValueOfTheNineDigits) {
  const char* texto = "123456789";
  EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(texto), 9), 0x31C3);
  EXPECT_EQ(Crc16Xmodem(nullptr, 0), 0);
  const std::uint8_t um[] = {0x01};
  EXPECT_EQ(Crc16Xmodem(um, 1), 0x1021);  // the polynomial itself
}

TEST(Ebcdic, TellingEntriesAndTheHighHalf) {
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ConverteEbcdic(static_cast<std::uint8_t>('0' + i)), 0xF0 + i);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ConverteEbcdic(static_cast<std::uint8_t>('A' + i)), 0xC1 + i);
  EXPECT_EQ(ConverteEbcdic('a'), 0x81);
  EXPECT_EQ(ConverteEbcdic(' '), 0x40);
  EXPECT_EQ(ConverteEbcdic('['), 0x4A);
  EXPECT_EQ(ConverteEbcdic(']'), 0x5A);
  EXPECT_EQ(ConverteEbcdic('!'), 0x4F);
  // A byte of 128 or more converts like byte - 128.
  for (int c = 128; c < 256; ++c) {
    EXPECT_EQ(ConverteEbcdic(static_cast<std::uint8_t>(c)), ConverteEbcdic(static_cast<std::uint8_t>(c - 128)));
  }
  EXPECT_EQ(ConverteEbcdic(0xFC), 0x6A);
}

TEST(Des, PublishedVectors) {
  struct Caso {
    const char* chave;
    const char* claro;
    const char* cifrado;
  } casos[] = {
      {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},  // "Now is t"
      {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
      {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},  // variable plaintext, weak key
      {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
      {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},  // variable key
      {"0000000000000000", "0000000000000000", "8CA64DE9C1B123A7"},  // parity bits ignored
  };
  for (const auto& c : casos) {
    auto chave = Hex(c.chave), claro = Hex(c.claro), esperado = Hex(c.cifrado);
    std::uint8_t saida[8];
    CifraBlocoDes(chave.data(), claro.data(), saida);
    EXPECT_EQ(std::vector<std::uint8_t>(saida, saida + 8), esperado) << c.chave << " " << c.claro;
  }
}

// The vectors with every intermediate value (tests/dados/hostlink/README.md).
struct VetorEstab {
  const char* arquivo;
  std::uint16_t crc;
  const char* empacotado;
  const char* chave;
  const char* saidaDes;
  const char* verificador;
};

void PrintTo(const VetorEstab& v, std::ostream* os) { *os << v.arquivo; }

std::string NomeVetor(const ::testing::TestParamInfo<VetorEstab>& info) {
  std::string nome = info.param.arquivo;
  for (char& c : nome) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return nome;
}

class VetoresEstabelecimento : public ::testing::TestWithParam<VetorEstab> {};

TEST_P(VetoresEstabelecimento, EveryIntermediateValue) {
  const VetorEstab& v = GetParam();
  auto imagem = LeVetor(v.arquivo);
  ASSERT_EQ(imagem.size(), 206u);
  EXPECT_EQ(Crc16Xmodem(imagem.data(), 202), v.crc);
  auto chaveEsperada = Hex(v.chave);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ConverteEbcdic(imagem[90 + i]), chaveEsperada[i]) << i;
  std::uint8_t saida[8];
  CifraBlocoDes(chaveEsperada.data(), Hex(v.empacotado).data(), saida);
  EXPECT_EQ(std::vector<std::uint8_t>(saida, saida + 8), Hex(v.saidaDes));
  EXPECT_EQ(Verificador(imagem), v.verificador);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(imagem.data()) + 202, 4), v.verificador);
}

INSTANTIATE_TEST_SUITE_P(
    Vetores, VetoresEstabelecimento,
    ::testing::Values(
        VetorEstab{"estab-a.dat", 0x74A6, "0029862b541234d9", "e9c5d3d7d2c5e8f1", "0851b762ce1c82fc", "0851"},
        VetorEstab{"estab-b.dat", 0xD0DD, "005346b1203908f9", "c16ac24ac35ac44f", "a69383a2a5312bc3", ":693"},
        VetorEstab{"estab-c.dat", 0x6F40, "00284800000000c9", "c1c1f0f06a6a4081", "8cc6e9a04987922d", "8<<6"},
        // Worked out by hand: lower case and punctuation in the block, "|" and a high byte in the key.
        VetorEstab{"estab-d.dat", 0xFF88, "00654167fa6930c9", "926ae8c140a9f94f", "017d3e98e4da3bea", "017="},
        // A CRC of 65535: the block starts "0065535".
        VetorEstab{"estab-crc-ffff.dat", 0xFFFF, "0065535b541234d9", "e9c5d3d7d2c5e8f1", "e80e42aaa64d5728",
                   ">80>"}),
    NomeVetor);

TEST(CalculaVerificador, OnlyBytesBeforeTheCheckValueCount) {
  auto imagem = LeVetor("estab-a.dat");
  ASSERT_EQ(imagem.size(), 206u);
  const std::string original = Verificador(imagem);
  for (int i = 202; i < 206; ++i) {
    auto copia = imagem;
    copia[i] ^= 0x5A;
    EXPECT_EQ(Verificador(copia), original) << i;
  }
  // The last block character meets the closing zero: packed byte 7 is (h(byte 160) << 4 | 201) mod 256,
  // so "0" and "A" there give different blocks and so different check values in general.
  auto copia = imagem;
  copia[160] = '0';
  auto outra = imagem;
  outra[160] = 'A';
  EXPECT_NE(Verificador(copia), Verificador(outra));
}

TEST(CalculaVerificador, AlwaysFourCharactersFromZeroToQuestionMark) {
  auto imagem = LeVetor("estab-b.dat");
  ASSERT_EQ(imagem.size(), 206u);
  for (int i = 0; i < 300; ++i) {
    imagem[static_cast<std::size_t>(i % 202)] = static_cast<std::uint8_t>(i * 37);
    std::string v = Verificador(imagem);
    for (char c : v) {
      EXPECT_GE(c, '0');
      EXPECT_LE(c, '?');
    }
  }
}
