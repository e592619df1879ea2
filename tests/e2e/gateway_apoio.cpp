// The gateway at work for the end-to-end tests: its folder, requests in, answers out, and what a
// response of each transaction type must hold.
#include "gateway_apoio.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "comum/Texto.h"
#include "ferramentas_apoio.h"
#include "fields/TG.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

bool Tres(const std::string& s, std::size_t pos, int& valor) {
  if (pos + 3 > s.size()) return false;
  valor = 0;
  for (std::size_t i = pos; i < pos + 3; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    valor = valor * 10 + (s[i] - '0');
  }
  return true;
}

}  // namespace

bool LeArquivoCampos(const std::string& texto, CamposArquivo& campos, std::string& erro) {
  campos.clear();
  std::size_t inicio = 0;
  while (inicio < texto.size()) {
    const std::size_t fim = texto.find("\r\n", inicio);
    if (fim == std::string::npos) {
      erro = "line without CR LF: \"" + texto.substr(inicio) + "\"";
      return false;
    }
    const std::string linha = texto.substr(inicio, fim - inicio);
    CampoArquivo c;
    if (linha.size() < 10 || !Tres(linha, 0, c.numero) || linha[3] != '-' || !Tres(linha, 4, c.ocorrencia) ||
        linha.compare(7, 3, " = ") != 0 || linha.find_first_of("\r\n") != std::string::npos) {
      erro = "malformed line: \"" + linha + "\"";
      return false;
    }
    c.valor = linha.substr(10);
    campos.push_back(std::move(c));
    inicio = fim + 2;
  }
  return true;
}

Chaves ChavesDe(const CamposArquivo& campos) {
  Chaves chaves;
  for (const CampoArquivo& c : campos) chaves.emplace_back(c.numero, c.ocorrencia);
  return chaves;
}

const CampoArquivo* ProcuraCampo(const CamposArquivo& campos, int numero, int ocorrencia) {
  for (const CampoArquivo& c : campos) {
    if (c.numero == numero && c.ocorrencia == ocorrencia) return &c;
  }
  return nullptr;
}

Pedido Pedido::DoTipo(int indice, long long identificador, const std::string& valor003, int repeticoes) {
  TG t;
  MontaTransacao(t, indice, valor003, repeticoes);
  Pedido p;
  for (int i = 0; i < t.quantidade; ++i) {
    const TA& a = *t.campos[static_cast<std::size_t>(i)];
    p.campos_.push_back({a.numero, a.ocorrencia, a.numero == 1 ? std::to_string(identificador) : a.valor});
  }
  return p;
}

Pedido Pedido::Campos(const CamposArquivo& campos) {
  Pedido p;
  p.campos_ = campos;
  return p;
}

Pedido& Pedido::Define(int numero, int ocorrencia, const std::string& valor) {
  for (CampoArquivo& c : campos_) {
    if (c.numero == numero && c.ocorrencia == ocorrencia) {
      c.valor = valor;
      return *this;
    }
  }
  // Before the closing 999, which ends the reading.
  auto fim = std::find_if(campos_.begin(), campos_.end(), [](const CampoArquivo& c) { return c.numero == 999; });
  campos_.insert(fim, {numero, ocorrencia, valor});
  return *this;
}

Pedido& Pedido::Remove(int numero, int ocorrencia) {
  std::erase_if(campos_, [&](const CampoArquivo& c) { return c.numero == numero && c.ocorrencia == ocorrencia; });
  return *this;
}

std::string Pedido::Texto() const {
  std::string s;
  for (const CampoArquivo& c : campos_) s += Formata("%03d-%03d = %s\r\n", c.numero, c.ocorrencia, c.valor.c_str());
  return s;
}

Chaves ChavesResposta(const TTipoTransacao& tipo, bool aprovacao, int repeticoes) {
  const TLayoutMensagem& r = tipo.resposta;
  // A definition is left out when its condition equals the variant's selector.
  const int seletor = aprovacao ? -1 : 1;
  Chaves chaves{{0, 0}, {1, 0}};
  for (int i = 2; i < r.numDefinicoes - 1; ++i) {
    const TLayoutCampo& d = r.definicoes[i];
    if (d.condicao == seletor) continue;
    if (d.repetido != 0 && r.TemGrupo()) {
      for (int k = 1; k <= repeticoes; ++k) chaves.emplace_back(d.numero, k);
    } else {
      chaves.emplace_back(d.numero, 0);
    }
  }
  chaves.emplace_back(999, 999);
  return chaves;
}

