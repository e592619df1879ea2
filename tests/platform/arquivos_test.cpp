// The file, clock and thread calls of the platform layer, as every platform must answer them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "platform/Arquivos.h"
#include "platform/Relogio.h"
#include "platform/TextoSistema.h"
#include "platform/Threads.h"

using namespace plataforma;

namespace {
std::vector<std::string> Ordenados(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}
}  // namespace

TEST(ListaArquivos, MatchesTheExtensionInAnyCaseAndOnlyRegularFiles) {
  DiretorioTemporario d;
  d.Escreve("00000001.ENV", "x");
  d.Escreve("00000002.env", "x");
  d.Escreve("00000003.Env", "x");
  d.Escreve("00000004.ENVX", "x");
  d.Escreve("00000005.log", "x");
  d.Escreve(".00000006.ENV", "x");  // hidden
  d.CriaSubdiretorio("00000007.ENV");

  auto nomes = Ordenados(ListaArquivos((d.Caminho() + "/*.ENV").c_str()));
  EXPECT_EQ((std::vector<std::string>{"00000001.ENV", "00000002.env", "00000003.Env"}), nomes);

  EXPECT_EQ((std::vector<std::string>{"00000005.log"}), ListaArquivos((d.Caminho() + "/*.log").c_str()));
}

TEST(ListaArquivos, MissingDirectoryGivesNothing) {
  DiretorioTemporario d;
  EXPECT_TRUE(ListaArquivos((d.Caminho() + "/nada/*.ENV").c_str()).empty());
}

TEST(Apaga, MissingFileIsReportedAsSuch) {
  DiretorioTemporario d;
  EXPECT_EQ(ResultadoApaga::NaoExiste, Apaga((d / "x").c_str()));
  d.Escreve("x", "1");
  EXPECT_EQ(ResultadoApaga::Apagado, Apaga((d / "x").c_str()));
  EXPECT_FALSE(d.Existe("x"));
}

TEST(Renomeia, ReplacesAnExistingTarget) {
  DiretorioTemporario d;
  d.Escreve("a", "novo");
  d.Escreve("b", "velho");
  EXPECT_TRUE(Renomeia((d / "a").c_str(), (d / "b").c_str()));
  EXPECT_EQ("novo", d.Le("b"));
  EXPECT_FALSE(d.Existe("a"));
  EXPECT_FALSE(Renomeia((d / "a").c_str(), (d / "c").c_str()));
}

TEST(HoraEscrita, ChangesWhenTheFileIsRewrittenAndFailsWhenMissing) {
  DiretorioTemporario d;
  HoraArquivo h1, h2;
  EXPECT_FALSE(HoraEscrita((d / "zelp.ini").c_str(), h1));
  d.Escreve("zelp.ini", "[a]\n");
  ASSERT_TRUE(HoraEscrita((d / "zelp.ini").c_str(), h1));
  const std::filesystem::path ini = d / "zelp.ini";
  std::filesystem::last_write_time(ini, std::filesystem::last_write_time(ini) + std::chrono::seconds(5));
  ASSERT_TRUE(HoraEscrita((d / "zelp.ini").c_str(), h2));
  EXPECT_NE(h1, h2);
}

TEST(GravaArquivoInteiro, WritesTheWholeBlockAndTruncates) {
  DiretorioTemporario d;
  std::string grande(100000, 'z');
  ASSERT_TRUE(GravaArquivoInteiro((d / "f").c_str(), grande.data(), grande.size(), true));
  EXPECT_EQ(grande, d.Le("f"));
  ASSERT_TRUE(GravaArquivoInteiro((d / "f").c_str(), "ab", 2, false));
  EXPECT_EQ("ab", d.Le("f"));
  EXPECT_FALSE(GravaArquivoInteiro((d / "nada/f").c_str(), "ab", 2, false));
  EXPECT_TRUE(SincronizaDiretorio(d.Caminho().c_str()));
}

TEST(AcrescentaArquivo, AppendsAndTellsWhetherItOpened) {
  DiretorioTemporario d;
  bool abriu = false;
  ASSERT_TRUE(AcrescentaArquivo((d / "log").c_str(), "a\r\n", 3, abriu));
  ASSERT_TRUE(AcrescentaArquivo((d / "log").c_str(), "b\r\n", 3, abriu));
  EXPECT_TRUE(abriu);
  EXPECT_EQ("a\r\nb\r\n", d.Le("log"));
  EXPECT_FALSE(AcrescentaArquivo((d / "nada/log").c_str(), "a", 1, abriu));
  EXPECT_FALSE(abriu);
}

TEST(LeArquivoInteiro, StopsAtTheLimit) {
  DiretorioTemporario d;
  d.Escreve("f", std::string(300, 'q'));
  std::string s;
  ASSERT_TRUE(LeArquivoInteiro((d / "f").c_str(), s, 207));
  EXPECT_EQ(207u, s.size());
  EXPECT_FALSE(LeArquivoInteiro((d / "g").c_str(), s, 10));
}

TEST(Relogio, TicksAdvanceAcrossASleep) {
  // Windows' tick count moves in steps of up to 16 ms; Linux's every millisecond.
  constexpr std::uint32_t PASSO_DO_TICK = 16;
  std::uint32_t antes = Ticks();
  Dorme(100);
  std::uint32_t passou = Ticks() - antes;
  EXPECT_GE(passou, 100u - PASSO_DO_TICK);
  EXPECT_LT(passou, 5000u);
  HoraLocal h = AgoraLocal();
  EXPECT_GE(h.ano, 2020);
  EXPECT_TRUE(h.mes >= 1 && h.mes <= 12);
  EXPECT_TRUE(h.milissegundo >= 0 && h.milissegundo <= 999);
}

TEST(IniciaThread, RunsTheBodyDetachedWithASmallStack) {
  std::atomic<int> feito{0};
  ASSERT_TRUE(IniciaThread([&feito] {
    char pilha[16 * 1024];  // a worker's frame fits in its stack
    pilha[0] = 1;
    feito = pilha[0];
  }, PILHA_WORKER));
  EXPECT_TRUE(EsperaAte([&] { return feito.load() == 1; }, std::chrono::seconds(10)));
}

TEST(TextoDoSistema, OneLastingTextPerTextAndAsciiUnchanged) {
  // Thrown in an Err, the text must outlive any call: a constant text gives one lasting pointer.
  static const char* const TEXTO = "00 *ZELP* Erro na comunicação(Conexão)";
  EXPECT_EQ(TextoDoSistema(TEXTO), TextoDoSistema(TEXTO));
  EXPECT_STREQ(TextoDoSistema("*** Erro Arquivo bloqueado![3]"), "*** Erro Arquivo bloqueado![3]");
  EXPECT_STREQ(TextoDoSistema(nullptr), "");
}
