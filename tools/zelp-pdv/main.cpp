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
#include "platform/Arquivos.h"

namespace {

// Exit status, as point-of-sale scripts test it.
constexpr int SAIDA_APROVADA = 0;
constexpr int SAIDA_RECUSADA = 1;    // refusal or error response
constexpr int SAIDA_SEM_STATUS = 2;  // the gateway never took the request
constexpr int SAIDA_SEM_RESPOSTA = 3;
constexpr int SAIDA_ERRO = 4;        // wrong arguments, or the request could not be written

// The gateway reads at most 255 fields of a request, the closing 999 included.
constexpr std::size_t MAX_LINHAS = 255;
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
  bool ajuda = false;
  std::vector<Campo> campos;
};

void MostraAjuda(std::FILE* f) {
  std::fputs(
      "Uso: zelp-pdv [opcoes] NNN-NNN=valor ...\n"
      "\n"
      "Manda ao gateway ZELP um pedido com os campos dados e espera a resposta, como faz o\n"
      "ponto de venda: grava o pedido com um nome temporario no diretorio de entrada e o renomeia\n"
      "para <numero>.ENV, espera o status <numero>.sta e depois a resposta <numero>.rsp no\n"
      "diretorio de saida, mostra os campos da resposta e termina com um codigo que diz o\n"
      "resultado.\n"
      "\n"
      "Campos: NNN-NNN=valor (numero e ocorrencia, de 0 a 999) ou NNN=valor (ocorrencia 000).\n"
      "  O campo 000-000 vai sempre na primeira linha e o 999-999 fecha o pedido. Sem 001-000, o\n"
      "  numero do pedido e escolhido entre os que nao tem arquivos nos diretorios. O gateway le\n"
      "  um valor so ate o primeiro espaco.\n"
      "\n"
      "Opcoes:\n"
      "  --entrada DIR         diretorio de entrada do gateway (padrao .)\n"
      "  --saida DIR           diretorio de saida do gateway (padrao .)\n"
      "  --largura W           digitos do numero nos nomes dos arquivos, TamNomeArq (8 a 16,\n"
      "                        padrao 8)\n"
      "  --tempo-status S      espera pelo status, em segundos (padrao 10)\n"
      "  --tempo-resposta S    espera pela resposta depois do status, em segundos (padrao 60)\n"
      "  --mantem              nao apaga o status e a resposta depois de le-los\n"
      "  --help                esta ajuda\n"
      "\n"
      "Um pedido com 000-000=ATV so pergunta se o gateway esta no ar: o status e a resposta.\n"
      "Sem status no tempo, o pedido que ainda nao foi pego e apagado, para nao ser feito depois.\n"
      "\n"
      "Saida: 0 aprovada (009-000 = 00, ou status de um ATV); 1 recusada ou resposta de erro;\n"
      "2 sem status (gateway parado?); 3 sem resposta no tempo; 4 erro de uso ou de gravacao.\n"
      "\n"
      "Exemplo: zelp-pdv --entrada entrada --saida saida 000-000=CRT 011-000=31 003-000=1500 \\\n"
      "           098-000=4111111111111111=2812\n",
      f);
}

bool Inteiro(const char* texto, long minimo, long maximo, int& valor) {
  if (texto == nullptr || *texto == 0) return false;
  char* fim = nullptr;
  errno = 0;
  const long v = std::strtol(texto, &fim, 10);
  if (errno != 0 || *fim != 0 || v < minimo || v > maximo) return false;
  valor = static_cast<int>(v);
  return true;
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
    erro = Formata("campo sem '=': %s", argumento);
    return false;
  }
  const std::string nome(argumento, igual);
  const std::size_t traco = nome.find('-');
  const bool ok = traco == std::string::npos
                      ? Numero3(nome, campo.numero) && (campo.ocorrencia = 0, true)
                      : Numero3(nome.substr(0, traco), campo.numero) && Numero3(nome.substr(traco + 1), campo.ocorrencia);
  if (!ok) {
    erro = Formata("campo invalido (use NNN-NNN=valor): %s", argumento);
    return false;
  }
  campo.valor = igual + 1;
  // A line break would end the field line early and start a forged one.
  if (campo.valor.find_first_of("\r\n") != std::string::npos) {
    erro = Formata("o valor de %03d-%03d tem uma quebra de linha", campo.numero, campo.ocorrencia);
    return false;
  }
  return true;
}

