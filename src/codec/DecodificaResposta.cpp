// Rebuilds a transaction's field table from the host's response data.
#include "codec/DecodificaResposta.h"

#include <cstring>
#include <memory>

#include "codec/Decodificadores.h"
#include "codec/TipoValido.h"
#include "comum/Erro.h"
#include "platform/Protecao.h"

namespace {

// Longest run of bytes any decoder reads for one field.
constexpr std::int32_t MAX_BYTES_CAMPO = static_cast<std::int32_t>(TAM_DECODIFICACAO) - 1;

// Copies `tamanho` bytes from `posicao` into `copia`, zero where the data has no byte.
void CopiaLimitada(std::uint8_t* copia, const std::uint8_t* dados, std::int32_t tamanhoDados, std::int64_t posicao,
                   std::int32_t tamanho) {
  std::memset(copia, 0, TAM_DECODIFICACAO);
  if (tamanho > MAX_BYTES_CAMPO) tamanho = MAX_BYTES_CAMPO;
  if (tamanho < 1) tamanho = 1;  // the one-byte decoders read a byte whatever the length says
  for (std::int32_t k = 0; k < tamanho; ++k) {
    std::int64_t p = posicao + k;
    if (p >= 0 && p < tamanhoDados) copia[k] = dados[p];
  }
}

bool Repetido(const TLayoutCampo& d, const TLayoutMensagem& layout) {
  return d.repetido != 0 && layout.tamRepeticao != 0 && layout.posContador != 0 && layout.maxRepeticoes > 0;
}

}  // namespace

std::int32_t SeletorVariante(std::int32_t valor, std::int32_t codigo) {
  const bool consulta = codigo == 41 || codigo == 102 || codigo == 105 || codigo == 109 || codigo == 110;
  return consulta && valor >= 26 && valor <= 28 ? -1 : 1;
}

std::int32_t DecodificaResposta(TG& transacao, const std::uint8_t* dados, std::int32_t tamanhoDados,
                                const TLayoutMensagem& layout) {
  const TTipoTransacao& t = TipoValido(transacao);
  std::uint8_t copia[TAM_DECODIFICACAO];
  // Each field of the answer passes through these two buffers; the last one is not left behind.
  const plataforma::ApagaAoSair apagaCopia(copia, sizeof copia);

  CopiaLimitada(copia, dados, tamanhoDados, t.posCodigoResposta, 2);
  const std::int32_t valor = ValorDigitos(reinterpret_cast<const char*>(copia), 2);
  const std::int32_t seletor = valor == 0 ? -1 : SeletorVariante(valor, t.codigo);

  transacao.LimpaCampos();
  transacao.Acrescenta(std::make_unique<TA>(0, 0, t.nome));
  transacao.Acrescenta(std::make_unique<TA>(1, 0, transacao.identificador));

  std::int8_t contador = 0;
  if (layout.posContador >= 0 && layout.posContador < tamanhoDados)
    contador = static_cast<std::int8_t>(dados[layout.posContador]);

  char texto[TAM_DECODIFICACAO];
  const plataforma::ApagaAoSair apagaTexto(texto, sizeof texto);
  for (std::int32_t i = 2; i < layout.numDefinicoes - 1; ++i) {
    const TLayoutCampo& d = layout.definicoes[i];
    if (d.condicao == seletor) continue;
    const bool repetido = Repetido(d, layout);
    std::int32_t r = 1;
    if (repetido) {
      r = contador < layout.maxRepeticoes ? contador : layout.maxRepeticoes;
      if (r < 1) r = 1;
    }
    for (std::int32_t k = 0; k < r; ++k) {
      const std::int64_t posicao = static_cast<std::int64_t>(d.posicao) + (repetido ? std::int64_t{k} * layout.tamRepeticao : 0);
      CopiaLimitada(copia, dados, tamanhoDados, posicao, d.tamanho);
      DecodificaValor(texto, copia, d.tamanho, d.tipo);
      if (transacao.quantidade > MAX_CAMPOS - 2) throw Erro("*ZELP* NUMERO DE CAMPOS EXCEDIDO!");
      transacao.Acrescenta(std::make_unique<TA>(d.numero, repetido ? k + 1 : 0, texto));
    }
  }

  transacao.Acrescenta(std::make_unique<TA>(999, 999, ""));
  return transacao.quantidade;
}
