// zelpd.exe under wine beside the Linux zelpd: every transaction type answered byte for byte as on
// Linux, a request its writer (under wine) still holds, an answer published over an older one,
// Ctrl-C with a sale in flight, and the system's texts in code page 1252. The Windows build's tests
// run it (windows.e2e), naming its wine runner and its programs in ZELP_RODA_WINE and ZELP_BIN_WINDOWS.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <regex>

#include "comum/Texto.h"
#include "e2e/gateway_apoio.h"

namespace {

using namespace std::chrono_literals;

// A Windows program of that build, run by its wine runner, with its arguments.
std::vector<std::string> SobWine(const std::string& programa, std::vector<std::string> args = {}) {
  const char* wine = std::getenv("ZELP_RODA_WINE");
  const char* bin = std::getenv("ZELP_BIN_WINDOWS");
  args.insert(args.begin(), {wine ? wine : "ZELP_RODA_WINE unset", std::string(bin ? bin : "") + "/" + programa + ".exe"});
  return args;
}

// A gateway whose groups 0, 1 and 2 ask the hosts at these ports; started when erro is empty.
std::unique_ptr<Gateway> Prepara(const std::vector<int>& portas, const std::vector<std::string>& comando,
                                 std::string& erro) {
  auto g = std::make_unique<Gateway>(8);
  std::string ini = IniBase(8, 10, 3);
  for (int i = 0; i < 3; ++i) ini += IniGrupo(i, {"127.0.0.1"}, portas[i]);
  ini += CriaLojas(*g, erro);
  g->EscreveIni(ini);
  if (erro.empty()) erro = g->Inicia(comando, comando.empty() ? SIGTERM : SIGINT);
  return g;
}

// Only the host's clock and counter (012, 013, 022, 023, 032, and 300 of the pre-dated sales) may
// differ between two answers.
std::string SemRelogioDoHost(const std::string& arquivo) {
  static const std::regex campos("(^|\n)(01[23]|02[23]|032|300)-000 = [0-9]*");
  return std::regex_replace(arquivo, campos, "$1$2-000 = #");
}

int Ocorrencias(const std::string& texto, const std::string& trecho) {
  int n = 0;
  for (auto p = texto.find(trecho); p != std::string::npos; p = texto.find(trecho, p + 1)) ++n;
  return n;
}

TEST(ZelpdExe, TodoTipoRespondidoComoPeloZelpdDoLinux) {
  HostEmExecucao host({"--resumo"});
  ASSERT_GT(host.Porta(), 0) << host.Saida();
  const std::vector<int> portas(3, host.Porta());
  std::string erro;
  auto gLinux = Prepara(portas, {}, erro);
  auto gWindows = Prepara(portas, SobWine("zelpd"), erro);
  ASSERT_EQ(erro, "");
  // An approval of every type, and a refusal of every type that has an amount: the same requests.
  std::vector<std::pair<long long, int>> pedidos;
  for (int i = 0; i < numTipos; ++i) {
    for (const char* valor : {"1500", "2551"}) {
      if (valor[0] == '2' && Definicao(tiposTransacao[i].pedido, 3) == nullptr) continue;
      const long long id = 100 + static_cast<long long>(pedidos.size());
      const Pedido pedido = Pedido::DoTipo(i, id, valor, tiposTransacao[i].codigo == 20 ? 2 : 3);
      gLinux->Envia(id, pedido);
      gWindows->Envia(id, pedido);
      pedidos.emplace_back(id, tiposTransacao[i].codigo);
    }
  }
  std::string tabela = "code  request   .rsp bytes Linux/Windows  009  same\n";
  for (const auto& [id, codigo] : pedidos) {
    ASSERT_TRUE(gLinux->EsperaResposta(id, LIMITE_RESPOSTA) && gWindows->EsperaResposta(id, LIMITE_RESPOSTA))
        << "request " << id << " unanswered; zelpd.exe:\n" << gWindows->Saida();
    const std::string l = gLinux->LeSaida(id, ".rsp"), w = gWindows->LeSaida(id, ".rsp");
    const bool igual = SemRelogioDoHost(l) == SemRelogioDoHost(w) && gLinux->LeSaida(id, ".sta") == gWindows->LeSaida(id, ".sta");
    EXPECT_TRUE(igual) << "code " << codigo << ", request " << id << "\nLinux:\n" << l << "Windows:\n" << w;
    const auto p009 = l.find("009-000 = ");
    tabela += Formata("%4d  %08lld  %5zu / %-5zu            %s   %s\n", codigo, id, l.size(), w.size(),
                      p009 == std::string::npos ? "--" : l.substr(p009 + 10, 2).c_str(), igual ? "yes" : "NO");
  }
  std::printf("%s", tabela.c_str());
}

TEST(ZelpdExe, PedidoSeguroPeloEscritorCp1252PublicacaoSobreRespostaECtrlC) {
  // Cards: a host that holds each answer 3 s. Cheques: one that closes after the request.
  HostEmExecucao lento({"--resumo", "--atraso", "3000"}), fecha({"--resumo", "--falha", "fecha"});
  ASSERT_GT(lento.Porta() * fecha.Porta(), 0) << lento.Saida() << fecha.Saida();
  std::string erro;
  auto g = Prepara({fecha.Porta(), fecha.Porta(), lento.Porta()}, SobWine("zelpd"), erro);
  ASSERT_EQ(erro, "");
  const DiretorioTemporario& d = g->Pasta();

  // A till under wine writes its request in place, sharing it for reading only, and closes it 1.5 s later.
  d.Escreve("pedido.txt", Pedido::DoTipo(IndiceDoCodigo(31), 200, "1500", 3).Texto());
  const std::vector<std::string> escreve = SobWine("auxiliar-teste", {"escreve", "pedido.txt", "in/00000200.ENV", "1500"});
  Processo pdv(escreve[0], {escreve.begin() + 1, escreve.end()}, d.Caminho(), d / "pdv.out");
  ASSERT_TRUE(EsperaAte([&] { return pdv.Saida().find("pronto") != std::string::npos; }, 20s)) << pdv.Saida();
  g->Envia(201, Pedido::DoTipo(IndiceDoCodigo(14), 201, "1500", 3));
  ASSERT_TRUE(g->EsperaResposta(200, LIMITE_RESPOSTA) && g->EsperaResposta(201, LIMITE_RESPOSTA)) << g->Saida();
  EXPECT_EQ(Ocorrencias(g->Log(), "Arquivo in/00000200.ENV encontrado"), 1) << g->Log();
  EXPECT_EQ(Ocorrencias(g->Log(), "*** Erro ao renomear para in/00000200.log"), 1) << g->Log();
  EXPECT_NE(g->LeSaida(200, ".rsp").find("009-000 = 00\r\n"), std::string::npos) << g->LeSaida(200, ".rsp");
  // The gateway's own text in the till's code page, in the response and in the day's log.
  const std::string texto = "02 *ZELP* Erro na comunica\xE7\xE3o(Recebimento)";
  const std::string cheque = g->LeSaida(201, ".rsp");
  EXPECT_TRUE(cheque.find("009-000 = 85\r\n") != std::string::npos &&
              cheque.find("030-000 = " + texto + "\r\n") != std::string::npos)
      << g->LeSaida(201, ".rsp");
  EXPECT_NE(g->Log().find(texto), std::string::npos) << g->Log();

  // Ctrl-C while the host holds a sale's answer, an older answer of its number already published.
  g->Envia(202, Pedido::DoTipo(IndiceDoCodigo(31), 202, "1500", 3));
  ASSERT_TRUE(EsperaAte([&] { return g->ExisteSaida(202, ".sta"); }, LIMITE_RESPOSTA));
  d.Escreve("out/00000202.rsp", "resposta velha");
  EXPECT_EQ(g->Para(), 0) << g->Saida();
  EXPECT_NE(g->LeSaida(202, ".rsp").find("009-000 = 00\r\n"), std::string::npos) << g->LeSaida(202, ".rsp");
  const std::string log = g->Log();
  const auto encerrado = log.find("out/00000202.tmp renomeado como out/00000202.rsp"), parado = log.find("*** Servico parado");
  EXPECT_TRUE(encerrado != std::string::npos && parado != std::string::npos && encerrado < parado) << log;
}

}  // namespace
