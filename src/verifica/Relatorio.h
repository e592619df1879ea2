// The check's printed report: settings, and the errors and warnings under each, counted.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

#include "comum/Formato.h"

class Relatorio {
 public:
  explicit Relatorio(std::FILE* saida) : saida_(saida) {}

  // A setting or a fact, at the left margin.
  ZELP_PRINTF(2, 3) void Linha(const char* formato, ...);
  // A detail of the setting above it.
  ZELP_PRINTF(2, 3) void Detalhe(const char* formato, ...);
  // Something that keeps the service from starting or from serving: the check fails.
  ZELP_PRINTF(2, 3) void Erro(const char* formato, ...);
  // Something the service survives that is most likely not meant (a typo, a value out of range).
  ZELP_PRINTF(2, 3) void Aviso(const char* formato, ...);

  int Erros() const { return erros_; }
  int Avisos() const { return avisos_; }

 private:
  void Escreve(const char* prefixo, const char* formato, va_list args);

  std::FILE* saida_;
  bool emDetalhe_ = false;  // errors and warnings go under the last detail, one step further in
  int erros_ = 0;
  int avisos_ = 0;
};

// A path as configured, with its absolute form beside it when it is relative.
std::string MostraCaminho(const std::string& caminho);
