// The tests' other Windows process (tests/windows/AuxiliarTeste.cpp), started and waited for until
// it says it holds what it was asked to hold.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"

// Starts auxiliar-teste with args in dir (its output in dir/auxiliar-N.out) and waits at most 10 s
// for its first line; the process, whatever it said (see Saida()).
std::unique_ptr<Processo> IniciaAuxiliar(const DiretorioTemporario& dir, const std::vector<std::string>& args);
