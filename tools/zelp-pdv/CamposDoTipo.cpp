// The rows of a type's request and response layouts, in words: presence from the layout's condition
// and group, as request assembly and response decoding read them; size and kind from the field type.
#include "zelp-pdv/CamposDoTipo.h"

#include <vector>

#include "codec/Cheques.h"
#include "codec/DecodificaResposta.h"
#include "comum/Texto.h"

namespace {

// The numbers whose role the gateway itself knows: read from every request, or written into every
// error response.
constexpr int CAMPO_CABECALHO = 0;
constexpr int CAMPO_NUMERO = 1;
constexpr int CAMPO_VALOR = 3;
constexpr int CAMPO_CODIGO_RESPOSTA = 9;
constexpr int CAMPO_CODIGO = 11;
constexpr int CAMPO_MENSAGEM = 30;
constexpr int CAMPO_ARQUIVO = 383;
constexpr int CAMPO_FIM = 999;
constexpr int MAX_ARQUIVO = 9;
constexpr int PRIMEIRO_ESTABELECIMENTO = 901;
constexpr int PRIMEIRA_CONSTANTE = 910;
constexpr int CODIGO_ERRO = 85;
// The cheque block reads six fields per cheque: 043 (the CMC7 line) and the five after it.
constexpr int CAMPOS_DO_CHEQUE = 6;

bool NoGrupo(const TLayoutMensagem& l, const TLayoutCampo& e) { return l.TemGrupo() && e.repetido == 1; }

// The entry that holds the group's count: the one placed at the count's offset.
const TLayoutCampo* Contador(const TLayoutMensagem& l) {
  if (!l.TemGrupo()) return nullptr;
  for (int i = 0; i < l.numDefinicoes; ++i) {
    if (l.definicoes[i].posicao == l.posContador) return &l.definicoes[i];
  }
  return nullptr;
}

const TLayoutCampo* Cheque(const TLayoutMensagem& l) {
  for (int i = 0; i < l.numDefinicoes; ++i) {
    if (l.definicoes[i].tipo == TIPO_CHEQUE) return &l.definicoes[i];
  }
  return nullptr;
}

bool AdicionadoPeloGateway(const TTipoTransacao& t, int numero) {
  return (numero >= PRIMEIRO_ESTABELECIMENTO && numero < PRIMEIRO_ESTABELECIMENTO + t.numEstabelecimento) ||
         (numero >= PRIMEIRA_CONSTANTE && numero < PRIMEIRA_CONSTANTE + t.numConstantes);
}

std::string NomeCampo(const TLayoutMensagem& l, const TLayoutCampo& e) {
  if (e.numero == CAMPO_FIM) return "999-999";
  return Formata(NoGrupo(l, e) ? "%03d-nnn" : "%03d-000", e.numero);
}

std::string Digitos(int n) { return Formata("up to %d digits", n); }

// What the request encoder makes of a value of each field type, in the words of the one who writes it.
void TipoNoPedido(const TLayoutCampo& e, LinhaCampo& l) {
  const int n = e.tamanho;
  switch (e.tipo) {
    case TIPO_NUMERICO:
      l.tamanho = Digitos(n);
      l.conteudo = "digits, zeros added on the left";
      break;
    case TIPO_BCD:
      l.tamanho = Digitos(2 * n);
      l.conteudo = "packed digits: decimal digits only";
      break;
    case TIPO_HEXA:
      l.tamanho = Formata("up to %d hex digits", 2 * n);
      l.conteudo = "hexadecimal, packed from the left";
      break;
    case TIPO_BINARIO:
      l.tamanho = "0 to 255";
      l.conteudo = "number, sent as one byte";
      break;
    case TIPO_CARACTER:
      l.tamanho = "1 character";
      l.conteudo = "one character";
      break;
    case TIPO_PREFIXO_BCD:
      l.tamanho = Formata("1 character + %s", Digitos(2 * n).c_str());
      l.conteudo = "one character, then packed digits (decimal digits only)";
      break;
    case TIPO_TEXTO:
    case TIPO_TEXTO_NUL:
      l.tamanho = Formata("up to %d characters", n);
      l.conteudo = "text";
      break;
    default:
      l.conteudo = "not sent to the host";
      break;
  }
}

// The cheque block's own fields, in the order the block reads them after the CMC7 line (043).
void CampoDoCheque(int m, LinhaCampo& l) {
  switch (m) {
    case 0:
      l.tamanho = Formata("%d digits", TAM_CMC7);
      l.conteudo = "the cheque's CMC7 line as read from it; its check digits (8th, 19th, 30th) are checked";
      break;
    case 1:
      l.tamanho = Digitos(2 * TAM_CAMPO_044);
      l.conteudo = "packed digits: decimal digits only";
      break;
    case 2:
      l.tamanho = Digitos(2 * TAM_CAMPO_045);
      l.conteudo = "packed digits: decimal digits only";
      break;
    case 3:
      l.tamanho = "1 digit";
      l.conteudo = "check digit (modulo 11) of the compensation, bank and agency of the CMC7 line; checked";
      break;
    case 4:
      l.tamanho = "1 character";
      l.conteudo = "sent after the account of the CMC7 line; not checked";
      break;
    default:
      l.tamanho = "1 digit";
      l.conteudo = "check digit (modulo 11) of the cheque number of the CMC7 line; checked";
      break;
  }
}

LinhaCampo LinhaPedido(const TTipoTransacao& t, const TLayoutCampo& e) {
  const TLayoutMensagem& l = t.pedido;
  LinhaCampo r{e.numero, NomeCampo(l, e), "", "", ""};
  // Assembly reports a mandatory field missing; inside the group it wants one per occurrence up to
  // the count.
  r.presenca = e.condicao != 0 ? "optional" : NoGrupo(l, e) ? "conditional" : "required";
  const TLayoutCampo* contador = Contador(l);
  const TLayoutCampo* cheque = Cheque(l);
  if (e.numero == CAMPO_CABECALHO) {
    r.tamanho = t.nome;
    r.conteudo = Formata("header: %s (any letter case); the first line of the request", t.nome);
  } else if (e.numero == CAMPO_NUMERO) {
    r.tamanho = "TamNomeArq digits";
    r.conteudo = "request number, the one in the file's name";
  } else if (e.numero == CAMPO_CODIGO) {
    r.tamanho = std::to_string(t.codigo);
    r.conteudo = "transaction code";
  } else if (e.numero == CAMPO_ARQUIVO) {
    r.tamanho = Formata("0 to %d", MAX_ARQUIVO);
    r.conteudo = Formata("establishment file: slot arqN of [par%d] (0 when absent)", t.indicePar);
  } else if (e.numero == CAMPO_FIM) {
    r.tamanho = "empty";
    r.conteudo = "closes the request: the last line";
  } else if (contador == &e) {
    // A count of 0 leaves every conditional field of the group missing.
    r.tamanho = Formata("1 to %d", l.maxRepeticoes);
    r.conteudo = cheque != nullptr ? "number of cheques: occurrences of the group" : "occurrences of the group";
  } else if (cheque != nullptr && NoGrupo(l, e) && e.numero >= cheque->numero &&
             e.numero - cheque->numero < CAMPOS_DO_CHEQUE) {
    CampoDoCheque(e.numero - cheque->numero, r);
  } else {
    TipoNoPedido(e, r);
    if (e.numero == CAMPO_VALOR) r.conteudo = "amount in cents, " + r.conteudo;
  }
  return r;
}

// What the decoder writes into the response file for each field type.
void TipoNaResposta(const TLayoutCampo& e, LinhaCampo& l) {
  switch (e.tipo) {
    case TIPO_NUMERICO:
      l.tamanho = Formata("%d characters", e.tamanho);
      l.conteudo = "text as the host sent it, its padding kept";
      break;
    case TIPO_BCD:
      l.tamanho = Formata("%d digits", 2 * e.tamanho);
      l.conteudo = "digits";
      break;
    case TIPO_HEXA:
      l.tamanho = Formata("%d hex digits", 2 * e.tamanho);
      l.conteudo = "hexadecimal";
      break;
    case TIPO_BINARIO:
      l.tamanho = "3 digits";
      l.conteudo = "number, 000 to 255";
      break;
    case TIPO_CARACTER:
      l.tamanho = "1 character";
      l.conteudo = "one character";
      break;
    default:
      l.conteudo = "empty";
      break;
  }
}

LinhaCampo LinhaResposta(const TTipoTransacao& t, const TLayoutCampo& e) {
  const TLayoutMensagem& l = t.resposta;
  LinhaCampo r{e.numero, NomeCampo(l, e), "", "", ""};
  // The decoder skips an entry whose condition equals the response's selector: 1 is left out of a
  // refusal, -1 out of an approval.
  r.presenca = e.condicao > 0 ? "approval" : e.condicao < 0 ? "refusal" : "always";
  if (e.numero == CAMPO_CABECALHO) {
    r.tamanho = t.nome;
    r.conteudo = "header";
  } else if (e.numero == CAMPO_NUMERO) {
    r.tamanho = "TamNomeArq digits";
    r.conteudo = "request number";
  } else if (e.numero == CAMPO_FIM) {
    r.tamanho = "empty";
    r.conteudo = "the last line";
  } else {
    TipoNaResposta(e, r);
    if (&e == Contador(l)) r.conteudo = "occurrences of the group, " + r.conteudo;
    if (e.numero == CAMPO_VALOR) r.conteudo = "amount in cents, " + r.conteudo;
    if (e.numero == CAMPO_CODIGO_RESPOSTA) r.conteudo = "response code: an approval or a refusal, as below";
    if (e.numero == CAMPO_MENSAGEM) r.conteudo = "the refusal's message, " + r.conteudo;
  }
  return r;
}

// "043-nnn to 048-nnn repeat as a group": the first and last of the group's fields.
std::string CamposDoGrupo(const std::vector<LinhaCampo>& linhas) {
  const LinhaCampo* primeiro = nullptr;
  const LinhaCampo* ultimo = nullptr;
  for (const LinhaCampo& l : linhas) {
    if (l.campo.size() < 4 || l.campo.compare(l.campo.size() - 3, 3, "nnn") != 0) continue;
    if (primeiro == nullptr) primeiro = &l;
    ultimo = &l;
  }
  if (primeiro == nullptr) return "";
  return primeiro == ultimo ? primeiro->campo : primeiro->campo + " to " + ultimo->campo;
}

// "901, 902 and 910 to 916": runs of three numbers or more are shown by their ends.
std::string ListaDeNumeros(const std::vector<int>& numeros) {
  std::vector<std::string> partes;
  for (std::size_t i = 0; i < numeros.size();) {
    std::size_t fim = i;
    while (fim + 1 < numeros.size() && numeros[fim + 1] == numeros[fim] + 1) ++fim;
    if (fim - i >= 2) {
      partes.push_back(Formata("%03d to %03d", numeros[i], numeros[fim]));
    } else {
      for (std::size_t k = i; k <= fim; ++k) partes.push_back(Formata("%03d", numeros[k]));
    }
    i = fim + 1;
  }
  std::string lista;
  for (std::size_t i = 0; i < partes.size(); ++i) {
    lista += (i == 0 ? "" : i + 1 == partes.size() ? " and " : ", ") + partes[i];
  }
  return lista;
}

std::string CodigosDeAprovacao(const TTipoTransacao& t) {
  std::vector<int> codigos{0};
  for (int v = 1; v <= 99; ++v) {
    if (SeletorVariante(v, t.codigo) < 0) codigos.push_back(v);
  }
  std::string lista;
  for (std::size_t i = 0; i < codigos.size(); ++i) {
    lista += (i == 0 ? "" : i + 1 == codigos.size() ? " or " : ", ") + Formata("%02d", codigos[i]);
  }
  return lista;
}

bool TemCampo(const TLayoutMensagem& l, int numero, int condicaoMaxima) {
  for (int i = 0; i < l.numDefinicoes; ++i) {
    if (l.definicoes[i].numero == numero && l.definicoes[i].condicao <= condicaoMaxima) return true;
  }
  return false;
}

void NotasPedido(const TTipoTransacao& t, CamposDoTipo& c) {
  const TLayoutMensagem& l = t.pedido;
  if (const TLayoutCampo* contador = Contador(l)) {
    c.notasPedido.push_back(Formata(
        "%s repeat as a group: nnn is 001 up to the value of %03d-000 (at most %d); a conditional field is "
        "required in each occurrence, an optional one may be left out.",
        CamposDoGrupo(c.pedido).c_str(), contador->numero, l.maxRepeticoes));
  }
  if (Cheque(l) != nullptr) {
    c.notasPedido.push_back(
        "One occurrence per cheque. Every cheque must be drawn on the account of the first: the same "
        "compensation, bank and agency, and the same 6th and 7th digits of the account, in its CMC7 line.");
    // The rules of the cheque block's check digits, for a program that computes them itself.
    c.notasPedido.push_back(
        "Check digits: take the remainder r of the sum of the digits times 2, 3, ..., 9, 2, 3, ... from "
        "the right, modulo 11. 046 is that of compensation (CMC7 9th to 11th), bank (1st to 3rd) and "
        "agency (4th to 7th), in this order: 11 - r when r is 2 or more, 0 when r is 1, and when r is 0, "
        "1 for bank 031 and 0 for any other. 048 is that of the cheque number (CMC7 12th to 17th): 11 - r "
        "when r is 2 or more, else 0.");
  }
  std::vector<int> adicionados;
  for (int i = 0; i < l.numDefinicoes; ++i) {
    if (AdicionadoPeloGateway(t, l.definicoes[i].numero)) adicionados.push_back(l.definicoes[i].numero);
  }
  if (!adicionados.empty()) {
    c.notasPedido.push_back("The gateway adds " + ListaDeNumeros(adicionados) +
                            " itself (from the establishment file and the type's constants): a request that "
                            "holds one of them is refused.");
  }
  c.notasPedido.push_back(
      "Any other field is refused, and so is a field given twice. A value is read up to its first blank; "
      "a field without a value counts as absent.");
}

void NotasResposta(const TTipoTransacao& t, CamposDoTipo& c) {
  const TLayoutMensagem& l = t.resposta;
  c.notasResposta.push_back(Formata("approval: response code (009-000) %s; refusal: any other.",
                                    CodigosDeAprovacao(t).c_str()));
  if (const TLayoutCampo* contador = Contador(l)) {
    c.notasResposta.push_back(Formata("%s repeat as a group: nnn is 001 up to the value of %03d-000 (at most %d; "
                                      "001 alone when it is 0).",
                                      CamposDoGrupo(c.resposta).c_str(), contador->numero, l.maxRepeticoes));
  }
  // The error response is built like a refusal: entries of condition 0 and -1 only.
  const bool temValor = TemCampo(l, CAMPO_VALOR, 0);
  const bool temMensagem = TemCampo(l, CAMPO_MENSAGEM, 0);
  std::string erro = Formata(
      "An error response of the gateway has the fields of a refusal, all empty except 009-000 = %d", CODIGO_ERRO);
  if (temValor) erro += temMensagem ? ", 003-000 (the request's)" : " and 003-000 (the request's)";
  erro += temMensagem ? " and 030-000 (the gateway's message)"
                      : "; this layout has no 030-000, so the gateway's message is only in its log";
  erro += "; a repeated field appears once, as occurrence 000.";
  c.notasResposta.push_back(erro);
}

}  // namespace

