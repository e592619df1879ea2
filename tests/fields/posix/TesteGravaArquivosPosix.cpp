// What only Linux can show of the status and response files: a link or a FIFO planted at the .tmp
// name is never written through nor waited for.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "fields/ArquivoCampos.h"

// The file the link points at stays intact, nothing waits for the FIFO, and the status is published
// all the same.
TEST(GravaArquivosPosix, TmpPlantadoNaoESeguido) {
  DiretorioTemporario dir, fora;
  CapturaLog log;
  const std::string saida = dir.Caminho() + "/";
  fora.Escreve("LT071226.txt", "log do dia");
  std::filesystem::create_symlink(fora / "LT071226.txt", dir / "00000007.tmp");
  ASSERT_EQ(mkfifo((dir / "00000008.tmp").c_str(), 0666), 0);
  for (const int id : {7, 8}) {
    TG t;
    t.identificador = id;
    EXPECT_TRUE(GravaStatus(t, saida, 8));
    EXPECT_EQ(CapturaLog::Conta("*** Arquivo " + saida + "0000000" + std::to_string(id) +
                                ".tmp recusado: nao e um arquivo comum"), 1);
  }
  EXPECT_EQ(dir.Nomes(), (std::vector<std::string>{"00000007.sta", "00000008.sta"}));
  EXPECT_EQ(dir.Le("00000007.sta"), "000-000 = ATV\r\n001-000 = 00000007\r\n999-999 = \r\n");
  EXPECT_EQ(fora.Le("LT071226.txt"), "log do dia");
}
