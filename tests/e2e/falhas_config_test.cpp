// The files zelpd reads while it runs, changed under it: zelp.ini removed or made unreadable, the
// establishment file replaced during sales, zelp.ini rewritten over and over while 50 sales are
// with the host. The gateway keeps serving with whole values, never a mixture.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "falhas_apoio.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
using namespace falhas;
namespace fs = std::filesystem;

constexpr const char* CODIGO_A = "12345678";
constexpr const char* CODIGO_B = "98765432";
// The host's field 901 holds the code's eight digits (the file holds nine, a zero first).
constexpr const char* NO_HOST_A = "12345678";
constexpr const char* NO_HOST_B = "98765432";
constexpr const char* AVISO_ILEGIVEL = "*** Erro ao ler ./zelp.ini, mantida a configuracao anterior\n";

struct CasoIni {
  const char* nome;
  std::function<void(const DiretorioTemporario&)> estraga;
};

void PrintTo(const CasoIni& caso, std::ostream* os) { *os << caso.nome; }

class IniIlegivelLento : public testing::TestWithParam<CasoIni> {};

TEST_P(IniIlegivelLento, ConfiguracaoMantidaEAvisoUmaVezPorEpisodio) {
  ZelpdComHost z;
  ASSERT_EQ(z.Inicia(), "");
  ZelpdEmTeste& g = z.Gateway();
  g.EscrevePedido(1);
  std::string rsp;
  ASSERT_TRUE(g.EsperaArquivo(1, "rsp", 10s, rsp)) << g.Saida();

  GetParam().estraga(g.Dir());
  ASSERT_TRUE(g.EsperaSaida(AVISO_ILEGIVEL, 5s)) << g.Saida();
  // Two more looks at the file (one a second) say nothing new.
  std::this_thread::sleep_for(2500ms);
  EXPECT_EQ(g.ContaSaida(AVISO_ILEGIVEL), 1) << g.Saida();

  // Served with the values in force: same host, same directories, same establishment.
  g.EscrevePedido(2);
  ASSERT_TRUE(g.EsperaArquivo(2, "rsp", 10s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_TRUE(g.Zelpd().Rodando());

  // Readable again, then gone again: a new episode, said once more.
  fs::remove_all(g.Dir() / "zelp.ini");
  g.GravaIni();
  std::this_thread::sleep_for(1500ms);
  GetParam().estraga(g.Dir());
  EXPECT_TRUE(g.EsperaSaida(AVISO_ILEGIVEL, 5s, 2)) << g.Saida();
  g.EscrevePedido(3);
  ASSERT_TRUE(g.EsperaArquivo(3, "rsp", 10s, rsp)) << g.Saida();
  EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "00") << rsp;
  EXPECT_EQ(g.ContaSaida(AVISO_ILEGIVEL), 2) << g.Saida();
}

INSTANTIATE_TEST_SUITE_P(
    Casos, IniIlegivelLento,
    testing::Values(CasoIni{"Removido", [](const DiretorioTemporario& d) { fs::remove(d / "zelp.ini"); }},
                    // Tests run as root, whom permissions do not stop: a directory cannot be read as a file.
                    CasoIni{"DiretorioNoLugar",
                            [](const DiretorioTemporario& d) {
                              fs::remove(d / "zelp.ini");
                              d.CriaSubdiretorio("zelp.ini");
                            }},
                    CasoIni{"LinkQuebrado",
                            [](const DiretorioTemporario& d) {
                              fs::remove(d / "zelp.ini");
                              fs::create_symlink(d / "nao-existe.ini", d / "zelp.ini");
                            }}),
    [](const testing::TestParamInfo<CasoIni>& i) { return i.param.nome; });

// Writes `conteudo` over `destino`: by rename (a whole new file) or in place (truncate, then write).
void Substitui(const std::string& destino, const std::string& conteudo, bool emLugar) {
  if (emLugar) {
    std::ofstream f(destino, std::ios::binary | std::ios::trunc);
    f.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
    return;
  }
  const std::string aparte = destino + ".novo";
  {
    std::ofstream f(aparte, std::ios::binary | std::ios::trunc);
    f.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
  }
  fs::rename(aparte, destino);
}

std::string LeTudo(const std::string& caminho) {
  std::ifstream f(caminho, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

class EstabelecimentoTrocado : public testing::TestWithParam<bool> {};

TEST_P(EstabelecimentoTrocado, CadaVendaLevaUmArquivoInteiroOuUmaRespostaDeErro) {
  const bool emLugar = GetParam();
  // Without --resumo: the host shows each request's establishment code.
  HostEmExecucao host({"--atraso", "50"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  ConfigGateway c;
  c.porta = host.Porta();
  c.tOutIni = 0;  // no pause between passes: requests are claimed as fast as they come
  ZelpdEmTeste g(c);
  ASSERT_TRUE(CriaEstabelecimento(g.Dir() / "estab/a.dat", CODIGO_A, "CHAVE-A1", "LOJA-A"));
  ASSERT_TRUE(CriaEstabelecimento(g.Dir() / "estab/b.dat", CODIGO_B, "CHAVE-B2", "LOJA-B"));
  const std::string a = LeTudo(g.Dir() / "estab/a.dat");
  const std::string b = LeTudo(g.Dir() / "estab/b.dat");
  ASSERT_EQ(a.size(), 206u);
  ASSERT_EQ(b.size(), 206u);
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  std::atomic<bool> parar{false};
  std::thread trocador([&] {
    for (int i = 0; !parar.load() && i < 20000; ++i) {
      Substitui(g.Dir() / "estab/loja0.dat", i % 2 == 0 ? a : b, emLugar);
      std::this_thread::sleep_for(1ms);
    }
  });

  constexpr int VENDAS = 30;
  for (int id = 1; id <= VENDAS; ++id) {
    g.EscrevePedido(id);
    std::this_thread::sleep_for(30ms);
  }
  int aprovadas = 0;
  for (int id = 1; id <= VENDAS; ++id) {
    std::string rsp;
    ASSERT_TRUE(g.EsperaArquivo(id, "rsp", 20s, rsp)) << id << "\n" << g.Saida();
    if (ZelpdEmTeste::Campo(rsp, "009-000") == "00") {
      ++aprovadas;
    } else {
      // Only a file caught between its truncation and its rewrite can be refused, and then as a
      // file the gateway could not read whole.
      EXPECT_TRUE(emLugar) << rsp;
      EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), "85") << rsp;
      const std::string texto = ZelpdEmTeste::Campo(rsp, "030-000");
      EXPECT_TRUE(texto == "*ZELP* Erro ao ler \"estab/loja0.dat\"" ||
                  texto == "*ZELP* Arquivo de Estabelecimento Adulterado")
          << texto;
    }
  }
  parar.store(true);
  trocador.join();
  EXPECT_GT(aprovadas, 0);
  // Each sale that reached the host carried one whole establishment, A or B.
  const std::vector<std::string> vistos = EstabelecimentosVistos(host);
  EXPECT_EQ(static_cast<int>(vistos.size()), aprovadas) << host.Saida();
  for (const std::string& codigo : vistos) EXPECT_TRUE(codigo == NO_HOST_A || codigo == NO_HOST_B) << codigo;
  EXPECT_TRUE(g.Zelpd().Rodando());
}

INSTANTIATE_TEST_SUITE_P(Modos, EstabelecimentoTrocado, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "EmLugar" : "PorRenomeacao"; });

// About fifteen seconds under the sanitizers: 50 sales held two seconds each by two hosts, while
// zelp.ini switches between them every few milliseconds.
TEST(ConfigReescritaLento, CinquentaVendasEmCursoSemQuedaNemValorMisturado) {
  HostEmExecucao hostA({"--atraso", "2000"});
  HostEmExecucao hostB({"--atraso", "2000"});
  ASSERT_GT(hostA.Porta(), 0) << hostA.Saida();
  ASSERT_GT(hostB.Porta(), 0) << hostB.Saida();

  ConfigGateway ca;
  ca.porta = hostA.Porta();
  ca.tOutIni = 0;
  ca.tOutCnf = 20;
  ca.errlog = "logA";
  ca.estab = "estab/a.dat";
  // Values of other lengths: a text read half from one file and half from the other would name
  // nothing that exists.
  ConfigGateway cb = ca;
  cb.porta = hostB.Porta();
  cb.errlog = "log-bbbbbbbbbbbbbbbb";
  cb.estab = "estab/bbbbbbbbbbbbbbbbbbbbbbbb.dat";

  ZelpdEmTeste g(ca);
  g.Dir().CriaSubdiretorio("logA");
  g.Dir().CriaSubdiretorio("log-bbbbbbbbbbbbbbbb");
  ASSERT_TRUE(CriaEstabelecimento(g.Dir() / ca.estab, CODIGO_A, "CHAVE-A1", "LOJA-A"));
  ASSERT_TRUE(CriaEstabelecimento(g.Dir() / cb.estab, CODIGO_B, "CHAVE-B2", "LOJA-B"));
  g.GravaIni();
  ASSERT_TRUE(g.Inicia()) << g.Saida();

  const std::string textoA = TextoIni(ca);
  const std::string textoB = TextoIni(cb);
  std::atomic<bool> parar{false};
  std::atomic<int> escritas{0};
  std::thread reescritor([&] {
    for (int i = 0; !parar.load() && i < 100000; ++i) {
      Substitui(g.Dir() / "zelp.ini", i % 2 == 0 ? textoB : textoA, false);
      escritas.fetch_add(1);
      std::this_thread::sleep_for(5ms);
    }
  });

  constexpr int VENDAS = 50;
  for (int id = 1; id <= VENDAS; ++id) g.EscrevePedido(id);
  // All claimed before the first answer can come: fifty sales with the hosts at once.
  EXPECT_TRUE(EsperaAte([&] { return g.ContaSaida(".ENV renomeado como") >= VENDAS; }, 10s)) << g.Saida();

  int aprovadas = 0;
  for (int id = 1; id <= VENDAS; ++id) {
    std::string rsp;
    ASSERT_TRUE(g.EsperaArquivo(id, "rsp", 60s, rsp)) << id << "\n" << g.Saida();
    if (ZelpdEmTeste::Campo(rsp, "009-000") == "00") ++aprovadas;
  }
  parar.store(true);
  reescritor.join();
  EXPECT_EQ(aprovadas, VENDAS);
  EXPECT_GT(escritas.load(), 100);
  std::vector<std::string> vistos = EstabelecimentosVistos(hostA);
  const std::vector<std::string> deB = EstabelecimentosVistos(hostB);
  vistos.insert(vistos.end(), deB.begin(), deB.end());
  EXPECT_EQ(static_cast<int>(vistos.size()), VENDAS);
  for (const std::string& codigo : vistos) EXPECT_TRUE(codigo == NO_HOST_A || codigo == NO_HOST_B) << codigo;
  EXPECT_TRUE(g.Zelpd().Rodando()) << g.Saida();
  const std::string saida = g.Saida();
  EXPECT_EQ(saida.find("Erro ao abrir arquivo"), std::string::npos) << saida;
  EXPECT_EQ(saida.find("Erro ao acessar"), std::string::npos) << saida;
  // Every log line went to one of the two log directories, nowhere else.
  EXPECT_EQ(g.Dir().Nomes(), (std::vector<std::string>{"entrada", "estab", "log-bbbbbbbbbbbbbbbb", "logA", "saida",
                                                        "zelp.ini", "zelpd.out"}));
}

// A typo saved into the live zelp.ini, then mended, and a reload that names a missing establishment
// file, all while sales go on: the tills stay served, and each change is said once.
TEST(RecargaLento, UrlRetiradaEDevolvidaEEstabelecimentoAusenteComVendasEmCurso) {
  const std::string MANTIDA = "*** Configuracao de ./zelp.ini nao aplicada, mantida a configuracao anterior";
  const std::string RECARREGADA = "Configuracao recarregada de ./zelp.ini";
  ZelpdComHost z;
  ASSERT_EQ(z.Inicia(), "");
  ZelpdEmTeste& g = z.Gateway();
  long long id = 0;
  // Drops n sales at once; each must get the response code given.
  const auto vende = [&](int n, const char* codigo) {
    for (int i = 0; i < n; ++i) g.EscrevePedido(id + 1 + i);
    for (std::string rsp; n-- > 0;) {
      ASSERT_TRUE(g.EsperaArquivo(++id, "rsp", 20s, rsp)) << id << "\n" << g.Saida();
      EXPECT_EQ(ZelpdEmTeste::Campo(rsp, "009-000"), codigo) << rsp;
    }
  };
  vende(1, "00");
  std::string semUrl = TextoIni(g.Config());
  for (std::size_t p = semUrl.find("\nurl="); p != std::string::npos; p = semUrl.find("\nurl=", p)) {
    semUrl.insert(p + 4, "l");  // urll=
  }
  Substitui(g.Dir() / "zelp.ini", semUrl, false);
  vende(3, "00");
  ASSERT_TRUE(g.EsperaSaida(MANTIDA, 5s)) << g.Saida();
  std::this_thread::sleep_for(3s);  // three more looks at the same file say nothing new
  vende(2, "00");
  EXPECT_EQ(g.ContaSaida("*** Nenhuma 'url' especificada!!!"), 1) << g.Saida();
  EXPECT_EQ(g.ContaSaida(MANTIDA), 1);
  EXPECT_EQ(g.ContaSaida(RECARREGADA), 0);

  g.GravaIni();
  ASSERT_TRUE(g.EsperaSaida(RECARREGADA, 5s)) << g.Saida();
  vende(2, "00");
  g.Config().estab = "estab/ausente.dat";
  g.GravaIni();
  ASSERT_TRUE(g.EsperaSaida(RECARREGADA, 5s, 2)) << g.Saida();
  vende(2, "85");
  // Named by the three groups, said once, right after the reload.
  const std::string saida = g.Saida();
  EXPECT_EQ(g.ContaSaida("*** Arquivo de estabelecimento inexistente: estab/ausente.dat"), 1) << saida;
  EXPECT_LT(saida.rfind(RECARREGADA), saida.find("*** Arquivo de estabelecimento inexistente")) << saida;
  EXPECT_TRUE(g.Zelpd().Rodando());
}

}  // namespace
