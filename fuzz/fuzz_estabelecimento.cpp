// Fuzz target: the establishment file reader and its check value.
#include "exercicios/Alvo.h"
#include "exercicios/ExercitaEstabelecimento.h"

ZELP_ALVO_FUZZ(::fuzz::ExercitaEstabelecimento)
