// The transaction catalogue: the layouts of every request and response the host knows.
#pragma once

#include <cstdint>

enum TipoCampo : std::int32_t {
  TIPO_NENHUM = 0,
  TIPO_NUMERICO = 1,
  TIPO_BCD = 2,
  TIPO_HEXA = 3,
  TIPO_BINARIO = 4,
  TIPO_CARACTER = 5,
  TIPO_PREFIXO_BCD = 8,
  TIPO_CHEQUE = 9,
  TIPO_TEXTO = 10,
  TIPO_TEXTO_NUL = 11,
};

struct TLayoutCampo {
  std::int32_t numero;
  std::int32_t posicao;   // -1: known but not placed
  std::int32_t tamanho;   // entry 999: length of the fixed part
  std::int32_t tipo;
  std::int32_t repetido;  // 1: member of the repeated group
  std::int32_t condicao;  // request: 0 mandatory, 1 optional; response: 0 always, 1 approval, -1 refusal
};

struct TLayoutMensagem {
  const TLayoutCampo* definicoes;
  std::int32_t numDefinicoes;
  std::int32_t tamRepeticao;
  std::int32_t posContador;
  std::int32_t maxRepeticoes;

  bool TemGrupo() const { return tamRepeticao != 0 && posContador != 0 && maxRepeticoes != 0; }
  // Length of the fixed part: the size of the closing entry 999.
  std::int32_t TamanhoFixo() const { return definicoes[numDefinicoes - 1].tamanho; }
};

struct TTipoTransacao {
  TLayoutMensagem pedido;
  TLayoutMensagem resposta;
  std::int32_t codigo;
  std::int32_t indiceEnd;
  std::int32_t indicePar;
  const char* const* constantes;  // null when numConstantes is 0
  std::int32_t numConstantes;
  std::int32_t numEstabelecimento;
  std::int32_t prefixo;
  std::int32_t posCodigoResposta;
  const char* nome;
  std::int32_t cabecalhoByte0;
  const char* cabecalhoByte3;
};

extern const TTipoTransacao tiposTransacao[];
extern const int numTipos;

// Transaction code (low 8 bits) to catalogue index; 255 when no type has that code.
inline constexpr std::uint8_t SEM_TIPO = 255;
extern std::uint8_t mapaCodigos[256];

// Fills mapaCodigos once; called at program start before any thread exists.
void MontaMapaCodigos();

// Catalogue index for a transaction code, or -1 when none (builds the map if needed).
int IndiceDoCodigo(std::int32_t codigo);

// Checks the invariants the codec relies on; throws Err with the first that fails.
void VerificaCatalogo();
// The same check over any table (for tests of the check itself).
void VerificaCatalogo(const TTipoTransacao* tipos, int quantos);
