// One DES block through Nettle.
#include "hostlink/Des.h"

#include <nettle/des.h>

void CifraBlocoDes(const std::uint8_t chave[8], const std::uint8_t entrada[8], std::uint8_t saida[8]) {
  des_ctx contexto;
  // The key schedule is built for weak keys too; the return value only flags them, and the host
  // accepts any key the establishment file yields.
  (void)nettle_des_set_key(&contexto, chave);
  nettle_des_encrypt(&contexto, DES_BLOCK_SIZE, saida, entrada);
}
