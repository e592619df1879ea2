// Decoding of request data by layout, including the cheque block of code 20.
#include "zelp-host/LeituraPedido.h"

#include <cstdio>

#include "comum/Texto.h"

namespace simulador {

namespace {

// Where the cheque block of code 20 puts its parts (the layout names only its first field).
constexpr int POS_CONTA_CHEQUE = 52;
constexpr int TAM_CONTA_CHEQUE = 12;
constexpr int POS_PRIMEIRO_CHEQUE = 64;
constexpr int TAM_CHEQUE = 14;

std::string Texto(const std::uint8_t* p, std::size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

std::string TextoAteNul(const std::uint8_t* p, std::size_t n) {
  std::size_t i = 0;
  while (i < n && p[i] != 0) ++i;
  return Texto(p, i);
}

std::string Hexa(const std::uint8_t* p, std::size_t n) {
  std::string s;
  char par[3];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(par, sizeof par, "%02X", p[i]);
    s += par;
  }
  return s;
}

// Bytes a field takes in the data by its type.
int Extensao(const TLayoutCampo& d) {
  switch (d.tipo) {
    case TIPO_BINARIO:
    case TIPO_CARACTER: return 1;
    case TIPO_PREFIXO_BCD: return d.tamanho + 1;
    default: return d.tamanho;
  }
}

// True when every nibble of the bytes is a decimal digit.
bool NibblesDecimais(const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if ((p[i] >> 4) > 9 || (p[i] & 0x0F) > 9) return false;
  }
  return true;
}

// A careful host checks every BCD it is sent: a nibble above 9 is no digit at all.
bool BCDDecimal(const TLayoutCampo& d, const std::uint8_t* p) {
  const auto n = static_cast<std::size_t>(d.tamanho);
  switch (d.tipo) {
    case TIPO_BCD: return NibblesDecimais(p, n);
    case TIPO_PREFIXO_BCD: return NibblesDecimais(p + 1, n);
    default: return true;
  }
}

void MarcaSeInvalido(PedidoLido& pedido, bool decimal, int numero, int ocorrencia) {
  if (!decimal) pedido.bcdInvalido.push_back(Formata("%03d-%03d", numero, ocorrencia));
}

std::string Valor(const TLayoutCampo& d, const std::uint8_t* p) {
  const auto n = static_cast<std::size_t>(d.tamanho);
  switch (d.tipo) {
    case TIPO_NUMERICO: return Texto(p, n);
    case TIPO_BCD: return DigitosBCD(p, n);
    case TIPO_HEXA: return Hexa(p, n);
    case TIPO_BINARIO: return std::to_string(p[0]);
    case TIPO_CARACTER: return p[0] == 0 ? std::string() : Texto(p, 1);
    case TIPO_PREFIXO_BCD: {
      // Appended rather than joined with +: GCC 12 at -O3 takes that join for an overlapping copy.
      std::string s = p[0] == 0 ? std::string() : Texto(p, 1);
      s += DigitosBCD(p + 1, n);
      return s;
    }
    case TIPO_TEXTO: return Texto(p, n);
    case TIPO_TEXTO_NUL: return TextoAteNul(p, n);
    default: return {};
  }
}

void Acrescenta(PedidoLido& pedido, int numero, int ocorrencia, int posicao, int tamanho, int tipo,
                std::string valor) {
  CampoLido c;
  c.numero = numero;
  c.ocorrencia = ocorrencia;
  c.posicao = posicao;
  c.tamanho = tamanho;
  c.tipo = tipo;
  c.valor = std::move(valor);
  pedido.campos.push_back(std::move(c));
}

bool Cabe(std::size_t tamanhoDados, int posicao, int extensao) {
  return posicao >= 0 && extensao >= 0 &&
         static_cast<std::size_t>(posicao) + static_cast<std::size_t>(extensao) <= tamanhoDados;
}

// The cheque block: the account block of the first cheque, then per cheque its 8-digit block
// and the fields 044 and 045.
void DecodificaCheques(PedidoLido& pedido, const TLayoutCampo& d, const std::uint8_t* dados, std::size_t tamanho,
                       int cheques) {
  for (int k = 1; k <= cheques; ++k) {
    const int pos = POS_PRIMEIRO_CHEQUE + TAM_CHEQUE * (k - 1);
    if (!Cabe(tamanho, pos, TAM_CHEQUE) || !Cabe(tamanho, POS_CONTA_CHEQUE, TAM_CONTA_CHEQUE)) {
      pedido.avisos.push_back(Formata("cheque %d outside the data (%zu bytes)", k, tamanho));
      return;
    }
    Acrescenta(pedido, d.numero, k, pos, TAM_CHEQUE, d.tipo,
               "account " + DigitosBCD(dados + POS_CONTA_CHEQUE, TAM_CONTA_CHEQUE) + " cheque " +
                   DigitosBCD(dados + pos, 4));
    MarcaSeInvalido(pedido,
                    NibblesDecimais(dados + POS_CONTA_CHEQUE, TAM_CONTA_CHEQUE) && NibblesDecimais(dados + pos, 4),
                    d.numero, k);
    Acrescenta(pedido, 44, k, pos + 4, 6, TIPO_BCD, DigitosBCD(dados + pos + 4, 6));
    MarcaSeInvalido(pedido, NibblesDecimais(dados + pos + 4, 6), 44, k);
    Acrescenta(pedido, 45, k, pos + 10, 4, TIPO_BCD, DigitosBCD(dados + pos + 10, 4));
    MarcaSeInvalido(pedido, NibblesDecimais(dados + pos + 10, 4), 45, k);
  }
}

}  // namespace

