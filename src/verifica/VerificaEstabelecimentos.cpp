// The parameter groups: who uses each, and every establishment file it names read and checked as a
// worker checks it (size and check value), with the merchant code of each good one.
#include <cstdint>
#include <cstring>
#include <string>

#include "hostlink/Estabelecimento.h"
#include "platform/Arquivos.h"
#include "platform/Protecao.h"
#include "verifica/Verificacoes.h"

namespace {

void VerificaConteudo(int slot, const std::string& caminho, Relatorio& r) {
  std::string conteudo;
  if (!plataforma::LeArquivoInteiro(caminho.c_str(), conteudo, TAM_ESTABELECIMENTO)) {
    r.Detalhe("slot %d: %s", slot, MostraCaminho(caminho).c_str());
    r.Erro("missing, or this user may not read it");
    return;
  }
  if (conteudo.size() < static_cast<std::size_t>(TAM_ESTABELECIMENTO)) {
    r.Detalhe("slot %d: %s", slot, MostraCaminho(caminho).c_str());
    r.Erro("%zu bytes: an establishment file holds %d", conteudo.size(), TAM_ESTABELECIMENTO);
    return;
  }
  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  std::memcpy(imagem, conteudo.data(), sizeof imagem);
  char verificador[5];
  CalculaVerificador(imagem, verificador);
  if (std::memcmp(verificador, imagem + POS_VERIFICADOR, 4) != 0) {
    r.Detalhe("slot %d: %s", slot, MostraCaminho(caminho).c_str());
    r.Erro("its check value fails: the file was altered or damaged");
    return;
  }
  r.Detalhe("slot %d: %s: merchant %s", slot, MostraCaminho(caminho).c_str(), CodigoEstabelecimento(imagem).c_str());
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
