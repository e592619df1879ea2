// The check's printed report.
#include "verifica/Relatorio.h"

#include <cstdarg>

#include "platform/Arquivos.h"

void Relatorio::Escreve(const char* prefixo, const char* formato, va_list args) {
  std::fputs(prefixo, saida_);
  std::vfprintf(saida_, formato, args);
  std::fputc('\n', saida_);
}

void Relatorio::Linha(const char* formato, ...) {
  va_list args;
  emDetalhe_ = false;
  va_start(args, formato);
  Escreve("", formato, args);
  va_end(args);
}

void Relatorio::Detalhe(const char* formato, ...) {
  va_list args;
  emDetalhe_ = true;
  va_start(args, formato);
  Escreve("  ", formato, args);
  va_end(args);
}

void Relatorio::Erro(const char* formato, ...) {
  ++erros_;
  va_list args;
  va_start(args, formato);
  Escreve(emDetalhe_ ? "    error: " : "  error: ", formato, args);
  va_end(args);
}

void Relatorio::Aviso(const char* formato, ...) {
  ++avisos_;
  va_list args;
  va_start(args, formato);
  Escreve(emDetalhe_ ? "    warning: " : "  warning: ", formato, args);
  va_end(args);
}

std::string MostraCaminho(const std::string& caminho) {
  if (!caminho.empty() && caminho.front() == '/') return caminho;
  std::string relativo = caminho;
  while (relativo.rfind("./", 0) == 0) relativo.erase(0, 2);
  return caminho + " (" + plataforma::DiretorioAtual() + "/" + relativo + ")";
}