Chaves ChavesRespostaErro(const TTipoTransacao& tipo) {
  const TLayoutMensagem& r = tipo.resposta;
  Chaves chaves{{0, 0}, {1, 0}};
  for (int i = 2; i < r.numDefinicoes - 1; ++i) {
    if (r.definicoes[i].condicao < 1) chaves.emplace_back(r.definicoes[i].numero, 0);
  }
  chaves.emplace_back(999, 999);
  return chaves;
}

const TLayoutCampo* Definicao(const TLayoutMensagem& layout, int numero) {
  for (int i = 0; i < layout.numDefinicoes; ++i) {
    if (layout.definicoes[i].numero == numero) return &layout.definicoes[i];
  }
  return nullptr;
}

std::string NumeroNoCampo(const TLayoutCampo& d, const std::string& digitos) {
  const std::size_t largura = static_cast<std::size_t>(d.tipo == TIPO_BCD ? 2 * d.tamanho : d.tamanho);
  if (digitos.size() >= largura) return digitos.substr(digitos.size() - largura);
  return std::string(largura - digitos.size(), '0') + digitos;
}

std::string TextoNoCampo(const TLayoutCampo& d, const std::string& texto) {
  // The response file keeps at most 248 characters of a value.
  const std::size_t largura = std::min<std::size_t>(static_cast<std::size_t>(d.tamanho), 248);
  std::string s = texto.substr(0, largura);
  s.resize(largura, ' ');
  return s;
}

Gateway::Gateway(int largura) : largura_(largura) {
  for (const char* sub : {"in", "out", "log", "estab"}) pasta_.CriaSubdiretorio(sub);
}

Gateway::~Gateway() { Para(); }

std::string Gateway::CriaEstabelecimento(const std::string& nome, const std::string& codigo, const std::string& chave) {
  Processo p(CaminhoPrograma("zelp-estab"), {"cria", "estab/" + nome, codigo, chave, "LOJA " + nome}, pasta_.Caminho(),
             pasta_ / ("estab-" + nome + ".out"));
  int status = -1;
  if (!p.Espera(10s, status)) return "zelp-estab did not end";
  if (status != 0) return "zelp-estab ended with " + std::to_string(status) + ": " + p.Saida();
  return "";
}

std::string Gateway::Inicia(const std::vector<std::string>& comando, int sinalParada) {
  const std::string programa = comando.empty() ? CaminhoPrograma("zelpd") : comando.front();
  const std::vector<std::string> args(comando.empty() ? comando.end() : comando.begin() + 1, comando.end());
  zelpd_ = std::make_unique<Processo>(programa, args, pasta_.Caminho(), pasta_ / "zelpd.out");
  sinalParada_ = sinalParada;
  if (!zelpd_->Iniciou()) return "zelpd did not start";
  // The service waits two seconds before its banner and its first look at the folders; a Windows
  // build's line ends in CR LF.
  const bool pronto = EsperaAte(
      [this] {
        const std::string s = Saida();
        return s.find("Servidor ZELP V00.68\n") != std::string::npos ||
               s.find("Servidor ZELP V00.68\r\n") != std::string::npos || !zelpd_->Rodando();
      },
      20s);
  if (!pronto || !zelpd_->Rodando()) return "zelpd did not come up; its output:\n" + Saida();
  return "";
}

bool Gateway::Rodando() { return zelpd_ != nullptr && zelpd_->Rodando(); }

std::string Gateway::Saida() const { return zelpd_ != nullptr ? zelpd_->Saida() : std::string(); }

int Gateway::Para() {
  if (zelpd_ == nullptr) return -1;
  zelpd_->Sinaliza(sinalParada_);
  int status = 0;
  // Claimed transactions are allowed to end first, each bounded by its time-outs.
  if (!zelpd_->Espera(20s, status)) {
    zelpd_->Sinaliza(SIGKILL);
    status = -1;
  }
  zelpd_.reset();
  return status;
}

