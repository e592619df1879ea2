// The first thing zelpd and zelp do: the process shut to dumps and to other processes, since its
// memory holds card data, and the files it creates kept from other users.
#pragma once

// Environment variable that keeps the process dumpable and open to a debugger, for a developer's
// measuring tools (which count its descriptors in /proc); never set for a gateway in service.
inline constexpr const char* VARIAVEL_DEPURAVEL = "ZELP_DEPURAVEL";

// Protects the process (plataforma::ProtegeProcesso), unless VARIAVEL_DEPURAVEL is "1". A part
// that could not be set is said on standard error, in the program's name; the gateway still runs.
void ProtegeGateway(const char* programa);
