// Replays the inputs the fuzzers found (tests/dados/fuzz/<target>/) and their seed corpora
// (fuzz/corpus/<target>/) through the same exercises the fuzzers run, in the normal test build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "../../fuzz/exercicios/ExercitaEstabelecimento.h"
#include "../../fuzz/exercicios/ExercitaIni.h"
#include "../../fuzz/exercicios/ExercitaLePedido.h"
#include "../../fuzz/exercicios/ExercitaPedido.h"
#include "../../fuzz/exercicios/ExercitaResposta.h"

namespace {

namespace fs = std::filesystem;

using Exercicio = void (*)(const std::uint8_t*, std::size_t);

struct Alvo {
  const char* nome;
  Exercicio exercicio;
};

const Alvo alvos[] = {
    {"lepedido", &fuzz::ExercitaLePedido},
    {"ini", &fuzz::ExercitaIni},
    {"resposta", &fuzz::ExercitaResposta},
    {"pedido", &fuzz::ExercitaPedido},
    {"estabelecimento", &fuzz::ExercitaEstabelecimento},
};

struct Entrada {
  const Alvo* alvo;
  std::string origem;  // "achado" for a regression input, "semente" for a seed
  fs::path caminho;
};

const fs::path& DirAchados() {
  static const fs::path d = fs::path(ZELP_DIR_DADOS_TESTE) / "fuzz";
  return d;
}
const fs::path& DirSementes() {
  static const fs::path d = fs::path(ZELP_DIR_DADOS_TESTE).parent_path().parent_path() / "fuzz" / "corpus";
  return d;
}

void PrintTo(const Entrada& e, std::ostream* os) { *os << e.alvo->nome << " " << e.caminho.string(); }

std::vector<Entrada> Entradas() {
  std::vector<Entrada> entradas;
  for (const Alvo& alvo : alvos) {
    for (const auto& [origem, base] : {std::pair{"achado", DirAchados()}, std::pair{"semente", DirSementes()}}) {
      std::vector<fs::path> arquivos;
      std::error_code ec;
      for (const auto& e : fs::directory_iterator(base / alvo.nome, ec))
        if (e.is_regular_file()) arquivos.push_back(e.path());
      std::sort(arquivos.begin(), arquivos.end());
      for (auto& a : arquivos) entradas.push_back({&alvo, origem, std::move(a)});
    }
  }
  return entradas;
}

std::string NomeDoCaso(const ::testing::TestParamInfo<Entrada>& info) {
  std::string nome = std::string(info.param.alvo->nome) + "_" + info.param.origem + "_" +
                     info.param.caminho.filename().string();
  for (char& c : nome)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return nome + "_" + std::to_string(info.index);
}

class ReproduzEntrada : public ::testing::TestWithParam<Entrada> {};

TEST_P(ReproduzEntrada, SemFalhaNemPropriedadeViolada) {
  const Entrada& e = GetParam();
  std::string conteudo;
  ASSERT_TRUE(fuzz::LeArquivo(e.caminho.string(), conteudo)) << e.caminho;
  try {
    e.alvo->exercicio(reinterpret_cast<const std::uint8_t*>(conteudo.data()), conteudo.size());
  } catch (const fuzz::FalhaFuzz& falha) {
    ADD_FAILURE() << e.caminho << ": " << falha.texto;
  }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, ReproduzEntrada, ::testing::ValuesIn(Entradas()), NomeDoCaso);

// Every target has its seeds where the fuzzers and this test expect them.
TEST(ReproduzEntrada, CadaAlvoTemSementes) {
  for (const Alvo& alvo : alvos) {
    std::size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(DirSementes() / alvo.nome, ec)) n += e.is_regular_file() ? 1 : 0;
    EXPECT_GE(n, 3u) << alvo.nome;
  }
}

}  // namespace
