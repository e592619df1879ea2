// The parameter groups: who uses each, and every establishment file it names read and checked as a
// worker checks it (size and check value), with the merchant code of each good one.
#include <string>

#include "hostlink/Estabelecimento.h"
#include "platform/Arquivos.h"
#include "platform/Protecao.h"
#include "verifica/Verificacoes.h"

namespace {

void VerificaConteudo(int slot, const std::string& caminho, Relatorio& r) {
  const ExameEstabelecimento exame = ExaminaEstabelecimento(caminho.c_str());
  if (exame.estado == EstadoEstabelecimento::Bom) {
    r.Detalhe("slot %d: %s: merchant %s", slot, MostraCaminho(caminho).c_str(), exame.codigo.c_str());
    return;
  }
  r.Detalhe("slot %d: %s", slot, MostraCaminho(caminho).c_str());
  switch (exame.estado) {
    case EstadoEstabelecimento::Inexistente:
      r.Erro("missing");
      break;
    case EstadoEstabelecimento::Ilegivel:
      r.Erro("this user may not read it (%s)", plataforma::TextoErro(exame.erro).c_str());
      break;
    case EstadoEstabelecimento::Curto:
      r.Erro("%zu bytes: an establishment file holds %d", exame.tamanho, TAM_ESTABELECIMENTO);
      break;
    case EstadoEstabelecimento::Adulterado:
      r.Erro("its check value fails: the file was altered or damaged");
      break;
    case EstadoEstabelecimento::Bom:
      break;
  }
}

void VerificaArquivo(int slot, const std::string& caminho, Relatorio& r) {
  VerificaConteudo(slot, caminho, r);
  plataforma::AcessoDeOutros outros;
  if (plataforma::ConsultaAcessoDeOutros(caminho.c_str(), outros) && outros.leitura) {
    r.Aviso("every user may read it, and with it the merchant's key: let only its owner and group read "
            "it (chmod 0640)");
  }
}

}  // namespace

void VerificaEstabelecimentos(const ValoresConfig& v, Relatorio& r) {
  for (int g = 0; g < NUM_GRUPOS; ++g) {
    const std::string codigos = CodigosDoGrupo(g, false);
    const std::string uso = codigos.empty() ? std::string("used by no transaction type") : "codes " + codigos;
    bool algum = false;
    for (const std::string& a : v.arquivos[g]) algum = algum || !a.empty();
    if (!algum) {
      r.Linha("Parameter group par%d (%s): no establishment file", g, uso.c_str());
      continue;
    }
    r.Linha("Parameter group par%d (%s):", g, uso.c_str());
    if (codigos.empty()) r.Aviso("no transaction type reads par%d", g);
    for (int k = 0; k < TP::NUM_ARQUIVOS; ++k) {
      if (!v.arquivos[g][k].empty()) VerificaArquivo(k, v.arquivos[g][k], r);
    }
  }
}
