// The worker through the real zelpd: its own refusals (no type, file index out of range, no
// establishment file configured), the establishment file's refusals, the exact shape of each error
// response, the status-only ATV request, requests too short to answer, the day's log file, and
// zelp-pdv's exit status against the running gateway.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "comum/Texto.h"
#include "gateway_apoio.h"

namespace {

using namespace std::chrono_literals;

constexpr int LARGURA = 8;

// The folder's request lines, CR LF ended.
std::string Linhas(const std::vector<std::string>& linhas) {
  std::string s;
  for (const std::string& l : linhas) s += l + "\r\n";
  return s;
}

class GatewayWorker : public ComGateway<GatewayWorker> {
 public:
  // One approving host on every group; in parameter group 2, slot 3 holds a tampered file, slot 4
  // a missing one, slot 5 a short one; slot 9 of group 2 and slot 1 of group 0 hold none.
  static void Prepara(AmbienteGateway& a) {
    a.hosts.push_back(std::make_unique<HostEmExecucao>(std::vector<std::string>{"--resumo"}));
    const int porta = a.hosts[0]->Porta();
    if (porta <= 0) {
      a.erro = "zelp-host did not start: " + a.hosts[0]->Saida();
      return;
    }
    a.gateway = std::make_unique<Gateway>(LARGURA);
    Gateway& g = *a.gateway;
    std::string ini = IniBase(LARGURA, 10, 3);
    for (int grupo = 0; grupo < 3; ++grupo) ini += IniGrupo(grupo, {"127.0.0.1"}, porta);
    ini += CriaLojas(g, a.erro);

    a.erro += g.CriaEstabelecimento("adulterada.dat", "42345678", "CHAVE004");
    std::string adulterada = g.Pasta().Le("estab/adulterada.dat");
    if (adulterada.size() == 206) {
      adulterada[10] = static_cast<char>(adulterada[10] ^ 0x01);  // in the name, covered by the check value
      g.Pasta().Escreve("estab/adulterada.dat", adulterada);
    } else {
      a.erro += "estab/adulterada.dat was not made\n";
    }
    g.Pasta().Escreve("estab/curta.dat", g.Pasta().Le("estab/loja2.dat").substr(0, 205));
    ini += "[par2]\r\narq3=estab/adulterada.dat\r\narq4=estab/ausente.dat\r\narq5=estab/curta.dat\r\n";
    g.EscreveIni(ini);
    if (a.erro.empty()) a.erro = g.Inicia();
  }
};

TEST_F(GatewayWorker, SemTipoRespostaDeQuatroCamposComOTextoDoCampo011) {
  struct Caso {
    long long id;
    std::vector<std::string> linhas;
    std::string mensagem;
  };
  const std::vector<Caso> casos = {
      {5001, {"000-000 = CRT", "001-000 = 5001", "003-000 = 1500", "383-000 = 0", "999-999 = "},
       "*ZELP* Campo [011-000 = 00] invalido"},
      {5002, {"000-000 = CRT", "001-000 = 5002", "011-000 = 99", "003-000 = 1500", "999-999 = "},
       "*ZELP* Campo [011-000 = 99] invalido"},
      // Only the low 8 bits select the type: 355 is 99 again, and the text shows the value read.
      {5003, {"000-000 = CRT", "001-000 = 5003", "011-000 = 355", "003-000 = 1500", "999-999 = "},
       "*ZELP* Campo [011-000 = 355] invalido"},
  };
  const std::size_t antes = Host(0).Saida().size();
  for (const Caso& c : casos) G().Envia(c.id, Linhas(c.linhas));
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(G().EsperaResposta(c.id, LIMITE_RESPOSTA)) << G().Saida();
    EXPECT_EQ(G().LeSaida(c.id, ".sta"), StatusEsperado(c.id, LARGURA));
    // Exactly 000 "???", 001, 030 and 999: no response code without a type.
    EXPECT_EQ(G().LeSaida(c.id, ".rsp"),
              Formata("000-000 = ???\r\n001-000 = %08lld\r\n030-000 = %s\r\n999-999 = \r\n", c.id, c.mensagem.c_str()));
  }
  EXPECT_EQ(Host(0).Saida().substr(antes), "") << "no message goes to the host";
}

