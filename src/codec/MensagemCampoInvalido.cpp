// The refusal text that names a field together with the value it held.
#include "codec/MensagemCampoInvalido.h"

#include "comum/Texto.h"

char* MensagemCampoInvalido(char (&mensagem)[TAM_MENSAGEM], std::int32_t numero, std::int32_t ocorrencia,
                            const char* valor) {
  FormataEm(mensagem, sizeof mensagem, "*ZELP* Campo [%03d-%03d = %s] invalido", numero, ocorrencia,
            valor ? valor : "");
  return mensagem;
}
