// The 23 transaction types the host knows, in catalogue order: the position is the index that
// mapaCodigos holds and that a transaction keeps in TG::tipo.
#include "catalogo/Catalogo.h"

#include <cstddef>
#include <cstdint>

#include "catalogo/LayoutsPedido.h"
#include "catalogo/LayoutsResposta.h"

namespace {

// Texts sent as fields 910, 911, ... of every request of a type.
constexpr const char* CONSTANTES_M_R[] = {"M", "R"};
constexpr const char* CONSTANTES_CHEQUE_20[] = {"0171", "00", "68", "000", "000", "M", "R"};
constexpr const char* CONSTANTES_M_0[] = {"M", "0"};
constexpr const char* CONSTANTES_M[] = {"M"};

template <std::size_t N>
constexpr std::int32_t Quantos(const char* const (&)[N]) { return static_cast<std::int32_t>(N); }

}  // namespace

using namespace layouts;

constinit const TTipoTransacao tiposTransacao[] = {
    // pedido, resposta, codigo, indiceEnd, indicePar, constantes, numConstantes, numEstabelecimento,
    // prefixo, posCodigoResposta, nome, cabecalhoByte0, cabecalhoByte3
    {LAYOUT_P14, LAYOUT_R14, 14, 0, 0, CONSTANTES_M_R, Quantos(CONSTANTES_M_R), 1,
     40, 8, "CHQ", 3, "68"},  // 0
    {LAYOUT_P20, LAYOUT_R20, 20, 1, 1, CONSTANTES_CHEQUE_20, Quantos(CONSTANTES_CHEQUE_20), 1,
     0, 8, "CHQ", 3, "0xff"},  // 1
    {LAYOUT_P31, LAYOUT_R31, 31, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 2,
     0, 8, "CRT", 10, "68"},  // 2
    {LAYOUT_P31, LAYOUT_R31, 53, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 2,
     0, 8, "CRT", 10, "68"},  // 3
    {LAYOUT_P66, LAYOUT_R31, 66, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 2,
     0, 8, "CRT", 10, "68"},  // 4
    {LAYOUT_P66, LAYOUT_R31, 68, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 2,
     0, 8, "CRT", 10, "68"},  // 5
    {LAYOUT_P52, LAYOUT_R31, 52, 2, 2, nullptr, 0, 2,
     0, 8, "CRT", 10, "68"},  // 6
    {LAYOUT_P57, LAYOUT_R57, 57, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 1,
     0, 8, "CRT", 10, "68"},  // 7
    {LAYOUT_P58, LAYOUT_R58, 58, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 1,
     0, 8, "CRT", 10, "68"},  // 8
    {LAYOUT_P59, LAYOUT_R59, 59, 2, 2, CONSTANTES_M_0, Quantos(CONSTANTES_M_0), 1,
     0, 8, "CRT", 10, "68"},  // 9
    {LAYOUT_P109, LAYOUT_R109, 109, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 10
    {LAYOUT_P110, LAYOUT_R110, 110, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 11
    {LAYOUT_P41, LAYOUT_R41, 41, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 12
    {LAYOUT_P102, LAYOUT_R102, 102, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 13
    {LAYOUT_P105, LAYOUT_R41, 105, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 14
    {LAYOUT_P106, LAYOUT_R106, 106, 2, 2, nullptr, 0, 2,
     0, 8, "CRT", 10, "68"},  // 15
    {LAYOUT_P107, LAYOUT_R107, 107, 2, 2, nullptr, 0, 2,
     0, 8, "CRT", 10, "68"},  // 16
    {LAYOUT_P108, LAYOUT_R108, 108, 2, 2, nullptr, 0, 2,
     0, 8, "CRT", 10, "68"},  // 17
    {LAYOUT_P121, LAYOUT_R121, 121, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 18
    {LAYOUT_P122, LAYOUT_R122, 122, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 19
    {LAYOUT_P122, LAYOUT_R122, 123, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 20
    {LAYOUT_P122, LAYOUT_R122, 124, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 21
    {LAYOUT_P125, LAYOUT_R125, 125, 2, 2, CONSTANTES_M, Quantos(CONSTANTES_M), 2,
     0, 8, "CRT", 10, "68"},  // 22
};

const int numTipos = static_cast<int>(sizeof tiposTransacao / sizeof tiposTransacao[0]);
