// The system's own texts in the code page of the machine they run on: UTF-8 on Linux, the ANSI code
// page on Windows (GetACP(): 1252 on a Brazilian till), so that a point of sale and the day's log
// read "comunicação" as that machine writes it. Values from requests and hosts never pass here:
// they are carried byte for byte.
#pragma once

namespace plataforma {

// A constant UTF-8 text of the program in the system's code page. Each text is converted once and
// kept for the life of the process, so the pointer may travel in an Err; safe from any thread.
// A character the code page lacks becomes its nearest equivalent, else "?".
const char* TextoDoSistema(const char* utf8);

}  // namespace plataforma
