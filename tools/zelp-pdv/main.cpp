// zelp-pdv: the point-of-sale side of the gateway: sends one request file and waits for its answer.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <random>
#include <thread>
#include <vector>

#include "comum/Texto.h"
#include "ferramentas/LinhaComando.h"
#include "platform/Arquivos.h"
#include "zelp-pdv/ListaCampos.h"

namespace {

// Exit status, as point-of-sale scripts test it.
constexpr int SAIDA_APROVADA = 0;
constexpr int SAIDA_RECUSADA = 1;  // refusal or error response
constexpr int SAIDA_USO = ferramentas::SAIDA_USO;
constexpr int SAIDA_SEM_RESPOSTA = 3;
constexpr int SAIDA_GRAVACAO = 4;    // the request could not be written
constexpr int SAIDA_SEM_STATUS = 5;  // the gateway never took the request

constexpr const char* PROGRAMA = "zelp-pdv";

// The gateway reads at most 255 fields of a request, the closing 999 included, and answers only a
// request of more than three.
constexpr std::size_t MAX_LINHAS = 255;
constexpr std::size_t MIN_CAMPOS = 4;
constexpr std::size_t MAX_RESPOSTA = 1 << 20;
constexpr auto INTERVALO = std::chrono::milliseconds(50);

struct Campo {
  int numero;
  int ocorrencia;
  std::string valor;
};

struct Opcoes {
  std::string entrada = ".";
  std::string saida = ".";
  int largura = 8;
  int tempoStatus = 10;
  int tempoResposta = 60;
  bool mantem = false;
  bool mostraCampos = false;  // --campos: print the catalogue instead of sending
  int codigoCampos = -1;      // --campos CODE
  ferramentas::OpcaoComum comum = ferramentas::OpcaoComum::Nenhuma;
  std::vector<Campo> campos;
};

void MostraAjuda(std::FILE* f) {
  std::fputs(
      "Usage: zelp-pdv [options] NNN-NNN=value ...\n"
      "       zelp-pdv --campos [CODE]\n"
      "\n"
      "Sends the ZELP gateway one request with the given fields and waits for the answer, as the\n"
      "point of sale does: writes the request under a temporary name in the input directory and\n"
      "renames it to <number>.ENV, waits for the status <number>.sta and then for the response\n"
      "<number>.rsp in the output directory, prints their fields (without the spaces that pad text\n"
      "fields; the files keep them) and ends with a status that tells the result.\n"
      "\n"
      "Fields: NNN-NNN=value (number and occurrence, 0 to 999) or NNN=value (occurrence 000).\n"
      "  Field 000-000 always goes on the first line and 999-999 closes the request. Without\n"
      "  001-000, the request number is one that no file of the directories uses yet. The gateway\n"
      "  reads a value only up to its first blank and skips a field without a value. It ignores a\n"
      "  request of 3 fields or fewer (000-000, 001-000 and the closing 999-999 count): such a\n"
      "  request is refused here at once.\n"
      "\n"
      "Options:\n"
      "  --entrada DIR         input directory of the gateway (default .)\n"
      "  --saida DIR           output directory of the gateway (default .)\n"
      "  --largura W           digits of the number in file names, TamNomeArq (8 to 16, default 8)\n"
      "  --tempo-status S      wait for the status, in seconds (default 10)\n"
      "  --tempo-resposta S    wait for the response after the status, in seconds (default 60)\n"
      "  --mantem              keep the status and the response after reading them\n"
      "  --campos [CODE]       send nothing: list the transaction codes, or print the request and\n"
      "                        response fields of CODE, from the gateway's own catalogue\n"
      "  -h, --help            this help\n"
      "  --version             the program's version\n"
      "\n"
      "A request with 000-000=ATV only asks whether the gateway is up, and its status is the whole\n"
      "answer; with the transaction code it has the four fields the gateway answers:\n"
      "  zelp-pdv --entrada entrada --saida saida 000-000=ATV 011-000=31\n"
      "Without a status in time, the request not yet taken is withdrawn, so that a gateway started\n"
      "later does not carry it out unseen.\n"
      "\n"
      "Exit status: 0 approved (009-000 = 00, or the status of an ATV request); 1 refused, or an\n"
      "error response; 2 usage error (unknown option, wrong value or field, a request the gateway\n"
      "would ignore); 3 no response in time, or a response that could not be read; 4 the request\n"
      "could not be written; 5 no status: the gateway did not pick the request up (is it running\n"
      "on these directories?).\n"
      "\n"
      "Example: zelp-pdv --entrada entrada --saida saida 000-000=CRT 011-000=31 003-000=1500 \\\n"
      "           098-000=4111111111111111=2812\n",
      f);
}

// One to three digits, for a field number or occurrence.
bool Numero3(const std::string& s, int& valor) {
  if (s.empty() || s.size() > 3) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  valor = std::atoi(s.c_str());
  return true;
}

bool LeCampo(const char* argumento, Campo& campo, std::string& erro) {
  const char* igual = std::strchr(argumento, '=');
  if (igual == nullptr) {
    erro = Formata("field without '=': %s", argumento);
    return false;
  }
  const std::string nome(argumento, igual);
  const std::size_t traco = nome.find('-');
  const bool ok = traco == std::string::npos
                      ? Numero3(nome, campo.numero) && (campo.ocorrencia = 0, true)
                      : Numero3(nome.substr(0, traco), campo.numero) && Numero3(nome.substr(traco + 1), campo.ocorrencia);
  if (!ok) {
    erro = Formata("invalid field (use NNN-NNN=value): %s", argumento);
    return false;
  }
  campo.valor = igual + 1;
  // A line break would end the field line early and start a forged one.
  if (campo.valor.find_first_of("\r\n") != std::string::npos) {
    erro = Formata("the value of %03d-%03d holds a line break", campo.numero, campo.ocorrencia);
    return false;
  }
  return true;
}

bool LeOpcoes(int argc, char** argv, Opcoes& o, std::string& erro) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (const ferramentas::OpcaoComum comum = ferramentas::QualOpcaoComum(a); comum != ferramentas::OpcaoComum::Nenhuma) {
      if (o.comum == ferramentas::OpcaoComum::Nenhuma) o.comum = comum;
      continue;
    }
    if (a == "--mantem") {
      o.mantem = true;
      continue;
    }
    if (a == "--campos") {
      o.mostraCampos = true;
      // The code is optional: a number right after the option.
      if (i + 1 < argc && ferramentas::Inteiro(argv[i + 1], 0, 99999, o.codigoCampos)) ++i;
      continue;
    }
    if (!ferramentas::PareceOpcao(a)) {
      Campo c;
      if (!LeCampo(argv[i], c, erro)) return false;
      o.campos.push_back(std::move(c));
      continue;
    }
    std::string* texto = nullptr;
    int* inteiro = nullptr;
    long minimo = 1, maximo = 3600;
    if (a == "--entrada") {
      texto = &o.entrada;
    } else if (a == "--saida") {
      texto = &o.saida;
    } else if (a == "--largura") {
      inteiro = &o.largura;
      minimo = 8;
      maximo = 16;
    } else if (a == "--tempo-status") {
      inteiro = &o.tempoStatus;
    } else if (a == "--tempo-resposta") {
      inteiro = &o.tempoResposta;
    } else {
      erro = ferramentas::OpcaoDesconhecida(a);
      return false;
    }
    if (i + 1 >= argc) {
      erro = "option '" + a + "' needs a value";
      return false;
    }
    const char* v = argv[++i];
    const bool ok = texto != nullptr ? (*texto = v, !texto->empty()) : ferramentas::Inteiro(v, minimo, maximo, *inteiro);
    if (!ok) {
      erro = "invalid value for " + a + ": '" + v + "'";
      return false;
    }
  }
  return true;
}

