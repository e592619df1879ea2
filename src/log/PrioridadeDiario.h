// The priority that a window line carries in the journal, as the "<N>" prefix of sd-daemon(3).
#pragma once

inline constexpr int PRIORIDADE_ERRO = 3;
inline constexpr int PRIORIDADE_AVISO = 4;
inline constexpr int PRIORIDADE_NOTA = 5;
inline constexpr int PRIORIDADE_INFORMACAO = 6;

// Error for the fatal text that ends the service (textoFatal, null while there is none) and for any
// text written in the manner of the fatal ones, a line break before "***" (a reload refused for
// such a text logs it while the service goes on); then the first line of the table in
// PrioridadeDiario.cpp that the text matches (a host that cannot be reached or does not answer is a
// warning, an orderly stop a notice, every other alarm, the texts that begin with "***", a
// warning); information for every other line. Line breaks and blanks before the text, as the window
// lines and the fatal texts carry them, do not count.
int PrioridadeDiario(const char* linha, const char* textoFatal);
