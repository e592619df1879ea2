// Fuzz target: request assembly of any request for any type, up to the frame.
#include "exercicios/Alvo.h"
#include "exercicios/ExercitaPedido.h"

ZELP_ALVO_FUZZ(::fuzz::ExercitaPedido)
