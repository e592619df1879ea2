// Starting the tests' other Windows process.
#include "apoio/Auxiliar.h"

#include <atomic>
#include <chrono>

std::unique_ptr<Processo> IniciaAuxiliar(const DiretorioTemporario& dir, const std::vector<std::string>& args) {
  static std::atomic<int> numero{0};
  auto p = std::make_unique<Processo>(CaminhoPrograma("auxiliar-teste"), args, dir.Caminho(),
                                      dir / ("auxiliar-" + std::to_string(++numero) + ".out"));
  Processo* processo = p.get();
  EsperaAte([processo] { return processo->Saida().find('\n') != std::string::npos || !processo->Rodando(); },
            std::chrono::seconds(10));
  return p;
}