TEST_F(GatewayWorker, TipoConhecidoRespostaDeErroComCodigo85EOTexto) {
  const int i31 = IndiceDoCodigo(31);
  const int i14 = IndiceDoCodigo(14);
  const int i20 = IndiceDoCodigo(20);
  struct Caso {
    long long id;
    int indice;
    Pedido pedido;
    std::string valor003;  // the request's 003 as the error response keeps it
    std::string mensagem;
    std::string linhaLog;  // logged by the establishment reader besides the message, or ""
  };
  const std::vector<Caso> casos = {
      {5010, i31, Pedido::DoTipo(i31, 5010, "1500", 1).Define(383, 0, "10"), "1500",
       "*ZELP* Campo [383-000 = 10] invalido", ""},
      // A negative file index is refused like 10; 003 is kept to its first 15 characters.
      {5011, i31, Pedido::DoTipo(i31, 5011, "12345678901234567890", 1).Define(383, 0, "-1"), "123456789012345",
       "*ZELP* Campo [383-000 = -1] invalido", ""},
      // 9 passes the range check and meets an empty slot.
      {5012, i31, Pedido::DoTipo(i31, 5012, "1500", 1).Define(383, 0, "9"), "1500",
       "*ZELP* Faltando 'Par2', 'arq9'", ""},
      {5013, i14, Pedido::DoTipo(i14, 5013, "1500", 1).Define(383, 0, "1"), "1500",
       "*ZELP* Faltando 'Par0', 'arq1'", ""},
      {5014, i20, Pedido::DoTipo(i20, 5014, "1500", 2).Define(383, 0, "7"), "1500",
       "*ZELP* Faltando 'Par1', 'arq7'", ""},
      {5015, i31, Pedido::DoTipo(i31, 5015, "1500", 1).Define(383, 0, "3"), "1500",
       "*ZELP* Arquivo de Estabelecimento Adulterado", "*** Contactar Suporte Tecnico."},
      {5016, i31, Pedido::DoTipo(i31, 5016, "1500", 1).Define(383, 0, "4"), "1500",
       "*ZELP* Erro ao acessar \"estab/ausente.dat\"", "*** Confira a disponibilidade do arquivo no diretorio"},
      {5017, i31, Pedido::DoTipo(i31, 5017, "1500", 1).Define(383, 0, "5"), "1500",
       "*ZELP* Erro ao ler \"estab/curta.dat\"", "*** Confira a disponibilidade do arquivo no diretorio"},
      // The header must be the type's own.
      {5018, i31, Pedido::DoTipo(i31, 5018, "1500", 1).Define(0, 0, "CHQ"), "1500",
       "*ZELP* Campo [000-000 = CHQ] invalido", ""},
      // An amount that the host message cannot carry digit for digit is never sent as another one.
      {5019, i31, Pedido::DoTipo(i31, 5019, "15.00", 1), "15.00", "*ZELP* Campo [003-000] invalido", ""},
  };
  const std::size_t antes = Host(0).Saida().size();
  for (const Caso& c : casos) G().Envia(c.id, c.pedido);
  for (const Caso& c : casos) {
    const TTipoTransacao& tipo = tiposTransacao[c.indice];
    SCOPED_TRACE(testing::Message() << c.id << ": " << c.mensagem);
    ASSERT_TRUE(G().EsperaResposta(c.id, LIMITE_RESPOSTA)) << G().Saida();
    EXPECT_EQ(G().LeSaida(c.id, ".sta"), StatusEsperado(c.id, LARGURA));
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(c.id, ".rsp"), r, erro)) << erro;
    // The shape of a refusal of the type: every field a refusal carries, once, empty but these.
    EXPECT_EQ(ChavesDe(r), ChavesRespostaErro(tipo));
    for (const CampoArquivo& campo : r) {
      switch (campo.numero) {
        case 0: EXPECT_EQ(campo.valor, tipo.nome); break;
        case 1: EXPECT_EQ(campo.valor, Formata("%08lld", c.id)); break;
        case 3: EXPECT_EQ(campo.valor, c.valor003); break;
        case 9: EXPECT_EQ(campo.valor, "85"); break;
        case 30: EXPECT_EQ(campo.valor, c.mensagem); break;
        default: EXPECT_EQ(campo.valor, "") << "field " << campo.numero; break;
      }
    }
    ASSERT_TRUE(EsperaAte([&] { return G().Log().find(" " + c.mensagem + "\r\n") != std::string::npos; }, 5s))
        << G().Log();
    if (!c.linhaLog.empty()) {
      EXPECT_NE(G().Log().find(" " + c.linhaLog + "\r\n"), std::string::npos) << G().Log();
    }
  }
  // None of them got as far as the host.
  EXPECT_EQ(Host(0).Saida().substr(antes), "");

  // One of them written out whole.
  EXPECT_EQ(G().LeSaida(5010, ".rsp"),
            "000-000 = CRT\r\n001-000 = 00005010\r\n003-000 = 1500\r\n009-000 = 85\r\n012-000 = \r\n013-000 = \r\n"
            "022-000 = \r\n023-000 = \r\n030-000 = *ZELP* Campo [383-000 = 10] invalido\r\n032-000 = \r\n"
            "370-000 = \r\n999-999 = \r\n");
}

