// Fuzz target: response decoding for any type, then the error response.
#include "exercicios/Alvo.h"
#include "exercicios/ExercitaResposta.h"

ZELP_ALVO_FUZZ(::fuzz::ExercitaResposta)
