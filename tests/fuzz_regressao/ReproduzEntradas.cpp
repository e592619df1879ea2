// Replays the inputs the fuzzers found (tests/dados/fuzz/<target>/) and their seed corpora
// (fuzz/corpus/<target>/) through the same exercises the fuzzers run, in the normal test build.
#include <gtest/gtest.h>

#include <algorithm>
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

const fs::path& DirAchados() {
  static const fs::path d = fs::path(ZELP_DIR_DADOS_TESTE) / "fuzz";
  return d;
}
const fs::path& DirSementes() {
  static const fs::path d = fs::path(ZELP_DIR_DADOS_TESTE).parent_path().parent_path() / "fuzz" / "corpus";
  return d;
}

// The files are listed when the test runs, so an input added to a folder is replayed without a
// rebuild.
std::vector<fs::path> Arquivos(const fs::path& dir) {
  std::vector<fs::path> arquivos;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.is_regular_file()) arquivos.push_back(e.path());
  std::sort(arquivos.begin(), arquivos.end());
  return arquivos;
}

void PrintTo(const Alvo& a, std::ostream* os) { *os << a.nome; }

class ReproduzEntradas : public ::testing::TestWithParam<Alvo> {
 protected:
  // Runs every file of the folder through the target's exercise; returns how many there were.
  std::size_t Reproduz(const fs::path& dir) {
    const std::vector<fs::path> arquivos = Arquivos(dir);
    for (const fs::path& caminho : arquivos) {
      SCOPED_TRACE(caminho.string());
      std::string conteudo;
      if (!fuzz::LeArquivo(caminho.string(), conteudo)) {
        ADD_FAILURE() << "nao foi possivel ler " << caminho.string();
        continue;
      }
      try {
        GetParam().exercicio(reinterpret_cast<const std::uint8_t*>(conteudo.data()), conteudo.size());
      } catch (const fuzz::FalhaFuzz& falha) {
        ADD_FAILURE() << caminho.string() << ": " << falha.texto;
      }
    }
    return arquivos.size();
  }
};

// The inputs that once broke a property or crashed (a target may have none yet), then the seeds,
// which cover the ordinary paths: real request files, zelp.ini, responses, establishment files.
TEST_P(ReproduzEntradas, AchadosESementes) {
  Reproduz(DirAchados() / GetParam().nome);
  EXPECT_GE(Reproduz(DirSementes() / GetParam().nome), 3u) << "sementes de " << GetParam().nome;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, ReproduzEntradas, ::testing::ValuesIn(alvos),
                         [](const ::testing::TestParamInfo<Alvo>& info) { return std::string(info.param.nome); });

}  // namespace
