// The real zelpd in a directory of its own: command line, banner, claims, invalid names, the
// orderly stop on SIGTERM and SIGINT, the end after a fatal service error, what it tells the service
// manager and the journal, and the configuration check.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "falhas_apoio.h"
#include "ferramentas_apoio.h"
#include "log/DiarioTransacoes.h"

namespace {

using namespace std::chrono_literals;

std::string Executa(const std::vector<std::string>& args, const DiretorioTemporario& dir, int& status) {
  Processo p(CaminhoPrograma("zelpd"), args, dir.Caminho(), dir / "saida.txt");
  EXPECT_TRUE(p.Iniciou());
  EXPECT_TRUE(p.Espera(10s, status)) << "zelpd did not end";
  return p.Saida();
}

TEST(ZelpdLinhaDeComando, Versao) {
  DiretorioTemporario dir;
  int status = -1;
  EXPECT_EQ(Executa({"--version"}, dir, status), "Servidor ZELP V00.68\n");
  EXPECT_EQ(status, 0);
}

TEST(ZelpdLinhaDeComando, AjudaFalaDoZelpIniEDasEsperas) {
  for (const char* opcao : {"--help", "-h"}) {
    SCOPED_TRACE(opcao);
    DiretorioTemporario dir;
    int status = -1;
    const std::string saida = Executa({opcao}, dir, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(saida.rfind("Usage: zelpd", 0), 0u) << saida;
    EXPECT_NE(saida.find("zelp.ini in the working"), std::string::npos) << saida;
    EXPECT_NE(saida.find("waits 2 s"), std::string::npos) << saida;
    EXPECT_NE(saida.find("waits 10 s"), std::string::npos) << saida;
  }
}

struct CasoUso {
  std::vector<std::string> args;
  const char* mensagem;
  bool lembraAjuda = true;  // the line that points to --help follows
};

TEST(ZelpdLinhaDeComando, ErrosDeUsoSaoNomeadosETerminamCom2) {
  const CasoUso casos[] = {
      {{"--porta"}, "zelpd: unknown option '--porta'"},
      {{"-x", "--verifica"}, "zelpd: unknown option '-x'"},
      {{"extra"}, "zelpd: unexpected argument 'extra'"},
      {{"--verifica", "-C"}, "zelpd: option '-C' needs a directory"},
      {{"--conecta"}, "zelpd: --conecta goes only with --verifica"},
      {{"-C", "nao-existe", "--verifica"}, "zelpd: cannot change to directory 'nao-existe'", false},
      {{"--resumo", "2026-02-29"}, "zelpd: invalid date '2026-02-29': expected YYYY-MM-DD"},
      {{"--resumo", "09/12/2026"}, "zelpd: invalid date '09/12/2026': expected YYYY-MM-DD"},
      {{"--resumo", "--verifica"}, "zelpd: --resumo does not go with --verifica"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.mensagem);
    DiretorioTemporario dir;
    int status = -1;
    const std::string saida = Executa(caso.args, dir, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(saida.rfind(caso.mensagem, 0), 0u) << saida;
    EXPECT_EQ(saida.find("Try 'zelpd --help'") != std::string::npos, caso.lembraAjuda) << saida;
  }
}

// Sets an environment variable for the programs a test starts, and removes it at the end.
class AmbienteTemporario {
 public:
  AmbienteTemporario(const char* nome, const std::string& valor) : nome_(nome) { setenv(nome, valor.c_str(), 1); }
  ~AmbienteTemporario() { unsetenv(nome_); }
  AmbienteTemporario(const AmbienteTemporario&) = delete;
  AmbienteTemporario& operator=(const AmbienteTemporario&) = delete;

 private:
  const char* nome_;
};

// JOURNAL_STREAM naming a file that the process's output will go to (created now; the start keeps
// its inode), as systemd names the journal's stream.
std::string FluxoDoArquivo(const std::string& caminho) {
  close(open(caminho.c_str(), O_WRONLY | O_CREAT, 0644));
  struct stat st {};
  EXPECT_EQ(stat(caminho.c_str(), &st), 0);
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

void EscreveIni(const DiretorioTemporario& dir, bool comUrl) {
  std::string ini =
      "[Tempos]\nTOutIni=1\n[Diretorios]\nEntrada=in\nSaida=out\nTamNomeArq=8\n[PEstab]\npar0=estab0.dat\n";
  if (comUrl) ini += "[End0]\nurl=127.0.0.1\nPort=9\n";
  dir.Escreve("zelp.ini", ini);
}

class ZelpdSinal : public ::testing::TestWithParam<int> {};

TEST_P(ZelpdSinal, ReivindicaApagaInvalidosEParaComStatus0) {
  DiretorioTemporario dir;
  dir.CriaSubdiretorio("in");
  dir.CriaSubdiretorio("out");
  EscreveIni(dir, true);
  dir.Escreve("in/00000123.ENV", "000-000 = CRT\n001-000 = 123\n011-000 = 31\n383-000 = 0\n999-999 = \n");
  dir.Escreve("in/123.ENV", "x");

  Processo zelpd(CaminhoPrograma("zelpd"), {}, dir.Caminho(), dir / "saida.txt");
  ASSERT_TRUE(zelpd.Iniciou());
  // The service waits two seconds before it does anything.
  std::this_thread::sleep_for(700ms);
  EXPECT_EQ(zelpd.Saida(), "");
  EXPECT_TRUE(dir.Existe("in/00000123.ENV"));

  ASSERT_TRUE(EsperaAte([&] { return dir.Existe("in/00000123.log") && dir.Existe("out/00000123.sta"); }, 20s))
      << zelpd.Saida();
  EXPECT_FALSE(dir.Existe("in/00000123.ENV"));
  EXPECT_FALSE(dir.Existe("in/123.ENV"));
  ASSERT_TRUE(EsperaAte([&] { return zelpd.Saida().find("00000123.sta\n") != std::string::npos; }, 5s));

  const std::string saida = zelpd.Saida();
  EXPECT_EQ(saida.rfind("Servidor ZELP V00.68\n", 0), 0u) << saida;
  EXPECT_NE(saida.find("*** Nome de Arquivo Invalido: \"in/123.ENV\"\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("*** Arquivo Deletado!\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("Arquivo in/00000123.ENV encontrado\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("in/00000123.ENV renomeado como in/00000123.log\n"), std::string::npos) << saida;

  zelpd.Sinaliza(GetParam());
  int status = -1;
  ASSERT_TRUE(zelpd.Espera(3s, status)) << "zelpd did not stop promptly";
  EXPECT_EQ(status, 0);
}

INSTANTIATE_TEST_SUITE_P(TermEInt, ZelpdSinal, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param == SIGTERM ? "SIGTERM" : "SIGINT"; });

// About twelve seconds: two of start-up and ten of the fatal pause. Standard output is taken for
// the journal here, so the fatal text carries the error priority.
TEST(ZelpdLento, SemUrlTerminaComStatus78DezSegundosDepoisDaMensagem) {
  DiretorioTemporario dir;
  dir.CriaSubdiretorio("in");
  dir.CriaSubdiretorio("out");
  EscreveIni(dir, false);
  AmbienteTemporario diario("JOURNAL_STREAM", FluxoDoArquivo(dir / "saida.txt"));
  Processo zelpd(CaminhoPrograma("zelpd"), {}, dir.Caminho(), dir / "saida.txt");
  ASSERT_TRUE(zelpd.Iniciou());

  const std::string mensagem = "*** Nenhuma 'url' especificada!!!";
  ASSERT_TRUE(EsperaAte([&] { return zelpd.Saida().find(mensagem) != std::string::npos; }, 20s)) << zelpd.Saida();
  const auto visto = std::chrono::steady_clock::now();
  // Dropped after the failure: never claimed.
  dir.Escreve("in/00000042.ENV", "000-000 = CRT\n001-000 = 42\n011-000 = 31\n383-000 = 0\n999-999 = \n");

  int status = -1;
  ASSERT_TRUE(zelpd.Espera(25s, status));
  const auto decorrido = std::chrono::steady_clock::now() - visto;
  EXPECT_EQ(status, 78);
  EXPECT_GE(decorrido, 9s);
  EXPECT_LE(decorrido, 20s);
  EXPECT_TRUE(dir.Existe("in/00000042.ENV"));
  const std::string saida = zelpd.Saida();
  EXPECT_EQ(saida.rfind("<6>Servidor ZELP V00.68\n", 0), 0u) << saida;
  // One window line, one output line: the message's leading line break does not split it.
  EXPECT_NE(saida.find("\n<3> " + mensagem + "\n"), std::string::npos) << saida;
}

TEST(Zelpd, SemZelpIniDizNaHoraQualArquivoProcurouEOndeEEsperaOsDoisSegundos) {
  DiretorioTemporario dir;
  const std::string pasta = std::filesystem::canonical(dir.Caminho()).string();
  Processo zelpd(CaminhoPrograma("zelpd"), {}, dir.Caminho(), dir / "saida.txt");
  ASSERT_TRUE(zelpd.Iniciou());
  const std::string aviso = "zelpd: cannot read " + pasta + "/zelp.ini (working directory " + pasta + ")";
  ASSERT_TRUE(EsperaAte([&] { return zelpd.Saida().find(aviso) != std::string::npos; }, 1500ms)) << zelpd.Saida();
  // The service itself still waits its two seconds before the banner.
  EXPECT_EQ(zelpd.Saida().find("Servidor ZELP"), std::string::npos) << zelpd.Saida();
  zelpd.Sinaliza(SIGTERM);
  int status = -1;
  ASSERT_TRUE(zelpd.Espera(5s, status));
  EXPECT_EQ(status, 0);
}

// The service manager's datagram socket, of the test's own.
class SocketNotificacao {
 public:
  explicit SocketNotificacao(const std::string& caminho) : fd_(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    caminho.copy(endereco.sun_path, sizeof endereco.sun_path - 1);
    EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco), 0);
    timeval espera{0, 100 * 1000};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
  }
  ~SocketNotificacao() { close(fd_); }
  SocketNotificacao(const SocketNotificacao&) = delete;
  SocketNotificacao& operator=(const SocketNotificacao&) = delete;

  // Reads what has arrived (waiting at most 100 ms) and tells whether a message began with texto.
  bool Recebeu(const std::string& texto) {
    char buffer[4096];
    for (ssize_t n; (n = recv(fd_, buffer, sizeof buffer, 0)) > 0;) mensagens_.emplace_back(buffer, static_cast<std::size_t>(n));
    for (const std::string& m : mensagens_) {
      if (m.rfind(texto, 0) == 0) return true;
    }
    return false;
  }
  std::string Todas() const {
    std::string t;
    for (const std::string& m : mensagens_) t += m + "|";
    return t;
  }

 private:
  int fd_;
  std::vector<std::string> mensagens_;
};

TEST(Zelpd, AvisaOGerenciadorDeServicosEMarcaAsLinhasDoDiario) {
  DiretorioTemporario dir;
  dir.CriaSubdiretorio("in");
  dir.CriaSubdiretorio("out");
  EscreveIni(dir, true);
  dir.Escreve("in/1.ENV", "x");
  SocketNotificacao gerenciador(dir / "notify");
  AmbienteTemporario socket("NOTIFY_SOCKET", dir / "notify");
  // A keep-alive is due every 100 ms: each pass of the loop may send one.
  AmbienteTemporario vigia("WATCHDOG_USEC", "400000");
  AmbienteTemporario diario("JOURNAL_STREAM", FluxoDoArquivo(dir / "saida.txt"));
  Processo zelpd(CaminhoPrograma("zelpd"), {}, dir.Caminho(), dir / "saida.txt");
  ASSERT_TRUE(zelpd.Iniciou());

  for (const char* mensagem : {"READY=1", "STATUS=Serving: 0 transaction(s) served, 0 in flight (at most ", "WATCHDOG=1"}) {
    EXPECT_TRUE(EsperaAte([&] { return gerenciador.Recebeu(mensagem); }, 20s)) << mensagem << ": " << gerenciador.Todas();
  }
  zelpd.Sinaliza(SIGTERM);
  EXPECT_TRUE(EsperaAte([&] { return gerenciador.Recebeu("STOPPING=1"); }, 5s)) << gerenciador.Todas();
  int status = -1;
  ASSERT_TRUE(zelpd.Espera(5s, status));
  EXPECT_EQ(status, 0);

  const std::string saida = zelpd.Saida();
  EXPECT_EQ(saida.rfind("<6>Servidor ZELP V00.68\n", 0), 0u) << saida;
  EXPECT_NE(saida.find("\n<4>*** Nome de Arquivo Invalido: \"in/1.ENV\"\n"), std::string::npos) << saida;
  // An orderly stop is no alarm.
  EXPECT_NE(saida.find("\n<5>*** Servico parado\n"), std::string::npos) << saida;
}

enum class Estab { Boa, Curta, Alterada, Ausente, LegivelPorTodos };

struct CasoVerifica {
  const char* nome;
  std::string ini;  // "@PORTA@" stands for the listening port
  Estab estab;
  bool conecta;
  bool hostParado;  // the host has ended: nothing listens on its port
  int status;
  const char* esperado;
  const char* pastaAberta = nullptr;  // made writable by every user
};

std::string IniVerifica(const std::string& tempos, const std::string& entrada, const std::string& grupo,
                        const std::string& pestab) {
  return "[Tempos]\n" + tempos + "\n[Diretorios]\nEntrada=" + entrada + "\nSaida=out\nErrlog=log\n" + grupo +
         "\n[PEstab]\n" + pestab + "\n";
}

TEST(ZelpdVerifica, AchaCadaConfiguracaoQuebrada) {
  const std::string grupo = "[End2]\nurl=127.0.0.1\nPort=@PORTA@";
  const std::string par = "par2=estab/loja.dat";
  const CasoVerifica casos[] = {
      {"good", IniVerifica("TOutCnx=2", "in", grupo, par), Estab::Boa, true, false, 0, "connected in"},
      // Where card data would stay, or others could reach it: warnings, not errors.
      {"processed requests deleted", IniVerifica("", "in", grupo + "\n[Deleta]\nLog=1", par), Estab::Boa, false, false,
       0, "processed requests are deleted after each transaction\nInput directory"},
      {"processed requests kept", IniVerifica("", "in", grupo, par), Estab::Boa, false, false, 0,
       "warning: [Deleta] Log is 0: every processed request (*.log), with its card data, stays in the input"},
      {"establishment file readable by all", IniVerifica("", "in", grupo, par), Estab::LegivelPorTodos, false, false,
       0, "merchant 012345678\n    warning: every user may read it, and with it the merchant's key"},
      {"output folder writable by all", IniVerifica("", "in", grupo, par), Estab::Boa, false, false, 0,
       "warning: every user may write in it", "out"},
      {"typo", IniVerifica("TOutCxn=2", "in", grupo, par), Estab::Boa, false, false, 0,
       "warning: line 2: [Tempos] TOutCxn is not a key the service reads"},
      {"no input folder", IniVerifica("", "nada", grupo, par), Estab::Boa, false, false, 1,
       "error: missing, or not a directory"},
      {"short file", IniVerifica("", "in", grupo, par), Estab::Curta, false, false, 1,
       "error: 100 bytes: an establishment file holds 206"},
      {"altered file", IniVerifica("", "in", grupo, par), Estab::Alterada, false, false, 1,
       "error: its check value fails"},
      {"missing file", IniVerifica("", "in", grupo, par), Estab::Ausente, false, false, 1,
       "error: missing\n"},
      {"name that does not resolve", IniVerifica("", "in", grupo + "\nurl1=nao-existe.invalid", par), Estab::Boa,
       false, false, 1, "url1 = nao-existe.invalid\n    error: does not resolve"},
      {"port 0", IniVerifica("", "in", "[End2]\nurl=127.0.0.1", par), Estab::Boa, false, false, 1,
       "error: Port is 0"},
      {"port above 65535", IniVerifica("", "in", "[End2]\nurl=127.0.0.1\nPort=70000", par), Estab::Boa, false, false, 1,
       "error: Port 70000 is outside 1..65535: the service would connect to port 4464"},
      {"characters after a number", IniVerifica("", "in", grupo + " 5", par), Estab::Boa, false, false, 0,
       "warning: line 9: [End2] Port = @PORTA@ 5 has characters after the number: the service reads @PORTA@\n"},
      {"no host", IniVerifica("", "in", "", par), Estab::Boa, false, false, 1,
       "error: the service stops at its first load with \"*** Nenhuma 'url' especificada!!!\""},
      {"no establishment file", IniVerifica("", "in", grupo, ""), Estab::Boa, false, false, 1,
       "\"*** Nenhum 'Par' especificado!!!\""},
      // Last: it ends the host.
      {"host not listening", IniVerifica("TOutCnx=2", "in", grupo, par), Estab::Boa, true, true, 1,
       "error: connection failed after"},
  };
  HostEmExecucao host({"--resumo"});
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    DiretorioTemporario dir;
    for (const char* sub : {"in", "out", "log", "estab"}) dir.CriaSubdiretorio(sub);
    Processo estab(CaminhoPrograma("zelp-estab"), {"cria", "estab/loja.dat", "12345678", "CHAVE123"}, dir.Caminho(),
                   dir / "estab.txt");
    int status = -1;
    ASSERT_TRUE(estab.Espera(10s, status) && status == 0) << estab.Saida();
    std::string imagem = dir.Le("estab/loja.dat");
    if (caso.estab == Estab::Curta) dir.Escreve("estab/loja.dat", imagem.substr(0, 100));
    if (caso.estab == Estab::Alterada) dir.Escreve("estab/loja.dat", imagem.replace(195, 1, "9"));
    if (caso.estab == Estab::Ausente) std::filesystem::remove(dir / "estab/loja.dat");
    std::error_code semArquivo;  // a missing file has no mode
    const auto modo = static_cast<std::filesystem::perms>(caso.estab == Estab::LegivelPorTodos ? 0644 : 0640);
    std::filesystem::permissions(dir / "estab/loja.dat", modo, semArquivo);
    if (caso.pastaAberta != nullptr) std::filesystem::permissions(dir / caso.pastaAberta, std::filesystem::perms::all);
    const auto comPorta = [&](std::string texto) {
      for (std::size_t p; (p = texto.find("@PORTA@")) != std::string::npos;) {
        texto.replace(p, 7, std::to_string(host.Porta()));
      }
      return texto;
    };
    const std::string ini = comPorta(caso.ini);
    dir.Escreve("zelp.ini", ini);
    if (caso.hostParado) {
      host.Programa().Sinaliza(SIGKILL);
      ASSERT_TRUE(host.Programa().Espera(5s, status));
    }

    // Run from elsewhere: -C gives the folder, as the unit does.
    std::vector<std::string> args{"-C", dir.Caminho(), "--verifica"};
    if (caso.conecta) args.push_back("--conecta");
    Processo zelpd(CaminhoPrograma("zelpd"), args, "/", dir / "saida.txt");
    ASSERT_TRUE(zelpd.Espera(20s, status)) << "zelpd --verifica did not end";
    const std::string saida = zelpd.Saida();
    EXPECT_EQ(status, caso.status) << saida;
    EXPECT_NE(saida.find(comPorta(caso.esperado)), std::string::npos) << saida;
    EXPECT_NE(saida.find(caso.status == 0 ? "Ready: the service would start and serve" : "Not ready:"),
              std::string::npos)
        << saida;
    if (caso.estab == Estab::Boa && caso.ini.find(par) != std::string::npos) {
      EXPECT_NE(saida.find("merchant 012345678"), std::string::npos) << saida;
    }
    // It wrote no log line and claimed nothing.
    EXPECT_TRUE(std::filesystem::is_empty(dir / "log"));
  }
}

// One line per transaction in the day's journal, whatever became of it, with the request's number,
// code and amount but never its card data; zelpd --resumo counts them.
TEST(ZelpdDiario, UmaLinhaPorTransacaoSemDadosDeCartaoEOResumoDoDia) {
  falhas::ZelpdComHost z([](falhas::ConfigGateway& c) { c.errlog = "log"; });
  falhas::ZelpdEmTeste& g = z.Gateway();
  g.Dir().CriaSubdiretorio("log");
  ASSERT_EQ(z.Inicia(), "");
  g.EscrevePedido(701);           // approved by the simulator
  g.EscrevePedido(702, "1505");   // refused by it with 05
  g.EscrevePedido(703, "15.00");  // refused by the gateway before anything is sent
  g.EscrevePedido(704, "1500", "", "CRT", "99");
  g.EscrevePedido(705, "", "", "ATV");
  std::string nome;  // today's journal beside the daily log, which --resumo without a date reads
  std::string texto;
  const auto cincoLinhas = [&] {
    for (const std::string& n : g.Dir().Nomes("log")) {
      if (n.ends_with(".csv")) nome = n;
    }
    texto = nome.empty() ? std::string() : g.Dir().Le("log/" + nome);
    return std::count(texto.begin(), texto.end(), '\n') == 6;
  };
  ASSERT_TRUE(EsperaAte(cincoLinhas, 20s)) << texto << g.Saida();
  EXPECT_EQ(g.Saida().find(" encerrado em "), std::string::npos) << "the journal's record is no line of the log";
  // The card's track (and any six digits of it: the host's port may be 41111) never reaches it.
  EXPECT_EQ(texto.find("411111"), std::string::npos) << texto;
  EXPECT_EQ(texto.find("=2812"), std::string::npos) << texto;
  const std::string host = "127.0.0.1:" + std::to_string(z.Host().Porta());
  // number -> header, code, amount, response, text, host, outcome
  std::map<std::string, std::vector<std::string>> esperadas = {
      {"00000701", {"CRT", "31", "1500", "00", "", host, "approved"}},
      {"00000702", {"CRT", "31", "1505", "05", "NAO AUTORIZADA (05)", host, "refused"}},
      {"00000703", {"CRT", "31", "15.00", "85", "*ZELP* Campo [003-000] invalido", "", "error"}},
      {"00000704", {"CRT", "99", "1500", "", "*ZELP* Campo [011-000 = 99] invalido", "", "unknown-type"}},
      {"00000705", {"ATV", "31", "", "", "", "", "status-only"}},
  };
  std::istringstream linhas(texto);
  std::string linha;
  std::getline(linhas, linha);
  EXPECT_EQ(linha, "start,end,number,header,code,amount,response,text,host,ms,outcome\r");
  const std::regex hora(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})");
  for (std::vector<std::string> c; std::getline(linhas, linha);) {
    SCOPED_TRACE(linha);
    ASSERT_TRUE(linha.back() == '\r' && zelp_log::SeparaCsv(linha.substr(0, linha.size() - 1), c) && c.size() == 11u);
    EXPECT_TRUE(std::regex_match(c[0], hora) && std::regex_match(c[1], hora) && c[0] <= c[1]);
    ASSERT_EQ(esperadas.count(c[2]), 1u);
    EXPECT_EQ((std::vector<std::string>{c[3], c[4], c[5], c[6], c[7], c[8], c[10]}), esperadas[c[2]]);
    esperadas.erase(c[2]);
  }
  EXPECT_TRUE(esperadas.empty());

  int status = -1;
  Processo resumo(CaminhoPrograma("zelpd"), {"-C", g.Dir().Caminho(), "--resumo"}, "/", g.Dir() / "resumo.txt");
  ASSERT_TRUE(resumo.Espera(10s, status));
  EXPECT_EQ(status, 0) << resumo.Saida();
  EXPECT_NE(resumo.Saida().find("Transaction journal of " + nome.substr(11, 10) + ": log/" + nome), std::string::npos);
  EXPECT_NE(resumo.Saida().find("Transactions: 5\n\nBy outcome:\n  approved              1\n  refused               1\n"
                                "  error                 1\n  unknown-type          1\n  status-only           1\n"
                                "  not-published         0\n"),
            std::string::npos)
      << resumo.Saida();
  EXPECT_NE(resumo.Saida().find("  31            4         1        1      1             0            1              0\n"
                                "  99            1         0        0      0             1            0              0\n"),
            std::string::npos)
      << resumo.Saida();
  Processo outroDia(CaminhoPrograma("zelpd"), {"--resumo", "2001-01-01"}, g.Dir().Caminho(), g.Dir() / "outro.txt");
  ASSERT_TRUE(outroDia.Espera(10s, status));
  EXPECT_EQ(status, 1);
  EXPECT_EQ(outroDia.Saida().rfind("zelpd: no transaction journal of 2001-01-01: log/transacoes-2001-01-01.csv: ", 0),
            0u)
      << outroDia.Saida();
}

}  // namespace
