// With [Deleta] Log set, processed requests are deleted by whichever worker finishes next.
#include "service/LimpaProcessados.h"

#include "log/GravaLog.h"
#include "platform/Arquivos.h"
#include "service/PedidosEmCurso.h"

bool NomeProcessado(const std::string& nome, int largura) {
  if (largura <= 0) return false;
  const std::size_t w = static_cast<std::size_t>(largura);
  if (nome.size() <= w || nome[w] != '.') return false;
  for (std::size_t i = 0; i < w; ++i) {
    if (nome[i] < '0' || nome[i] > '9') return false;
  }
  return true;
}

void LimpaProcessados(const std::string& dirEntrada, const std::string& mascara, int largura) {
  if (mascara.empty()) return;
  for (const std::string& nome : plataforma::ListaArquivos(mascara.c_str())) {
    if (!NomeProcessado(nome, largura)) continue;
    const std::string caminho = dirEntrada + nome;
    if (ApagaSeConcluido(nome, caminho) == ResultadoLimpeza::Falhou) GravaLog("*** Erro de acesso a %s", caminho.c_str());
  }
}
