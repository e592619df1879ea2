// The establishment file's check value: CRC-16, EBCDIC key and one DES block per transaction.
#include <benchmark/benchmark.h>

#include <cstring>

#include "hostlink/Estabelecimento.h"

namespace {

void BM_CalculaVerificador(benchmark::State& state) {
  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  // Printable contents as zelp-estab writes them: key, block of hex digits, code and terminal.
  for (int i = 0; i < TAM_ESTABELECIMENTO; ++i) imagem[i] = static_cast<std::uint8_t>('0' + i % 10);
  std::memcpy(imagem + 90, "CHAVE001", 8);
  std::memcpy(imagem + 153, "0A1B2C3D", 8);
  char verificador[5] = {};
  for (auto _ : state) {
    CalculaVerificador(imagem, verificador);
    benchmark::DoNotOptimize(verificador);
  }
}
BENCHMARK(BM_CalculaVerificador);

}  // namespace

BENCHMARK_MAIN();