TEST_F(GatewayWorker, AtvRecebeSoOStatusEmQualquerCaixa) {
  const std::size_t antes = Host(0).Saida().size();
  // A stale answer of an earlier request with the same number goes when the request is found.
  G().Pasta().Escreve("out/00005100.rsp", "000-000 = CRT\r\n999-999 = \r\n");
  G().Envia(5100, Linhas({"000-000 = ATV", "001-000 = 5100", "011-000 = 31", "383-000 = 0", "999-999 = "}));
  G().Envia(5101, Linhas({"000-000 = atv", "001-000 = 5101", "011-000 = 31", "003-000 = 1500", "999-999 = "}));
  for (long long id : {5100LL, 5101LL}) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(EsperaAte([&] { return G().ExisteSaida(id, ".sta"); }, LIMITE_RESPOSTA)) << G().Saida();
    // The clean-up after the status is the worker's last step.
    ASSERT_TRUE(G().EsperaFimDoPedido(id, 10s));
    EXPECT_EQ(G().LeSaida(id, ".sta"), StatusEsperado(id, LARGURA));
  }
  // Give a wrong worker time to write what it should not.
  EXPECT_FALSE(EsperaAte([&] { return G().ExisteSaida(5100, ".rsp") || G().ExisteSaida(5101, ".rsp"); }, 1s));
  EXPECT_EQ(Host(0).Saida().substr(antes), "");
}

TEST_F(GatewayWorker, TresCamposNaoTemStatusNemRespostaEOPedidoEApagado) {
  G().Envia(5200, Linhas({"000-000 = CRT", "001-000 = 5200", "999-999 = "}));
  // Three fields, the fourth after the closing 999 is never read.
  G().Envia(5201, Linhas({"000-000 = ATV", "001-000 = 5201", "999-999 = ", "011-000 = 31"}));
  for (long long id : {5200LL, 5201LL}) {
    SCOPED_TRACE(id);
    // Claimed (so renamed to .log) and then deleted by the clean-up with [Deleta] Log set.
    ASSERT_TRUE(G().EsperaFimDoPedido(id, LIMITE_RESPOSTA)) << G().Saida();
    ASSERT_TRUE(EsperaAte(
        [&] {
          return G().Log().find(Formata(" in/%08lld.ENV renomeado como in/%08lld.log\r\n", id, id)) != std::string::npos;
        },
        5s))
        << G().Log();
  }
  EXPECT_FALSE(EsperaAte(
      [&] {
        return G().ExisteSaida(5200, ".sta") || G().ExisteSaida(5200, ".rsp") || G().ExisteSaida(5201, ".sta") ||
               G().ExisteSaida(5201, ".rsp");
      },
      1s));
}

std::string NomeDoDia(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return Formata("LT%02d%02d%02d.txt", tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100);
}

