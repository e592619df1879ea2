// Checks of a field table after the codec rebuilt it: the exact shape of a decoded response and
// of an error response, worked out from the layout on their own, never by calling the codec.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "comum/Limites.h"
#include "comum/Texto.h"
#include "config/TX.h"
#include "Verifica.h"
#include "fields/TG.h"

namespace fuzz {

struct CampoEsperado {
  std::int32_t numero;
  std::int32_t ocorrencia;
};

// Every slot in use holds a field and every other slot is empty.
inline void ChecaSlots(const TG& t) {
  ZELP_VERIFICA(t.quantidade >= 0 && t.quantidade <= MAX_CAMPOS, "quantidade %d fora de 0..256", t.quantidade);
  for (int i = 0; i < MAX_CAMPOS; ++i) {
    const TA* campo = t.campos[static_cast<std::size_t>(i)].get();
    if (i < t.quantidade) {
      ZELP_VERIFICA(campo != nullptr, "slot %d vazio dentro da tabela", i);
      ZELP_VERIFICA(campo->chave == static_cast<std::uint32_t>(campo->numero) * 1000u +
                                        static_cast<std::uint32_t>(campo->ocorrencia),
                    "chave %u nao corresponde a %d-%d", campo->chave, campo->numero, campo->ocorrencia);
      ZELP_VERIFICA(std::memchr(campo->valor.data(), 0, campo->valor.size()) == nullptr,
                    "valor de %03d-%03d contem NUL", campo->numero, campo->ocorrencia);
    } else {
      ZELP_VERIFICA(campo == nullptr, "slot %d ocupado fora da tabela", i);
    }
  }
}

inline const TA& Campo(const TG& t, int i) { return *t.campos[static_cast<std::size_t>(i)]; }

inline std::string Identificador(const TG& t) {
  return Formata("%0*lld", LarguraNome(), static_cast<long long>(t.identificador));
}

// Every table the codec hands to the response writer: 000 first, 001 second, 999-999 empty last.
inline void ChecaMoldura(const TG& t, const char* nome000) {
  ChecaSlots(t);
  ZELP_VERIFICA(t.quantidade >= 3, "resposta com %d campos", t.quantidade);
  const TA& primeiro = Campo(t, 0);
  ZELP_VERIFICA(primeiro.numero == 0 && primeiro.ocorrencia == 0 && primeiro.valor == nome000,
                "primeiro campo %03d-%03d = %s", primeiro.numero, primeiro.ocorrencia, primeiro.valor.c_str());
  const TA& segundo = Campo(t, 1);
  ZELP_VERIFICA(segundo.numero == 1 && segundo.ocorrencia == 0 && segundo.valor == Identificador(t),
                "segundo campo %03d-%03d = %s", segundo.numero, segundo.ocorrencia, segundo.valor.c_str());
  const TA& ultimo = Campo(t, t.quantidade - 1);
  ZELP_VERIFICA(ultimo.numero == 999 && ultimo.ocorrencia == 999 && ultimo.valor.empty(),
                "ultimo campo %03d-%03d = %s", ultimo.numero, ultimo.ocorrencia, ultimo.valor.c_str());
  for (int i = 0; i < t.quantidade; ++i) {
    const TA& c = Campo(t, i);
    ZELP_VERIFICA(c.numero >= 0 && c.numero <= 999, "campo %d com numero %d", i, c.numero);
  }
}

// The first 15 characters of the last field 003 of the table, whatever its occurrence.
inline std::string Ultimo003(const TG& t) {
  std::string v;
  for (int i = 0; i < t.quantidade && i < MAX_CAMPOS; ++i) {
    const TA* c = t.campos[static_cast<std::size_t>(i)].get();
    if (c != nullptr && c->numero == 3) v = c->valor.substr(0, 15);
  }
  return v;
}

// The error response built for `mensagem`: `guardado003` is Ultimo003 of the table before it.
inline void ChecaRespostaErro(const TG& t, const std::string& mensagem, const std::string& guardado003) {
  const std::string texto = mensagem.substr(0, TAM_MENSAGEM - 1);
  struct Linha {
    std::int32_t numero;
    std::string valor;
  };
  std::vector<Linha> esperado;
  const bool temTipo = t.tipo >= 0 && t.tipo < numTipos;
  if (!temTipo) {
    esperado.push_back({30, texto});
  } else {
    const TLayoutMensagem& l = t.Tipo().resposta;
    for (std::int32_t i = 2; i < l.numDefinicoes - 1; ++i) {
      const TLayoutCampo& d = l.definicoes[i];
      if (d.condicao >= 1) continue;
      std::string valor;
      if (d.numero == 3) valor = guardado003;
      else if (d.numero == 9) valor = "85";
      else if (d.numero == 30) valor = texto;
      esperado.push_back({d.numero, valor});
    }
  }
  ChecaMoldura(t, temTipo ? t.Tipo().nome : "???");
  ZELP_VERIFICA(t.quantidade == static_cast<std::int32_t>(esperado.size()) + 3,
                "resposta de erro com %d campos, esperados %zu", t.quantidade, esperado.size() + 3);
  for (std::size_t k = 0; k < esperado.size(); ++k) {
    const TA& c = Campo(t, static_cast<int>(k) + 2);
    ZELP_VERIFICA(c.numero == esperado[k].numero && c.ocorrencia == 0 && c.valor == esperado[k].valor,
                  "resposta de erro: campo %zu e %03d-%03d, esperado %03d-000", k + 2, c.numero, c.ocorrencia,
                  esperado[k].numero);
  }
}

// Bytes at [posicao, posicao + n) of the data, zero where nothing arrived.
inline std::vector<std::uint8_t> Bytes(const std::uint8_t* dados, std::int32_t tamanho, std::int64_t posicao,
                                       std::int32_t n) {
  std::vector<std::uint8_t> v(static_cast<std::size_t>(n > 0 ? n : 0), 0);
  for (std::int32_t k = 0; k < n; ++k) {
    const std::int64_t p = posicao + k;
    if (p >= 0 && p < tamanho) v[static_cast<std::size_t>(k)] = dados[p];
  }
  return v;
}

// The text of a response field by its type, as the host's bytes read back: type 1 the bytes up to
// the first zero, 2 two characters 0x30 + nibble a byte, 3 lowercase hexadecimal, 4 the first byte
// in three digits, 5 the first byte alone; no other type has a conversion and gives no text. The
// decoding buffer holds 259 characters.
inline std::string TextoDecodificado(const std::vector<std::uint8_t>& b, std::int32_t tamanho, std::int32_t tipo) {
  std::string texto;
  const std::size_t n = static_cast<std::size_t>(tamanho > 0 ? tamanho : 0);
  switch (tipo) {
    case TIPO_NUMERICO:
      for (std::size_t k = 0; k < n && k < 259 && b[k] != 0; ++k) texto.push_back(static_cast<char>(b[k]));
      break;
    case TIPO_BCD:
    case TIPO_HEXA:
      for (std::size_t k = 0; k < n && 2 * k + 2 <= 259; ++k) {
        for (const int meio : {b[k] >> 4, b[k] & 0x0F})
          texto.push_back(tipo == TIPO_BCD ? static_cast<char>(0x30 + meio) : "0123456789abcdef"[meio]);
      }
      break;
    case TIPO_BINARIO:
      texto = Formata("%03u", static_cast<unsigned>(b[0]));
      break;
    case TIPO_CARACTER:
      if (b[0] != 0) texto.push_back(static_cast<char>(b[0]));
      break;
    default:
      break;
  }
  return texto;
}

// A decoded response: the fields the layout's variant gives, in layout order, each of the length
// its type produces.
inline void ChecaRespostaDecodificada(const TG& t, const std::uint8_t* dados, std::int32_t tamanho) {
  const TTipoTransacao& tipo = t.Tipo();
  const TLayoutMensagem& l = tipo.resposta;
  const std::vector<std::uint8_t> cod = Bytes(dados, tamanho, tipo.posCodigoResposta, 2);
  const int valor = (cod[0] & 0x0F) * 10 + (cod[1] & 0x0F);
  const bool consulta = tipo.codigo == 41 || tipo.codigo == 102 || tipo.codigo == 105 || tipo.codigo == 109 ||
                        tipo.codigo == 110;
  const int seletor = valor == 0 || (consulta && valor >= 26 && valor <= 28) ? -1 : 1;
  const bool grupo = l.tamRepeticao != 0 && l.posContador != 0 && l.maxRepeticoes > 0;
  const int contador = static_cast<std::int8_t>(Bytes(dados, tamanho, l.posContador, 1)[0]);

  ChecaMoldura(t, tipo.nome);
  int i = 2;
  for (std::int32_t k = 2; k < l.numDefinicoes - 1; ++k) {
    const TLayoutCampo& d = l.definicoes[k];
    if (d.condicao == seletor) continue;
    const bool repetido = grupo && d.repetido != 0;
    int r = 1;
    if (repetido) {
      r = contador < l.maxRepeticoes ? contador : l.maxRepeticoes;
      if (r < 1) r = 1;
    }
    for (int o = 0; o < r; ++o, ++i) {
      ZELP_VERIFICA(i < t.quantidade - 1, "resposta acaba antes de %03d", d.numero);
      const TA& c = Campo(t, i);
      const int ocorrencia = repetido ? o + 1 : 0;
      ZELP_VERIFICA(c.numero == d.numero && c.ocorrencia == ocorrencia, "campo %d e %03d-%03d, esperado %03d-%03d",
                    i, c.numero, c.ocorrencia, d.numero, ocorrencia);
      const std::int64_t posicao = d.posicao + (repetido ? std::int64_t{o} * l.tamRepeticao : 0);
      const std::string esperado = TextoDecodificado(Bytes(dados, tamanho, posicao, d.tamanho > 1 ? d.tamanho : 1),
                                                     d.tamanho, d.tipo);
      ZELP_VERIFICA(c.valor == esperado, "%03d-%03d (tipo %d) = '%s', esperado '%s'", c.numero, c.ocorrencia, d.tipo,
                    c.valor.c_str(), esperado.c_str());
    }
  }
  ZELP_VERIFICA(i == t.quantidade - 1, "resposta com %d campos, esperados %d", t.quantidade, i + 1);
}

}  // namespace fuzz
