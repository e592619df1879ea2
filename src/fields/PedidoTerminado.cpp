// Whether a request being written in place can already be read whole: the reader's own line rules
// applied to the bytes written so far.
#include <cstring>

#include "fields/ArquivoCampos.h"
#include "fields/LinhaCampo.h"

bool PedidoTerminado(const std::string& conteudo) {
  constexpr std::size_t MAX_PEDACO = TAM_LINHA_PEDIDO - 1;
  int aceitos = 0;
  std::size_t inicio = 0;
  while (inicio < conteudo.size()) {
    // One piece as the reader takes it: up to a line feed, or as much as its buffer holds.
    std::size_t fim = conteudo.find('\n', inicio);
    std::size_t tamanho = fim == std::string::npos ? conteudo.size() - inicio : fim - inicio + 1;
    if (tamanho > MAX_PEDACO) tamanho = MAX_PEDACO;
    const bool cortado = tamanho == MAX_PEDACO && conteudo[inicio + tamanho - 1] != '\n';
    const bool inteiro = cortado || conteudo[inicio + tamanho - 1] == '\n';
    const std::string pedaco = conteudo.substr(inicio, tamanho);
    // The reader skips the rest of a longer line, up to and with its line feed.
    inicio = !cortado ? inicio + tamanho : fim == std::string::npos ? conteudo.size() : fim + 1;
    if (pedaco[0] == '#') continue;
    // The reader sees the piece up to its first NUL, as a C string.
    const LinhaCampo lida = LeLinhaCampo(pedaco.c_str());
    if (!lida.Aceita()) continue;
    if (lida.numero == 999 || ++aceitos >= MAX_CAMPOS_PEDIDO) return inteiro;
  }
  return false;
}
