// The claim on Windows against a point of sale in another process that writes its request in
// place: the rename fails while the writer holds the file (a sharing violation), the request takes
// the blocked-file path, and it is claimed whole once the writer has closed it.
#include <gtest/gtest.h>

#include <chrono>

#include "apoio/Auxiliar.h"
#include "apoio/CapturaLog.h"
#include "platform/Relogio.h"
#include "service/ProcuraPedido.h"

using namespace std::chrono_literals;

TEST(ReivindicacaoWindows, RequestWrittenInPlaceIsHeldUntilItsWriterClosesIt) {
  DiretorioTemporario dir;
  CapturaLog log;
  dir.CriaSubdiretorio("in");
  dir.CriaSubdiretorio("out");
  DiretoriosTroca dirs;
  dirs.dirEntrada = dir / "in/";
  dirs.dirSaida = dir / "out/";
  dirs.mascaraEntrada = dirs.dirEntrada + "*.ENV";
  dirs.largura = 8;
  ArquivosBloqueados bloqueados;
  const std::string pedido = "000-000 = CRT\r\n001-000 = 123\r\n011-000 = 31\r\n003-000 = 1500\r\n999-999 = \r\n";
  dir.Escreve("pedido.txt", pedido);

  auto pdv = IniciaAuxiliar(dir, {"escreve", dir / "pedido.txt", dirs.dirEntrada + "00000123.ENV", "1500"});
  ASSERT_NE(pdv->Saida().find("pronto"), std::string::npos) << pdv->Saida();
  PedidoReivindicado p;
  int passes = 0;
  // One pass every 100 ms or so, as the service loop makes them, for at most 10 s.
  for (; passes < 100 && !ProcuraPedido(dirs, bloqueados, p); ++passes) plataforma::Dorme(100);
  int status = -1;
  ASSERT_TRUE(pdv->Espera(10s, status));
  EXPECT_EQ(status, 0);
  ASSERT_EQ(p.caminho, dirs.dirEntrada + "00000123.log") << CapturaLog::Todas();
  EXPECT_GE(passes, 5) << "claimed before its writer was done";
  EXPECT_EQ(dir.Le("in/00000123.log"), pedido);
  const std::string env = dirs.dirEntrada + "00000123.ENV";
  EXPECT_EQ(CapturaLog::Linhas(), (std::vector<std::string>{"Arquivo " + env + " encontrado",
                                                            "*** Erro ao renomear para " + p.caminho,
                                                            env + " renomeado como " + p.caminho}));
}
