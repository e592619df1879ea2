// What only Linux can show of the logged delete: a folder's permissions, which a failed delete
// leaves as they were.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "arquivos/OperacoesArquivo.h"

TEST(OperacoesArquivoPosix, ApagaArquivoQueNaoPodeSerApagadoFalhaSemMudarPermissoes) {
  DiretorioTemporario dir;
  CapturaLog janela;
  // A directory in the way cannot be deleted as a file, not even after the retry; a failed delete
  // changes the permissions of nothing, its folder's least of all.
  dir.CriaSubdiretorio("saida/x.rsp/dentro");
  ASSERT_EQ(chmod((dir / "saida").c_str(), 0555), 0);
  ASSERT_EQ(chmod((dir / "saida/x.rsp").c_str(), 0500), 0);
  EXPECT_FALSE(ApagaArquivo((dir / "saida/x.rsp").c_str()));
  EXPECT_TRUE(dir.Existe("saida/x.rsp/dentro"));
  struct stat st {};
  ASSERT_EQ(stat((dir / "saida").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0555u);
  ASSERT_EQ(stat((dir / "saida/x.rsp").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0500u);
  chmod((dir / "saida").c_str(), 0755);
  chmod((dir / "saida/x.rsp").c_str(), 0755);
}
