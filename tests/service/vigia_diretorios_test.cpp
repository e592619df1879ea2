// The watch over the exchange directories: one line when a directory goes, one when it is back,
// looked at no more than once a second of the tick count; the lock that keeps a second service
// from claiming in the same input directory; and the immediate mode's wait for a request to arrive.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "apoio/DiretorioTemporario.h"
#include "apoio/CapturaLog.h"
#include "platform/Relogio.h"
#include "service/EsperaEntrada.h"
#include "service/TravaEntrada.h"
#include "service/VigiaDiretorios.h"

namespace {

namespace fs = std::filesystem;

class VigiaTeste : public ::testing::Test {
 protected:
  VigiaTeste() {
    dir.CriaSubdiretorio("in");
    dir.CriaSubdiretorio("out");
    entrada = dir / "in/";
    saida = dir / "out/";
  }
  void Olha(std::uint32_t agora) { vigia.Verifica(entrada, saida, agora); }

  DiretorioTemporario dir;
  CapturaLog janela;
  VigiaDiretorios vigia;
  std::string entrada, saida;
};

TEST_F(VigiaTeste, DiretoriosPresentesNadaDizem) {
  Olha(1000);
  Olha(5000);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_FALSE(vigia.FaltaEntrada());
  EXPECT_FALSE(vigia.FaltaSaida());
}

TEST_F(VigiaTeste, SaidaQueSomeEVoltaDizUmaVezCada) {
  Olha(0);
  fs::remove_all(dir / "out");
  Olha(1000);
  Olha(2000);
  Olha(3000);
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de saida inacessivel: " + saida), 1);
  EXPECT_TRUE(vigia.FaltaSaida());
  EXPECT_FALSE(vigia.FaltaEntrada());

  dir.CriaSubdiretorio("out");
  Olha(4000);
  Olha(5000);
  EXPECT_EQ(CapturaLog::Conta("Diretorio de saida acessivel: " + saida), 1);
  EXPECT_FALSE(vigia.FaltaSaida());
  EXPECT_EQ(CapturaLog::Linhas().size(), 2u);
}

TEST_F(VigiaTeste, ArquivoNoLugarOuCaminhoAtravesDeArquivoEFalta) {
  fs::remove_all(dir / "in");
  dir.Escreve("in", "um arquivo");
  saida = (dir / "in/out/");
  Olha(0);
  EXPECT_TRUE(vigia.FaltaEntrada());
  EXPECT_TRUE(vigia.FaltaSaida());
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de entrada inacessivel: " + entrada), 1);
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de saida inacessivel: " + saida), 1);
}

TEST_F(VigiaTeste, OlhaNoMaximoUmaVezPorSegundoMesmoNaVoltaDoContador) {
  Olha(0xFFFFFF00u);  // the first look is always made
  fs::remove_all(dir / "in");
  Olha(0xFFFFFFF0u);          // 240 ms later: too soon
  Olha(0x00000100u);          // 512 ms after the first, across the wrap: too soon
  EXPECT_FALSE(vigia.FaltaEntrada());
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  Olha(0x00000300u);          // 1024 ms after the first
  EXPECT_TRUE(vigia.FaltaEntrada());
  EXPECT_EQ(CapturaLog::Conta("*** Diretorio de entrada inacessivel: " + entrada), 1);
}

// The lock follows the input directory and outlives the service while its workers still run.
TEST_F(VigiaTeste, TravaDaEntradaUmServicoPorVez) {
  std::vector<std::string> avisos;
  auto primeiro = std::make_unique<TravaEntrada>();
  TravaEntrada segundo([&](const std::string& d) { avisos.push_back(d); });
  ASSERT_TRUE(primeiro->Garante(entrada));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(segundo.Garante(entrada));
  EXPECT_EQ(avisos, std::vector<std::string>{entrada});
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Diretorio de entrada em uso por outro servico: " + entrada});

  // A worker of the first service still runs: the directory stays its own.
  std::shared_ptr<const void> worker = primeiro->Posse();
  primeiro.reset();
  EXPECT_FALSE(segundo.Garante(entrada));
  worker.reset();
  EXPECT_TRUE(segundo.Garante(entrada));
  EXPECT_EQ(CapturaLog::Conta("Diretorio de entrada liberado pelo outro servico: " + entrada), 1);

  // A directory made anew, or another one named by a reload, is locked again.
  TravaEntrada terceiro;
  fs::remove_all(dir / "in");
  fs::create_directory(dir / "in");
  EXPECT_TRUE(segundo.Garante(entrada));
  EXPECT_FALSE(terceiro.Garante(entrada));
  EXPECT_TRUE(terceiro.Garante(saida));
  EXPECT_EQ(avisos.size(), 1u) << "the caller hears of it once";
}

// Milliseconds one pause of the service loop lasted while acao ran beside it after 100 ms. Measured
// by the precise clock: the tick count moves in steps of 16 ms on Windows.
std::uint32_t DuracaoDaPausa(EsperaEntrada& espera, std::uint32_t ms, const std::string& dir, bool imediato,
                             const std::function<void()>& acao) {
  std::thread t([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    acao();
  });
  const auto inicio = std::chrono::steady_clock::now();
  espera.Pausa(ms, dir, imediato);
  const auto passou = std::chrono::steady_clock::now() - inicio;
  t.join();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(passou).count());
}

TEST_F(VigiaTeste, PausaDoModoImediatoAcabaQuandoChegaUmPedido) {
  EsperaEntrada espera;
  const auto chega = [&](const char* nome) {
    dir.Escreve("out/x", "000-000 = CRT\r\n");
    fs::rename(dir / "out/x", dir / (std::string("in/") + nome));
  };
  // The first pause only starts the watch; what comes after it wakes the next ones.
  espera.Pausa(0, entrada, true);
  EXPECT_LT(DuracaoDaPausa(espera, 3000, entrada, true, [&] { chega("00000001.env"); }), 2000u);
  EXPECT_LT(DuracaoDaPausa(espera, 3000, entrada, true, [&] { dir.Escreve("in/00000002.ENV", "escrito no lugar"); }),
            2000u);
  // Other names, and the default mode, sleep the whole pause.
  EXPECT_GE(DuracaoDaPausa(espera, 600, entrada, true, [&] { chega("00000003.log"); }), 590u);
  EXPECT_GE(DuracaoDaPausa(espera, 600, entrada, false, [&] { chega("00000004.ENV"); }), 590u);
  // A directory that is not there is slept on, never spun on.
  EXPECT_GE(DuracaoDaPausa(espera, 300, dir / "nada/", true, [] {}), 290u);
  EXPECT_TRUE(CapturaLog::Linhas().empty()) << CapturaLog::Todas();
}

TEST_F(VigiaTeste, SemAvisoDeArquivosOModoImediatoVoltaAPausaDe200ms) {
  int tentativas = 0;
  EsperaEntrada espera([&](plataforma::EventosDiretorio&, const std::string&, std::string& motivo) {
    ++tentativas;
    motivo = "file system NFS";
    return plataforma::EventosDiretorio::Resultado::Indisponivel;
  });
  for (int i = 0; i < 3; ++i) {
    EXPECT_GE(DuracaoDaPausa(espera, 200, entrada, true, [&] { dir.Escreve("in/00000001.ENV", "x"); }), 190u);
  }
  EXPECT_EQ(tentativas, 1);
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Modo imediato sem aviso de arquivos em " + entrada +
                                                           " (file system NFS): pausa de 200 ms"});
}

}  // namespace
