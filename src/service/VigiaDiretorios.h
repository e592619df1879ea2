// Tells the operator when the input or the output directory is not there (or is not a directory),
// once when it goes and once when it is back, instead of a silent scan or a line per request.
#pragma once

#include <cstdint>
#include <string>

class VigiaDiretorios {
 public:
  static constexpr std::uint32_t INTERVALO = 1000;  // ms between two looks

  // Looks at both directories (each ending in a separator) at most every INTERVALO ms of the tick
  // count agora; logs "*** Diretorio de entrada inacessivel: %s" or "*** Diretorio de saida
  // inacessivel: %s" when one is found missing, and "Diretorio de entrada acessivel: %s" (or de
  // saida) when it is found again after that.
  void Verifica(const std::string& dirEntrada, const std::string& dirSaida, std::uint32_t agora);

  bool FaltaEntrada() const { return faltaEntrada_; }
  bool FaltaSaida() const { return faltaSaida_; }

 private:
  bool olhou_ = false;
  std::uint32_t ultimaOlhada_ = 0;
  bool faltaEntrada_ = false;
  bool faltaSaida_ = false;
};
