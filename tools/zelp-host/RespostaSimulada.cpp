// The simulator's answer: the response code rules and the plausible value of every field.
#include "zelp-host/RespostaSimulada.h"

#include <algorithm>
#include <cstdio>

#include "comum/Texto.h"

namespace simulador {

namespace {

bool SoDigitos(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Digitos(unsigned long long valor, int largura) { return Formata("%0*llu", largura, valor); }

// Field numbers whose meaning the simulator knows; every other field gets an echo of the
// request's field of the same number and occurrence, or a value that names the field.
constexpr int CAMPO_VALOR_2 = 2;
constexpr int CAMPO_VALOR = 3;
constexpr int CAMPO_CODIGO_RESPOSTA = 9;
constexpr int CAMPO_HORA = 12;
constexpr int CAMPO_DATA_HORA = 13;
constexpr int CAMPO_DATA = 22;
constexpr int CAMPO_NSU = 23;
constexpr int CAMPO_MENSAGEM = 30;
constexpr int CAMPO_AUTORIZACAO = 32;
constexpr int CAMPO_NOME = 100;
constexpr int CAMPO_VALOR_TOTAL = 304;
constexpr int CAMPO_HOST = 370;
constexpr int CAMPO_ESTABELECIMENTO = 901;

std::string ValorGenerico(const TLayoutCampo& d, int ocorrencia) {
  switch (d.tipo) {
    case TIPO_NUMERICO:
      if (d.tamanho <= 12) return Digitos(static_cast<unsigned>(d.numero) * 100u + static_cast<unsigned>(ocorrencia), d.tamanho);
      return ocorrencia > 0 ? Formata("CAMPO %03d-%03d", static_cast<int>(d.numero), ocorrencia)
                            : Formata("CAMPO %03d", static_cast<int>(d.numero));
    case TIPO_BCD: return Digitos(static_cast<unsigned>(d.numero) * 100u + static_cast<unsigned>(ocorrencia), 2 * d.tamanho);
    case TIPO_BINARIO: return std::to_string(ocorrencia > 0 ? ocorrencia : 1);
    case TIPO_CARACTER: return "A";
    default: return {};
  }
}

// The request's field as the response type can carry it, or empty when it cannot.
std::string Eco(const TLayoutCampo& d, const CampoLido* lido) {
  if (lido == nullptr) return {};
  const std::string& v = lido->valor;
  switch (d.tipo) {
    case TIPO_BCD: return SoDigitos(v) ? v : std::string();
    case TIPO_BINARIO: return SoDigitos(v) && v.size() <= 3 && std::stoi(v) <= 255 ? v : std::string();
    case TIPO_CARACTER: return v.empty() ? std::string() : v.substr(0, 1);
    case TIPO_NUMERICO: {
      // A zero byte would end the value for the gateway; echo only what it can read back whole.
      std::string texto = v.substr(0, v.find('\0'));
      while (!texto.empty() && texto.back() == ' ') texto.pop_back();
      return texto;
    }
    default: return {};
  }
}

std::string ValorCampo(const TLayoutCampo& d, int ocorrencia, const PedidoLido& pedido, const RespostaSimulada& r,
                       const Contexto& ctx) {
  switch (d.numero) {
    case CAMPO_CODIGO_RESPOSTA: return Digitos(static_cast<unsigned>(r.codigoResposta), 2);
    case CAMPO_MENSAGEM: return TextoRecusa(r.codigoResposta);
    case CAMPO_HORA: return Formata("%02d%02d%02d", ctx.hora, ctx.minuto, ctx.segundo);
    case CAMPO_DATA_HORA: return Formata("%02d%02d%02d%02d%02d", ctx.mes, ctx.dia, ctx.hora, ctx.minuto, ctx.segundo);
    case CAMPO_DATA: return Formata("%02d%02d%04d", ctx.dia, ctx.mes, ctx.ano);
    case CAMPO_NSU: return Digitos(ctx.nsu % 1000000u, 6);
    case CAMPO_AUTORIZACAO: return Digitos((ctx.nsu * 7919u + 1234u) % 10000u, 4);
    case CAMPO_HOST: return "ZELP HOST SIMULADOR";
    case CAMPO_NOME: {
      const CampoLido* estab = ProcuraCampo(pedido, CAMPO_ESTABELECIMENTO, 0);
      return estab != nullptr && SoDigitos(estab->valor) ? "LOJA " + estab->valor : std::string("LOJA SIMULADA");
    }
    default: break;
  }
  std::string eco = Eco(d, ProcuraCampo(pedido, d.numero, ocorrencia));
  if (eco.empty() && ocorrencia > 0) eco = Eco(d, ProcuraCampo(pedido, d.numero, 0));
  if (!eco.empty()) return eco;
  if (d.numero == CAMPO_VALOR || d.numero == CAMPO_VALOR_2 || d.numero == CAMPO_VALOR_TOTAL) return "0";
  return ValorGenerico(d, ocorrencia);
}

// A decimal text as a number, without throwing on anything else (which gives 0).
unsigned long NumeroDe(const std::string& valor) {
  unsigned long n = 0;
  for (char c : valor) {
    if (c < '0' || c > '9') return 0;
    n = (n * 10u + static_cast<unsigned long>(c - '0')) % 1000u;
  }
  return n;
}

// Writes the value as the host sends it.
void Grava(const TLayoutCampo& d, const std::string& valor, std::uint8_t* p) {
  const auto n = static_cast<std::size_t>(d.tamanho);
  switch (d.tipo) {
    case TIPO_NUMERICO:
      if (SoDigitos(valor)) {
        // Numbers right-aligned with zeros; a longer one keeps its last digits.
        const std::string v = valor.size() > n ? valor.substr(valor.size() - n) : valor;
        std::fill(p, p + n, static_cast<std::uint8_t>('0'));
        std::copy(v.begin(), v.end(), p + (n - v.size()));
      } else {
        // Texts left-aligned with spaces, as a fixed-width host sends them.
        std::fill(p, p + n, static_cast<std::uint8_t>(' '));
        std::copy(valor.begin(), valor.begin() + static_cast<std::ptrdiff_t>(std::min(n, valor.size())), p);
      }
      break;
    case TIPO_BCD: {
      std::fill(p, p + n, 0);
      std::size_t i = valor.size();
      for (std::size_t b = n; b-- > 0 && i > 0;) {
        const auto baixo = static_cast<std::uint8_t>((valor[--i] - '0') & 0x0F);
        const auto alto = static_cast<std::uint8_t>(i > 0 ? (valor[--i] - '0') & 0x0F : 0);
        p[b] = static_cast<std::uint8_t>((alto << 4) | baixo);
      }
      break;
    }
    case TIPO_BINARIO: p[0] = static_cast<std::uint8_t>(NumeroDe(valor) % 256u); break;
    case TIPO_CARACTER: p[0] = valor.empty() ? 0 : static_cast<std::uint8_t>(valor[0]); break;
    default: break;
  }
}

// The text that the gateway reads back from a field's bytes.
std::string Le(const TLayoutCampo& d, const std::uint8_t* p) {
  const auto n = static_cast<std::size_t>(d.tamanho);
  switch (d.tipo) {
    case TIPO_NUMERICO: {
      std::size_t fim = 0;
      while (fim < n && p[fim] != 0) ++fim;
      return std::string(reinterpret_cast<const char*>(p), fim);
    }
    case TIPO_BCD: return DigitosBCD(p, n);
    case TIPO_BINARIO: return Formata("%03u", static_cast<unsigned>(p[0]));
    case TIPO_CARACTER: return p[0] == 0 ? std::string() : std::string(1, static_cast<char>(p[0]));
    default: return {};
  }
}

int Extensao(const TLayoutCampo& d) {
  return d.tipo == TIPO_BINARIO || d.tipo == TIPO_CARACTER ? 1 : d.tamanho;
}

}  // namespace

int EscolheCodigoResposta(int codigoTransacao, const PedidoLido& pedido, const RegrasResposta& regras,
                          std::string& motivo) {
  if (!pedido.bcdInvalido.empty()) {
    motivo = "field " + pedido.bcdInvalido.front() + " holds a BCD nibble above 9";
    return CODIGO_BCD_INVALIDO;
  }
  if (auto it = regras.codigoPorTransacao.find(codigoTransacao); it != regras.codigoPorTransacao.end()) {
    motivo = Formata("--codigo-resposta %d=%02d", codigoTransacao, it->second);
    return it->second;
  }
  if (regras.codigoTodos >= 0) {
    motivo = Formata("--codigo-resposta %02d", regras.codigoTodos);
    return regras.codigoTodos;
  }
  const CampoLido* valor = ProcuraCampo(pedido, CAMPO_VALOR, 0);
  if (valor != nullptr && valor->valor.size() >= 2) {
    const std::string fim = valor->valor.substr(valor->valor.size() - 2);
    if (SoDigitos(fim) && fim != "00") {
      motivo = "amount 003 ends in " + fim;
      return std::stoi(fim);
    }
  }
  motivo = valor != nullptr ? "amount 003 ends in 00" : "approval by default";
  return 0;
}

bool LidaComoAprovacao(int codigoResposta, int codigoTransacao) {
  if (codigoResposta == 0) return true;
  const bool codigoComVariante = codigoTransacao == 41 || codigoTransacao == 102 || codigoTransacao == 105 ||
                                 codigoTransacao == 109 || codigoTransacao == 110;
  return codigoComVariante && codigoResposta >= 26 && codigoResposta <= 28;
}

std::string TextoRecusa(int codigoResposta) {
  const char* texto;
  switch (codigoResposta) {
    case 5: texto = "NAO AUTORIZADA"; break;
    case 12: texto = "TRANSACAO INVALIDA"; break;
    case 13: texto = "VALOR INVALIDO"; break;
    case 14: texto = "CARTAO INVALIDO"; break;
    case CODIGO_BCD_INVALIDO: texto = "ERRO DE FORMATO"; break;
    case 51: texto = "SALDO INSUFICIENTE"; break;
    case 54: texto = "CARTAO VENCIDO"; break;
    case 55: texto = "SENHA INVALIDA"; break;
    case 57: texto = "TRANSACAO NAO PERMITIDA"; break;
    case 61: texto = "LIMITE EXCEDIDO"; break;
    case 91: texto = "EMISSOR FORA DO AR"; break;
    case 96: texto = "FALHA NO SISTEMA"; break;
    default: texto = "TRANSACAO RECUSADA"; break;
  }
  return Formata("%s (%02d)", texto, codigoResposta);
}

RespostaSimulada MontaResposta(const TTipoTransacao& tipo, const PedidoLido& pedido, const RegrasResposta& regras,
                               const Contexto& contexto) {
  RespostaSimulada r;
  r.codigoResposta = EscolheCodigoResposta(tipo.codigo, pedido, regras, r.motivo);
  r.aprovacao = LidaComoAprovacao(r.codigoResposta, tipo.codigo);
  // The gateway skips the definitions whose condition equals this selector; so does the host.
  const int seletor = r.aprovacao ? -1 : 1;

  const TLayoutMensagem& layout = tipo.resposta;
  const bool grupo = layout.TemGrupo();
  if (grupo) {
    // Repeated groups answer the request's own group; a request without one gets two occurrences.
    int n = regras.repeticoes > 0 ? regras.repeticoes : (pedido.temGrupo ? pedido.repeticoes : 2);
    r.repeticoes = std::clamp(n, 1, static_cast<int>(layout.maxRepeticoes));
  }
  const std::size_t tamanho = static_cast<std::size_t>(layout.TamanhoFixo()) +
                              (grupo ? static_cast<std::size_t>(r.repeticoes) * static_cast<std::size_t>(layout.tamRepeticao) : 0);
  r.dados.assign(tamanho, 0);
  if (grupo) r.dados[static_cast<std::size_t>(layout.posContador)] = static_cast<std::uint8_t>(r.repeticoes);

  // Two layouts place two fields on the same bytes (R109: 013 and 300); the first one written
  // keeps them, and both read back the same digits, as the gateway will read them.
  std::vector<bool> ocupado(tamanho, false);
  if (grupo) ocupado[static_cast<std::size_t>(layout.posContador)] = true;
  struct Colocado {
    const TLayoutCampo* definicao;
    std::size_t posicao;
  };
  std::vector<Colocado> colocados;

  // The first two definitions (000, 001) and the last (999) are never placed.
  for (int i = 2; i + 1 < layout.numDefinicoes; ++i) {
    const TLayoutCampo& d = layout.definicoes[i];
    if (d.posicao < 0 || d.condicao == seletor) continue;
    const bool repetido = grupo && d.repetido != 0;
    const int ocorrencias = repetido ? r.repeticoes : 1;
    for (int k = 0; k < ocorrencias; ++k) {
      const int ocorrencia = repetido ? k + 1 : 0;
      const std::size_t pos = static_cast<std::size_t>(d.posicao) +
                              (repetido ? static_cast<std::size_t>(k) * static_cast<std::size_t>(layout.tamRepeticao) : 0);
      const std::size_t fim = pos + static_cast<std::size_t>(Extensao(d));
      if (fim > r.dados.size()) continue;
      colocados.push_back({&d, pos});
      if (std::any_of(ocupado.begin() + static_cast<std::ptrdiff_t>(pos), ocupado.begin() + static_cast<std::ptrdiff_t>(fim),
                      [](bool b) { return b; })) {
        continue;
      }
      Grava(d, ValorCampo(d, ocorrencia, pedido, r, contexto), r.dados.data() + pos);
      std::fill(ocupado.begin() + static_cast<std::ptrdiff_t>(pos), ocupado.begin() + static_cast<std::ptrdiff_t>(fim), true);
    }
  }
  for (const Colocado& c : colocados) {
    CampoResposta campo;
    campo.numero = c.definicao->numero;
    campo.ocorrencia = grupo && c.definicao->repetido != 0
                           ? static_cast<int>((c.posicao - static_cast<std::size_t>(c.definicao->posicao)) /
                                              static_cast<std::size_t>(layout.tamRepeticao)) + 1
                           : 0;
    campo.valor = Le(*c.definicao, r.dados.data() + c.posicao);
    r.campos.push_back(std::move(campo));
  }
  return r;
}

}  // namespace simulador
