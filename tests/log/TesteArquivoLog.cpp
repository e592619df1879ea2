// The day's log file: its name around midnight, the line format, the window mirror and the failures.
#include <gtest/gtest.h>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "log/DiarioTransacoes.h"
#include "log/GravaLinha.h"
#include "log/GravaLog.h"
#include "log/PrioridadeDiario.h"

namespace {

class ArquivoLog : public ::testing::Test {
 protected:
  void SetUp() override { zelp_log::DefineDirLog(dir.Caminho().c_str()); }
  void TearDown() override { zelp_log::DefineDirLog(""); }
  DiretorioTemporario dir;
  CapturaLog janela;
};

struct CasoNomeDoDia {
  plataforma::HoraLocal hora;
  const char* arquivo;
  const char* linha;
};

TEST_F(ArquivoLog, ArquivoDoDiaPelaHoraDaLinha) {
  const CasoNomeDoDia casos[] = {
      {{2026, 12, 31, 23, 59, 59, 999}, "LT311226.txt", "23:59:59.999 virada\r\n"},
      {{2027, 1, 1, 0, 0, 0, 0}, "LT010127.txt", "00:00:00.000 virada\r\n"},
      {{2026, 12, 7, 9, 5, 3, 42}, "LT071226.txt", "09:05:03.042 virada\r\n"},
      {{2000, 2, 29, 1, 2, 3, 4}, "LT290200.txt", "01:02:03.004 virada\r\n"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.arquivo);
    EXPECT_TRUE(zelp_log::GravaMensagem(caso.hora, "virada"));
    EXPECT_EQ(dir.Le(caso.arquivo), caso.linha);
  }
}

TEST_F(ArquivoLog, LinhasSeAcrescentamAoArquivoExistente) {
  dir.Escreve("LT071226.txt", "antes\r\n");
  const plataforma::HoraLocal hora{2026, 12, 7, 10, 11, 12, 13};
  EXPECT_TRUE(zelp_log::GravaMensagem(hora, "um"));
  EXPECT_TRUE(zelp_log::GravaMensagem(hora, "dois"));
  EXPECT_EQ(dir.Le("LT071226.txt"), "antes\r\n10:11:12.013 um\r\n10:11:12.013 dois\r\n");
}

TEST_F(ArquivoLog, JanelaMostraUmEspacoEAMensagem) {
  EXPECT_TRUE(GravaLog("Pedido %s %d", "00000123.ENV", 5));
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{" Pedido 00000123.ENV 5"});
}

// A line is one event: control characters that names and values bring (a forged second line, a
// terminal escape) are escaped; the line feed opening the service's fatal texts stays as it was.
TEST_F(ArquivoLog, CaracteresDeControleEscapados) {
  const plataforma::HoraLocal hora{2026, 12, 7, 8, 0, 0, 5};
  for (const char* m : {"Arquivo in/0\r\n12:00:00.000 x.ENV encontrado", "\n*** x\ty\x1b[2J\x7f\nz", "n\xc3\xa3o"}) {
    EXPECT_TRUE(zelp_log::GravaMensagem(hora, m));
  }
  EXPECT_EQ(dir.Le("LT071226.txt"), "08:00:00.005 Arquivo in/0\\r\\n12:00:00.000 x.ENV encontrado\r\n"
                                    "08:00:00.005 \n*** x\\ty\\x1b[2J\\x7f\\nz\r\n08:00:00.005 n\xc3\xa3o\r\n");
  EXPECT_EQ(CapturaLog::Linhas().at(0), " Arquivo in/0\\r\\n12:00:00.000 x.ENV encontrado");
  // The limit counts the line as written: 301 characters once escaped fit, 302 do not.
  EXPECT_TRUE(zelp_log::GravaMensagem(hora, (std::string(297, 'a') + "\x1b").c_str()));
  EXPECT_FALSE(zelp_log::GravaMensagem(hora, (std::string(298, 'a') + "\x1b").c_str()));
}

TEST_F(ArquivoLog, GravaLogUsaOArquivoDeHoje) {
  plataforma::HoraLocal antes = plataforma::AgoraLocal();
  EXPECT_TRUE(GravaLog("hoje %d", 1));
  plataforma::HoraLocal depois = plataforma::AgoraLocal();
  std::set<std::string> possiveis;
  for (const auto& h : {antes, depois}) {
    char nome[32];
    std::snprintf(nome, sizeof nome, "LT%02d%02d%02d.txt", h.dia, h.mes, h.ano % 100);
    possiveis.insert(nome);
  }
  int achados = 0;
  for (const auto& nome : possiveis) {
    if (!dir.Existe(nome)) continue;
    ++achados;
    std::string conteudo = dir.Le(nome);
    ASSERT_EQ(conteudo.size(), 21u);  // "hh:mm:ss.mmm hoje 1\r\n"
    EXPECT_EQ(conteudo.substr(12), " hoje 1\r\n");
    EXPECT_EQ(conteudo[2], ':');
    EXPECT_EQ(conteudo[8], '.');
  }
  EXPECT_EQ(achados, 1);
}