std::string Caminho(const std::string& dir, const std::string& nome) {
  return dir.back() == '/' ? dir + nome : dir + "/" + nome;
}

bool Existe(const std::string& caminho) {
  std::string nada;
  return plataforma::LeArquivoInteiro(caminho.c_str(), nada, 0);
}

std::string Nome(long long id, int largura, const char* extensao) { return Formata("%0*lld.%s", largura, id, extensao); }

// A number for the request that no file of the exchange directories uses yet.
bool EscolheIdentificador(const Opcoes& o, long long& id) {
  long long limite = 1;
  for (int i = 0; i < o.largura && limite < 1000000000000000LL; ++i) limite *= 10;
  // Random, so that several point-of-sale clients started together do not pick the same one.
  std::random_device aleatorio;
  long long candidato = static_cast<long long>((static_cast<unsigned long long>(aleatorio()) << 32 | aleatorio()) %
                                               static_cast<unsigned long long>(limite));
  for (int tentativa = 0; tentativa < 1000; ++tentativa, candidato = (candidato + 1) % limite) {
    if (candidato == 0) continue;
    if (Existe(Caminho(o.entrada, Nome(candidato, o.largura, "ENV"))) ||
        Existe(Caminho(o.entrada, Nome(candidato, o.largura, "log"))) ||
        Existe(Caminho(o.saida, Nome(candidato, o.largura, "sta"))) ||
        Existe(Caminho(o.saida, Nome(candidato, o.largura, "rsp")))) {
      continue;
    }
    id = candidato;
    return true;
  }
  return false;
}

