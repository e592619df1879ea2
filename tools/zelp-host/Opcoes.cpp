// Parsing and help of the zelp-host command line.
#include "zelp-host/Opcoes.h"

#include <cstdint>
#include <cstring>

#include "ferramentas/LinhaComando.h"
#include "platform/Rede.h"

namespace simulador {

namespace {

using ferramentas::Inteiro;

// "NN" for every code, or "CODIGO=NN" for one transaction code.
bool RegraCodigo(const char* texto, RegrasResposta& regras) {
  const char* igual = std::strchr(texto, '=');
  int codigo = 0;
  if (igual == nullptr) {
    if (!Inteiro(texto, 0, 99, codigo)) return false;
    regras.codigoTodos = codigo;
    return true;
  }
  int transacao = 0;
  const std::string antes(texto, igual);
  if (!Inteiro(antes.c_str(), 0, 255, transacao) || !Inteiro(igual + 1, 0, 99, codigo)) return false;
  regras.codigoPorTransacao[transacao] = codigo;
  return true;
}

}  // namespace

const char* NomeFalha(Falha falha) {
  switch (falha) {
    case Falha::Fecha: return "fecha";
    case Falha::Mudo: return "mudo";
    case Falha::TamanhoErrado: return "tamanho-errado";
    case Falha::Pedacos: return "pedacos";
    default: return "nenhuma";
  }
}

bool LeOpcoes(int argc, const char* const* argv, OpcoesHost& o, std::string& erro) {
  for (int i = 1; i < argc; ++i) {
    const std::string nome = argv[i];
    switch (ferramentas::QualOpcaoComum(nome)) {
      case ferramentas::OpcaoComum::Ajuda: o.ajuda = true; continue;
      case ferramentas::OpcaoComum::Versao: o.versao = true; continue;
      case ferramentas::OpcaoComum::Nenhuma: break;
    }
    if (nome == "--resumo") {
      o.resumo = true;
      continue;
    }
    if (nome == "--mostra-cartao") {
      o.mostraCartao = true;
      continue;
    }
    if (!ferramentas::PareceOpcao(nome)) {
      erro = "unexpected argument '" + nome + "'";
      return false;
    }
    static const char* const comValor[] = {"--porta",      "--endereco",      "--atraso",     "--vezes",
                                           "--tempo-leitura", "--espera-mudo", "--repeticoes", "--codigo-resposta",
                                           "--falha"};
    bool conhecida = false;
    for (const char* c : comValor) conhecida = conhecida || nome == c;
    if (!conhecida) {
      erro = ferramentas::OpcaoDesconhecida(nome);
      return false;
    }
    if (i + 1 >= argc) {
      erro = "option '" + nome + "' needs a value";
      return false;
    }
    const char* valor = argv[++i];
    bool ok = true;
    if (nome == "--porta") {
      ok = Inteiro(valor, 0, 65535, o.porta);
    } else if (nome == "--endereco") {
      std::uint32_t ip = 0;
      ok = plataforma::LeIPv4(valor, ip);
      o.endereco = valor;
    } else if (nome == "--atraso") {
      ok = Inteiro(valor, 0, 600000, o.atrasoMs);
    } else if (nome == "--vezes") {
      ok = Inteiro(valor, 0, 1000000000, o.vezes);
    } else if (nome == "--tempo-leitura") {
      ok = Inteiro(valor, 1, 3600, o.tempoLeituraS);
    } else if (nome == "--espera-mudo") {
      ok = Inteiro(valor, 1, 3600, o.esperaMudoS);
    } else if (nome == "--repeticoes") {
      ok = Inteiro(valor, 1, 32, o.regras.repeticoes);
    } else if (nome == "--codigo-resposta") {
      ok = RegraCodigo(valor, o.regras);
    } else {
      const std::string f = valor;
      if (f == "fecha") {
        o.falha = Falha::Fecha;
      } else if (f == "mudo") {
        o.falha = Falha::Mudo;
      } else if (f == "tamanho-errado") {
        o.falha = Falha::TamanhoErrado;
      } else if (f == "pedacos") {
        o.falha = Falha::Pedacos;
      } else {
        ok = false;
      }
    }
    if (!ok) {
      erro = "invalid value for " + nome + ": '" + valor + "'";
      return false;
    }
  }
  return true;
}

const char* TextoAjuda() {
  return "zelp-host: authorisation host simulator of the ZELP gateway.\n"
         "\n"
         "Usage: zelp-host [options]\n"
         "\n"
         "Listens on TCP and serves one message per connection, as the real host does: reads the\n"
         "request frame (the 40 zero bytes that code 14 sends ahead of the header, the 8-byte header\n"
         "with the data length in bytes 5 and 6, little-endian, and the data), decodes the data by the\n"
         "request layout of the code (header byte 2), prints the fields and a hex dump, and answers by\n"
         "the response layout of the same code. The first line printed is \"port N\", the port it\n"
         "listens on.\n"
         "\n"
         "Options:\n"
         "  --porta N             TCP port (default 0: a free port chosen by the system)\n"
         "  --endereco A          IPv4 address to listen on (default 127.0.0.1)\n"
         "  --atraso MS           wait MS milliseconds before answering (or before closing, with\n"
         "                        --falha fecha)\n"
         "  --falha F             play a fault on every connection:\n"
         "                          fecha           read the request and close without answering\n"
         "                          mudo            read the request and never answer; the connection\n"
         "                                          stays open until the gateway gives up (at most\n"
         "                                          --espera-mudo)\n"
         "                          tamanho-errado  announce in the header one byte more than the\n"
         "                                          response layout holds (fixed part and every\n"
         "                                          repetition) and send the true data\n"
         "                          pedacos         send the answer in pieces of 7 bytes, 20 ms apart\n"
         "  --vezes N             serve N connections and exit (default 0: until stopped)\n"
         "  --codigo-resposta NN  answer every request with response code NN (00 to 99)\n"
         "  --codigo-resposta C=NN  answer the requests of transaction code C with NN; may be\n"
         "                        repeated, and comes before the form without C\n"
         "  --repeticoes N        occurrences of the repeated group of the responses that have one\n"
         "                        (1 to 32, limited to the layout's maximum)\n"
         "  --tempo-leitura S     longest wait for the whole request (default 30 s)\n"
         "  --espera-mudo S       with --falha mudo, longest time the connection is held (default 300 s)\n"
         "  --resumo              one line per connection instead of the fields and dumps\n"
         "  --mostra-cartao       print card data whole: by default every run of 13 to 19 digits\n"
         "                        (a card number) keeps its first six and last four digits, the\n"
         "                        rest shown as '*', and so does the track (098), whose other\n"
         "                        letters and digits are hidden; the PIN block (010) is hidden\n"
         "                        whole; the hex dumps hide the same nibbles, and every byte\n"
         "                        but the zeros of a request that no layout reads\n"
         "  -h, --help            this help\n"
         "  --version             the program's version\n"
         "\n"
         "Answer rules (deterministic):\n"
         "  - The response code (field 009) is, in this order: 30 (\"ERRO DE FORMATO\") when a BCD\n"
         "    field of the request holds a nibble above 9, which a careful host refuses whatever\n"
         "    the options say; the one of --codigo-resposta C=NN for the transaction code; the one of\n"
         "    --codigo-resposta NN; the last two digits of the amount (field 003) when they are not\n"
         "    00 (amount 2551 gives code 51); else 00, an approval.\n"
         "    The codes without field 003 in their request (57, 58, 59, 102, 107, 108, 110) are\n"
         "    approved unless --codigo-resposta says otherwise.\n"
         "  - A refusal carries in field 030 a text such as \"SALDO INSUFICIENTE (51)\"; the fields of\n"
         "    an approval only are left zero. An approval fills the fields of an approval and leaves\n"
         "    030 zero. Codes 26, 27 and 28 on transactions 41, 102, 105, 109 and 110 are read by the\n"
         "    gateway as approvals, and are filled as such.\n"
         "  - Values: 003, 002 and 304 repeat the request's; 012 time (hhmmss); 013 date and time\n"
         "    (MMDDhhmmss); 022 date (DDMMYYYY); 023 NSU (the simulator's counter); 032 authorisation\n"
         "    code; 100 \"LOJA \" and the establishment code (901); 370 \"ZELP HOST SIMULADOR\". The\n"
         "    others repeat the request's field of the same number and occurrence when there is one,\n"
         "    else a value that names the field (digits NNNOO, or \"CAMPO NNN\").\n"
         "  - Repeated group: the answer has as many occurrences as the request's group (transactions\n"
         "    41, 102, 105, 109); when the request has no group (110, 121), two; --repeticoes sets the\n"
         "    number. Repeated fields echo the same occurrence of the request.\n"
         "  - The answer's header repeats bytes 0, 2, 3 and the sequence (byte 4) of the request, has\n"
         "    byte 1 = 1, the data length in bytes 5 and 6 and byte 7 = 0. The answer to code 14\n"
         "    comes with 40 zero bytes ahead of the header.\n"
         "  - A code without a catalogue type, an incomplete request or a prefix that is not zero\n"
         "    are printed and the connection is closed without an answer.\n"
         "\n"
         "Exit status: 0 after serving the --vezes connections, and for --help and --version;\n"
         "2 usage error (unknown option, missing or wrong value); 3 the address could not be\n"
         "listened on (in use, or not of this machine).\n";
}

}  // namespace simulador
