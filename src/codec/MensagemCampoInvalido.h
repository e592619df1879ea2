// The refusal texts that name a field, alone or together with the value it held.
#pragma once

#include <cstdint>

#include "comum/Limites.h"

// Writes "*ZELP* Campo [NNN-NNN = value] invalido" into the buffer (cut to fit) and returns it.
char* MensagemCampoInvalido(char (&mensagem)[TAM_MENSAGEM], std::int32_t numero, std::int32_t ocorrencia,
                            const char* valor);

// Throws Erro "*ZELP* Campo [NNN-NNN] invalido": a field the request may not carry as it is.
[[noreturn]] void CampoInvalido(std::int32_t numero, std::int32_t ocorrencia);
