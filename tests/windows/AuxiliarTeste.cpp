// auxiliar-teste.exe: another Windows process for the tests, since only processes of one wine
// prefix see each other's share modes and named objects. It prints "pronto" once it holds what it
// was asked to hold, keeps it for the given milliseconds, and ends.
//   segura ARQUIVO MS           holds a file open for reading, letting others read it only (a
//                               point of sale still reading or writing its request)
//   escreve ORIGEM DESTINO MS   writes ORIGEM's bytes to DESTINO in pieces, spread over MS, holding
//                               DESTINO with share mode read, as a point of sale writing in place
//   trava PASTA MS              takes the lock of one service per input folder
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Arquivos.h"
#include "platform/windows/SistemaWindows.h"

namespace {

void Pronto(const char* texto) {
  std::printf("%s\n", texto);
  std::fflush(stdout);
}

int Segura(const char* arquivo, DWORD ms) {
  plataforma::windows::Alca h(
      ::CreateFileA(arquivo, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.Valida()) return 3;
  Pronto("pronto");
  ::Sleep(ms);
  return 0;
}

int Escreve(const char* origem, const char* destino, DWORD ms) {
  std::string conteudo;
  if (!plataforma::LeArquivoInteiro(origem, conteudo, 1 << 20)) return 3;
  plataforma::windows::Alca h(
      ::CreateFileA(destino, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.Valida()) return 3;
  Pronto("pronto");
  constexpr std::size_t PEDACOS = 5;
  const std::size_t pedaco = (conteudo.size() + PEDACOS - 1) / PEDACOS;
  for (std::size_t feito = 0; feito < conteudo.size(); feito += pedaco) {
    const DWORD quer = static_cast<DWORD>(std::min(pedaco, conteudo.size() - feito));
    DWORD escritos = 0;
    if (!::WriteFile(h.Get(), conteudo.data() + feito, quer, &escritos, nullptr) || escritos != quer) return 3;
    ::Sleep(ms / PEDACOS);
  }
  return 0;
}

int Trava(const char* pasta, DWORD ms) {
  plataforma::TravaDiretorio trava;
  int erro = 0;
  switch (trava.Trava(pasta, erro)) {
    case plataforma::TravaDiretorio::Resultado::Travado:
      Pronto("travado");
      break;
    case plataforma::TravaDiretorio::Resultado::Ocupado:
      Pronto("ocupado");
      return 1;
    default:
      Pronto("falhou");
      return 3;
  }
  ::Sleep(ms);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string modo = argc > 1 ? argv[1] : "";
  if (modo == "segura" && argc == 4) return Segura(argv[2], static_cast<DWORD>(std::atol(argv[3])));
  if (modo == "escreve" && argc == 5) return Escreve(argv[2], argv[3], static_cast<DWORD>(std::atol(argv[4])));
  if (modo == "trava" && argc == 4) return Trava(argv[2], static_cast<DWORD>(std::atol(argv[3])));
  std::fprintf(stderr, "usage: auxiliar-teste segura ARQUIVO MS | escreve ORIGEM DESTINO MS | trava PASTA MS\n");
  return 2;
}
