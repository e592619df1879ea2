// Any request file for any type (the first byte picks it) through request assembly, up to the
// finished frame and never to the network; a refusal goes on to its error response.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "catalogo/Catalogo.h"
#include "codec/MontaCabecalho.h"
#include "codec/PreparaPedido.h"
#include "codec/RespostaErro.h"
#include "comum/Erro.h"
#include "ChecaTabela.h"
#include "ExercitaLePedido.h"
#include "Verifica.h"

namespace fuzz {

// The frame: zero prefix, the header of the type with the data length, data within the layout's
// bounds, and nothing written behind it.
inline void ChecaQuadro(const TG& t, const BF& quadro) {
  const TTipoTransacao& tipo = t.Tipo();
  const TLayoutMensagem& l = tipo.pedido;
  ZELP_VERIFICA(quadro.capacidade == CapacidadePedido(tipo), "capacidade %d", quadro.capacidade);
  if (quadro.tamanho == 0) return;
  const std::int32_t p = tipo.prefixo + TAM_CABECALHO_MENSAGEM;
  const std::int32_t dados = quadro.tamanho - p;
  const std::int32_t maximo = l.TamanhoFixo() + (l.TemGrupo() ? l.maxRepeticoes * l.tamRepeticao : 0);
  ZELP_VERIFICA(dados >= l.TamanhoFixo() && dados <= maximo, "dados de %d bytes fora de %d..%d", dados,
                l.TamanhoFixo(), maximo);
  ZELP_VERIFICA(quadro.tamanho <= quadro.capacidade, "quadro de %d bytes em %d", quadro.tamanho, quadro.capacidade);
  if (l.TemGrupo())
    ZELP_VERIFICA((dados - l.TamanhoFixo()) % l.tamRepeticao == 0, "grupo incompleto: %d bytes", dados);
  const std::uint8_t* b = quadro.dados.get();
  for (std::int32_t i = 0; i < tipo.prefixo; ++i) ZELP_VERIFICA(b[i] == 0, "prefixo com byte %d", i);
  const std::uint8_t* h = b + tipo.prefixo;
  ZELP_VERIFICA(h[0] == static_cast<std::uint8_t>(tipo.cabecalhoByte0) && h[1] == 1 &&
                    h[2] == (static_cast<std::uint32_t>(t.codigo) & 0xFFu) &&
                    h[3] == ValorCabecalhoByte3(tipo.cabecalhoByte3) && h[7] == 0,
                "cabecalho %02x %02x %02x %02x", h[0], h[1], h[2], h[3]);
  ZELP_VERIFICA(h[5] + 256 * h[6] == dados, "cabecalho diz %d bytes de dados, ha %d", h[5] + 256 * h[6], dados);
  for (std::int32_t i = quadro.tamanho; i <= quadro.capacidade; ++i)
    ZELP_VERIFICA(b[i] == 0, "byte %d escrito depois do quadro de %d", i, quadro.tamanho);
}

inline void ChecaOrdenada(const TG& t) {
  for (int i = 1; i < t.quantidade; ++i)
    ZELP_VERIFICA(Campo(t, i - 1).chave <= Campo(t, i).chave, "tabela fora de ordem na posicao %d", i);
}

// A table no request file could give: records of a 16-bit signed number, an occurrence byte, a
// length byte and that many value bytes (cut at a NUL, as a field's text ends there).
inline void TabelaBinaria(TG& t, const std::uint8_t* p, std::size_t n) {
  while (n >= 4 && t.quantidade < MAX_CAMPOS) {
    const auto numero = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] << 8 | p[1]));
    const std::int32_t ocorrencia = static_cast<std::int8_t>(p[2]);
    std::size_t comprimento = p[3];
    p += 4;
    n -= 4;
    if (comprimento > n) comprimento = n;
    std::string valor(reinterpret_cast<const char*>(p), comprimento);
    valor.resize(std::strlen(valor.c_str()));
    p += comprimento;
    n -= comprimento;
    t.Acrescenta(std::make_unique<TA>(numero, ocorrencia, std::move(valor)));
  }
}

// The first byte picks the type (its value modulo the number of types), bit 7 keeps the file's
// own header instead of the type's, bit 6 reads the rest as a binary table instead of a request.
inline void ExercitaPedido(const std::uint8_t* entrada, std::size_t tamanho) {
  if (tamanho < 1) return;
  const std::uint8_t escolha = entrada[0];
  const int indice = escolha % numTipos;
  const TTipoTransacao& tipo = tiposTransacao[indice];

  TG t;
  if ((escolha & 0x40) != 0) TabelaBinaria(t, entrada + 1, tamanho - 1);
  else LePedido(t, AbreMemoria(entrada + 1, tamanho - 1));
  // The worker reaches assembly only with a known type; the header is the type's own unless the
  // high bit asks to keep whatever the file said.
  t.tipo = indice;
  t.codigo = tipo.codigo;
  if ((escolha & 0x80) == 0) std::strcpy(t.cabecalho, tipo.nome);
  t.estabelecimento.texto1 = "123456789";
  t.estabelecimento.texto2 = "123456000000000";

  std::string mensagem;
  try {
    BF quadro = PreparaPedido(t);
    ChecaSlots(t);
    ChecaOrdenada(t);
    ChecaQuadro(t, quadro);
    return;
  } catch (const Erro& e) {
    mensagem = e.Texto();
  }
  ZELP_VERIFICA(mensagem.find("*ZELP*") != std::string::npos, "recusa sem *ZELP*: %s", mensagem.c_str());
  ChecaSlots(t);
  const std::string guardado003 = Ultimo003(t);
  MontaRespostaErro(t, mensagem.c_str());
  ChecaRespostaErro(t, mensagem, guardado003);
}

}  // namespace fuzz