bool LeOpcoes(int argc, char** argv, Opcoes& o, std::string& erro) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      o.ajuda = true;
    } else if (a == "--mantem") {
      o.mantem = true;
    } else if (a.rfind("--", 0) == 0) {
      if (i + 1 >= argc) {
        erro = "opcao sem valor: " + a;
        return false;
      }
      const char* v = argv[++i];
      bool ok = true;
      if (a == "--entrada") {
        o.entrada = v;
        ok = !o.entrada.empty();
      } else if (a == "--saida") {
        o.saida = v;
        ok = !o.saida.empty();
      } else if (a == "--largura") {
        ok = Inteiro(v, 8, 16, o.largura);
      } else if (a == "--tempo-status") {
        ok = Inteiro(v, 1, 3600, o.tempoStatus);
      } else if (a == "--tempo-resposta") {
        ok = Inteiro(v, 1, 3600, o.tempoResposta);
      } else {
        erro = "opcao desconhecida: " + a;
        return false;
      }
      if (!ok) {
        erro = "valor invalido para " + a + ": " + v;
        return false;
      }
    } else {
      Campo c;
      if (!LeCampo(argv[i], c, erro)) return false;
      o.campos.push_back(std::move(c));
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

// Control characters from the host are not sent to the terminal as they are.
std::string ParaTerminal(const std::string& s) {
  std::string r = s;
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

bool ValorEmBranco(const std::string& v) { return v.find_first_of(" \t") != std::string::npos; }

}  // namespace

int main(int argc, char** argv) {
  Opcoes o;
  std::string erro;
  if (!LeOpcoes(argc, argv, o, erro)) {
    std::fprintf(stderr, "zelp-pdv: %s (veja --help)\n", erro.c_str());
    return SAIDA_ERRO;
  }
  if (o.ajuda) {
    MostraAjuda(stdout);
    return SAIDA_APROVADA;
  }
  if (o.campos.empty()) {
    MostraAjuda(stderr);
    return SAIDA_ERRO;
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
      std::fprintf(stderr, "zelp-pdv: 001-000 deve ser um numero de ate %d digitos: %s\n", o.largura,
                   identificador->valor.c_str());
      return SAIDA_ERRO;
    }
  } else if (!EscolheIdentificador(o, id)) {
    std::fprintf(stderr, "zelp-pdv: nenhum numero de pedido livre em %s e %s\n", o.entrada.c_str(), o.saida.c_str());
    return SAIDA_ERRO;
  }
  const std::string textoId = Formata("%0*lld", o.largura, id);
  if (cabecalho != nullptr) linhas.push_back(*cabecalho);
  linhas.push_back({1, 0, identificador != nullptr ? identificador->valor : textoId});
  for (const Campo& c : o.campos) {
    if (&c == cabecalho || &c == identificador || c.numero == 999) continue;
    if (ValorEmBranco(c.valor)) {
      std::fprintf(stderr, "zelp-pdv: aviso: o gateway le %03d-%03d so ate o primeiro espaco\n", c.numero,
                   c.ocorrencia);
    }
    linhas.push_back(c);
  }
  linhas.push_back({999, 999, ""});
  if (linhas.size() > MAX_LINHAS) {
    std::fprintf(stderr, "zelp-pdv: %zu campos; o gateway le no maximo %zu\n", linhas.size(), MAX_LINHAS);
    return SAIDA_ERRO;
  }
  if (linhas.size() < 4) {
    std::fprintf(stderr, "zelp-pdv: aviso: o gateway ignora pedidos com menos de 4 campos\n");
  }

  const std::string env = Caminho(o.entrada, textoId + ".ENV");
  const std::string sta = Caminho(o.saida, textoId + ".sta");
  const std::string rsp = Caminho(o.saida, textoId + ".rsp");
  if (Existe(env)) {
    std::fprintf(stderr, "zelp-pdv: ja ha um pedido pendente %s\n", env.c_str());
    return SAIDA_ERRO;
  }
  // An old status or response of the same number would be taken for this request's.
  for (const std::string* velho : {&sta, &rsp}) {
    if (plataforma::Apaga(velho->c_str()) == plataforma::ResultadoApaga::Falhou) {
      std::fprintf(stderr, "zelp-pdv: nao foi possivel apagar o arquivo antigo %s\n", velho->c_str());
      return SAIDA_ERRO;
    }
  }

  std::string texto;
  for (const Campo& c : linhas) texto += Formata("%03d-%03d = ", c.numero, c.ocorrencia) + c.valor + "\r\n";
  // Written under a name the gateway does not look at, then renamed: it never sees half a request.
  const std::string temporario = Caminho(o.entrada, textoId + ".pdv");
  if (!plataforma::GravaArquivoInteiro(temporario.c_str(), texto.data(), texto.size(), true) ||
      !plataforma::Renomeia(temporario.c_str(), env.c_str())) {
    std::fprintf(stderr, "zelp-pdv: nao foi possivel gravar %s\n", env.c_str());
    plataforma::Apaga(temporario.c_str());
    return SAIDA_ERRO;
  }
  std::printf("pedido %s enviado: %s\n", textoId.c_str(), env.c_str());
  std::fflush(stdout);

  if (!EsperaArquivo(sta, o.tempoStatus)) {
    // Not taken in time: withdraw it, so a gateway started later does not carry it out unseen.
    const bool retirado = plataforma::Apaga(env.c_str()) == plataforma::ResultadoApaga::Apagado;
    std::printf("sem status em %d s: o gateway nao pegou o pedido%s\n", o.tempoStatus,
                retirado ? " (pedido retirado)" : "");
    return SAIDA_SEM_STATUS;
  }
  std::string conteudo;
  plataforma::LeArquivoInteiro(sta.c_str(), conteudo, MAX_RESPOSTA);
  std::printf("status:\n");
  MostraCampos(LeCamposArquivo(conteudo));
  if (cabecalho != nullptr && IguaisSemCaixa(cabecalho->valor.c_str(), "ATV")) {
    // The status is the whole answer to "are you there".
    if (!o.mantem) plataforma::Apaga(sta.c_str());
    std::printf("gateway no ar\n");
    return SAIDA_APROVADA;
  }
  std::fflush(stdout);

  if (!EsperaArquivo(rsp, o.tempoResposta)) {
    std::printf("sem resposta em %d s\n", o.tempoResposta);
    return SAIDA_SEM_RESPOSTA;
  }
  conteudo.clear();
  if (!plataforma::LeArquivoInteiro(rsp.c_str(), conteudo, MAX_RESPOSTA)) {
    std::fprintf(stderr, "zelp-pdv: nao foi possivel ler %s\n", rsp.c_str());
    return SAIDA_ERRO;
  }
  const std::vector<Campo> resposta = LeCamposArquivo(conteudo);
  std::printf("resposta:\n");
  MostraCampos(resposta);
  if (!o.mantem) {
    plataforma::Apaga(rsp.c_str());
    plataforma::Apaga(sta.c_str());
  }

  const std::string* codigo = Valor(resposta, 9, 0);
  const std::string* mensagem = Valor(resposta, 30, 0);
  if (codigo != nullptr && *codigo == "00") {
    std::printf("aprovada\n");
    return SAIDA_APROVADA;
  }
  std::printf("recusada: codigo %s%s%s\n", codigo != nullptr ? ParaTerminal(*codigo).c_str() : "(nenhum)",
              mensagem != nullptr ? ", " : "", mensagem != nullptr ? ParaTerminal(*mensagem).c_str() : "");
  return SAIDA_RECUSADA;
}
