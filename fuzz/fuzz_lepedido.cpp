// Fuzz target: the request file reader, then the response file of its table.
#include "exercicios/Alvo.h"
#include "exercicios/ExercitaLePedido.h"

ZELP_ALVO_FUZZ(::fuzz::ExercitaLePedido)
