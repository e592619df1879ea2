// Requests with a wrong name are not left lying in the input directory: they are removed at once.
#include "service/VerificaNome.h"

#include <cstring>

#include "comum/Err.h"
#include "comum/Texto.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"
#include "platform/TextoSistema.h"

namespace {
bool Digito(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool NomePedidoValido(const char* nome, int largura) {
  if (nome == nullptr || largura <= 0) return false;
  const std::size_t n = std::strlen(nome);
  const std::size_t w = static_cast<std::size_t>(largura);
  if (n != w + 4) return false;
  for (std::size_t i = 0; i < w; ++i) {
    if (!Digito(nome[i])) return false;
  }
  return IguaisSemCaixa(nome + w, ".env");
}

bool VerificaNome(const char* nome, const char* caminho, int largura) {
  if (NomePedidoValido(nome, largura)) return true;
  GravaLog("*** Nome de Arquivo Invalido: \"%s\"", caminho);
  // A file that someone else removed meanwhile is as gone as a deleted one.
  if (plataforma::Apaga(caminho) == plataforma::ResultadoApaga::Falhou) {
    throw Err(plataforma::TextoDoSistema("\n*** Nao foi possível deletar!"));
  }
  GravaLog("*** Arquivo Deletado!");
  return false;
}
