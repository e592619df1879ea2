// The clean-up of processed requests that every worker runs as its last step.
#pragma once

#include <string>

// True when nome begins with exactly W digits followed by '.' (a processed request of width W).
bool NomeProcessado(const std::string& nome, int largura);

// Deletes the files that match mascara (the input directory followed by "*.log") and whose names
// are processed requests of width W; does nothing when mascara is empty. Requests still in flight
// are left alone; a file that cannot be deleted is logged and left for a later clean-up.
void LimpaProcessados(const std::string& dirEntrada, const std::string& mascara, int largura);