std::string NomeLayout(const TTipoTransacao& t, bool pedido) {
  const TLayoutCampo* definicoes = pedido ? t.pedido.definicoes : t.resposta.definicoes;
  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& outro = tiposTransacao[i];
    if ((pedido ? outro.pedido.definicoes : outro.resposta.definicoes) == definicoes) {
      return Formata("%c%d", pedido ? 'P' : 'R', outro.codigo);
    }
  }
  return Formata("%c%d", pedido ? 'P' : 'R', t.codigo);
}

const char* NomeFamilia(const TTipoTransacao& t) { return IguaisSemCaixa(t.nome, "CHQ") ? "cheque" : "card"; }

CamposDoTipo DescreveTipo(const TTipoTransacao& t) {
  CamposDoTipo c;
  for (int i = 0; i < t.pedido.numDefinicoes; ++i) {
    const TLayoutCampo& e = t.pedido.definicoes[i];
    if (!AdicionadoPeloGateway(t, e.numero)) c.pedido.push_back(LinhaPedido(t, e));
  }
  NotasPedido(t, c);
  for (int i = 0; i < t.resposta.numDefinicoes; ++i) c.resposta.push_back(LinhaResposta(t, t.resposta.definicoes[i]));
  NotasResposta(t, c);
  return c;
}