bool EsperaArquivo(const std::string& caminho, int segundos) {
  const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
  for (;;) {
    if (Existe(caminho)) return true;
    if (std::chrono::steady_clock::now() >= fim) return Existe(caminho);
    std::this_thread::sleep_for(INTERVALO);
  }
}

// Lines of a status or response file: "NNN-NNN = value", CR LF (a lone LF is accepted too).
std::vector<Campo> LeCamposArquivo(const std::string& conteudo) {
  std::vector<Campo> campos;
  std::size_t inicio = 0;
  while (inicio < conteudo.size()) {
    std::size_t fim = conteudo.find('\n', inicio);
    if (fim == std::string::npos) fim = conteudo.size();
    std::string linha = conteudo.substr(inicio, fim - inicio);
    inicio = fim + 1;
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    int numero = 0, ocorrencia = 0;
    if (linha.size() < 10 || linha[3] != '-' || linha.compare(7, 3, " = ") != 0 ||
        !Numero3(linha.substr(0, 3), numero) || !Numero3(linha.substr(4, 3), ocorrencia)) {
      continue;
    }
    campos.push_back({numero, ocorrencia, linha.substr(10)});
  }
  return campos;
}

const std::string* Valor(const std::vector<Campo>& campos, int numero, int ocorrencia) {
  for (const Campo& c : campos) {
    if (c.numero == numero && c.ocorrencia == ocorrencia) return &c.valor;
  }
  return nullptr;
}

// Control characters from the host are not sent to the terminal as they are; the spaces that pad a
// text field to its width are left out.
std::string ParaTerminal(const std::string& s) {
  std::string r = s.substr(0, s.find_last_not_of(' ') + 1);
  for (char& c : r) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  return r;
}

void MostraCampos(const std::vector<Campo>& campos) {
  for (const Campo& c : campos) {
    std::printf("%03d-%03d = %s\n", c.numero, c.ocorrencia, ParaTerminal(c.valor).c_str());
  }
}

// The gateway reads a value up to its first blank, and skips the line of a field without one
// (the closing 999 aside).
bool ValorEmBranco(const std::string& v) { return v.find_first_of(" \t\v\f") != std::string::npos; }
bool GatewayLe(const Campo& c) { return c.numero == 999 || c.valor.find_first_not_of(" \t\v\f") != std::string::npos; }

