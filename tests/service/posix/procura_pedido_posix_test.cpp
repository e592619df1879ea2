// What only Linux can put in place of a request: a FIFO, or a link to /dev/zero.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fields/ArquivoCampos.h"
#include "service/ProcuraPedidoTeste.h"

namespace {

// What the test puts in place of a request just before the scan opens it.
std::function<void(const std::string&)> trocaAntesDaSonda;
plataforma::SondaArquivo SondaComTroca(const char* caminho, std::size_t limite) {
  trocaAntesDaSonda(caminho);
  return plataforma::SondaEscrita(caminho, limite);
}

// A FIFO, or a link to /dev/zero, put in place of a request. Before the scan opens it: refused,
// said, left alone. Between its claim and its read: what is read is the file that was claimed.
TEST_F(ProcuraPedidoTeste, FifoOuLinkNoLugarDoPedido) {
  const std::function<void(const std::string&)> trocas[] = {
      [](const std::string& c) { std::filesystem::remove(c), mkfifo(c.c_str(), 0666); },
      [](const std::string& c) { std::filesystem::remove(c), std::filesystem::create_symlink("/dev/zero", c); }};
  for (const auto& troca : trocas) {
    for (const bool antes : {true, false}) {
      CapturaLog::Limpa();
      std::filesystem::remove_all(dir / "in"), dir.CriaSubdiretorio("in");
      dir.Escreve("in/00000123.ENV", "000-000 = CRT\r\n001-000 = 123\r\n011-000 = 31\r\n999-999 = \r\n");
      trocaAntesDaSonda = troca;
      TG t;
      const auto leDepoisDeTrocar = [&](PedidoReivindicado&& p) {
        return troca(p.caminho), LePedido(t, p.arquivo.Entrega());
      };
      const SondaPedido sonda = antes ? &SondaComTroca : &plataforma::SondaEscrita;
      EXPECT_EQ(ReivindicaPedidos(dirs, bloqueados, 1, leDepoisDeTrocar, sonda), antes ? 0 : 1);
      EXPECT_EQ(t.identificador, antes ? 0 : 123);
      EXPECT_EQ(CapturaLog::Conta("*** Arquivo " + Entrada("00000123.ENV") + " recusado: nao e um arquivo comum"),
                antes ? 1 : 0);
      EXPECT_EQ(dir.Nomes("in"), std::vector<std::string>{antes ? "00000123.ENV" : "00000123.log"});
      EXPECT_EQ(bloqueados.Quantidade(), 0);
    }
  }
}

}  // namespace
