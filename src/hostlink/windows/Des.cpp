// One DES block through the system's CryptoAPI (the enhanced RSA provider, on every Windows and in
// wine): the key imported as a plain-text blob, ECB, no padding. No cipher code of our own.
#include "hostlink/Des.h"

#include <cstring>

#include "comum/Erro.h"
#include "platform/windows/SistemaWindows.h"

#include <wincrypt.h>

namespace {

struct BlobChave {
  BLOBHEADER cabecalho;
  DWORD tamanho;
  BYTE chave[8];
};

// One context for the process, made at the first use: a context that holds no key container
// serves any number of threads.
HCRYPTPROV Provedor() {
  static const HCRYPTPROV provedor = [] {
    HCRYPTPROV p = 0;
    if (!::CryptAcquireContextA(&p, nullptr, MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) p = 0;
    return p;
  }();
  return provedor;
}

// A key handle destroyed on every path.
class Chave {
 public:
  ~Chave() {
    if (h_ != 0) ::CryptDestroyKey(h_);
  }
  HCRYPTKEY* operator&() { return &h_; }
  HCRYPTKEY Get() const { return h_; }

 private:
  HCRYPTKEY h_ = 0;
};

}  // namespace

void CifraBlocoDes(const std::uint8_t chave[8], const std::uint8_t entrada[8], std::uint8_t saida[8]) {
  BlobChave blob{{PLAINTEXTKEYBLOB, CUR_BLOB_VERSION, 0, CALG_DES}, 8, {}};
  std::memcpy(blob.chave, chave, 8);
  // Parity bits are not checked and weak keys are taken, as the host's check value needs.
  Chave k;
  const bool importada = Provedor() != 0 && ::CryptImportKey(Provedor(), reinterpret_cast<const BYTE*>(&blob),
                                                             sizeof blob, 0, 0, &k);
  ::SecureZeroMemory(&blob, sizeof blob);
  DWORD modo = CRYPT_MODE_ECB;
  BYTE bloco[8];
  std::memcpy(bloco, entrada, 8);
  DWORD tamanho = 8;
  // Not the final block: no padding is added, so the one block comes back as 8 bytes.
  if (!importada || !::CryptSetKeyParam(k.Get(), KP_MODE, reinterpret_cast<const BYTE*>(&modo), 0) ||
      !::CryptEncrypt(k.Get(), 0, FALSE, 0, bloco, &tamanho, sizeof bloco) || tamanho != 8) {
    // Only a system without its cryptographic provider gets here: the transaction is refused.
    throw Erro("*ZELP* Erro na cifra DES do sistema");
  }
  std::memcpy(saida, bloco, 8);
}
