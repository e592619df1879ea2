// Fuzz target: the INI reader and a whole configuration load.
#include "exercicios/Alvo.h"
#include "exercicios/ExercitaIni.h"

ZELP_ALVO_FUZZ(::fuzz::ExercitaIni)
