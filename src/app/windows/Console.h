// Text output of a program without a console of its own (zelp.exe is a window program).
#pragma once

// When standard output goes nowhere (started from a command prompt, not redirected), attaches to
// the console of the program that started this one, so that --help and errors reach its window.
void LigaConsoleDoPai();
