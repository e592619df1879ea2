// Response layouts: where each field lies in the host's answer (offsets after the header).
// Generated once from the host's message tables and reviewed by hand; only TiposTransacao.cpp
// and the catalogue tests include it.
#pragma once

#include <cstdint>
#include <iterator>

#include "catalogo/Catalogo.h"

namespace layouts {

// R14: response of code 14; fixed part 230 bytes, no repeated group.
inline constexpr TLayoutCampo R14[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  158,  24, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 230, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R14{R14, static_cast<std::int32_t>(std::size(R14)), 0, 0, 0};

// R20: response of code 20; fixed part 488 bytes, no repeated group.
inline constexpr TLayoutCampo R20[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   51,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  166,  46, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_BCD,         0,  0},
    {100,  212,  40, TIPO_NUMERICO,    0,  1},
    {101,  252,   4, TIPO_BCD,         0,  1},
    {102,  256,   1, TIPO_CARACTER,    0,  1},
    {103,  257,  60, TIPO_NUMERICO,    0,  1},
    {104,  317,   5, TIPO_BCD,         0,  1},
    {105,  322,  20, TIPO_NUMERICO,    0,  1},
    {106,  342,  30, TIPO_NUMERICO,    0,  1},
    {107,  372,  40, TIPO_NUMERICO,    0,  1},
    {108,  412,   2, TIPO_NUMERICO,    0,  1},
    {109,  414,   4, TIPO_BCD,         0,  1},
    {110,  418,   1, TIPO_CARACTER,    0,  1},
    {111,  419,   2, TIPO_BCD,         0,  1},
    {112,  421,   4, TIPO_BCD,         0,  1},
    {113,  425,   3, TIPO_BCD,         0,  1},
    {114,  428,   8, TIPO_NUMERICO,    0,  1},
    {115,  436,   7, TIPO_BCD,         0,  1},
    {116,  443,   7, TIPO_BCD,         0,  1},
    {117,  450,   7, TIPO_BCD,         0,  1},
    {118,  457,   7, TIPO_BCD,         0,  1},
    {119,  464,   7, TIPO_BCD,         0,  1},
    {120,  471,   7, TIPO_BCD,         0,  1},
    {370,   63,  25, TIPO_NUMERICO,    0,  0},
    {371,   60,   3, TIPO_BCD,         0,  0},
    {999,   -1, 488, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R20{R20, static_cast<std::int32_t>(std::size(R20)), 0, 0, 0};

// R31: response of codes 31, 53, 66, 68, 52; fixed part 230 bytes, no repeated group.
inline constexpr TLayoutCampo R31[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 230, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R31{R31, static_cast<std::int32_t>(std::size(R31)), 0, 0, 0};

// R57: response of code 57; fixed part 230 bytes, no repeated group.
inline constexpr TLayoutCampo R57[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 95,  142,   8, TIPO_NUMERICO,    0,  1},
    { 96,  128,  13, TIPO_NUMERICO,    0,  1},
    { 97,  114,  13, TIPO_NUMERICO,    0,  1},
    {999,   -1, 230, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R57{R57, static_cast<std::int32_t>(std::size(R57)), 0, 0, 0};

// R58: response of code 58; fixed part 230 bytes, no repeated group.
inline constexpr TLayoutCampo R58[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  114,  13, TIPO_NUMERICO,    0,  1},
    {999,   -1, 230, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R58{R58, static_cast<std::int32_t>(std::size(R58)), 0, 0, 0};

// R59: response of code 59; fixed part 230 bytes, no repeated group.
inline constexpr TLayoutCampo R59[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {999,   -1, 230, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R59{R59, static_cast<std::int32_t>(std::size(R59)), 0, 0, 0};

// R109: response of code 109; fixed part 280 bytes, group of 10 x 63 bytes, count field 312 at offset 279.
inline constexpr TLayoutCampo R109[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,  244,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  270,   6, TIPO_BCD,         0,  0},
    {100,  250,  20, TIPO_NUMERICO,    0,  0},
    {300,   10,   5, TIPO_BCD,         0,  1},
    {304,  238,   6, TIPO_BCD,         0,  1},
    {312,  279,   1, TIPO_BINARIO,     0,  1},
    {313,  280,   4, TIPO_BCD,         1,  1},
    {314,  284,   1, TIPO_BINARIO,     1,  1},
    {315,  285,  12, TIPO_NUMERICO,    1,  1},
    {316,  297,   2, TIPO_NUMERICO,    1,  1},
    {317,  299,   1, TIPO_BINARIO,     1,  1},
    {318,  300,   7, TIPO_BCD,         1,  1},
    {319,  307,  15, TIPO_NUMERICO,    1,  1},
    {320,  322,   1, TIPO_BINARIO,     1,  1},
    {321,  323,   4, TIPO_BCD,         1,  1},
    {322,  327,   4, TIPO_BCD,         1,  1},
    {324,  331,   4, TIPO_BCD,         1,  1},
    {325,  335,   2, TIPO_NUMERICO,    1,  0},
    {326,  337,   2, TIPO_BCD,         1,  1},
    {327,  339,   2, TIPO_BCD,         1,  1},
    {328,  341,   1, TIPO_CARACTER,    1,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 280, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R109{R109, static_cast<std::int32_t>(std::size(R109)), 63, 279, 10};

// R110: response of code 110; fixed part 280 bytes, group of 10 x 63 bytes, count field 312 at offset 279.
inline constexpr TLayoutCampo R110[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,  244,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  270,   6, TIPO_BCD,         0,  0},
    {100,  250,  20, TIPO_NUMERICO,    0,  0},
    {304,  238,   6, TIPO_BCD,         0,  1},
    {312,  279,   1, TIPO_BINARIO,     0,  1},
    {313,  280,   4, TIPO_BCD,         1,  1},
    {314,  284,   1, TIPO_BINARIO,     1,  1},
    {315,  285,  12, TIPO_NUMERICO,    1,  1},
    {316,  297,   2, TIPO_NUMERICO,    1,  1},
    {317,  299,   1, TIPO_BINARIO,     1,  1},
    {318,  300,   7, TIPO_BCD,         1,  1},
    {319,  307,  15, TIPO_NUMERICO,    1,  1},
    {320,  322,   1, TIPO_BINARIO,     1,  1},
    {321,  323,   4, TIPO_BCD,         1,  1},
    {322,  327,   4, TIPO_BCD,         1,  1},
    {324,  331,   4, TIPO_BCD,         1,  1},
    {325,  335,   2, TIPO_NUMERICO,    1,  1},
    {326,  337,   2, TIPO_BCD,         1,  1},
    {327,  339,   2, TIPO_BCD,         1,  1},
    {328,  341,   1, TIPO_CARACTER,    1,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 280, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R110{R110, static_cast<std::int32_t>(std::size(R110)), 63, 279, 10};

// R41: response of codes 41, 105; fixed part 280 bytes, group of 10 x 63 bytes, count field 312 at offset 279.
inline constexpr TLayoutCampo R41[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  2,  244,   6, TIPO_BCD,         0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  270,   6, TIPO_BCD,         0,  0},
    {100,  250,  20, TIPO_NUMERICO,    0,  0},
    {304,  238,   6, TIPO_BCD,         0,  1},
    {312,  279,   1, TIPO_BINARIO,     0,  1},
    {313,  280,   4, TIPO_BCD,         1,  1},
    {314,  284,   1, TIPO_BINARIO,     1,  1},
    {315,  285,  12, TIPO_NUMERICO,    1,  1},
    {316,  297,   2, TIPO_NUMERICO,    1,  1},
    {317,  299,   1, TIPO_BINARIO,     1,  1},
    {318,  300,   7, TIPO_BCD,         1,  1},
    {319,  307,  15, TIPO_NUMERICO,    1,  1},
    {320,  322,   1, TIPO_BINARIO,     1,  1},
    {321,  323,   4, TIPO_BCD,         1,  1},
    {322,  327,   4, TIPO_BCD,         1,  1},
    {324,  331,   4, TIPO_BCD,         1,  1},
    {325,  335,   2, TIPO_NUMERICO,    1,  1},
    {326,  337,   2, TIPO_BCD,         1,  1},
    {327,  339,   2, TIPO_BCD,         1,  1},
    {328,  341,   1, TIPO_CARACTER,    1,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 280, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R41{R41, static_cast<std::int32_t>(std::size(R41)), 63, 279, 10};

// R102: response of code 102; fixed part 260 bytes, group of 10 x 38 bytes, count field 312 at offset 258.
inline constexpr TLayoutCampo R102[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {312,  258,   1, TIPO_BINARIO,     0,  1},
    {317,  260,   1, TIPO_BINARIO,     1,  1},
    {318,  261,   7, TIPO_BCD,         1,  1},
    {319,  268,  15, TIPO_NUMERICO,    1,  1},
    {320,  283,   1, TIPO_BINARIO,     1,  1},
    {321,  284,   4, TIPO_BCD,         1,  1},
    {322,  288,   4, TIPO_BCD,         1,  1},
    {324,  292,   4, TIPO_BCD,         1,  1},
    {325,  296,   2, TIPO_NUMERICO,    1,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 260, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R102{R102, static_cast<std::int32_t>(std::size(R102)), 38, 258, 10};

// R106: response of code 106; fixed part 230 bytes, no repeated group.
inline constexpr TLayoutCampo R106[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 230, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R106{R106, static_cast<std::int32_t>(std::size(R106)), 0, 0, 0};

// R107: response of code 107; fixed part 525 bytes, no repeated group.
inline constexpr TLayoutCampo R107[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {100,  230,  20, TIPO_NUMERICO,    0,  0},
    {307,  250,  20, TIPO_NUMERICO,    0,  0},
    {308,  270, 255, TIPO_NUMERICO,    0,  0},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 525, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R107{R107, static_cast<std::int32_t>(std::size(R107)), 0, 0, 0};

// R108: response of code 108; fixed part 485 bytes, no repeated group.
inline constexpr TLayoutCampo R108[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    {350,  230, 255, TIPO_NUMERICO,    0,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 485, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R108{R108, static_cast<std::int32_t>(std::size(R108)), 0, 0, 0};

// R121: response of code 121; fixed part 231 bytes, group of 12 x 13 bytes, count field 017 at offset 230.
inline constexpr TLayoutCampo R121[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  1},
    { 17,  230,   1, TIPO_BINARIO,     0,  1},
    { 18,  231,   1, TIPO_BINARIO,     1,  1},
    { 19,  232,   6, TIPO_BCD,         1,  1},
    { 21,  238,   6, TIPO_BCD,         1,  1},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  160,  13, TIPO_NUMERICO,    0,  1},
    {100,  174,  24, TIPO_NUMERICO,    0,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 231, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R121{R121, static_cast<std::int32_t>(std::size(R121)), 13, 230, 12};

// R122: response of codes 122, 123, 124; fixed part 251 bytes, no repeated group.
inline constexpr TLayoutCampo R122[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  1},
    { 18,  230,   1, TIPO_BINARIO,     0,  1},
    { 19,  239,   6, TIPO_BCD,         0,  1},
    { 21,  245,   6, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 24,  231,   4, TIPO_BCD,         0,  0},
    { 28,  235,   4, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  160,  13, TIPO_NUMERICO,    0,  1},
    {100,  174,  24, TIPO_NUMERICO,    0,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 251, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R122{R122, static_cast<std::int32_t>(std::size(R122)), 0, 0, 0};

// R125: response of code 125; fixed part 251 bytes, no repeated group.
inline constexpr TLayoutCampo R125[] = {
    // numero posicao tamanho tipo  repetido condicao
    {  0,   -1,   0, TIPO_NENHUM,      0,  0},
    {  1,   -1,   0, TIPO_NENHUM,      0,  0},
    {  3,   59,   6, TIPO_BCD,         0,  0},
    {  9,    8,   2, TIPO_NUMERICO,    0,  0},
    { 12,   48,   3, TIPO_BCD,         0,  0},
    { 13,   10,   5, TIPO_BCD,         0,  1},
    { 18,  230,   1, TIPO_BINARIO,     0,  1},
    { 19,  239,   6, TIPO_BCD,         0,  1},
    { 21,  245,   6, TIPO_BCD,         0,  0},
    { 22,   18,   4, TIPO_BCD,         0,  0},
    { 23,   15,   3, TIPO_BCD,         0,  0},
    { 30,  159,  71, TIPO_NUMERICO,    0, -1},
    { 32,   26,   4, TIPO_NUMERICO,    0,  0},
    { 97,  160,  13, TIPO_NUMERICO,    0,  1},
    {100,  174,  24, TIPO_NUMERICO,    0,  1},
    {370,   71,  25, TIPO_NUMERICO,    0,  0},
    {999,   -1, 251, TIPO_NENHUM,      0,  0},
};
inline constexpr TLayoutMensagem LAYOUT_R125{R125, static_cast<std::int32_t>(std::size(R125)), 0, 0, 0};

}  // namespace layouts
