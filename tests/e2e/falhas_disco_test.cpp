// A file system that takes no more bytes, played by a file-size limit on the running zelpd
// (RLIMIT_FSIZE): a write past it fails with EFBIG, and the process must survive the signal that
// comes with it. The point of sale sees a status without a response, or nothing; nothing torn is
// ever published, and the gateway serves again once there is room.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "falhas_apoio.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
using namespace falhas;
namespace fs = std::filesystem;

// Only the soft limit moves: raising a hard limit needs a capability a container may not give.
bool LimitaArquivos(int pid, rlim_t bytes) {
  rlimit atual{};
  if (::prlimit(pid, RLIMIT_FSIZE, nullptr, &atual) != 0) return false;
  const rlimit limite{bytes, atual.rlim_max};
  return ::prlimit(pid, RLIMIT_FSIZE, &limite, nullptr) == 0;
}

// No half-written file is left in the output directory.
bool SemTemporarios(const DiretorioTemporario& d) {
  for (const auto& e : fs::directory_iterator(d / "saida")) {
    if (e.path().extension() == ".tmp") return false;
  }
  return true;
}

TEST(DiscoCheio, StatusSemRespostaDepoisNadaEDepoisServeDeNovo) {
  HostEmExecucao host({"--resumo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ConfigGateway c;
  c.porta = host.Porta();
  ZelpdEmTeste g(c);
  // Standard output through a pipe: the limit must not silence the gateway's own lines.
  ASSERT_TRUE(g.Inicia(true)) << g.Saida();
  const int pid = g.Zelpd().Pid();

  // Room for the status file (three short lines) but not for the response.
  ASSERT_TRUE(LimitaArquivos(pid, 100));
  g.EscrevePedido(1);
  std::string sta;
  ASSERT_TRUE(g.EsperaArquivo(1, "sta", 10s, sta)) << g.Saida();
  EXPECT_EQ(sta, "000-000 = ATV\r\n001-000 = 00000001\r\n999-999 = \r\n");
  ASSERT_TRUE(g.EsperaSaida("*** Resposta 00000001 nao publicada, 009-000 = 00\n", 15s)) << g.Saida();
  EXPECT_NE(g.Saida().find("*** Erro ao gravar saida/00000001.tmp (File too large)\n"), std::string::npos) << g.Saida();
  EXPECT_NE(g.Saida().find("*** Erro ao renomear para saida/00000001.rsp\n"), std::string::npos) << g.Saida();
  EXPECT_FALSE(g.Dir().Existe("saida/00000001.rsp"));
  EXPECT_TRUE(SemTemporarios(g.Dir()));
  ASSERT_TRUE(g.Zelpd().Rodando()) << "a write past the limit must not end the process";

  // No room at all: not even the status, so the point of sale knows the sale was not taken.
  ASSERT_TRUE(LimitaArquivos(pid, 0));
  g.EscrevePedido(2);
  ASSERT_TRUE(g.EsperaSaida("*** Erro ao renomear para saida/00000002.sta\n", 10s)) << g.Saida();
  EXPECT_TRUE(EsperaAte([&] { return !g.Dir().Existe("entrada/00000002.log"); }, 5s)) << "the clean-up ran";
  EXPECT_FALSE(g.Dir().Existe("saida/00000002.sta"));
  EXPECT_FALSE(g.Dir().Existe("saida/00000002.rsp"));
  EXPECT_TRUE(SemTemporarios(g.Dir()));
  // Only the first sale reached the host.
  EXPECT_EQ(ConexoesDoHost(host), 1) << host.Saida();
  EXPECT_TRUE(g.Zelpd().Rodando());

  // Room again: served as before.
  ASSERT_TRUE(LimitaArquivos(pid, RLIM_INFINITY));
  g.EscrevePedido(3);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(3, "rsp", 10s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_TRUE(SemTemporarios(g.Dir()));
}

}  // namespace
