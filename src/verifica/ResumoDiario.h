// zelpd --resumo: the counts of one day's transaction journal, by outcome and by transaction code.
#pragma once

#include <cstdio>

// A date "AAAA-MM-DD" that exists in the calendar; false for anything else.
bool LeData(const char* texto, int& ano, int& mes, int& dia);

// Reads the log folder from the configuration file as the service does, then the journal of the day
// (data as "AAAA-MM-DD", null for today) in it, and prints its counts on saida; problems go to erros,
// each line beginning with "zelpd: ". Lines that are not journal lines are counted apart and named.
// Returns 0 when the journal was read, 1 when there is none to read (no log folder set, the file
// missing or unreadable, the configuration file unreadable).
int ResumoDiario(const char* caminhoIni, const char* data, std::FILE* saida, std::FILE* erros);
