// zelpd --verifica: a configuration checked before it goes live.
#pragma once

// Reads the configuration file with the service's own reader and rules and prints, on standard
// output, the settings in force and what is wrong with them; with conecta it also tries one
// connection to every host address. Claims no file, sends no message, writes no log line.
// Returns 0 when the service would start and serve, 1 otherwise.
int VerificaConfiguracao(const char* caminhoIni, bool conecta);
