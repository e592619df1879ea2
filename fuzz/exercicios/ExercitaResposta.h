// Any bytes as the host's response data for any type (the first byte picks the type), then the
// error response built over whatever the decoding left.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "codec/DecodificaResposta.h"
#include "codec/RespostaErro.h"
#include "comum/Erro.h"
#include "ChecaTabela.h"
#include "Verifica.h"

namespace fuzz {

inline void ExercitaResposta(const std::uint8_t* entrada, std::size_t tamanho) {
  if (tamanho < 1) return;
  const int indice = entrada[0] % numTipos;
  const TTipoTransacao& tipo = tiposTransacao[indice];
  // The data on its own heap block, exactly as long as what arrived: a read past it is a finding.
  const std::size_t n = tamanho - 1 > 1u << 20 ? 1u << 20 : tamanho - 1;
  std::vector<std::uint8_t> dados(entrada + 1, entrada + 1 + n);

  TG t;
  t.tipo = indice;
  t.codigo = tipo.codigo;
  t.identificador = 4242;
  std::strcpy(t.cabecalho, tipo.nome);
  // The request fields still in the table when the answer comes.
  t.Acrescenta(std::make_unique<TA>(0, 0, tipo.nome));
  t.Acrescenta(std::make_unique<TA>(1, 0, "4242"));
  t.Acrescenta(std::make_unique<TA>(3, 0, "123456789012345678"));
  t.Acrescenta(std::make_unique<TA>(11, 0, std::to_string(tipo.codigo)));

  const std::int32_t tamanhoDados = static_cast<std::int32_t>(n);
  std::string mensagem;
  try {
    const std::int32_t q = DecodificaResposta(t, dados.data(), tamanhoDados, tipo.resposta);
    ZELP_VERIFICA(q == t.quantidade, "retorno %d com %d campos", q, t.quantidade);
    ChecaRespostaDecodificada(t, dados.data(), tamanhoDados);
    // Any text may reach the error response, the bytes of the answer too.
    mensagem.assign(reinterpret_cast<const char*>(dados.data()), dados.size() > 1100 ? 1100 : dados.size());
    mensagem = mensagem.substr(0, mensagem.find('\0'));
  } catch (const Erro& e) {
    mensagem = e.Texto();
    ZELP_VERIFICA(mensagem.find("*ZELP*") != std::string::npos, "Erro sem *ZELP*: %s", e.Texto());
    ChecaSlots(t);
  }

  const std::string guardado003 = Ultimo003(t);
  MontaRespostaErro(t, mensagem.c_str());
  ChecaRespostaErro(t, mensagem, guardado003);

  // The same failure for a transaction whose code names no type.
  t.tipo = -1;
  MontaRespostaErro(t, mensagem.c_str());
  ChecaRespostaErro(t, mensagem, "");
}

}  // namespace fuzz