// "zelp-pdv: mensagem" on standard error; returns the status.
int Falha(int status, const std::string& mensagem) {
  std::fprintf(stderr, "%s: %s\n", PROGRAMA, mensagem.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Opcoes o;
  std::string erro;
  if (!LeOpcoes(argc, argv, o, erro)) return ferramentas::ErroDeUso(PROGRAMA, erro);
  if (o.comum == ferramentas::OpcaoComum::Ajuda) {
    MostraAjuda(stdout);
    return SAIDA_APROVADA;
  }
  if (o.comum == ferramentas::OpcaoComum::Versao) {
    ferramentas::MostraVersao(PROGRAMA);
    return SAIDA_APROVADA;
  }
  if (o.mostraCampos) {
    if (!o.campos.empty()) return ferramentas::ErroDeUso(PROGRAMA, "--campos sends nothing: give no field with it");
    if (o.codigoCampos < 0) {
      MostraCodigos(stdout);
    } else if (!MostraCamposDoCodigo(o.codigoCampos, stdout)) {
      return ferramentas::ErroDeUso(
          PROGRAMA, Formata("no transaction type has code %d ('zelp-pdv --campos' lists them)", o.codigoCampos));
    }
    return SAIDA_APROVADA;
  }
  if (o.campos.empty()) {
    MostraAjuda(stderr);
    return SAIDA_USO;
  }

  // The request's lines: 000-000 first (the gateway takes the header only from the first line),
  // 001-000 next, the others in the given order, 999-999 last.
  std::vector<Campo> linhas;
  const Campo* cabecalho = nullptr;
  const Campo* identificador = nullptr;
  for (const Campo& c : o.campos) {
    if (c.numero == 0 && c.ocorrencia == 0 && cabecalho == nullptr) cabecalho = &c;
    if (c.numero == 1 && c.ocorrencia == 0 && identificador == nullptr) identificador = &c;
  }
  long long id = 0;
  if (identificador != nullptr) {
    char* fim = nullptr;
    errno = 0;
    id = std::strtoll(identificador->valor.c_str(), &fim, 10);
    // The number names the request file, which must have exactly --largura digits.
    if (identificador->valor.empty() || *fim != 0 || errno != 0 || id < 0 ||
        Formata("%0*lld", o.largura, id).size() != static_cast<std::size_t>(o.largura)) {
      return ferramentas::ErroDeUso(
          PROGRAMA, Formata("001-000 must be a number of at most %d digits: '%s'", o.largura, identificador->valor.c_str()));
    }
  } else if (!EscolheIdentificador(o, id)) {
    return Falha(SAIDA_GRAVACAO, Formata("no free request number in %s and %s", o.entrada.c_str(), o.saida.c_str()));
  }
  const std::string textoId = Formata("%0*lld", o.largura, id);
  if (cabecalho != nullptr) linhas.push_back(*cabecalho);
  linhas.push_back({1, 0, identificador != nullptr ? identificador->valor : textoId});
  for (const Campo& c : o.campos) {
    if (&c == cabecalho || &c == identificador || c.numero == 999) continue;
    linhas.push_back(c);
  }
  linhas.push_back({999, 999, ""});
  std::size_t lidos = 0;
  for (const Campo& c : linhas) {
    if (!GatewayLe(c)) {
      std::fprintf(stderr, "%s: warning: %03d-%03d has no value, and the gateway skips it\n", PROGRAMA, c.numero,
                   c.ocorrencia);
    } else if (ValorEmBranco(c.valor)) {
      std::fprintf(stderr, "%s: warning: the gateway reads %03d-%03d only up to its first blank\n", PROGRAMA, c.numero,
                   c.ocorrencia);
    }
    if (GatewayLe(c)) ++lidos;
  }
  if (linhas.size() > MAX_LINHAS) {
    return ferramentas::ErroDeUso(PROGRAMA,
                                  Formata("%zu fields; the gateway reads at most %zu", linhas.size(), MAX_LINHAS));
  }
  if (lidos < MIN_CAMPOS) {
    // The gateway claims such a request and answers nothing, not even the status.
    return ferramentas::ErroDeUso(
        PROGRAMA, Formata("the gateway ignores a request of %zu fields or fewer, and this one has %zu (%s001-000 "
                          "and the closing 999-999 count); to ask whether the gateway is up: 000-000=ATV 011-000=31",
                          MIN_CAMPOS - 1, lidos, cabecalho != nullptr ? "000-000, " : ""));
  }

  const std::string env = Caminho(o.entrada, textoId + ".ENV");
  const std::string sta = Caminho(o.saida, textoId + ".sta");
  const std::string rsp = Caminho(o.saida, textoId + ".rsp");
  if (Existe(env)) return Falha(SAIDA_GRAVACAO, "a request is already waiting as " + env);
  // An old status or response of the same number would be taken for this request's.
  for (const std::string* velho : {&sta, &rsp}) {
    if (plataforma::Apaga(velho->c_str()) == plataforma::ResultadoApaga::Falhou) {
      return Falha(SAIDA_GRAVACAO, "could not delete the old file " + *velho);
    }
  }

  std::string texto;
  for (const Campo& c : linhas) texto += Formata("%03d-%03d = ", c.numero, c.ocorrencia) + c.valor + "\r\n";
  // Written under a name the gateway does not look at, then renamed: it never sees half a request.
  const std::string temporario = Caminho(o.entrada, textoId + ".pdv");
  // The gateway reads it as a member of the folder's group, whatever this till's umask; it holds
  // card data, so nobody else may.
  if (!plataforma::GravaArquivoInteiro(temporario.c_str(), texto.data(), texto.size(), true, nullptr,
                                       plataforma::Leitores::GrupoSempre) ||
      !plataforma::Renomeia(temporario.c_str(), env.c_str())) {
    plataforma::Apaga(temporario.c_str());
    return Falha(SAIDA_GRAVACAO, "could not write " + env);
  }
  std::printf("request %s sent: %s\n", textoId.c_str(), env.c_str());
  std::fflush(stdout);

  if (!EsperaArquivo(sta, o.tempoStatus)) {
    // Not taken in time: withdraw it, so a gateway started later does not carry it out unseen.
    const bool retirado = plataforma::Apaga(env.c_str()) == plataforma::ResultadoApaga::Apagado;
    std::printf("no status within %d s: the gateway did not pick the request up%s\n", o.tempoStatus,
                retirado ? " (request withdrawn)" : "");
    return SAIDA_SEM_STATUS;
  }
  std::string conteudo;
  plataforma::LeArquivoInteiro(sta.c_str(), conteudo, MAX_RESPOSTA);
  std::printf("status:\n");
  MostraCampos(LeCamposArquivo(conteudo));
  if (cabecalho != nullptr && IguaisSemCaixa(cabecalho->valor.c_str(), "ATV")) {
    // The status is the whole answer to "are you there".
    if (!o.mantem) plataforma::Apaga(sta.c_str());
    std::printf("gateway is up\n");
    return SAIDA_APROVADA;
  }
  std::fflush(stdout);

  if (!EsperaArquivo(rsp, o.tempoResposta)) {
    std::printf("no response within %d s\n", o.tempoResposta);
    return SAIDA_SEM_RESPOSTA;
  }
  conteudo.clear();
  if (!plataforma::LeArquivoInteiro(rsp.c_str(), conteudo, MAX_RESPOSTA)) {
    return Falha(SAIDA_SEM_RESPOSTA, "could not read " + rsp);
  }
  const std::vector<Campo> resposta = LeCamposArquivo(conteudo);
  std::printf("response:\n");
  MostraCampos(resposta);
  if (!o.mantem) {
    plataforma::Apaga(rsp.c_str());
    plataforma::Apaga(sta.c_str());
  }

  const std::string* codigo = Valor(resposta, 9, 0);
  const std::string* mensagem = Valor(resposta, 30, 0);
  if (codigo != nullptr && *codigo == "00") {
    std::printf("approved\n");
    return SAIDA_APROVADA;
  }
  std::printf("refused: %s%s%s%s\n", codigo != nullptr ? "response code " : "no response code",
              codigo != nullptr ? ParaTerminal(*codigo).c_str() : "", mensagem != nullptr ? ", " : "",
              mensagem != nullptr ? ParaTerminal(*mensagem).c_str() : "");
  return SAIDA_RECUSADA;
}
