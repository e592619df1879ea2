// What only Linux can show of the file calls: symbolic links are never listed.
#include <gtest/gtest.h>
#include <unistd.h>

#include "apoio/DiretorioTemporario.h"
#include "platform/Arquivos.h"

TEST(ListaArquivos, LeavesSymbolicLinksOut) {
  DiretorioTemporario d;
  d.Escreve("00000001.ENV", "x");
  ASSERT_EQ(0, symlink((d / "00000001.ENV").c_str(), (d / "00000008.ENV").c_str()));
  EXPECT_EQ((std::vector<std::string>{"00000001.ENV"}), plataforma::ListaArquivos((d.Caminho() + "/*.ENV").c_str()));
}
