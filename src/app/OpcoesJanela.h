// The window program's arguments, the same on every platform: --help (-h) and --version only.
#pragma once

#include <cstdio>
#include <cstring>

struct OpcoesJanela {
  bool ajuda = false;
  bool versao = false;
  const char* errado = nullptr;  // the first argument that is neither
};

inline OpcoesJanela LeOpcoesJanela(int argc, char** argv) {
  OpcoesJanela o;
  for (int i = 1; i < argc && o.errado == nullptr; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
      o.ajuda = true;
    } else if (std::strcmp(a, "--version") == 0) {
      o.versao = true;
    } else {
      o.errado = a;
    }
  }
  return o;
}

// The usage error for that argument, on standard error.
inline void DizArgumentoErrado(const char* a) {
  std::fprintf(stderr, "zelp: unknown %s '%s' (see --help)\n", a[0] == '-' && a[1] != '\0' ? "option" : "argument",
               a);
}
