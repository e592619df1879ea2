// What only Linux can show of the day's log file: a write refused by the file-size limit, and a link
// or a FIFO under the day's name.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "log/GravaLinha.h"
#include "log/GravaLog.h"

namespace {

class ArquivoLogPosix : public ::testing::Test {
 protected:
  void SetUp() override { zelp_log::DefineDirLog(dir.Caminho().c_str()); }
  void TearDown() override { zelp_log::DefineDirLog(""); }
  DiretorioTemporario dir;
  CapturaLog janela;
};

}  // namespace

TEST_F(ArquivoLogPosix, FalhaDeEscritaMostraOCaminhoInteiro) {
  // A file that may not grow past one byte (the process's size limit) refuses the write.
  dir.Escreve("LT071226.txt", "x");
  const auto sinal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit antes{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
  const rlimit limite{1, antes.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
  EXPECT_FALSE(zelp_log::GravaMensagem({2026, 12, 7, 8, 0, 0, 0}, "cheio"));
  setrlimit(RLIMIT_FSIZE, &antes);
  std::signal(SIGXFSZ, sinal);
  EXPECT_EQ(CapturaLog::Linhas(),
            (std::vector<std::string>{" cheio", "Erro ao escrever arquivo " + (dir / "LT071226.txt")}));
}

// A link or a FIFO under the day's name: nothing is written through it, nothing waits for a reader.
TEST_F(ArquivoLogPosix, LinkOuFifoNoLugarDoArquivoDoDia) {
  dir.Escreve("loja.dat", "chave");
  std::filesystem::create_symlink(dir / "loja.dat", dir / "LT071226.txt");
  ASSERT_EQ(mkfifo((dir / "LT081226.txt").c_str(), 0666), 0);
  for (int dia : {7, 8}) EXPECT_FALSE(zelp_log::GravaMensagem({2026, 12, dia, 8, 0, 0, 0}, "linha"));
  EXPECT_EQ(CapturaLog::Linhas().at(3), "Erro ao abrir arquivo LT081226.txt");
  EXPECT_EQ(dir.Le("loja.dat"), "chave");
}
