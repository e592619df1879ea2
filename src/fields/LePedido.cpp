// The request reader: fills a transaction's field table from its request file, in the file's order.
#include <cstdio>
#include <memory>

#include "catalogo/Catalogo.h"
#include "comum/Texto.h"
#include "fields/ArquivoCampos.h"
#include "fields/LinhaCampo.h"
#include "platform/Protecao.h"

namespace {

// A request with three fields or fewer cannot name a transaction.
constexpr int MIN_CAMPOS_UTEIS = 4;
// The stream's buffer, ours so that it can be wiped: a request is a few hundred bytes.
constexpr std::size_t TAM_BUFFER_ARQUIVO = 4096;

// Every byte of the request passes through these buffers; they are wiped once the file is closed.
struct BuffersLeitura {
  char arquivo[TAM_BUFFER_ARQUIVO];
  char linha[TAM_LINHA_PEDIDO];
  ~BuffersLeitura() { plataforma::ApagaMemoria(this, sizeof *this); }
};

struct FechaArquivo {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void Deriva(TG& transacao, const TA& campo, bool primeiro) {
  switch (campo.numero) {
    case 0:
      if (primeiro) FormataEm(transacao.cabecalho, sizeof transacao.cabecalho, "%.11s", campo.valor.c_str());
      break;
    case 1:
      LeInteiro64(campo.valor.c_str(), transacao.identificador);
      break;
    case 11:
      transacao.codigo = InteiroInicial(campo.valor.c_str());
      transacao.tipo = IndiceDoCodigo(transacao.codigo);
      break;
    case 383:
      transacao.indiceArquivo = InteiroInicial(campo.valor.c_str());
      break;
    default:
      break;
  }
}

// The next line as the reader takes it: its first TAM_LINHA_PEDIDO - 1 characters at most, line
// feed included when it comes within them. The rest of a longer line is skipped up to and with its
// line feed: text typed at the till must never turn into a field of its own. False at the end.
bool LeLinha(std::FILE* arquivo, char (&linha)[TAM_LINHA_PEDIDO]) {
  std::size_t n = 0;
  int c = EOF;
  while (n + 1 < sizeof linha && (c = std::getc(arquivo)) != EOF) {
    linha[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  linha[n] = '\0';
  if (n == 0) return false;
  if (n + 1 == sizeof linha && c != '\n') {
    while ((c = std::getc(arquivo)) != EOF && c != '\n') {
    }
  }
  return true;
}

}  // namespace

bool LePedido(TG& transacao, std::FILE* arquivo) {
  // Declared before the file's owner, so that they outlive the stream that reads into them.
  BuffersLeitura buffers;
  const std::unique_ptr<std::FILE, FechaArquivo> dono(arquivo);
  if (dono) std::setvbuf(arquivo, buffers.arquivo, _IOFBF, sizeof buffers.arquivo);

  // A table is read into once; starting clean keeps a reused one from mixing two requests.
  transacao.LimpaCampos();
  transacao.cabecalho[0] = '\0';
  transacao.identificador = 0;
  transacao.codigo = 0;
  transacao.indiceArquivo = 0;
  transacao.tipo = -1;
  if (!dono) return false;

  char (&linha)[TAM_LINHA_PEDIDO] = buffers.linha;
  while (LeLinha(arquivo, linha)) {
    if (linha[0] == '#') continue;
    LinhaCampo lida = LeLinhaCampo(linha);
    if (!lida.Aceita()) continue;

    const bool primeiro = transacao.quantidade == 0;
    auto campo = std::make_unique<TA>(lida.numero, lida.ocorrencia, std::move(lida.valor));
    const TA& guardado = *campo;
    if (!transacao.Acrescenta(std::move(campo))) break;
    Deriva(transacao, guardado, primeiro);

    if (transacao.quantidade >= MAX_CAMPOS_PEDIDO || guardado.numero == 999) break;
  }
  return transacao.quantidade >= MIN_CAMPOS_UTEIS;
}
