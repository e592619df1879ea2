// Formatting of requests and answers for the simulator's output.
#include "zelp-host/Relatorio.h"

#include <cstdio>

#include "comum/Texto.h"
#include "zelp-host/Mascara.h"

namespace simulador {

namespace {

const char* NomeTipo(int tipo) {
  switch (tipo) {
    case TIPO_NUMERICO: return "NUM";
    case TIPO_BCD: return "BCD";
    case TIPO_HEXA: return "HEX";
    case TIPO_BINARIO: return "BIN";
    case TIPO_CARACTER: return "CAR";
    case TIPO_PREFIXO_BCD: return "PBCD";
    case TIPO_CHEQUE: return "CHQ";
    case TIPO_TEXTO: return "TXT";
    case TIPO_TEXTO_NUL: return "TXT0";
    default: return "?";
  }
}

}  // namespace

std::string DumpHexa(const std::uint8_t* dados, std::size_t tamanho, const std::vector<std::uint8_t>* mascara) {
  static constexpr char HEXA[] = "0123456789abcdef";
  std::string s;
  for (std::size_t linha = 0; linha < tamanho; linha += 16) {
    s += Formata("  %04zx ", linha);
    std::string texto;
    for (std::size_t i = linha; i < linha + 16; ++i) {
      if (i < tamanho) {
        const std::uint8_t oculto = mascara != nullptr && i < mascara->size() ? (*mascara)[i] : 0;
        s += ' ';
        s += (oculto & OCULTO_ALTO) != 0 ? CARACTER_OCULTO : HEXA[dados[i] >> 4];
        s += (oculto & OCULTO_BAIXO) != 0 ? CARACTER_OCULTO : HEXA[dados[i] & 0x0F];
        if (oculto != 0) {
          texto.push_back(CARACTER_OCULTO);
        } else {
          texto.push_back(dados[i] >= 0x20 && dados[i] < 0x7F ? static_cast<char>(dados[i]) : '.');
        }
      } else {
        s += "   ";
      }
    }
    s += "  |" + texto + "|\n";
  }
  return s;
}

std::string Visivel(const std::string& valor) {
  std::string s;
  for (unsigned char c : valor) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      s.push_back(static_cast<char>(c));
    } else {
      s += Formata("\\x%02x", c);
    }
  }
  return s;
}

std::string TextoCabecalho(const Cabecalho& c) {
  return Formata("header: %02x %02x %02x %02x %02x %02x %02x %02x (code %u, sequence %u, %u data bytes)",
                 c.byte0, c.byte1, c.codigo, c.byte3, c.sequencia, c.tamanhoDados & 0xFFu, c.tamanhoDados >> 8,
                 c.byte7, static_cast<unsigned>(c.codigo), static_cast<unsigned>(c.sequencia),
                 static_cast<unsigned>(c.tamanhoDados));
}

std::string TextoPedido(const PedidoLido& pedido, bool mostraCartao) {
  std::string s = "request fields:\n";
  for (const CampoLido& c : pedido.campos) {
    const std::string valor = mostraCartao ? c.valor : MascaraCampo(c.numero, c.valor);
    s += Formata("  %03d-%03d  pos %3d tam %3d %-4s = \"%s\"\n", c.numero, c.ocorrencia, c.posicao, c.tamanho,
                 NomeTipo(c.tipo), Visivel(valor).c_str());
  }
  if (pedido.temGrupo) s += Formata("  repetitions: %d\n", pedido.repeticoes);
  for (const std::string& aviso : pedido.avisos) s += "  warning: " + aviso + "\n";
  for (const std::string& campo : pedido.bcdInvalido) s += "  warning: field " + campo + " holds a BCD nibble above 9\n";
  return s;
}

std::string TextoResposta(const RespostaSimulada& r, bool mostraCartao) {
  std::string s = Formata("answer: response code %02d (%s; read as %s), %zu data bytes", r.codigoResposta,
                          r.motivo.c_str(), r.aprovacao ? "an approval" : "a refusal", r.dados.size());
  if (r.repeticoes > 0) s += Formata(", %d repetition(s)", r.repeticoes);
  s += "\nanswer fields:\n";
  for (const CampoResposta& c : r.campos) {
    const std::string valor = mostraCartao ? c.valor : MascaraCampo(c.numero, c.valor);
    s += Formata("  %03d-%03d = \"%s\"\n", c.numero, c.ocorrencia, Visivel(valor).c_str());
  }
  return s;
}

}  // namespace simulador
