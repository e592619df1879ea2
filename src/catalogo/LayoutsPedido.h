// Request layouts: where each field goes in the data the host expects (offsets after the header).
// Generated once from the host's message tables and reviewed by hand; only TiposTransacao.cpp
// and the catalogue tests include it.
#pragma once

#include <cstdint>
#include <iterator>

#include "catalogo/Catalogo.h"

namespace layouts {

// P14: request of code 14; fixed part 45 bytes, no repeated group.
inline constexpr TLayoutCampo P14[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,    1,   6, TIPO_BCD,         0,  0},
    {  7,   31,   7, TIPO_PREFIXO_BCD, 0,  0},
    {  8,   41,   4, TIPO_BCD,         0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 33,    7,   2, TIPO_BCD,         0,  0},
    { 34,    9,   2, TIPO_BCD,         0,  0},
    { 38,   11,  12, TIPO_NUMERICO,    0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   23,   8, TIPO_NUMERICO,    0,  0},
    {910,   40,   1, TIPO_CARACTER,    0,  0},
    {911,   39,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  45, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P14{P14, static_cast<std::int32_t>(std::size(P14)), 0, 0, 0};

// P20: request of code 20; fixed part 64 bytes, group of 12 x 14 bytes, count field 042 at offset 51.
inline constexpr TLayoutCampo P20[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   18,   6, TIPO_BCD,         0,  0},
    {  6,   33,   3, TIPO_BCD,         0,  0},
    {  7,   24,   7, TIPO_PREFIXO_BCD, 0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 14,   36,  15, TIPO_NUMERICO,    0,  0},
    { 42,   51,   1, TIPO_BINARIO,     0,  0},
    { 43,   52,  12, TIPO_CHEQUE,      1,  0},
    { 44,   -1,   0, TIPO_NENHUM,      1,  0},
    { 45,   -1,   0, TIPO_NENHUM,      1,  0},
    { 46,   -1,   0, TIPO_NENHUM,      1,  0},
    { 47,   -1,   0, TIPO_NENHUM,      1,  0},
    { 48,   -1,   0, TIPO_NENHUM,      1,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,    1,   8, TIPO_NUMERICO,    0,  0},
    {910,    9,   2, TIPO_HEXA,        0,  0},
    {911,   11,   1, TIPO_BINARIO,     0,  0},
    {912,   12,   1, TIPO_BINARIO,     0,  0},
    {913,   13,   1, TIPO_BINARIO,     0,  0},
    {914,   14,   1, TIPO_BINARIO,     0,  0},
    {915,   17,   1, TIPO_CARACTER,    0,  0},
    {916,   32,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  64, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P20{P20, static_cast<std::int32_t>(std::size(P20)), 14, 51, 12};

// P31: request of codes 31, 53; fixed part 78 bytes, no repeated group.
inline constexpr TLayoutCampo P31[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    { 10,   69,   8, TIPO_HEXA,        0,  1},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   54,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {911,   53,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  78, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P31{P31, static_cast<std::int32_t>(std::size(P31)), 0, 0, 0};

// P66: request of codes 66, 68; fixed part 80 bytes, no repeated group.
inline constexpr TLayoutCampo P66[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    { 10,   71,   8, TIPO_HEXA,        0,  1},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 18,   69,   1, TIPO_BINARIO,     0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   54,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {911,   53,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  80, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P66{P66, static_cast<std::int32_t>(std::size(P66)), 0, 0, 0};

// P52: request of code 52; fixed part 86 bytes, no repeated group.
inline constexpr TLayoutCampo P52[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 25,   68,   3, TIPO_BCD,         0,  0},
    { 26,   56,   4, TIPO_BCD,         0,  0},
    { 27,   63,   5, TIPO_BCD,         0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   71,  15, TIPO_NUMERICO,    0,  0},
    {999,   -1,  86, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P52{P52, static_cast<std::int32_t>(std::size(P52)), 0, 0, 0};

// P57: request of code 57; fixed part 78 bytes, no repeated group.
inline constexpr TLayoutCampo P57[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  7,   54,  15, TIPO_TEXTO_NUL,   0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {911,   53,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  78, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P57{P57, static_cast<std::int32_t>(std::size(P57)), 0, 0, 0};

// P58: request of code 58; fixed part 78 bytes, no repeated group.
inline constexpr TLayoutCampo P58[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  7,   54,  15, TIPO_TEXTO_NUL,   0,  0},
    { 10,   69,   8, TIPO_HEXA,        0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {911,   53,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  78, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P58{P58, static_cast<std::int32_t>(std::size(P58)), 0, 0, 0};

// P59: request of code 59; fixed part 87 bytes, no repeated group.
inline constexpr TLayoutCampo P59[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  7,   54,  15, TIPO_TEXTO_NUL,   0,  0},
    { 10,   69,   8, TIPO_HEXA,        0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    { 99,   78,   8, TIPO_HEXA,        0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {911,   53,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  87, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P59{P59, static_cast<std::int32_t>(std::size(P59)), 0, 0, 0};

// P109: request of code 109; fixed part 100 bytes, group of 10 x 44 bytes, count field 312 at offset 99.
inline constexpr TLayoutCampo P109[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   93,   6, TIPO_BCD,         0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    2,  37, TIPO_TEXTO,       0,  0},
    {301,   66,  10, TIPO_NUMERICO,    0,  0},
    {302,   64,   2, TIPO_NUMERICO,    0,  0},
    {304,   87,   6, TIPO_BCD,         0,  0},
    {312,   99,   1, TIPO_BINARIO,     0,  0},
    {313,  100,   4, TIPO_BCD,         1,  0},
    {314,  104,   1, TIPO_CARACTER,    1,  0},
    {315,  105,  12, TIPO_NUMERICO,    1,  0},
    {316,  117,   2, TIPO_NUMERICO,    1,  0},
    {317,  119,   1, TIPO_CARACTER,    1,  0},
    {318,  120,   7, TIPO_BCD,         1,  0},
    {321,  137,   6, TIPO_BCD,         1,  0},
    {323,  131,   6, TIPO_BCD,         1,  0},
    {326,  129,   2, TIPO_BCD,         1,  0},
    {327,  127,   2, TIPO_BCD,         1,  0},
    {328,  143,   1, TIPO_CARACTER,    1,  1},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1, 100, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P109{P109, static_cast<std::int32_t>(std::size(P109)), 44, 99, 10};

// P110: request of code 110; fixed part 76 bytes, no repeated group.
inline constexpr TLayoutCampo P110[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    2,  37, TIPO_TEXTO,       0,  0},
    {300,   64,  12, TIPO_NUMERICO,    0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  76, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P110{P110, static_cast<std::int32_t>(std::size(P110)), 0, 0, 0};

// P41: request of code 41; fixed part 100 bytes, group of 10 x 44 bytes, count field 312 at offset 99.
inline constexpr TLayoutCampo P41[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  2,   93,   6, TIPO_BCD,         0,  0},
    {  3,   81,   6, TIPO_BCD,         0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    2,  37, TIPO_TEXTO,       0,  0},
    {300,   64,  12, TIPO_NUMERICO,    0,  0},
    {304,   87,   6, TIPO_BCD,         0,  0},
    {312,   99,   1, TIPO_BINARIO,     0,  0},
    {313,  100,   4, TIPO_BCD,         1,  0},
    {314,  104,   1, TIPO_CARACTER,    1,  0},
    {315,  105,  12, TIPO_NUMERICO,    1,  0},
    {316,  117,   2, TIPO_NUMERICO,    1,  0},
    {317,  119,   1, TIPO_CARACTER,    1,  0},
    {318,  120,   7, TIPO_BCD,         1,  0},
    {321,  137,   6, TIPO_BCD,         1,  0},
    {323,  131,   6, TIPO_BCD,         1,  0},
    {326,  129,   2, TIPO_BCD,         1,  0},
    {327,  127,   2, TIPO_BCD,         1,  0},
    {328,  143,   1, TIPO_CARACTER,    1,  1},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1, 100, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P41{P41, static_cast<std::int32_t>(std::size(P41)), 44, 99, 10};

// P102: request of code 102; fixed part 65 bytes, group of 10 x 13 bytes, count field 312 at offset 64.
inline constexpr TLayoutCampo P102[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    2,  37, TIPO_TEXTO,       0,  0},
    {312,   64,   1, TIPO_BINARIO,     0,  0},
    {318,   65,   7, TIPO_BCD,         1,  0},
    {323,   72,   6, TIPO_BCD,         1,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  65, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P102{P102, static_cast<std::int32_t>(std::size(P102)), 13, 64, 10};

// P105: request of code 105; fixed part 100 bytes, group of 10 x 44 bytes, count field 312 at offset 99.
inline constexpr TLayoutCampo P105[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  2,   93,   6, TIPO_BCD,         0,  0},
    {  3,   81,   6, TIPO_BCD,         0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    2,  37, TIPO_TEXTO,       0,  0},
    {301,   66,  10, TIPO_NUMERICO,    0,  0},
    {302,   64,   2, TIPO_NUMERICO,    0,  0},
    {304,   87,   6, TIPO_BCD,         0,  0},
    {312,   99,   1, TIPO_BINARIO,     0,  0},
    {313,  100,   4, TIPO_BCD,         1,  0},
    {314,  104,   1, TIPO_CARACTER,    1,  0},
    {315,  105,  12, TIPO_NUMERICO,    1,  0},
    {316,  117,   2, TIPO_NUMERICO,    1,  0},
    {317,  119,   1, TIPO_CARACTER,    1,  0},
    {318,  120,   7, TIPO_BCD,         1,  0},
    {321,  137,   6, TIPO_BCD,         1,  0},
    {323,  131,   6, TIPO_BCD,         1,  0},
    {326,  129,   2, TIPO_BCD,         1,  0},
    {327,  127,   2, TIPO_BCD,         1,  0},
    {328,  143,   1, TIPO_CARACTER,    1,  1},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1, 100, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P105{P105, static_cast<std::int32_t>(std::size(P105)), 44, 99, 10};

// P106: request of code 106; fixed part 86 bytes, no repeated group.
inline constexpr TLayoutCampo P106[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    {  5,   54,   1, TIPO_BINARIO,     0,  0},
    {  9,   55,   1, TIPO_BINARIO,     0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 25,   68,   3, TIPO_BCD,         0,  0},
    { 27,   63,   5, TIPO_BCD,         0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   71,  15, TIPO_NUMERICO,    0,  0},
    {999,   -1,  86, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P106{P106, static_cast<std::int32_t>(std::size(P106)), 0, 0, 0};

// P107: request of code 107; fixed part 76 bytes, no repeated group.
inline constexpr TLayoutCampo P107[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 98,    2,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {999,   -1,  76, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P107{P107, static_cast<std::int32_t>(std::size(P107)), 0, 0, 0};

// P108: request of code 108; fixed part 66 bytes, no repeated group.
inline constexpr TLayoutCampo P108[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    {325,   64,   2, TIPO_NUMERICO,    0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   39,   8, TIPO_NUMERICO,    0,  0},
    {902,   48,  15, TIPO_NUMERICO,    0,  0},
    {999,   -1,  66, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P108{P108, static_cast<std::int32_t>(std::size(P108)), 0, 0, 0};

// P121: request of code 121; fixed part 77 bytes, no repeated group.
inline constexpr TLayoutCampo P121[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 28,   69,   4, TIPO_BCD,         0,  1},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   54,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  77, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P121{P121, static_cast<std::int32_t>(std::size(P121)), 0, 0, 0};

// P122: request of codes 122, 123, 124; fixed part 98 bytes, no repeated group.
inline constexpr TLayoutCampo P122[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  2,   79,   6, TIPO_BCD,         0,  1},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    { 10,   85,   8, TIPO_HEXA,        0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 18,   77,   1, TIPO_BINARIO,     0,  0},
    { 24,   73,   4, TIPO_BCD,         0,  1},
    { 28,   69,   4, TIPO_BCD,         0,  1},
    { 29,   94,   4, TIPO_NUMERICO,    0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   54,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  98, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P122{P122, static_cast<std::int32_t>(std::size(P122)), 0, 0, 0};

// P125: request of code 125; fixed part 98 bytes, no repeated group.
inline constexpr TLayoutCampo P125[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  2,   79,   6, TIPO_BCD,         0,  1},
    {  3,    2,   6, TIPO_BCD,         0,  0},
    { 10,   85,   8, TIPO_HEXA,        0,  0},
    { 11,    0,   1, TIPO_BINARIO,     0,  0},
    { 18,   77,   1, TIPO_BINARIO,     0,  0},
    { 29,   94,   4, TIPO_NUMERICO,    0,  0},
    { 98,    8,  37, TIPO_TEXTO,       0,  0},
    {383,   -1,   0, TIPO_NENHUM,      0,  1},
    {901,   45,   8, TIPO_NUMERICO,    0,  0},
    {902,   54,  15, TIPO_NUMERICO,    0,  0},
    {910,    1,   1, TIPO_CARACTER,    0,  0},
    {999,   -1,  98, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_P125{P125, static_cast<std::int32_t>(std::size(P125)), 0, 0, 0};

}  // namespace layouts