std::string DigitosBCD(const std::uint8_t* bytes, std::size_t tamanho) {
  std::string s;
  s.reserve(2 * tamanho);
  for (std::size_t i = 0; i < tamanho; ++i) {
    s.push_back(static_cast<char>('0' + (bytes[i] >> 4)));
    s.push_back(static_cast<char>('0' + (bytes[i] & 0x0F)));
  }
  return s;
}

PedidoLido DecodificaPedido(const TLayoutMensagem& layout, const std::uint8_t* dados, std::size_t tamanho) {
  PedidoLido pedido;
  pedido.temGrupo = layout.TemGrupo();
  if (tamanho < static_cast<std::size_t>(layout.TamanhoFixo())) {
    pedido.avisos.push_back(
        Formata("%zu bytes of data, less than the fixed part of %d", tamanho, static_cast<int>(layout.TamanhoFixo())));
  }
  if (pedido.temGrupo) {
    if (static_cast<std::size_t>(layout.posContador) < tamanho) {
      pedido.repeticoes = dados[layout.posContador];
      if (pedido.repeticoes > layout.maxRepeticoes) {
        pedido.avisos.push_back(Formata("repetition count %d above the maximum %d", pedido.repeticoes,
                                        static_cast<int>(layout.maxRepeticoes)));
      }
    }
    const std::size_t esperado = static_cast<std::size_t>(layout.TamanhoFixo()) +
                                 static_cast<std::size_t>(pedido.repeticoes) * static_cast<std::size_t>(layout.tamRepeticao);
    if (tamanho != esperado) {
      pedido.avisos.push_back(Formata("%zu bytes of data; the fixed part and %d repetition(s) take %zu", tamanho,
                                      pedido.repeticoes, esperado));
    }
  } else if (tamanho != static_cast<std::size_t>(layout.TamanhoFixo())) {
    pedido.avisos.push_back(
        Formata("%zu bytes of data; the layout takes %d", tamanho, static_cast<int>(layout.TamanhoFixo())));
  }
  const int limite = pedido.repeticoes < layout.maxRepeticoes ? pedido.repeticoes : layout.maxRepeticoes;

  for (int i = 0; i < layout.numDefinicoes; ++i) {
    const TLayoutCampo& d = layout.definicoes[i];
    if (d.posicao < 0) continue;
    const bool repetido = pedido.temGrupo && d.repetido != 0;
    if (d.tipo == TIPO_CHEQUE) {
      DecodificaCheques(pedido, d, dados, tamanho, repetido ? limite : 1);
      continue;
    }
    const int ocorrencias = repetido ? limite : 1;
    for (int k = 0; k < ocorrencias; ++k) {
      const int pos = d.posicao + (repetido ? k * layout.tamRepeticao : 0);
      const int ocorrencia = repetido ? k + 1 : 0;
      if (!Cabe(tamanho, pos, Extensao(d))) {
        pedido.avisos.push_back(Formata("field %03d-%03d outside the data", static_cast<int>(d.numero), ocorrencia));
        continue;
      }
      Acrescenta(pedido, d.numero, ocorrencia, pos, Extensao(d), d.tipo, Valor(d, dados + pos));
      MarcaSeInvalido(pedido, BCDDecimal(d, dados + pos), d.numero, ocorrencia);
    }
  }
  return pedido;
}

const CampoLido* ProcuraCampo(const PedidoLido& pedido, int numero, int ocorrencia) {
  for (const CampoLido& c : pedido.campos) {
    if (c.numero == numero && c.ocorrencia == ocorrencia) return &c;
  }
  return nullptr;
}

}  // namespace simulador
