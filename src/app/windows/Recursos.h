// Numbers of the resources that the programs' .rc files define and their code loads.
#pragma once

#define ICONE_ZELP 1
// The message of zelpd's entries in the system's event log: "%1", the text itself.
#define EVENTO_TEXTO 1
