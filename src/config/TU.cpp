// Endpoint groups: emptying one and adding a resolved address to it.
#include "config/TU.h"

#include "log/GravaLog.h"
#include "platform/Rede.h"

void LimpaServidor(TU& grupo) {
  for (int i = 0; i < TU::MAX_ENDERECOS; ++i) {
    grupo.url[i].clear();
    grupo.url[i].shrink_to_fit();
    grupo.ip[i] = 0;
  }
  grupo.porta = 0;
  grupo.quantidade = 0;
  grupo.atual = 0;
}

void AdicionaEndereco(TU& grupo, const char* texto) {
  // A group holds four entries; the load offers at most four, so a fifth is never stored.
  if (texto == nullptr || grupo.quantidade < 0 || grupo.quantidade >= TU::MAX_ENDERECOS) return;
  const int i = grupo.quantidade;
  grupo.url[i] = texto;
  std::uint32_t ip = 0;
  int erro = 0;
  if (!plataforma::ResolveIPv4(texto, ip, erro)) {
    // Left out: the next address fills the same slot, so the entries keep no gaps.
    grupo.url[i].clear();
    grupo.ip[i] = 0;
    GravaLog("gethostbyname Error = %d", erro);
    return;
  }
  grupo.ip[i] = ip;
  ++grupo.quantidade;
}
