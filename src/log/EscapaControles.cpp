// Control characters out of log lines: a name or a value that holds CR, LF or ESC must not forge a
// second line in the day's file nor drive the terminal that shows the window's lines.
#include <cstdio>
#include <cstring>

#include "log/GravaLinha.h"

namespace zelp_log {

namespace {

// The escape of one character into esc (at most 4 characters); its length.
std::size_t Escape(unsigned char c, char (&esc)[5]) {
  if (c >= 0x20 && c != 0x7f) {
    esc[0] = static_cast<char>(c);
    return 1;
  }
  const char* curto = c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : nullptr;
  if (curto != nullptr) {
    std::memcpy(esc, curto, 2);
    return 2;
  }
  std::snprintf(esc, sizeof esc, "\\x%02x", static_cast<unsigned>(c));
  return 4;
}

}  // namespace

bool EscapaControles(const char* texto, char* destino, std::size_t capacidade, std::size_t& tamanho) {
  tamanho = 0;
  if (destino == nullptr || capacidade == 0) return false;
  destino[0] = '\0';
  if (texto == nullptr) return true;
  const auto* p = reinterpret_cast<const unsigned char*>(texto);
  // The service's own fatal texts open with a line feed, and the file keeps it as it always has.
  bool inicio = true;
  for (; *p != '\0'; ++p) {
    inicio = inicio && *p == '\n';
    char esc[5];
    std::size_t n = 1;
    if (inicio) {
      esc[0] = '\n';
    } else {
      n = Escape(*p, esc);
    }
    if (tamanho + n >= capacidade) {
      destino[tamanho] = '\0';
      return false;
    }
    std::memcpy(destino + tamanho, esc, n);
    tamanho += n;
  }
  destino[tamanho] = '\0';
  return true;
}

}  // namespace zelp_log
