// Check digits of a cheque.
#include "codec/DigitosCheque.h"

#include <cstring>

char DigitoModulo10(const char* texto, int n) {
  int soma = 0, peso = 2;
  for (int i = n - 1; i >= 0; --i) {
    int produto = (texto[i] - '0') * peso;
    if (produto >= 10) produto -= 9;
    soma += produto;
    peso = peso == 2 ? 1 : 2;
  }
  int resto = soma % 10;
  if (resto < 0) resto += 10;
  return static_cast<char>('0' + (10 - resto) % 10);
}

int RestoModulo11(const char* texto, int ultimo) {
  int soma = 0, peso = 2;
  for (int i = ultimo; i >= 0; --i) {
    soma += (texto[i] - '0') * peso;
    peso = peso == 9 ? 2 : peso + 1;
  }
  int resto = soma % 11;
  return resto < 0 ? resto + 11 : resto;
}

char DigitoAgencia(const char* texto) {
  int r = RestoModulo11(texto, 9);
  if (r >= 2) return static_cast<char>('0' + 11 - r);
  if (r == 1) return '0';
  // Positions 3..5 of the account text hold the bank.
  return std::strncmp(texto + 3, "031", 3) == 0 ? '1' : '0';
}

char DigitoNumeroCheque(const char* texto) {
  int r = RestoModulo11(texto, 5);
  return r < 2 ? '0' : static_cast<char>('0' + 11 - r);
}
