// The cheque block of the cheque-check request: each cheque is checked and written into the
// message data at its own positions.
#pragma once

#include <cstdint>

#include "fields/TG.h"

// Texts by result code of VerificaCheque; 0 (accepted) is empty.
inline constexpr int NUM_MENSAGENS_CHEQUE = 7;
extern const char* const mensagensCheque[NUM_MENSAGENS_CHEQUE];

// Offsets in the message data.
inline constexpr int POS_NUMERO_CHEQUES = 51;
inline constexpr int POS_CONTA_CHEQUE = 52;
inline constexpr int POS_PRIMEIRO_CHEQUE = 64;
inline constexpr int TAM_CHEQUE = 14;
inline constexpr int MAX_CHEQUES = 12;
// Bytes of packed BCD that fields 044 and 045 of each cheque take.
inline constexpr int TAM_CAMPO_044 = 6;
inline constexpr int TAM_CAMPO_045 = 4;
// Characters of the CMC7 line (field 043) that the checks read.
inline constexpr int TAM_CMC7 = 30;

// Result 0..6 for the cheque whose field 043 is at position j of the sorted table; writes the
// cheque's bytes into `dados` only when it returns 0. `dados` holds room for 12 cheques.
int VerificaCheque(std::uint8_t* dados, const TG& transacao, std::int32_t j);
// As VerificaCheque, but throws Erro with the text of a refusal; a cheque whose 044 or 045 the
// host message cannot carry digit for digit is refused as that field.
int ValidaCheques(std::uint8_t* dados, const TG& transacao, std::int32_t j);