TEST_F(GatewayWorker, ArquivoDeLogDoDiaComAsLinhasDoPedidoEmCrLf) {
  const std::time_t inicio = std::time(nullptr);
  const int i31 = IndiceDoCodigo(31);
  G().Envia(5300, Pedido::DoTipo(i31, 5300, "1500", 1));
  G().Envia(5301, Linhas({"000-000 = CRT", "001-000 = 5301", "011-000 = 99", "003-000 = 1500", "999-999 = "}));
  ASSERT_TRUE(G().EsperaResposta(5300, LIMITE_RESPOSTA));
  ASSERT_TRUE(G().EsperaResposta(5301, LIMITE_RESPOSTA));
  const std::vector<std::string> esperadas = {
      "Arquivo in/00005300.ENV encontrado",
      "in/00005300.ENV renomeado como in/00005300.log",
      "out/00005300.tmp renomeado como out/00005300.sta",
      "out/00005300.tmp renomeado como out/00005300.rsp",
      "Arquivo in/00005301.ENV encontrado",
      "out/00005301.tmp renomeado como out/00005301.sta",
      "*ZELP* Campo [011-000 = 99] invalido",
      "out/00005301.tmp renomeado como out/00005301.rsp",
  };
  ASSERT_TRUE(EsperaAte(
      [&] { return G().Log().find(" " + esperadas.back() + "\r\n") != std::string::npos; }, 5s));
  const std::time_t fim = std::time(nullptr);

  // One file, named after the day (the day may have turned while the test ran).
  const std::vector<std::string> arquivos = G().ArquivosDeLog();
  ASSERT_FALSE(arquivos.empty());
  for (const std::string& nome : arquivos) {
    EXPECT_TRUE(nome == NomeDoDia(inicio) || nome == NomeDoDia(fim)) << nome;
  }

  const std::string log = G().Log();
  // Every line: the time stamp, one space, the message, CR LF.
  const std::regex linha(R"(\d\d:\d\d:\d\d\.\d\d\d [^\r\n]*\r\n)");
  std::size_t pos = 0;
  while (pos < log.size()) {
    const std::size_t fimLinha = log.find('\n', pos);
    ASSERT_NE(fimLinha, std::string::npos) << "last line without its end: " << log.substr(pos);
    const std::string l = log.substr(pos, fimLinha + 1 - pos);
    EXPECT_TRUE(std::regex_match(l, linha)) << "line: \"" << l << "\"";
    pos = fimLinha + 1;
  }
  // Each request's lines in the order it went through them (the two requests may interleave).
  std::size_t anterior = 0;
  for (const std::string& e : esperadas) {
    if (e.rfind("Arquivo ", 0) == 0) anterior = 0;
    const std::size_t onde = log.find(" " + e + "\r\n", anterior);
    ASSERT_NE(onde, std::string::npos) << e << "\n" << log;
    anterior = onde;
  }
  // The banner is shown before the first load and never reaches a file.
  EXPECT_EQ(log.find("Servidor ZELP"), std::string::npos);
  // The standard output shows the window's lines: one space and the message, without the time.
  EXPECT_NE(G().Saida().find("\n Arquivo in/00005300.ENV encontrado\n"), std::string::npos) << G().Saida();
}

struct ExecucaoPdv {
  int status = -1;
  std::string saida;
};

ExecucaoPdv Pdv(Gateway& g, std::vector<std::string> campos) {
  std::vector<std::string> args = {"--entrada", "in", "--saida", "out", "--largura", std::to_string(LARGURA),
                                   "--tempo-status", "20", "--tempo-resposta", "30"};
  args.insert(args.end(), campos.begin(), campos.end());
  Processo p(CaminhoPrograma("zelp-pdv"), args, g.Pasta().Caminho(), g.Pasta() / "pdv.out");
  ExecucaoPdv e;
  EXPECT_TRUE(p.Espera(60s, e.status)) << "zelp-pdv did not end";
  e.saida = p.Saida();
  return e;
}

TEST_F(GatewayWorker, ZelpPdvSaiPeloResultadoDaTransacao) {
  const std::string cartao = "098-000=4111111111111111=2812";
  ExecucaoPdv e = Pdv(G(), {"000-000=CRT", "001-000=5400", "011-000=31", "003-000=1500", cartao});
  EXPECT_EQ(e.status, 0) << e.saida;
  EXPECT_NE(e.saida.find("009-000 = 00"), std::string::npos) << e.saida;

  e = Pdv(G(), {"000-000=CRT", "001-000=5401", "011-000=31", "003-000=2551", cartao});
  EXPECT_EQ(e.status, 1) << e.saida;
  EXPECT_NE(e.saida.find("009-000 = 51"), std::string::npos) << e.saida;

  e = Pdv(G(), {"000-000=CRT", "001-000=5402", "011-000=99", "003-000=1500", cartao});
  EXPECT_EQ(e.status, 1) << e.saida;
  EXPECT_NE(e.saida.find("030-000 = *ZELP* Campo [011-000 = 99] invalido"), std::string::npos) << e.saida;

  e = Pdv(G(), {"000-000=ATV", "001-000=5403", "011-000=31", "383-000=0"});
  EXPECT_EQ(e.status, 0) << e.saida;
}

