// Writing a status or response file under its .tmp name and moving it over the published name.
#pragma once

#include <cstdint>
#include <string>

// Publishes conteudo as <dirSaida><identificador at width largura>.<extensao>; true when the file
// now has that name. A path beyond 259 characters is refused (and logged), never cut. A durable
// file is flushed to disk before its rename, and its directory after it.
bool PublicaArquivo(const std::string& dirSaida, int largura, std::int64_t identificador, const char* extensao,
                    const std::string& conteudo, bool duravel = true);
