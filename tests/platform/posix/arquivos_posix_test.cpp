// What only Linux can show of the file calls: symbolic links are never listed nor written through;
// the process protection.
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "apoio/DiretorioTemporario.h"
#include "platform/Arquivos.h"
#include "platform/Protecao.h"

TEST(ListaArquivos, LeavesSymbolicLinksOut) {
  DiretorioTemporario d;
  d.Escreve("00000001.ENV", "x");
  ASSERT_EQ(0, symlink((d / "00000001.ENV").c_str(), (d / "00000008.ENV").c_str()));
  EXPECT_EQ((std::vector<std::string>{"00000001.ENV"}), plataforma::ListaArquivos((d.Caminho() + "/*.ENV").c_str()));
}

TEST(GravaArquivoInteiro, NeverWritesThroughALink) {
  DiretorioTemporario d;
  d.Escreve("f", "ab");
  ASSERT_EQ(0, symlink((d / "f").c_str(), (d / "link").c_str()));
  EXPECT_FALSE(plataforma::GravaArquivoInteiro((d / "link").c_str(), "cd", 2, false));
  EXPECT_EQ("ab", d.Le("f"));
}

// In a child of its own: the protection lasts for the rest of the process.
TEST(ProtegeProcesso, NoDumpAndNewFilesKeptFromOthersUnlessDebuggable) {
  for (const bool depuravel : {false, true}) {
    EXPECT_EXIT(
        {
          int erro = 0;
          const bool ok = plataforma::ProtegeProcesso(depuravel, erro);
          _exit(ok && prctl(PR_GET_DUMPABLE) == (depuravel ? 1 : 0) && umask(0) == 027 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
  }
}