TEST_F(GatewayWorker, RespostasTemONomeDo001QueNuncaECortado) {
  // The request file carries the width's eight digits; the answers are named after 001-000, of
  // twelve digits here, and the width is only a minimum.
  const std::string nome = "in/00005500.ENV";
  G().Pasta().Escreve("in/pedido-5500.tmp",
                      Pedido::DoTipo(IndiceDoCodigo(31), 123456789012LL, "1500", 1).Texto());
  std::error_code ec;
  std::filesystem::rename(G().Pasta() / "in/pedido-5500.tmp", G().Pasta() / nome, ec);
  ASSERT_FALSE(ec);
  ASSERT_TRUE(EsperaAte([&] { return G().Pasta().Existe("out/123456789012.rsp"); }, LIMITE_RESPOSTA)) << G().Saida();
  EXPECT_EQ(G().Pasta().Le("out/123456789012.sta"), StatusEsperado(123456789012LL, LARGURA));
  CamposArquivo r;
  std::string erro;
  ASSERT_TRUE(LeArquivoCampos(G().Pasta().Le("out/123456789012.rsp"), r, erro)) << erro;
  ASSERT_NE(ProcuraCampo(r, 1, 0), nullptr);
  EXPECT_EQ(ProcuraCampo(r, 1, 0)->valor, "123456789012");
  EXPECT_EQ(ProcuraCampo(r, 9, 0)->valor, "00");
}

TEST_F(GatewayWorker, PedidosMalFormadosTemRespostaDeErroEOGatewaySegue) {
  std::string muitos = "000-000 = CRT\r\n001-000 = 5600\r\n011-000 = 31\r\n";
  for (int k = 1; k <= 300; ++k) muitos += Formata("500-%03d = x\r\n", k);
  muitos += "999-999 = \r\n";

  std::string lixo = "000-000 = CRT\r\n001-000 = 5601\r\n011-000 = 31\r\n";
  std::mt19937 aleatorio(1);
  for (int k = 0; k < 3000; ++k) lixo.push_back(static_cast<char>(aleatorio() & 0xFF));
  lixo += "\r\n999-999 = \r\n";

  std::string nulos = "000-000 = CRT\r\n001-000 = 5602\r\n011-000 = 31\r\n003-000 = 15";
  nulos += std::string(3, '\0') + "00\r\n098-000 = " + std::string(1000, 'A') + "\r\n999-999 = \r\n";

  struct Caso {
    long long id;
    std::string texto;
    std::string codigo009;
    std::string inicio030;  // how the message of the response begins
  };
  const std::vector<Caso> casos = {
      // 255 fields are read; with the establishment texts and constants they no longer fit.
      {5600, muitos, "85", "*ZELP* NUMERO DE CAMPOS EXCEDIDO!"},
      {5601, lixo, "85", "*ZELP* "},
      // A value ends at its first NUL byte, as the line reader of C sees it: the amount is 15,
      // which the host refuses with 15.
      {5602, nulos, "15", "TRANSACAO RECUSADA (15)"},
      // Thirteen cheques where twelve is the most.
      {5603, Linhas({"000-000 = CHQ", "001-000 = 5603", "011-000 = 20", "003-000 = 1500", "042-000 = 13",
                     "999-999 = "}),
       "85", "*ZELP* Campo [042-000 = 13] invalido"},
      // A count byte of 200 reads as negative: refused, never a message shorter than its fixed part.
      {5604, Linhas({"000-000 = CRT", "001-000 = 5604", "011-000 = 109", "003-000 = 1500", "312-000 = 200",
                     "999-999 = "}),
       "85", "*ZELP* Campo [312-000"},
  };
  for (const Caso& c : casos) G().Envia(c.id, c.texto);
  G().Envia(5605, std::string());
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(G().EsperaResposta(c.id, LIMITE_RESPOSTA)) << G().Saida();
    CamposArquivo r;
    std::string erro;
    ASSERT_TRUE(LeArquivoCampos(G().LeSaida(c.id, ".rsp"), r, erro)) << erro;
    ASSERT_NE(ProcuraCampo(r, 9, 0), nullptr);
    EXPECT_EQ(ProcuraCampo(r, 9, 0)->valor, c.codigo009);
    ASSERT_NE(ProcuraCampo(r, 30, 0), nullptr);
    EXPECT_EQ(ProcuraCampo(r, 30, 0)->valor.rfind(c.inicio030, 0), 0u) << ProcuraCampo(r, 30, 0)->valor;
  }
  // An empty file is not a request: cleaned up without an answer.
  ASSERT_TRUE(G().EsperaFimDoPedido(5605, LIMITE_RESPOSTA));
  EXPECT_FALSE(G().ExisteSaida(5605, ".sta"));
  EXPECT_FALSE(G().ExisteSaida(5605, ".rsp"));
}

}  // namespace
