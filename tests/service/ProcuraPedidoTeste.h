// The scan's tests on every platform: a folder with in/ and out/, the scan's folders, the log
// captured and the table of blocked files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "service/ProcuraPedido.h"

class ProcuraPedidoTeste : public ::testing::Test {
 protected:
  ProcuraPedidoTeste() {
    dir.CriaSubdiretorio("in");
    dir.CriaSubdiretorio("out");
    dirs.dirEntrada = dir / "in/";
    dirs.dirSaida = dir / "out/";
    dirs.mascaraEntrada = dirs.dirEntrada + "*.ENV";
    dirs.largura = 8;
  }

  std::string Entrada(const std::string& nome) const { return dirs.dirEntrada + nome; }
  bool Procura(PedidoReivindicado& p) { return ProcuraPedido(dirs, bloqueados, p); }

  DiretorioTemporario dir;
  CapturaLog janela;
  DiretoriosTroca dirs;
  ArquivosBloqueados bloqueados;
};
