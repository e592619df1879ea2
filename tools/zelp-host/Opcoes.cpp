// Parsing and help of the zelp-host command line.
#include "zelp-host/Opcoes.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "comum/Texto.h"

namespace simulador {

namespace {

bool Inteiro(const char* texto, long minimo, long maximo, int& valor) {
  if (texto == nullptr || *texto == 0) return false;
  char* fim = nullptr;
  errno = 0;
  const long v = std::strtol(texto, &fim, 10);
  if (errno != 0 || *fim != 0 || v < minimo || v > maximo) return false;
  valor = static_cast<int>(v);
  return true;
}

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
    if (nome == "--help" || nome == "-h") {
      o.ajuda = true;
      continue;
    }
    if (nome == "--resumo") {
      o.resumo = true;
      continue;
    }
    if (i + 1 >= argc) {
      erro = "opcao desconhecida ou sem valor: " + nome;
      return false;
    }
    const char* valor = argv[++i];
    bool ok = true;
    if (nome == "--porta") {
      ok = Inteiro(valor, 0, 65535, o.porta);
    } else if (nome == "--endereco") {
      in_addr a{};
      ok = inet_pton(AF_INET, valor, &a) == 1;
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
    } else if (nome == "--falha") {
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
    } else {
      erro = "opcao desconhecida: " + nome;
      return false;
    }
    if (!ok) {
      erro = "valor invalido para " + nome + ": " + valor;
      return false;
    }
  }
  return true;
}

const char* TextoAjuda() {
  return "zelp-host: simulador do host de autorizacao do gateway ZELP.\n"
         "\n"
         "Uso: zelp-host [opcoes]\n"
         "\n"
         "Escuta em TCP e atende uma mensagem por conexao, como o host real: le o quadro do pedido\n"
         "(os 40 bytes zerados que o codigo 14 manda antes do cabecalho, o cabecalho de 8 bytes com o\n"
         "tamanho dos dados nos bytes 5 e 6, little-endian, e os dados), decodifica os dados pelo layout\n"
         "de pedido do codigo (byte 2 do cabecalho), mostra os campos e o dump hexadecimal, e responde\n"
         "pelo layout de resposta do mesmo codigo. A primeira linha impressa e \"porta N\", a porta em\n"
         "que escuta.\n"
         "\n"
         "Opcoes:\n"
         "  --porta N             porta TCP (padrao 0: uma porta livre escolhida pelo sistema)\n"
         "  --endereco A          endereco IPv4 onde escutar (padrao 127.0.0.1)\n"
         "  --atraso MS           espera MS milissegundos antes de responder (ou de fechar, com\n"
         "                        --falha fecha)\n"
         "  --falha F             simula uma falha em toda conexao:\n"
         "                          fecha           le o pedido e fecha a conexao sem responder\n"
         "                          mudo            le o pedido e nunca responde; a conexao fica aberta\n"
         "                                          ate o gateway desistir (no maximo --espera-mudo)\n"
         "                          tamanho-errado  anuncia no cabecalho um byte a mais do que o\n"
         "                                          layout de resposta comporta (parte fixa mais todas\n"
         "                                          as repeticoes) e manda os dados verdadeiros\n"
         "                          pedacos         manda a resposta em pedacos de 7 bytes, 20 ms\n"
         "                                          entre eles\n"
         "  --vezes N             atende N conexoes e termina (padrao 0: ate ser interrompido)\n"
         "  --codigo-resposta NN  responde todo pedido com o codigo NN (00 a 99)\n"
         "  --codigo-resposta C=NN  responde os pedidos do codigo de transacao C com NN; pode ser\n"
         "                        repetida e vale antes da forma sem C\n"
         "  --repeticoes N        ocorrencias do grupo repetido das respostas que tem um (1 a 32,\n"
         "                        limitado ao maximo do layout)\n"
         "  --tempo-leitura S     tempo maximo para o pedido inteiro chegar (padrao 30 s)\n"
         "  --espera-mudo S       com --falha mudo, tempo maximo com a conexao aberta (padrao 300 s)\n"
         "  --resumo              uma linha por conexao em vez dos campos e dumps\n"
         "  --help                esta ajuda\n"
         "\n"
         "Regras da resposta (deterministicas):\n"
         "  - O codigo de resposta (campo 009) e, nesta ordem: o de --codigo-resposta C=NN para o\n"
         "    codigo da transacao; o de --codigo-resposta NN; os dois ultimos digitos do valor\n"
         "    (campo 003) quando nao sao 00 (valor 2551 da o codigo 51); senao 00, aprovacao.\n"
         "    Os codigos sem campo 003 no pedido (57, 58, 59, 102, 107, 108, 110) sao aprovados, salvo\n"
         "    com --codigo-resposta.\n"
         "  - Uma recusa leva no campo 030 um texto como \"SALDO INSUFICIENTE (51)\"; os campos so de\n"
         "    aprovacao ficam zerados. Uma aprovacao preenche os campos so de aprovacao e deixa 030\n"
         "    zerado. Os codigos 26, 27 e 28 nas transacoes 41, 102, 105, 109 e 110 sao lidos pelo\n"
         "    gateway como aprovacao, e assim sao preenchidos.\n"
         "  - Valores: 003, 002 e 304 repetem os do pedido; 012 hora (hhmmss); 013 data e hora\n"
         "    (MMDDhhmmss); 022 data (DDMMAAAA); 023 NSU (contador do simulador); 032 codigo de\n"
         "    autorizacao; 100 \"LOJA \" e o codigo do estabelecimento (901); 370 \"ZELP HOST\n"
         "    SIMULADOR\". Os demais repetem o campo do pedido de mesmo numero e ocorrencia quando\n"
         "    ha um, senao um valor que nomeia o campo (digitos NNNOO, ou \"CAMPO NNN\").\n"
         "  - Grupo repetido: a resposta tem tantas ocorrencias quanto o grupo do pedido (transacoes\n"
         "    41, 102, 105, 109); quando o pedido nao tem grupo (110, 121), duas; --repeticoes fixa o\n"
         "    numero. Campos repetidos ecoam a mesma ocorrencia do pedido.\n"
         "  - O cabecalho da resposta repete os bytes 0, 2, 3 e a sequencia (byte 4) do pedido, tem\n"
         "    byte 1 = 1, o tamanho dos dados nos bytes 5 e 6 e byte 7 = 0. A resposta do codigo 14\n"
         "    vem com 40 bytes zerados antes do cabecalho.\n"
         "  - Um codigo sem tipo no catalogo, um pedido incompleto ou um prefixo que nao e zerado sao\n"
         "    mostrados e a conexao e fechada sem resposta.\n"
         "\n"
         "Saida: 0 ao terminar as --vezes conexoes; 2 em erro de opcao ou de rede.\n";
}

}  // namespace simulador
