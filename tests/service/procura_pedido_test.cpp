// The scan of the input directory: claim, name rule, stale answers, blocked files and the limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "comum/Err.h"
#include "platform/Relogio.h"
#include "apoio/CapturaLog.h"
#include "fields/ArquivoCampos.h"
#include "service/ProcuraPedido.h"
#include "service/ProcuraPedidoTeste.h"

namespace {

TEST_F(ProcuraPedidoTeste, ReivindicaRenomeandoParaLogEAnota) {
  dir.Escreve("in/00000123.ENV", "000-000 = CRT\r\n");
  PedidoReivindicado p;
  ASSERT_TRUE(Procura(p));
  EXPECT_EQ(p.caminho, Entrada("00000123.log"));
  EXPECT_EQ(dir.Le("in/00000123.log"), "000-000 = CRT\r\n");
  EXPECT_EQ(dir.Nomes("in"), std::vector<std::string>{"00000123.log"});
  EXPECT_EQ(CapturaLog::Linhas(),
            (std::vector<std::string>{"Arquivo " + Entrada("00000123.ENV") + " encontrado",
                                      Entrada("00000123.ENV") + " renomeado como " + Entrada("00000123.log")}));
  // Claimed and in flight until its worker lets it go.
  EXPECT_TRUE(p.reserva.Ativa());
  EXPECT_TRUE(PedidoEmCurso("00000123.log"));
  p.reserva.Libera();
  EXPECT_FALSE(PedidoEmCurso("00000123.log"));

  // A claimed request is never claimed again.
  CapturaLog::Limpa();
  PedidoReivindicado outro;
  EXPECT_FALSE(Procura(outro));
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_TRUE(dir.Existe("in/00000123.log"));
}

TEST_F(ProcuraPedidoTeste, ExtensaoEmMinusculasTambemEReivindicada) {
  dir.Escreve("in/00000123.env", "x");
  PedidoReivindicado p;
  ASSERT_TRUE(Procura(p));
  EXPECT_EQ(p.caminho, Entrada("00000123.log"));
  EXPECT_EQ(dir.Nomes("in"), std::vector<std::string>{"00000123.log"});
}

TEST_F(ProcuraPedidoTeste, Largura16) {
  dirs.largura = 16;
  dir.Escreve("in/00000123.ENV", "x");
  dir.Escreve("in/0000000000000123.ENV", "y");
  // The file system's order decides which comes first; two scans see both.
  PedidoReivindicado p, q;
  const bool primeiro = Procura(p);
  const bool segundo = Procura(q);
  EXPECT_NE(primeiro, segundo) << "exactly one claim";
  EXPECT_EQ((primeiro ? p : q).caminho, Entrada("0000000000000123.log"));
  EXPECT_EQ(dir.Nomes("in"), std::vector<std::string>{"0000000000000123.log"}) << "eight digits are wrong at width 16";
  EXPECT_EQ(CapturaLog::Conta("*** Nome de Arquivo Invalido: \"" + Entrada("00000123.ENV") + "\""), 1);
}

TEST_F(ProcuraPedidoTeste, NomesInvalidosSaoAnotadosEApagados) {
  std::vector<std::string> logados{"123.ENV", "0000012A.ENV", "000001234.ENV"};
  for (const std::string& n : logados) dir.Escreve("in/" + n, "x");
  // A name with CR LF in it is logged escaped, on one line (where the file system allows such a
  // name: Windows does not).
  if (std::ofstream(dir / "in/0\r\n13:00:00.000 x.ENV").good()) logados.push_back("0\\r\\n13:00:00.000 x.ENV");
  dir.Escreve("in/notas.txt", "fica");
  PedidoReivindicado p;
  EXPECT_FALSE(Procura(p));
  EXPECT_EQ(dir.Nomes("in"), std::vector<std::string>{"notas.txt"});
  for (const std::string& n : logados) {
    EXPECT_EQ(CapturaLog::Conta("*** Nome de Arquivo Invalido: \"" + Entrada(n) + "\""), 1) << n;
  }
  EXPECT_EQ(CapturaLog::Conta("*** Arquivo Deletado!"), static_cast<int>(logados.size()));
  EXPECT_EQ(CapturaLog::Linhas().size(), 2 * logados.size());
  EXPECT_EQ(CapturaLog::ContaCom("encontrado"), 0);
}

TEST_F(ProcuraPedidoTeste, RespostaAntigaApagadaAntesDaVerificacaoDoNome) {
  dir.Escreve("out/00000123.rsp", "velha");
  dir.Escreve("out/123.rsp", "velha");
  dir.Escreve("out/00000999.rsp", "de outro pedido");
  dir.Escreve("in/123.ENV", "x");
  dir.Escreve("in/00000123.ENV", "x");
  // The claim of 00000123 fails: its .log name is taken by a directory.
  dir.CriaSubdiretorio("in/00000123.log/ocupado");
  PedidoReivindicado p;
  EXPECT_FALSE(Procura(p));
  EXPECT_FALSE(dir.Existe("out/00000123.rsp")) << "removed even though the claim failed";
  EXPECT_FALSE(dir.Existe("out/123.rsp")) << "removed even though the name is wrong";
  EXPECT_TRUE(dir.Existe("out/00000999.rsp"));
}

TEST_F(ProcuraPedidoTeste, AlvoExistenteESubstituido) {
  dir.Escreve("in/00000123.log", "antigo");
  dir.Escreve("in/00000123.ENV", "novo");
  PedidoReivindicado p;
  ASSERT_TRUE(Procura(p));
  EXPECT_EQ(dir.Le("in/00000123.log"), "novo");
  EXPECT_EQ(CapturaLog::ContaCom("Erro"), 0);
}

TEST_F(ProcuraPedidoTeste, OnzeNomesInvalidosEncerramOServico) {
  for (int i = 0; i < 11; ++i) dir.Escreve("in/x" + std::to_string(i) + ".ENV", "x");
  PedidoReivindicado p;
  try {
    Procura(p);
    FAIL() << "expected Err";
  } catch (const Err& e) {
    EXPECT_STREQ(e.mensagem, "*** Erro Arquivo bloqueado![3]");
  }
  EXPECT_EQ(CapturaLog::Conta("*** Arquivo Deletado!"), 10);
  EXPECT_EQ(dir.Nomes("in").size(), 1u);
}

TEST_F(ProcuraPedidoTeste, DezArquivosExaminadosNaoBastamParaEncerrar) {
  for (int i = 0; i < 10; ++i) dir.Escreve("in/x" + std::to_string(i) + ".ENV", "x");
  PedidoReivindicado p;
  EXPECT_FALSE(Procura(p));
  EXPECT_TRUE(dir.Nomes("in").empty());
}

TEST_F(ProcuraPedidoTeste, ArquivoBloqueadoERetentadoComCalmaAteSair) {
  dir.Escreve("in/00000123.ENV", "pedido");
  dir.CriaSubdiretorio("in/00000123.log/ocupado");
  const std::string env = Entrada("00000123.ENV"), log = Entrada("00000123.log");

  PedidoReivindicado p;
  EXPECT_FALSE(Procura(p));
  EXPECT_EQ(CapturaLog::Conta("Arquivo " + env + " encontrado"), 1);
  EXPECT_EQ(CapturaLog::Conta("*** Erro ao renomear para " + log), 1);
  ASSERT_EQ(bloqueados.Quantidade(), 1);
  EXPECT_FALSE(PedidoEmCurso("00000123.log")) << "a failed claim holds nothing in flight";

  // Scan again and again: each try is at least 100 ms after the one before, and quiet apart from
  // the line of the target that cannot be removed.
  std::vector<std::uint32_t> tentativas{plataforma::Ticks()};
  const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (bloqueados.Tentativas(0) < 3 && std::chrono::steady_clock::now() < fim) {
    const std::int32_t antes = bloqueados.Tentativas(0);
    const auto linhasAntes = CapturaLog::Linhas().size();
    const std::uint32_t agora = plataforma::Ticks();
    EXPECT_FALSE(Procura(p));
    if (bloqueados.Tentativas(0) != antes) {
      tentativas.push_back(agora);
    } else {
      EXPECT_EQ(CapturaLog::Linhas().size(), linhasAntes) << "a try that is not due logs nothing";
    }
    plataforma::Dorme(5);
  }
  ASSERT_EQ(bloqueados.Tentativas(0), 3);
  for (std::size_t i = 1; i < tentativas.size(); ++i) EXPECT_GE(tentativas[i] - tentativas[i - 1], 90u);
  EXPECT_EQ(CapturaLog::Conta("Arquivo " + env + " encontrado"), 1) << "found is logged once";
  EXPECT_EQ(CapturaLog::Conta("*** Erro ao renomear para " + log), 1) << "retries fail quietly";

  // The point of sale lets go: the next due try claims it and frees the slot.
  std::filesystem::remove_all(dir / "in/00000123.log");
  ASSERT_TRUE(EsperaAte([&] { return Procura(p); }, std::chrono::seconds(3)));
  EXPECT_EQ(p.caminho, log);
  EXPECT_EQ(dir.Le("in/00000123.log"), "pedido");
  EXPECT_EQ(bloqueados.Quantidade(), 0);
  EXPECT_EQ(bloqueados.Procura("00000123.ENV"), -1);
  EXPECT_EQ(CapturaLog::Conta(env + " renomeado como " + log), 1);
  EXPECT_EQ(CapturaLog::Conta("Arquivo " + env + " encontrado"), 1);
}

// Where the kernel cannot say whether a writer holds the file (no lease right, no leases on the
// file system), the scan judges by the bytes and by the file staying unchanged.
plataforma::SondaArquivo SemLease(const char* caminho, std::size_t limite) {
  plataforma::SondaArquivo s = plataforma::SondaEscrita(caminho, limite);
  s.escrita = plataforma::EscritaArquivo::Desconhecida;
  plataforma::LeArquivoInteiro(caminho, s.conteudo, limite);
  return s;
}

// A request that must not be claimed yet goes the way of a rename that failed (its two lines once,
// quiet retries), nothing is deleted for it meanwhile, and it is claimed once the cause is gone.
TEST_F(ProcuraPedidoTeste, PedidoRetidoAteOEscritorTerminarOuONumeroSair) {
  const std::string inteiro = "000-000 = CRT\r\n001-000 = 123\r\n999-999 = \r\n";
  const std::string semFimDeLinha = inteiro.substr(0, inteiro.size() - 2);
  struct Caso {
    const char* nome;
    SondaPedido sonda;
    std::string inicio;                  // written before the first scan
    std::function<void()> retem, solta;  // what holds it back and what lets it go
    std::uint32_t soltoEmMs;             // least time from letting go to the claim
    std::string final;                   // what the claimed file holds
  };
  std::FILE* escritor = nullptr;
  std::optional<ReservaPedido> emCurso;
  const std::string env = Entrada("00000123.env");
  const Caso casos[] = {
      {"aberto para escrita", &plataforma::SondaEscrita, "000-000 = CRT\r\n",
       [&] { escritor = std::fopen(env.c_str(), "ab"); },
       [&] { std::fputs("001-000 = 123\r\n999-999 = \r\n", escritor), std::fclose(escritor); }, 0, inteiro},
      {"numero em curso", &plataforma::SondaEscrita, inteiro, [&] { emCurso.emplace("00000123.log"); },
       [&] { emCurso.reset(); }, 0, inteiro},
      // Its last line never ends: only its stillness tells that the writer is done.
      {"sem lease, ainda mudando", &SemLease, "000-000 = CRT\r\n", [] {},
       [&] { dir.Escreve("in/00000123.env", semFimDeLinha); }, ArquivosBloqueados::TEMPO_ESTAVEL, semFimDeLinha},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    CapturaLog::Limpa();
    bloqueados.Limpa();
    dir.Escreve("in/00000123.env", caso.inicio);
    dir.Escreve("out/00000123.rsp", "resposta do pedido anterior");
    caso.retem();
    PedidoReivindicado p;
    for (int i = 0; i < 3; ++i, plataforma::Dorme(110)) EXPECT_FALSE(ProcuraPedido(dirs, bloqueados, p, caso.sonda));
    EXPECT_EQ(CapturaLog::Linhas(), (std::vector<std::string>{"Arquivo " + env + " encontrado",
                                                              "*** Erro ao renomear para " + Entrada("00000123.log")}));
    EXPECT_EQ(bloqueados.Quantidade(), 1);
    const bool numeroEmCurso = emCurso.has_value();
    EXPECT_EQ(dir.Existe("out/00000123.rsp"), numeroEmCurso) << "the answer of the number in flight stays";

    caso.solta();
    const std::uint32_t solto = plataforma::Ticks();
    ASSERT_TRUE(EsperaAte([&] { return ProcuraPedido(dirs, bloqueados, p, caso.sonda); }, std::chrono::seconds(5)));
    EXPECT_GE(plataforma::Ticks() - solto, caso.soltoEmMs);
    EXPECT_EQ(dir.Le("in/00000123.log"), caso.final);
    EXPECT_FALSE(dir.Existe("out/00000123.rsp"));
    EXPECT_EQ(bloqueados.Quantidade(), 0);
    EXPECT_EQ(CapturaLog::Conta(env + " renomeado como " + Entrada("00000123.log")), 1);
  }

  // Without a lease a request whose closing line is whole is taken at once.
  CapturaLog::Limpa();
  dir.Escreve("in/00000124.ENV", inteiro);
  PedidoReivindicado p;
  EXPECT_TRUE(ProcuraPedido(dirs, bloqueados, p, &SemLease));
  EXPECT_EQ(CapturaLog::ContaCom("Erro"), 0);
}

TEST_F(ProcuraPedidoTeste, TabelaCheiaEncerraOServico) {
  // Ten requests that cannot be claimed fill the table.
  for (int i = 0; i < 10; ++i) {
    const std::string nome = "0000010" + std::to_string(i);
    dir.Escreve("in/" + nome + ".ENV", "x");
    dir.CriaSubdiretorio("in/" + nome + ".log/ocupado");
  }
  PedidoReivindicado p;
  EXPECT_FALSE(Procura(p));
  ASSERT_EQ(bloqueados.Quantidade(), 10);
  // Their files go away, but their entries stay; one more request that cannot be claimed is fatal.
  for (int i = 0; i < 10; ++i) std::filesystem::remove(dir / ("in/0000010" + std::to_string(i) + ".ENV"));
  dir.Escreve("in/00000200.ENV", "x");
  dir.CriaSubdiretorio("in/00000200.log/ocupado");
  try {
    Procura(p);
    FAIL() << "expected Err";
  } catch (const Err& e) {
    EXPECT_STREQ(e.mensagem, "*** Erro Arquivo bloqueado![2]");
  }
  EXPECT_EQ(bloqueados.Quantidade(), 10);
}

TEST_F(ProcuraPedidoTeste, SemMascaraNadaAcontece) {
  dir.Escreve("in/00000123.ENV", "x");
  dirs.mascaraEntrada.clear();
  PedidoReivindicado p;
  EXPECT_FALSE(Procura(p));
  EXPECT_TRUE(dir.Existe("in/00000123.ENV"));
}

// The bound on transactions in flight leaves the requests past it as the point of sale dropped them:
// not looked at, not logged, not blocked, their old answers still there.
TEST_F(ProcuraPedidoTeste, AlemDoMaximoNadaETocado) {
  for (const std::string n : {"00000001", "00000002", "00000003"}) {
    dir.Escreve("in/" + n + ".ENV", "000-000 = CRT\r\n");
    dir.Escreve("out/" + n + ".rsp", "antiga");
  }
  const auto reivindica = [&](int maximo) {
    return ReivindicaPedidos(dirs, bloqueados, maximo, [](PedidoReivindicado&&) { return true; });
  };
  EXPECT_EQ(reivindica(0), 0);
  EXPECT_EQ(dir.Nomes("in"), (std::vector<std::string>{"00000001.ENV", "00000002.ENV", "00000003.ENV"}));
  EXPECT_TRUE(CapturaLog::Linhas().empty());
  EXPECT_EQ(reivindica(2), 2);
  const auto nomes = dir.Nomes("in");
  const auto fica = std::find_if(nomes.begin(), nomes.end(), [](const std::string& n) { return n.ends_with(".ENV"); });
  ASSERT_NE(fica, nomes.end());
  EXPECT_TRUE(dir.Existe("out/" + fica->substr(0, 8) + ".rsp"));
  EXPECT_EQ(CapturaLog::ContaCom(fica->substr(0, 8)), 0) << CapturaLog::Todas();
  EXPECT_EQ(bloqueados.Quantidade(), 0);
}

TEST(TrocaExtensao, TrocaOsTresUltimos) {
  EXPECT_EQ(TrocaExtensao("00000123.ENV", "log"), "00000123.log");
  EXPECT_EQ(TrocaExtensao("00000123.env", "rsp"), "00000123.rsp");
  EXPECT_EQ(TrocaExtensao("ab", "log"), "log");
}

}  // namespace
