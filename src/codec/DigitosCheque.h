// Check digits of a cheque: the CMC7 line's modulo-10 digits and the modulo-11 digits of
// the agency and the cheque number.
#pragma once

// Check digit character of the first n characters (weights 2, 1, 2, ... from the last).
char DigitoModulo10(const char* texto, int n);
// Remainder 0..10 of characters `ultimo` down to 0, weights 2..9 repeated.
int RestoModulo11(const char* texto, int ultimo);
// Check digit of the first 10 characters of the account text (compensation, bank, agency).
char DigitoAgencia(const char* texto);
// Check digit of a 6-digit cheque number.
char DigitoNumeroCheque(const char* texto);
