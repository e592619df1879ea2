// The parts of the configuration check, each printing its own lines into the report.
#pragma once

#include <string>

#include "config/ValoresConfig.h"
#include "verifica/Relatorio.h"

class LeitorIni;

// Keys and sections the service never reads, lines it ignores, integers that are not numbers.
void VerificaChaves(const LeitorIni& ini, Relatorio& r);
// The time-outs, the name width, the clean-up; the input, output and log directories.
void VerificaTemposEPastas(const ValoresConfig& v, Relatorio& r);
// Each endpoint group: the types that use it, its addresses resolved (and tried, with conecta).
void VerificaServidores(const ValoresConfig& v, bool conecta, Relatorio& r);
// Each parameter group: the types that use it, its establishment files read and checked.
void VerificaEstabelecimentos(const ValoresConfig& v, Relatorio& r);

// The transaction codes of the catalogue whose endpoint group (or parameter group) is g, as text
// ("31 53 66"); empty when no type uses it.
std::string CodigosDoGrupo(int g, bool endpoint);
