// Shared by the fault tests: zelpd in a working folder of its own, and a scripted host.
#include "falhas_apoio.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int TEMPO_ES_MS = 10000;  // the longest a script waits for one read or write

// Waits for the socket to become readable (or writable); false when the time ran out.
bool Espera(int fd, short evento, int milissegundos) {
  pollfd p{fd, evento, 0};
  return ::poll(&p, 1, milissegundos) > 0;
}

bool LeExato(int fd, std::uint8_t* destino, std::size_t n) {
  std::size_t lidos = 0;
  while (lidos < n) {
    if (!Espera(fd, POLLIN, TEMPO_ES_MS)) return false;
    const ssize_t r = ::recv(fd, destino + lidos, n - lidos, 0);
    if (r <= 0) return false;
    lidos += static_cast<std::size_t>(r);
  }
  return true;
}

int ConectaLocal(int porta) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(porta));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

namespace falhas {

std::string TextoIni(const ConfigGateway& c) {
  std::string ini = "; written by the fault tests\r\n[Tempos]\r\nTOutIni=" + std::to_string(c.tOutIni) +
                    "\r\nTOutCnf=" + std::to_string(c.tOutCnf) + "\r\nTOutCnx=" + std::to_string(c.tOutCnx) +
                    (c.imediato ? "\r\nImediato=1" : "") + "\r\n[Diretorios]\r\nEntrada=" + c.entrada + "\r\nSaida=" + c.saida + "\r\nErrlog=" + c.errlog +
                    "\r\nTamNomeArq=8\r\n[Deleta]\r\nLog=" + (c.deletaLog ? "1" : "0") + "\r\n";
  for (int g = 0; g < 3; ++g) {
    ini += "[End" + std::to_string(g) + "]\r\nurl=127.0.0.1\r\nPort=" + std::to_string(c.porta) + "\r\n";
  }
  ini += "[PEstab]\r\n";
  for (int g = 0; g < 3; ++g) ini += "par" + std::to_string(g) + "=" + c.estab + "\r\n";
  return ini;
}

bool CriaEstabelecimento(const std::string& caminho, const std::string& codigo, const std::string& chave,
                         const std::string& nome) {
  DiretorioTemporario aqui;
  Processo p(CaminhoPrograma("zelp-estab"), {"cria", caminho, codigo, chave, nome}, aqui.Caminho(),
             aqui / "estab.out");
  int status = -1;
  return p.Espera(10s, status) && status == 0;
}

ZelpdEmTeste::ZelpdEmTeste(ConfigGateway config) : config_(std::move(config)) {
  dir_.CriaSubdiretorio("entrada");
  dir_.CriaSubdiretorio("saida");
  dir_.CriaSubdiretorio("estab");
  EXPECT_TRUE(CriaEstabelecimento(dir_ / "estab/loja0.dat", "12345678", "CHAVE001", "LOJA-TESTE-0001"));
  GravaIni();
}

ZelpdEmTeste::~ZelpdEmTeste() {
  if (!zelpd_) return;
  if (zelpd_->Rodando()) {
    zelpd_->Sinaliza(SIGTERM);
    int status = -1;
    if (!zelpd_->Espera(20s, status)) ADD_FAILURE() << "zelpd did not stop";
  }
  // A sanitizer build reports on the process's own output, which a test may never have read.
  const std::string saida = zelpd_->Saida();
  for (const char* relato : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                             "WARNING: ThreadSanitizer"}) {
    EXPECT_EQ(saida.find(relato), std::string::npos) << saida;
  }
}

void ZelpdEmTeste::GravaIni() const {
  dir_.Escreve("zelp.ini.novo", TextoIni(config_));
  fs::rename(dir_ / "zelp.ini.novo", dir_ / "zelp.ini");
}

