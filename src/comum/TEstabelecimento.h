// The two texts of an establishment file that a request carries to the host (fields 901 and 902).
#pragma once

#include <string>

struct TEstabelecimento {
  std::string texto1;  // establishment code, at most 9 characters
  std::string texto2;  // 15 characters
};