std::string Gateway::Nome(long long identificador, const std::string& extensao) const {
  return Formata("%0*lld", largura_, identificador) + extensao;
}

void Gateway::Envia(long long identificador, const std::string& texto) const {
  // The scan looks only for *.ENV: the request is complete before it carries that name.
  const std::string temporario = "in/pedido-" + std::to_string(identificador) + ".tmp";
  pasta_.Escreve(temporario, texto);
  std::error_code ec;
  fs::rename(pasta_ / temporario, pasta_ / ("in/" + Nome(identificador, ".ENV")), ec);
  ASSERT_FALSE(ec) << "renaming the request " << identificador << ": " << ec.message();
}

bool Gateway::EsperaResposta(long long identificador, std::chrono::milliseconds limite) const {
  return EsperaAte([&] { return ExisteSaida(identificador, ".rsp"); }, limite);
}

bool Gateway::EsperaFimDoPedido(long long identificador, std::chrono::milliseconds limite) const {
  return EsperaAte(
      [&] { return !ExisteEntrada(identificador, ".ENV") && !ExisteEntrada(identificador, ".log"); }, limite);
}

std::string Gateway::LeSaida(long long identificador, const std::string& extensao) const {
  return pasta_.Le("out/" + Nome(identificador, extensao));
}

bool Gateway::ExisteSaida(long long identificador, const std::string& extensao) const {
  return pasta_.Existe("out/" + Nome(identificador, extensao));
}

bool Gateway::ExisteEntrada(long long identificador, const std::string& extensao) const {
  return pasta_.Existe("in/" + Nome(identificador, extensao));
}

std::vector<std::string> Gateway::ArquivosDeLog() const {
  std::vector<std::string> nomes;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(pasta_ / "log", ec)) {
    if (e.path().extension() == ".txt") nomes.push_back(e.path().filename().string());
  }
  std::sort(nomes.begin(), nomes.end());
  return nomes;
}

std::string Gateway::Log() const {
  std::string texto;
  for (const std::string& nome : ArquivosDeLog()) texto += pasta_.Le("log/" + nome);
  return texto;
}

std::string IniBase(int largura, int tOutCnf, int tOutCnx) {
  return Formata(
      "; Test folder of the end-to-end tests\r\n"
      "[Tempos]\r\nTOutIni=10\r\nTOutCnf=%d\r\nTOutCnx=%d\r\n"
      "[Diretorios]\r\nEntrada=in\r\nSaida=out\r\nErrlog=log\r\nTamNomeArq=%d\r\n"
      "[Deleta]\r\nLog=1\r\n",
      tOutCnf, tOutCnx, largura);
}

std::string IniGrupo(int grupo, const std::vector<std::string>& urls, int porta) {
  std::string s = Formata("[End%d]\r\n", grupo);
  for (std::size_t i = 0; i < urls.size(); ++i) {
    s += (i == 0 ? std::string("url") : "url" + std::to_string(i)) + "=" + urls[i] + "\r\n";
  }
  return s + Formata("Port=%d\r\n", porta);
}

std::string CriaLojas(Gateway& gateway, std::string& erro) {
  std::string secao = "[PEstab]\r\n";
  for (int g = 0; g < 3; ++g) {
    const std::string nome = Formata("loja%d.dat", g);
    const std::string falha = gateway.CriaEstabelecimento(nome, Formata("%d2345678", g + 1), Formata("CHAVE00%d", g));
    if (!falha.empty()) erro += falha + "\n";
    secao += Formata("par%d=estab/%s\r\n", g, nome.c_str());
  }
  return secao;
}

std::string StatusEsperado(long long identificador, int largura) {
  return Formata("000-000 = ATV\r\n001-000 = %0*lld\r\n999-999 = \r\n", largura, identificador);
}

void VerificaSaudeDoGateway(Gateway& gateway) {
  EXPECT_TRUE(gateway.Rodando()) << "zelpd has ended; its output:\n" << gateway.Saida();
  const std::string saida = gateway.Saida();
  for (const char* relato : {"AddressSanitizer", "LeakSanitizer", "runtime error:"}) {
    EXPECT_EQ(saida.find(relato), std::string::npos) << "zelpd reported a fault:\n" << saida;
  }
}
