// The rules of the main window that are not a toolkit's: the text a row of its list shows.
#include "ui/RegrasJanela.h"

namespace janela {

std::string TextoDaLinha(std::string texto) {
  for (char& c : texto) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7f) c = ' ';
  }
  return texto;
}

}  // namespace janela
