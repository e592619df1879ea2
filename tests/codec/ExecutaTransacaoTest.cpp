// The whole conversation against a one-shot host on 127.0.0.1: frame sent, response decoded.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "apoio/DiretorioTemporario.h"
#include "apoio/SistemaTeste.h"
#include "HostFalso.h"
#include "codec/ExecutaTransacao.h"
#include "codec/MontaCabecalho.h"
#include "comum/Erro.h"
#include "config/TX.h"
#include "platform/TextoSistema.h"

namespace {

using Linhas_t = std::vector<std::string>;

void PreencheGrupo(TU& grupo, std::uint16_t porta) {
  grupo.url[0] = "127.0.0.1";
  grupo.ip[0] = Loopback();
  grupo.quantidade = 1;
  grupo.atual = 0;
  grupo.porta = porta;
}

// A response frame: optional prefix of `prefixo` bytes of 0xAA, header announcing the data length.
std::vector<std::uint8_t> QuadroResposta(int prefixo, const std::vector<std::uint8_t>& dados) {
  std::vector<std::uint8_t> q(static_cast<std::size_t>(prefixo), 0xAA);
  const std::size_t n = dados.size();
  const std::uint8_t cabecalho[8] = {0x0a, 0x01, 0x00, 0x44, 0x00, static_cast<std::uint8_t>(n & 0xFF),
                                     static_cast<std::uint8_t>(n >> 8), 0x00};
  q.insert(q.end(), cabecalho, cabecalho + 8);
  q.insert(q.end(), dados.begin(), dados.end());
  return q;
}

std::vector<CampoTeste> Pedido31() {
  return {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, "31"}, {383, 0, "0"}, {98, 0, "4111111111111111=2512"},
          {3, 0, "1500"}, {10, 0, "A1B2C3D4"}, {999, 999, ""}};
}

std::vector<std::uint8_t> RespostaR31Aprovada() {
  std::vector<std::uint8_t> d(230, 0);
  std::memcpy(d.data() + 8, "00", 2);
  std::memcpy(d.data() + 71, "APROVADA", 8);
  const std::uint8_t valor[6] = {0, 0, 0, 0x01, 0x50, 0};
  std::memcpy(d.data() + 59, valor, 6);
  return d;
}

TEST(ExecutaTransacao, Codigo31EnviaOQuadroEDecodificaAResposta) {
  HostFalso host(QuadroResposta(0, RespostaR31Aprovada()), 0);
  TU grupo;
  PreencheGrupo(grupo, host.Porta());
  TG t;
  PreencheTransacao(t, Pedido31(), "123456789", "ABCDEFGHIJKLMNO");
  const std::uint8_t sequencia = numeroSequencia.load();
  ExecutaTransacao(t, grupo, 5, 2);
  EXPECT_EQ(Hex(host.Recebido()), Hex(VetorDeArquivo("quadro_31.hex", sequencia)));
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=CRT", "001-000=00000123", "003-000=000000015000", "009-000=00",
                                 "012-000=000000", "013-000=0000000000", "022-000=00000000", "023-000=000000",
                                 "032-000=", "370-000=APROVADA", "999-999="}));
}

TEST(ExecutaTransacao, Codigo14ComPrefixoEDadosCurtos) {
  // The host answers only 20 data bytes behind its 40-byte prefix: what it did not send reads
  // as zero, even where the receive left prefix and header bytes in the buffer.
  std::vector<std::uint8_t> dados(20, 0);
  std::memcpy(dados.data() + 8, "05", 2);
  dados[10] = 0x12;
  HostFalso host(QuadroResposta(40, dados), 40);
  TU grupo;
  PreencheGrupo(grupo, host.Porta());
  TG t;
  PreencheTransacao(t,
                    {{0, 0, "CHQ"}, {1, 0, "77"}, {11, 0, "14"}, {3, 0, "25000"}, {7, 0, "A1234567"}, {8, 0, "1225"},
                     {33, 0, "12"}, {34, 0, "2026"}, {38, 0, "987654"}, {999, 999, ""}},
                    "000012345");
  const std::uint8_t sequencia = numeroSequencia.load();
  ExecutaTransacao(t, grupo, 5, 2);
  EXPECT_EQ(Hex(host.Recebido()), Hex(VetorDeArquivo("quadro_14.hex", sequencia)));
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=CHQ", "001-000=00000077", "003-000=000000000000", "009-000=05",
                                 "012-000=000000", "013-000=1200000000", "022-000=00000000", "023-000=000000",
                                 "030-000=", "032-000=", "370-000=", "999-999="}));
}

TEST(ExecutaTransacao, RespostaSemDadosDeixaATabelaDoPedido) {
  HostFalso host(QuadroResposta(0, {}), 0);
  TU grupo;
  PreencheGrupo(grupo, host.Porta());
  TG t;
  PreencheTransacao(t, Pedido31(), "123456789", "ABCDEFGHIJKLMNO");
  ExecutaTransacao(t, grupo, 5, 2);
  EXPECT_FALSE(host.Recebido().empty());
  EXPECT_EQ(Valor(t, 98, 0), "4111111111111111=2512");
  EXPECT_EQ(Valor(t, 901, 0), "123456789");
  EXPECT_EQ(t.Procura(9, 0), nullptr);
}

TEST(ExecutaTransacao, RecusaDaMontagemAntesDeQualquerConexao) {
  // An empty group would fail with its own text if a connection were attempted.
  TU vazio;
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}, {999, 999, ""}}, "1", "2");
  try {
    ExecutaTransacao(t, vazio, 5, 2);
    ADD_FAILURE() << "no refusal";
  } catch (const Erro& e) {
    EXPECT_STREQ(e.Texto(), "*ZELP* Campo(s) [003-000],[098-000] faltando");
  }
}

TEST(ExecutaTransacao, ErroDaConexaoPassaAdiante) {
  TU grupo;
  PreencheGrupo(grupo, PortaFechada());
  TG t;
  PreencheTransacao(t, Pedido31(), "1", "2");
  try {
    ExecutaTransacao(t, grupo, 5, 1);
    ADD_FAILURE() << "no failure";
  } catch (const Erro& e) {
    EXPECT_STREQ(e.Texto(), plataforma::TextoDoSistema("00 *ZELP* Erro na comunicação(Conexão)"));
  }
}

TEST(ExecutaTransacao, PeloContextoUsaOGrupoDoTipo) {
  HostFalso host(QuadroResposta(0, RespostaR31Aprovada()), 0);
  DiretorioTemporario dir;
  dir.Escreve("zelp.ini", "[Tempos]\nTOutCnf=5\nTOutCnx=2\n[End2]\nurl=127.0.0.1\nPort=" +
                              std::to_string(host.Porta()) + "\n[PEstab]\npar2=estab.dat\n");
  TX contexto(dir / "zelp.ini");
  contexto.CarregaConfig();
  TG t;
  PreencheTransacao(t, Pedido31(), "123456789", "ABCDEFGHIJKLMNO");
  ExecutaTransacao(t, contexto);
  EXPECT_EQ(host.Recebido().size(), 8u + 78u);
  EXPECT_EQ(Valor(t, 370, 0), "APROVADA");
}

}  // namespace
