// A field built from a number, written at the name width like the transaction's file names.
// Kept apart from TA.cpp so that only its users need the configuration's width.
#include "comum/Texto.h"
#include "config/TX.h"
#include "fields/TA.h"

TA::TA(std::int32_t num, std::int32_t oc, std::int64_t numeroValor)
    : TA(num, oc, Formata("%0*lld", LarguraNome(), static_cast<long long>(numeroValor))) {}
