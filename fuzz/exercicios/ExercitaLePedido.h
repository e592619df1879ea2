// Any bytes as a request file: the reader's table, then the response file written from it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "catalogo/Catalogo.h"
#include "comum/Texto.h"
#include "config/TX.h"
#include "ChecaTabela.h"
#include "Verifica.h"
#include "fields/ArquivoCampos.h"

namespace fuzz {

// A read-only stream over the bytes; null for no bytes (the reader must take a null stream too).
inline std::FILE* AbreMemoria(const std::uint8_t* dados, std::size_t tamanho) {
  if (tamanho == 0) return nullptr;
  return ::fmemopen(const_cast<std::uint8_t*>(dados), tamanho, "r");
}

// What the reader must leave in the table, whatever the file held.
inline void ChecaPedidoLido(const TG& t, bool util) {
  ChecaSlots(t);
  ZELP_VERIFICA(t.quantidade <= 255, "%d campos lidos: um slot fica para a montagem", t.quantidade);
  ZELP_VERIFICA(util == (t.quantidade >= 4), "util = %d com %d campos", util, t.quantidade);
  ZELP_VERIFICA(std::strlen(t.cabecalho) <= 11, "cabecalho com %zu caracteres", std::strlen(t.cabecalho));
  bool tem011 = false;
  for (int i = 0; i < t.quantidade; ++i) {
    const TA& c = Campo(t, i);
    // Three characters each, a sign included: -99..999.
    ZELP_VERIFICA(c.numero >= -99 && c.numero <= 999 && c.ocorrencia >= -99 && c.ocorrencia <= 999,
                  "campo %d-%d fora do padrao de tres caracteres", c.numero, c.ocorrencia);
    ZELP_VERIFICA(c.valor.size() <= 259, "valor de %zu caracteres de uma linha de 259", c.valor.size());
    for (char ch : c.valor) ZELP_VERIFICA(!EhBrancoC(ch), "valor de %03d-%03d contem branco", c.numero, c.ocorrencia);
    ZELP_VERIFICA(c.numero != 999 || i == t.quantidade - 1, "campo 999 no meio da tabela (%d de %d)", i, t.quantidade);
    tem011 = tem011 || c.numero == 11;
  }
  const std::string esperado =
      t.quantidade > 0 && Campo(t, 0).numero == 0 ? Campo(t, 0).valor.substr(0, 11) : std::string();
  ZELP_VERIFICA(esperado == t.cabecalho, "cabecalho '%s', esperado '%s'", t.cabecalho, esperado.c_str());
  if (tem011) {
    ZELP_VERIFICA(t.tipo == IndiceDoCodigo(t.codigo), "tipo %d para o codigo %d", t.tipo, t.codigo);
  } else {
    ZELP_VERIFICA(t.tipo == -1 && t.codigo == 0, "tipo %d, codigo %d sem campo 011", t.tipo, t.codigo);
  }
  if (t.tipo != -1) {
    ZELP_VERIFICA(t.tipo >= 0 && t.tipo < numTipos, "tipo %d fora do catalogo", t.tipo);
    ZELP_VERIFICA(static_cast<std::uint32_t>(t.Tipo().codigo) == (static_cast<std::uint32_t>(t.codigo) & 0xFFu),
                  "tipo %d de codigo %d para o codigo %d", t.tipo, t.Tipo().codigo, t.codigo);
  }
}

// The response file of the table: one line per field numbered 0..999, each at most 260 characters
// with its CR LF, nothing left under the temporary name.
inline void ChecaArquivoResposta(const TG& t, const DiretorioFuzz& dir) {
  const int largura = LarguraNome();
  ZELP_VERIFICA(GravaResposta(t, dir.Caminho() + "/", largura), "resposta nao publicada");
  const std::string nome = Formata("%0*lld.rsp", largura, static_cast<long long>(t.identificador));
  std::string conteudo;
  ZELP_VERIFICA(LeArquivo(dir / nome, conteudo), "%s nao existe", nome.c_str());
  ZELP_VERIFICA(dir.Nomes().size() == 1, "%zu arquivos no diretorio de saida", dir.Nomes().size());

  int esperadas = 0;
  for (int i = 0; i < t.quantidade; ++i) {
    const int n = Campo(t, i).numero;
    if (n >= 0 && n <= 999) ++esperadas;
  }
  int linhas = 0;
  std::size_t inicio = 0;
  while (inicio < conteudo.size()) {
    const std::size_t fim = conteudo.find("\r\n", inicio);
    ZELP_VERIFICA(fim != std::string::npos, "ultima linha sem CR LF");
    const std::string linha = conteudo.substr(inicio, fim - inicio);
    ZELP_VERIFICA(linha.size() + 2 <= 260, "linha de %zu caracteres", linha.size() + 2);
    ZELP_VERIFICA(linha.find_first_of("\r\n") == std::string::npos, "quebra de linha dentro de um valor");
    ZELP_VERIFICA(linha.size() >= 10 && linha.compare(7, 3, " = ") == 0, "linha sem 'NNN-NNN = ': %s", linha.c_str());
    ++linhas;
    inicio = fim + 2;
  }
  ZELP_VERIFICA(linhas == esperadas, "%d linhas para %d campos", linhas, esperadas);
}

// The status file: exactly three lines, always "ATV"; false only for a request that asked for it.
inline void ChecaArquivoStatus(const TG& t, const DiretorioFuzz& dir) {
  const int largura = LarguraNome();
  const bool segue = GravaStatus(t, dir.Caminho() + "/", largura);
  ZELP_VERIFICA(segue == !IguaisSemCaixa(t.cabecalho, "ATV"), "GravaStatus = %d com cabecalho '%s'", segue,
                t.cabecalho);
  const std::string id = Formata("%0*lld", largura, static_cast<long long>(t.identificador));
  std::string conteudo;
  ZELP_VERIFICA(LeArquivo(dir / (id + ".sta"), conteudo), "%s.sta nao existe", id.c_str());
  ZELP_VERIFICA(conteudo == "000-000 = ATV\r\n001-000 = " + id + "\r\n999-999 = \r\n", "status '%s'",
                conteudo.c_str());
  dir.Esvazia();
}

// A request judged finished while still being written is claimed then: whatever its writer adds
// after (here a line that would smuggle fields) must change nothing the reader takes.
inline void ChecaTerminado(const TG& t, const std::uint8_t* dados, std::size_t tamanho) {
  std::string texto(reinterpret_cast<const char*>(dados), tamanho);
  if (!PedidoTerminado(texto)) return;
  texto += "011-000 = 14\n383-000 = 9\n999-999 = \n";
  TG depois;
  LePedido(depois, AbreMemoria(reinterpret_cast<const std::uint8_t*>(texto.data()), texto.size()));
  ZELP_VERIFICA(depois.quantidade == t.quantidade, "%d campos terminado, %d depois", t.quantidade, depois.quantidade);
  for (int i = 0; i < t.quantidade; ++i) {
    const TA& a = Campo(t, i);
    const TA& b = Campo(depois, i);
    ZELP_VERIFICA(a.numero == b.numero && a.ocorrencia == b.ocorrencia && a.valor == b.valor,
                  "campo %d mudou depois de terminado", i);
  }
}

inline void ExercitaLePedido(const std::uint8_t* dados, std::size_t tamanho) {
  const DiretorioFuzz& dir = DiretorioDoProcesso();
  dir.Esvazia();
  TG t;
  const bool util = LePedido(t, AbreMemoria(dados, tamanho));
  ChecaPedidoLido(t, util);
  ChecaTerminado(t, dados, tamanho);
  ChecaArquivoStatus(t, dir);
  ChecaArquivoResposta(t, dir);
  dir.Esvazia();
}

}  // namespace fuzz