bool ZelpdEmTeste::Inicia(bool saidaPorPipe) {
  std::vector<std::string> comando{CaminhoPrograma("zelpd")};
  // setpriv, prlimit and the shell each become the next program, so zelpd's pid is the one the test
  // signals.
  if (!config_.usuario.empty()) {
    const passwd* pw = ::getpwnam(config_.usuario.c_str());
    if (pw == nullptr) return false;
    for (const auto& e : fs::recursive_directory_iterator(dir_.Caminho())) ::lchown(e.path().c_str(), pw->pw_uid, pw->pw_gid);
    if (::chown(dir_.Caminho().c_str(), pw->pw_uid, pw->pw_gid) != 0) return false;
    comando.insert(comando.begin(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(pw->pw_uid),
                                     "--regid=" + std::to_string(pw->pw_gid), "--clear-groups", "--"});
  }
  if (config_.limiteArquivos > 0) {
    comando.insert(comando.begin(), {"/usr/bin/prlimit", "--nofile=" + std::to_string(config_.limiteArquivos), "--"});
  }
  // Through a pipe, only cat writes the output file.
  if (saidaPorPipe) comando.insert(comando.begin(), {"/bin/bash", "-c", "exec \"$0\" \"$@\" > >(exec cat)"});
  const std::string programa = comando.front();
  comando.erase(comando.begin());
  zelpd_ = std::make_unique<Processo>(programa, comando, dir_.Caminho(), dir_ / "zelpd.out");
  return zelpd_->Iniciou() && EsperaSaida("Servidor ZELP V00.68", 10s);
}

bool ZelpdEmTeste::EsperaSaida(const std::string& texto, std::chrono::milliseconds limite, int vezes) const {
  return EsperaAte([&] { return ContaSaida(texto) >= vezes; }, limite);
}

int ZelpdEmTeste::ContaSaida(const std::string& texto) const {
  const std::string saida = Saida();
  int n = 0;
  for (std::size_t p = saida.find(texto); p != std::string::npos; p = saida.find(texto, p + texto.size())) ++n;
  return n;
}

std::string ZelpdEmTeste::Nome(long long id, const char* extensao) {
  char nome[64];
  std::snprintf(nome, sizeof nome, "%08lld.%s", id, extensao);
  return nome;
}

void ZelpdEmTeste::EscrevePedido(long long id, const std::string& valor003, const std::string& extra,
                                 const std::string& cabecalho, const std::string& codigo) const {
  const std::string texto = "000-000 = " + cabecalho + "\r\n001-000 = " + std::to_string(id) + "\r\n011-000 = " +
                            codigo + "\r\n" + (valor003.empty() ? "" : "003-000 = " + valor003 + "\r\n") +
                            "098-000 = 4111111111111111=2812\r\n" + extra + "999-999 = \r\n";
  const std::string aparte = config_.entrada + "/" + Nome(id, "tmp");
  dir_.Escreve(aparte, texto);
  fs::rename(dir_ / aparte, dir_ / (config_.entrada + "/" + Nome(id, "ENV")));
}

bool ZelpdEmTeste::EsperaArquivo(long long id, const char* extensao, std::chrono::milliseconds limite,
                            std::string& conteudo) const {
  const std::string nome = config_.saida + "/" + Nome(id, extensao);
  if (!EsperaAte([&] { return dir_.Existe(nome); }, limite)) return false;
  conteudo = dir_.Le(nome);
  return true;
}

std::string ZelpdEmTeste::Campo(const std::string& texto, const std::string& chave) {
  const std::string procura = chave + " = ";
  for (std::size_t p = 0; p < texto.size();) {
    std::size_t fim = texto.find("\r\n", p);
    if (fim == std::string::npos) fim = texto.size();
    const std::string linha = texto.substr(p, fim - p);
    if (linha.rfind(procura, 0) == 0) return linha.substr(procura.size());
    p = fim + 2;
  }
  return "(ausente)";
}

ZelpdComHost::ZelpdComHost(const std::function<void(ConfigGateway&)>& ajusta) : host_({"--resumo"}) {
  ConfigGateway c;
  c.porta = host_.Porta();
  if (ajusta) ajusta(c);
  gateway_ = std::make_unique<ZelpdEmTeste>(c);
}

std::string ZelpdComHost::Inicia() {
  if (host_.Porta() <= 0) return "zelp-host did not start: " + host_.Saida();
  return gateway_->Inicia() ? std::string() : "zelpd did not start: " + gateway_->Saida();
}

