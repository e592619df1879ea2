// zelp-pdv --campos: the transaction codes of the catalogue, or the request and response fields of
// one of them.
#pragma once

#include <cstdio>

// Every code with its header (field 000-000), family, layouts and groups, in code order.
void MostraCodigos(std::FILE* f);

// The request and response layouts of the code; false, and nothing printed, when no type of the
// catalogue has exactly this code.
bool MostraCamposDoCodigo(long codigo, std::FILE* f);
