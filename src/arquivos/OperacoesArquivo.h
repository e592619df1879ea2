// The logged file operations that claim requests and publish status and response files.
#pragma once

#include <string>

namespace plataforma {
class Pasta;
}

// Deletes a file, trying twice; true when it is gone (also when it never existed). Changes no
// permission, neither the file's nor its folder's.
bool ApagaArquivo(const char* caminho);

// Moves a file over any older file of the target name and logs it. indice is the request's slot in
// the table of blocked files, or -1 (first claim attempt, and always for status and response files):
// only then is a failure logged.
bool RenomeiaArquivo(const char* de, const char* para, int indice);

// The same move between two names of an open directory, logged with the paths dir + name (dir is the
// directory's path as configured, ending in a separator), as a status or response file is published.
bool RenomeiaNaPasta(plataforma::Pasta& pasta, const std::string& dir, const std::string& de,
                     const std::string& para);
