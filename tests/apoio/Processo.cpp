// What running a test program means on every platform: waiting for its end, reading its output.
#include "apoio/Processo.h"

#include <fstream>
#include <sstream>

bool Processo::Espera(std::chrono::milliseconds limite, int& status) {
  bool fim = EsperaAte([this] { return !Rodando(); }, limite);
  if (fim && terminou_) status = status_;
  return fim && terminou_;
}

std::string Processo::Saida() const {
  std::ifstream f(saida_, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}
