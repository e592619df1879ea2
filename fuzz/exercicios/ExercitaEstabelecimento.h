// Any bytes as an establishment file, and as a 206-byte image for its check value.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "comum/Erro.h"
#include "Verifica.h"
#include "hostlink/Estabelecimento.h"

namespace fuzz {

inline void ChecaVerificador(const char v[5]) {
  for (int i = 0; i < 4; ++i) ZELP_VERIFICA(v[i] >= '0' && v[i] <= '?', "verificador com byte %02x", v[i] & 0xFF);
  ZELP_VERIFICA(v[4] == '\0', "verificador sem terminador");
}

inline void ExercitaEstabelecimento(const std::uint8_t* dados, std::size_t tamanho) {
  // The check value of the first 206 bytes, zeros where the input is shorter.
  std::uint8_t imagem[TAM_ESTABELECIMENTO] = {};
  std::memcpy(imagem, dados, tamanho < sizeof imagem ? tamanho : sizeof imagem);
  char verificador[5];
  std::memset(verificador, 'X', sizeof verificador);
  CalculaVerificador(imagem, verificador);
  ChecaVerificador(verificador);
  char deNovo[5];
  CalculaVerificador(imagem, deNovo);
  ZELP_VERIFICA(std::memcmp(verificador, deNovo, 5) == 0, "verificador muda de uma chamada para outra");

  const DiretorioFuzz& dir = DiretorioDoProcesso();
  dir.Esvazia();
  const std::string caminho = dir / "estab.dat";
  EscreveArquivo(caminho, dados, tamanho);

  // Accepted exactly when the file has 206 bytes or more and the first 206 carry their check value.
  const bool valido = tamanho >= sizeof imagem && std::memcmp(verificador, imagem + POS_VERIFICADOR, 4) == 0;
  TEstabelecimento estab{"antes1", "antes2"};
  try {
    ZELP_VERIFICA(LeEstabelecimento(caminho.c_str(), estab), "LeEstabelecimento devolveu false");
    ZELP_VERIFICA(valido, "arquivo de %zu bytes aceito com verificador %.4s", tamanho, verificador);
    const char* codigo = reinterpret_cast<const char*>(imagem + 193);
    const std::string texto1(codigo, strnlen(codigo, 9));
    std::string texto2(codigo, strnlen(codigo, 6));
    if (texto2.size() == 6) texto2 += "000000000";
    ZELP_VERIFICA(estab.texto1 == texto1, "texto 1 '%s'", estab.texto1.c_str());
    ZELP_VERIFICA(estab.texto2 == texto2, "texto 2 '%s'", estab.texto2.c_str());
  } catch (const Erro& e) {
    ZELP_VERIFICA(!valido, "arquivo valido recusado: %s", e.Texto());
    ZELP_VERIFICA(std::strncmp(e.Texto(), "*ZELP* ", 7) == 0, "recusa sem *ZELP*: %s", e.Texto());
    ZELP_VERIFICA(estab.texto1 == "antes1" && estab.texto2 == "antes2", "recusa alterou o estabelecimento");
  }
  dir.Esvazia();
}

}  // namespace fuzz