TEST_F(ArquivoLog, DiretorioInexistenteMostraErroComONomeDoArquivo) {
  zelp_log::DefineDirLog((dir / "nao-existe").c_str());
  const plataforma::HoraLocal hora{2026, 12, 7, 8, 0, 0, 0};
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(zelp_log::GravaMensagem(hora, "perdida"));
  }
  EXPECT_EQ(CapturaLog::Linhas(),
            (std::vector<std::string>{" perdida", "Erro ao abrir arquivo LT071226.txt", " perdida",
                                      "Erro ao abrir arquivo LT071226.txt"}));
  EXPECT_FALSE(dir.Existe("nao-existe"));
}

TEST_F(ArquivoLog, SemDiretorioNadaVaiParaArquivo) {
  zelp_log::DefineDirLog("");
  EXPECT_TRUE(GravaLog("%s", "Servidor ZELP V00.68"));
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"Servidor ZELP V00.68"});
  EXPECT_TRUE(std::filesystem::is_empty(dir.Caminho()));
}

// Threads that log at once never mix their lines in the file.
TEST_F(ArquivoLog, LinhasDeVariasThreadsNaoSeMisturam) {
  zelp_log::DefineSaidaJanela(nullptr);
  zelp_log::CriaTravaLog();
  const plataforma::HoraLocal hora{2026, 12, 7, 8, 0, 0, 0};
  constexpr int THREADS = 6, LINHAS = 150;
  std::vector<std::thread> threads;
  for (int t = 0; t < THREADS; ++t) {
    threads.emplace_back([t, &hora] {
      std::string corpo(250, static_cast<char>('a' + t));
      for (int i = 0; i < LINHAS; ++i) zelp_log::GravaMensagem(hora, corpo.c_str());
    });
  }
  for (auto& t : threads) t.join();
  std::string conteudo = dir.Le("LT071226.txt");
  std::size_t pos = 0;
  int contagem[THREADS] = {};
  while (pos < conteudo.size()) {
    std::size_t fim = conteudo.find("\r\n", pos);
    ASSERT_NE(fim, std::string::npos);
    std::string linha = conteudo.substr(pos, fim - pos);
    ASSERT_EQ(linha.size(), 263u);
    ASSERT_EQ(linha.substr(0, 13), "08:00:00.000 ");
    int t = linha[13] - 'a';
    ASSERT_TRUE(t >= 0 && t < THREADS);
    EXPECT_EQ(linha.substr(13), std::string(250, static_cast<char>('a' + t)));
    ++contagem[t];
    pos = fim + 2;
  }
  for (int t = 0; t < THREADS; ++t) EXPECT_EQ(contagem[t], LINHAS);
}

// Each value goes into one field and comes back whole: quoted where a comma, a quote or an outer
// blank needs it, control characters written out so that no value can break a line.
TEST(DiarioTransacoes, CampoCsvEscapaEVoltaInteiro) {
  const std::pair<std::string, std::string> casos[] = {  // the value, its field
      {"1500", "1500"},
      {"", ""},
      {"NAO AUTORIZADA, LIGUE", "\"NAO AUTORIZADA, LIGUE\""},
      {"diz \"oi\"", "\"diz \"\"oi\"\"\""},
      {" 15", "\" 15\""},
      {std::string("linha\r\nquebrada\x01\x7f\0", 18), "linha\\x0D\\x0Aquebrada\\x01\\x7F\\x00"},
      {"comunicação(Conexão)", "comunicação(Conexão)"},
  };
  std::vector<std::string> lidos;
  for (const auto& [valor, campo] : casos) {
    SCOPED_TRACE(campo);
    EXPECT_EQ(zelp_log::CampoCsv(zelp_log::EscapaControles(valor)), campo);
    ASSERT_TRUE(zelp_log::SeparaCsv("a," + campo + ",z", lidos));
    EXPECT_EQ(lidos, (std::vector<std::string>{"a", zelp_log::EscapaControles(valor), "z"}));
  }
  for (const char* quebrada : {"a,\"b", "a,\"b\"c", "\"a\"\"", "\""}) {
    EXPECT_FALSE(zelp_log::SeparaCsv(quebrada, lidos)) << quebrada;
  }
}

