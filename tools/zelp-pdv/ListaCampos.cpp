// zelp-pdv --campos: the catalogue's codes and layouts printed as aligned tables and wrapped notes.
#include "zelp-pdv/ListaCampos.h"

#include <algorithm>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "comum/Texto.h"
#include "zelp-pdv/CamposDoTipo.h"

namespace {

constexpr std::size_t LARGURA_NOTA = 96;

using Tabela = std::vector<std::vector<std::string>>;

// Each column as wide as its widest cell, two spaces apart; the last column is not padded.
void MostraTabela(const Tabela& t, std::FILE* f) {
  std::vector<std::size_t> largura;
  for (const auto& linha : t) {
    largura.resize(std::max(largura.size(), linha.size()));
    for (std::size_t i = 0; i < linha.size(); ++i) largura[i] = std::max(largura[i], linha[i].size());
  }
  for (const auto& linha : t) {
    std::string texto = " ";
    for (std::size_t i = 0; i < linha.size(); ++i) {
      texto += ' ' + linha[i];
      if (i + 1 < linha.size()) texto.append(largura[i] - linha[i].size() + 1, ' ');
    }
    std::fprintf(f, "%s\n", texto.c_str());
  }
}

// A note wrapped at word boundaries, its first line marked.
void MostraNota(const std::string& nota, std::FILE* f) {
  std::string linha = "  -";
  std::size_t i = 0;
  while (i < nota.size()) {
    std::size_t fim = nota.find(' ', i);
    if (fim == std::string::npos) fim = nota.size();
    const std::string palavra = nota.substr(i, fim - i);
    if (linha.size() > 4 && linha.size() + 1 + palavra.size() > LARGURA_NOTA) {
      std::fprintf(f, "%s\n", linha.c_str());
      linha = "   ";
    }
    linha += ' ' + palavra;
    i = fim + 1;
  }
  std::fprintf(f, "%s\n", linha.c_str());
}

Tabela TabelaDeCampos(const std::vector<LinhaCampo>& linhas, const char* presenca) {
  Tabela t{{"field", presenca, "size", "content"}};
  for (const LinhaCampo& l : linhas) t.push_back({l.campo, l.presenca, l.tamanho, l.conteudo});
  return t;
}

// The fewest fields zelp-pdv needs for a request of the type: the required ones, and the group's
// conditional ones once.
std::string ExemploDeEnvio(const TTipoTransacao& t, const CamposDoTipo& c) {
  std::string exemplo = Formata("zelp-pdv --entrada DIR --saida DIR 000-000=%s 011-000=%d", t.nome, t.codigo);
  for (const LinhaCampo& l : c.pedido) {
    if (l.numero == 0 || l.numero == 1 || l.numero == 11 || l.numero == 999 || l.presenca == "optional") continue;
    std::string campo = l.campo;
    if (campo.compare(4, 3, "nnn") == 0) campo.replace(4, 3, "001");
    exemplo += " " + campo + "=...";
  }
  return exemplo;
}

}  // namespace

void MostraCodigos(std::FILE* f) {
  std::vector<const TTipoTransacao*> tipos;
  for (int i = 0; i < numTipos; ++i) tipos.push_back(&tiposTransacao[i]);
  std::sort(tipos.begin(), tipos.end(), [](auto* a, auto* b) { return a->codigo < b->codigo; });

  std::fprintf(f, "Transaction codes (field 011-000) and their headers (field 000-000):\n");
  Tabela t{{"code", "header", "family", "request", "response", "host group", "establishment group"}};
  for (const TTipoTransacao* tipo : tipos) {
    t.push_back({Formata("%4d", tipo->codigo), tipo->nome, NomeFamilia(*tipo), NomeLayout(*tipo, true),
                 NomeLayout(*tipo, false), Formata("[End%d]", tipo->indiceEnd), Formata("[par%d]", tipo->indicePar)});
  }
  MostraTabela(t, f);
  std::fprintf(f,
               "Codes with the same request layout take the same fields. 'zelp-pdv --campos CODE' shows the "
               "fields of one.\n");
}

bool MostraCamposDoCodigo(long codigo, std::FILE* f) {
  const TTipoTransacao* tipo = nullptr;
  for (int i = 0; i < numTipos; ++i) {
    if (tiposTransacao[i].codigo == codigo) tipo = &tiposTransacao[i];
  }
  if (tipo == nullptr) return false;
  const CamposDoTipo c = DescreveTipo(*tipo);

  std::fprintf(f, "Code %d: header %s (%s); request layout %s, response layout %s; host group [End%d], "
                  "establishment group [par%d].\n\n",
               tipo->codigo, tipo->nome, NomeFamilia(*tipo), NomeLayout(*tipo, true).c_str(),
               NomeLayout(*tipo, false).c_str(), tipo->indiceEnd, tipo->indicePar);
  std::fprintf(f, "Request: one line 'NNN-NNN = value' per field, 000-000 first and 999-999 last.\n");
  MostraTabela(TabelaDeCampos(c.pedido, "presence"), f);
  for (const std::string& nota : c.notasPedido) MostraNota(nota, f);
  std::fprintf(f, "\nResponse: the fields of the response file, in this order.\n");
  MostraTabela(TabelaDeCampos(c.resposta, "when"), f);
  for (const std::string& nota : c.notasResposta) MostraNota(nota, f);
  std::fprintf(f, "\nWith zelp-pdv, which writes 001-000 and 999-999 itself:\n  %s\n",
               ExemploDeEnvio(*tipo, c).c_str());
  return true;
}