int ConexoesDoHost(const HostEmExecucao& host) {
  const std::string saida = host.Saida();
  int n = 0;
  for (std::size_t p = saida.find("--- connection "); p != std::string::npos; p = saida.find("--- connection ", p + 1)) ++n;
  return n;
}

std::vector<std::string> EstabelecimentosVistos(const HostEmExecucao& host) {
  // Lines "  901-000  pos ... = \"value\"" of each request's field list.
  const std::string saida = host.Saida();
  std::vector<std::string> codigos;
  for (std::size_t p = saida.find("  901-000 "); p != std::string::npos; p = saida.find("  901-000 ", p + 1)) {
    const std::size_t fim = saida.find('\n', p);
    const std::string linha = saida.substr(p, fim == std::string::npos ? std::string::npos : fim - p);
    const std::size_t abre = linha.find("= \"");
    const std::size_t fecha = linha.rfind('"');
    if (abre != std::string::npos && fecha > abre + 2) codigos.push_back(linha.substr(abre + 3, fecha - abre - 3));
  }
  return codigos;
}

HostRoteirizado::HostRoteirizado(std::vector<Roteiro> roteiros) : roteiros_(std::move(roteiros)) {
  escuta_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = 0;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t t = sizeof a;
  if (escuta_ < 0 || ::bind(escuta_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(escuta_, 64) != 0 ||
      ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&a), &t) != 0) {
    ADD_FAILURE() << "the scripted host could not listen";
    return;
  }
  porta_ = ntohs(a.sin_port);
  aceitador_ = std::thread([this] { Aceita(); });
}

HostRoteirizado::~HostRoteirizado() {
  parar_.store(true);
  if (aceitador_.joinable()) aceitador_.join();
  std::lock_guard<std::mutex> l(trava_);
  for (std::thread& t : conexoes_) t.join();
  if (escuta_ >= 0) ::close(escuta_);
}

void HostRoteirizado::Aceita() {
  while (!parar_.load()) {
    if (!Espera(escuta_, POLLIN, 50)) continue;
    const int conexao = ::accept4(escuta_, nullptr, nullptr, SOCK_CLOEXEC);
    if (conexao < 0) continue;
    const int n = aceitas_.fetch_add(1);
    Roteiro roteiro = roteiros_.empty() ? Roteiro() : roteiros_[std::min<std::size_t>(n, roteiros_.size() - 1)];
    std::lock_guard<std::mutex> l(trava_);
    conexoes_.emplace_back([conexao, roteiro] {
      if (roteiro) roteiro(conexao);
      ::close(conexao);
    });
  }
}

std::vector<std::uint8_t> LeQuadro(int conexao) {
  std::vector<std::uint8_t> quadro(8);
  if (!LeExato(conexao, quadro.data(), 8)) return {};
  const std::size_t tamanho = quadro[5] + 256u * quadro[6];
  quadro.resize(8 + tamanho);
  if (!LeExato(conexao, quadro.data() + 8, tamanho)) return {};
  return quadro;
}

bool EnviaBytes(int conexao, const std::vector<std::uint8_t>& bytes) {
  std::size_t feitos = 0;
  while (feitos < bytes.size()) {
    if (!Espera(conexao, POLLOUT, TEMPO_ES_MS)) return false;
    const ssize_t r = ::send(conexao, bytes.data() + feitos, bytes.size() - feitos, MSG_NOSIGNAL);
    if (r <= 0) return false;
    feitos += static_cast<std::size_t>(r);
  }
  return true;
}

void PreparaReset(int conexao) {
  linger l{1, 0};
  ::setsockopt(conexao, SOL_SOCKET, SO_LINGER, &l, sizeof l);
}

void Repassa(int conexao, const std::vector<std::uint8_t>& pedido, int porta) {
  const int host = ConectaLocal(porta);
  if (host < 0) return;
  if (EnviaBytes(host, pedido)) {
    const std::vector<std::uint8_t> resposta = LeQuadro(host);
    if (!resposta.empty()) EnviaBytes(conexao, resposta);
  }
  ::close(host);
}

}  // namespace falhas
