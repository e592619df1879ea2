// The refusal texts that name a field, alone or together with the value it held.
#include "codec/MensagemCampoInvalido.h"

#include "comum/Erro.h"
#include "comum/Texto.h"

char* MensagemCampoInvalido(char (&mensagem)[TAM_MENSAGEM], std::int32_t numero, std::int32_t ocorrencia,
                            const char* valor) {
  FormataEm(mensagem, sizeof mensagem, "*ZELP* Campo [%03d-%03d = %s] invalido", numero, ocorrencia,
            valor ? valor : "");
  return mensagem;
}

void CampoInvalido(std::int32_t numero, std::int32_t ocorrencia) {
  throw Erro::Formata("*ZELP* Campo [%03d-%03d] invalido", numero, ocorrencia);
}
