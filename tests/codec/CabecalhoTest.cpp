// The request header: fixed bytes, code, byte 3 per type, length, and the shared sequence number.
#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "ApoioCodec.h"
#include "codec/MontaCabecalho.h"

namespace {

TG TransacaoDeCodigo(int codigo) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {11, 0, std::to_string(codigo)}});
  return t;
}

TEST(Cabecalho, BytesDeCadaTipo) {
  struct Caso {
    int codigo;
    int tamanho;
    const char* esperado;
  } casos[] = {
      {31, 78, "0a 01 1f 44 SS 4e 00 00"},
      {14, 45, "03 01 0e 44 SS 2d 00 00"},
      {20, 92, "03 01 14 ff SS 5c 00 00"},
      {109, 300, "0a 01 6d 44 SS 2c 01 00"},  // 300 = 0x012c, low byte first
      {270, 45, "03 01 0e 44 SS 2d 00 00"},   // 270 selects code 14 and the header carries its low byte
  };
  for (const Caso& c : casos) {
    TG t = TransacaoDeCodigo(c.codigo);
    ASSERT_NE(t.tipo, -1) << c.codigo;
    std::uint8_t cabecalho[8];
    const std::uint8_t sequencia = numeroSequencia.load();
    MontaCabecalho(t, cabecalho, c.tamanho);
    EXPECT_EQ(Hex(cabecalho, 8), Hex(BytesDeHex(c.esperado, sequencia))) << c.codigo;
  }
}

TEST(Cabecalho, SequenciaAvancaUmPorMensagemEVoltaAZero) {
  TG t = TransacaoDeCodigo(31);
  numeroSequencia.store(254);
  std::uint8_t a[8], b[8], c[8];
  MontaCabecalho(t, a, 1);
  MontaCabecalho(t, b, 1);
  MontaCabecalho(t, c, 1);
  EXPECT_EQ(a[4], 254);
  EXPECT_EQ(b[4], 255);
  EXPECT_EQ(c[4], 0);
  EXPECT_EQ(numeroSequencia.load(), 1);
}

TEST(Cabecalho, MensagensSimultaneasNuncaRepetemONumero) {
  // 4 threads x 64 headers = 256 successive messages: every value exactly once.
  numeroSequencia.store(0);
  std::array<std::array<std::uint8_t, 64>, 4> vistos{};
  std::vector<std::thread> threads;
  for (int k = 0; k < 4; ++k)
    threads.emplace_back([&vistos, k] {
      TG t = TransacaoDeCodigo(31);
      std::uint8_t cab[8];
      for (int i = 0; i < 64; ++i) {
        MontaCabecalho(t, cab, 1);
        vistos[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] = cab[4];
      }
    });
  for (auto& th : threads) th.join();
  std::array<int, 256> contagem{};
  for (const auto& linha : vistos)
    for (std::uint8_t v : linha) ++contagem[v];
  for (int v = 0; v < 256; ++v) EXPECT_EQ(contagem[static_cast<std::size_t>(v)], 1) << v;
}

TEST(Cabecalho, Byte3EmNotacaoDeFonte) {
  EXPECT_EQ(ValorCabecalhoByte3("68"), 68);
  EXPECT_EQ(ValorCabecalhoByte3("0xff"), 255);
  EXPECT_EQ(ValorCabecalhoByte3("0177"), 127);
  EXPECT_EQ(ValorCabecalhoByte3("0x1FF"), 255);
  EXPECT_EQ(ValorCabecalhoByte3(""), 0);
  EXPECT_EQ(ValorCabecalhoByte3(nullptr), 0);
}

}  // namespace
