// The clean-up of processed requests, and the requests in flight that it must leave alone.
#include <gtest/gtest.h>

#include <string>

#include "apoio/DiretorioTemporario.h"
#include "apoio/CapturaLog.h"
#include "service/LimpaProcessados.h"
#include "service/PedidosEmCurso.h"
#include "service/ProcuraPedido.h"

namespace {

class LimpaProcessadosTeste : public ::testing::Test {
 protected:
  LimpaProcessadosTeste() {
    dir.CriaSubdiretorio("in");
    entrada = dir / "in/";
    mascara = entrada + "*.log";
  }
  void Limpa(int largura = 8) { LimpaProcessados(entrada, mascara, largura); }

  DiretorioTemporario dir;
  CapturaLog janela;
  std::string entrada, mascara;
};

TEST(NomeProcessado, DigitosDaLarguraSeguidosDePonto) {
  EXPECT_TRUE(NomeProcessado("00000123.log", 8));
  EXPECT_TRUE(NomeProcessado("00000123.", 8));
  EXPECT_TRUE(NomeProcessado("00000123.x.log", 8));
  EXPECT_TRUE(NomeProcessado("0000000000000123.log", 16));
  EXPECT_FALSE(NomeProcessado("123.log", 8));
  EXPECT_FALSE(NomeProcessado("notes.log", 8));
  EXPECT_FALSE(NomeProcessado("000001234.log", 8));
  EXPECT_FALSE(NomeProcessado("0000012A.log", 8));
  EXPECT_FALSE(NomeProcessado("00000123", 8));
  EXPECT_FALSE(NomeProcessado("00000123.log", 16));
  EXPECT_FALSE(NomeProcessado("", 8));
}

TEST_F(LimpaProcessadosTeste, ApagaSoOsProcessadosDaLargura) {
  for (const char* n : {"00000123.log", "00000124.LOG", "notes.log", "123.log", "000001234.log", "00000125.ENV"}) {
    dir.Escreve(std::string("in/") + n, "x");
  }
  Limpa();
  EXPECT_FALSE(dir.Existe("in/00000123.log"));
  EXPECT_FALSE(dir.Existe("in/00000124.LOG"));
  EXPECT_TRUE(dir.Existe("in/notes.log"));
  EXPECT_TRUE(dir.Existe("in/123.log"));
  EXPECT_TRUE(dir.Existe("in/000001234.log"));
  EXPECT_TRUE(dir.Existe("in/00000125.ENV")) << "only the mask's files are looked at";
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(LimpaProcessadosTeste, SemMascaraNadaEApagado) {
  dir.Escreve("in/00000123.log", "x");
  mascara.clear();
  Limpa();
  EXPECT_TRUE(dir.Existe("in/00000123.log"));
}

TEST_F(LimpaProcessadosTeste, PedidoEmCursoFicaAteOWorkerTerminar) {
  dir.Escreve("in/00000123.log", "sendo lido");
  dir.Escreve("in/00000124.log", "terminado");
  {
    ReservaPedido reserva("00000123.log");
    Limpa();
    EXPECT_TRUE(dir.Existe("in/00000123.log"));
    EXPECT_FALSE(dir.Existe("in/00000124.log"));
    EXPECT_TRUE(CapturaLog::Linhas().empty()) << "a request in flight is skipped, not an access error";
  }
  Limpa();
  EXPECT_FALSE(dir.Existe("in/00000123.log"));
}

TEST_F(LimpaProcessadosTeste, MesmoNomeReivindicadoDuasVezes) {
  dir.Escreve("in/00000123.log", "x");
  ReservaPedido primeira("00000123.log");
  ReservaPedido segunda("00000123.log");
  primeira.Libera();
  Limpa();
  EXPECT_TRUE(dir.Existe("in/00000123.log")) << "the second claim is still in flight";
  ReservaPedido movida(std::move(segunda));
  EXPECT_FALSE(segunda.Ativa());
  EXPECT_TRUE(PedidoEmCurso("00000123.log"));
  movida.Libera();
  movida.Libera();
  EXPECT_FALSE(PedidoEmCurso("00000123.log"));
  Limpa();
  EXPECT_FALSE(dir.Existe("in/00000123.log"));
}

// The claimed request is renamed to .log before the service thread opens it and hands it over;
// a clean-up that runs in between must not take it.
TEST_F(LimpaProcessadosTeste, ReivindicadoAindaNaoAbertoNaoSome) {
  dir.CriaSubdiretorio("out");
  dir.Escreve("in/00000123.ENV", "pedido");
  dir.Escreve("in/00000100.log", "de um pedido terminado");
  DiretoriosTroca dirs{entrada, dir / "out/", entrada + "*.ENV", 8};
  ArquivosBloqueados bloqueados;
  PedidoReivindicado pedido;
  ASSERT_TRUE(ProcuraPedido(dirs, bloqueados, pedido));

  Limpa();  // another worker ends now
  EXPECT_EQ(dir.Le("in/00000123.log"), "pedido");
  EXPECT_FALSE(dir.Existe("in/00000100.log"));

  // Its own worker is done with it: read and closed (on Windows a file still open keeps its name
  // after its delete, until it is closed), then let go.
  pedido.arquivo.Fecha();
  pedido.reserva.Libera();
  Limpa();
  EXPECT_FALSE(dir.Existe("in/00000123.log"));
}

}  // namespace