// Workers finishing at once: the header once at the top of the day's file (that of the record's
// end), then every line whole.
TEST_F(ArquivoLog, DiarioDeTransacoesCabecalhoUmaVezELinhasInteiras) {
  constexpr int THREADS = 6, LINHAS = 100;
  std::vector<std::thread> threads;
  for (int t = 0; t < THREADS; ++t) {
    threads.emplace_back([t] {
      const zelp_log::RegistroTransacao r{
          {2026, 12, 9, 23, 59, 59, 998}, {2026, 12, 10, 0, 0, 0, 7}, "0000070" + std::to_string(t), "CRT", "31", "1500",
          "05", std::string(300, 'x') + ", ligue", "127.0.0.1:4049", 9, zelp_log::Desfecho::Recusada};
      for (int i = 0; i < LINHAS; ++i) EXPECT_TRUE(zelp_log::GravaDiarioTransacoes(r));
    });
  }
  for (auto& t : threads) t.join();
  std::istringstream conteudo(dir.Le("transacoes-2026-12-10.csv"));
  std::string linha;
  std::getline(conteudo, linha);
  EXPECT_EQ(linha, "start,end,number,header,code,amount,response,text,host,ms,outcome\r");
  int contagem[THREADS] = {};
  while (std::getline(conteudo, linha)) {
    const int t = linha.size() > 55 ? linha[55] - '0' : -1;  // the last digit of the number
    ASSERT_TRUE(t >= 0 && t < THREADS) << linha;
    EXPECT_EQ(linha, "2026-12-09 23:59:59.998,2026-12-10 00:00:00.007,0000070" + std::to_string(t) + ",CRT,31,1500,05,\"" +
                         std::string(300, 'x') + ", ligue\",127.0.0.1:4049,9,refused\r");
    ++contagem[t];
  }
  for (int t = 0; t < THREADS; ++t) EXPECT_EQ(contagem[t], LINHAS);
}

struct CasoPrioridade {
  const char* linha;
  const char* fatal;
  int prioridade;
};

TEST(PrioridadeDiario, ErroParaOFatalAvisoParaAlarmesEHostFalhoNotaParaAParadaInformacaoParaOResto) {
  const char* semUrl = "\n*** Nenhuma 'url' especificada!!!";
  const CasoPrioridade casos[] = {
      {"Servidor ZELP V00.68", nullptr, PRIORIDADE_INFORMACAO},
      {" Arquivo in/00000001.ENV encontrado", semUrl, PRIORIDADE_INFORMACAO},
      {" *** Nome de Arquivo Invalido: \"in/1.ENV\"", nullptr, PRIORIDADE_AVISO},
      {"*** Arquivo Deletado!", semUrl, PRIORIDADE_AVISO},
      // The fatal text as the window shows it, with or without the log directory's space.
      {"\n*** Nenhuma 'url' especificada!!!", semUrl, PRIORIDADE_ERRO},
      {" \n*** Nenhuma 'url' especificada!!!", semUrl, PRIORIDADE_ERRO},
      // The same text while the service goes on (a reload refused for it), and another alarm after.
      {"\n*** Nenhuma 'url' especificada!!!", nullptr, PRIORIDADE_ERRO},
      {" \n*** Nenhum 'Par' especificado!!!", nullptr, PRIORIDADE_ERRO},
      {" *** Configuracao de ./zelp.ini nao aplicada, mantida a configuracao anterior", nullptr, PRIORIDADE_AVISO},
      {" *** Erro ao criar Thread !", semUrl, PRIORIDADE_AVISO},
      {" ** quase um alarme", nullptr, PRIORIDADE_INFORMACAO},
      {"", nullptr, PRIORIDADE_INFORMACAO},
      // A host that cannot be reached or does not answer is a warning, though no "***" says so.
      {" 127.0.0.1, connect Error = 111", nullptr, PRIORIDADE_AVISO},
      {" 00 *ZELP* Erro na comunicação(Conexão)", nullptr, PRIORIDADE_AVISO},
      {" recv TimeOut = 30s, Len = 0", nullptr, PRIORIDADE_AVISO},
      {" gethostbyname Error = -2", nullptr, PRIORIDADE_AVISO},
      {" 127.0.0.1 renomeado como saida/1.sta", nullptr, PRIORIDADE_INFORMACAO},
      // An orderly stop is a notice; one that cuts transactions short stays an alarm.
      {" *** Servico parado", nullptr, PRIORIDADE_NOTA},
      {"*** Parada: aguardando 2 transacao(oes) em curso", nullptr, PRIORIDADE_NOTA},
      {" *** Parada imediata: 2 transacao(oes) em curso interrompida(s)", nullptr, PRIORIDADE_AVISO},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.linha);
    EXPECT_EQ(PrioridadeDiario(caso.linha, caso.fatal), caso.prioridade);
  }
}

}  // namespace
