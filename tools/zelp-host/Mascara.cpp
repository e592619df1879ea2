// Masking of card data in the simulator's output, by value and back to the bytes each value came from.
#include "zelp-host/Mascara.h"

#include <algorithm>

#include "catalogo/Catalogo.h"

namespace simulador {

namespace {

enum class Regra {
  Numeros,  // only the card numbers found in it
  Inteiro,  // every character
  Trilha,   // the card number, then everything after it but separators and blanks
};

struct RegraCampo {
  int numero;
  Regra regra;
};

// The fields that hold card data beyond a card number; every other field is searched for numbers.
constexpr RegraCampo REGRAS[] = {
    {10, Regra::Inteiro},  // the PIN block
    {98, Regra::Trilha},   // the track: card number, expiry, service code, discretionary data
};

bool EhDigito(char c) { return c >= '0' && c <= '9'; }
bool EhAlfanumerico(char c) { return EhDigito(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

Regra RegraDoCampo(int numero) {
  for (const RegraCampo& r : REGRAS) {
    if (r.numero == numero) return r.regra;
  }
  return Regra::Numeros;
}

// Calls marca(k) for the hidden units of each run of digits (digito(k), k < n) whose length is
// within minimo..maximo: all but its first six and last four. A run of zeros alone, as padding and
// empty BCD give, is no card number.
template <class Digito, class Valor, class Marca>
void MarcaCorridas(std::size_t n, Digito digito, Valor valor, std::size_t minimo, std::size_t maximo, Marca marca) {
  for (std::size_t inicio = 0; inicio < n;) {
    if (!digito(inicio)) {
      ++inicio;
      continue;
    }
    std::size_t fim = inicio;
    bool soZeros = true;
    for (; fim < n && digito(fim); ++fim) soZeros = soZeros && valor(fim) == 0;
    const std::size_t tamanho = fim - inicio;
    if (!soZeros && tamanho >= minimo && tamanho <= maximo) {
      for (std::size_t k = inicio + DIGITOS_INICIO_VISIVEIS; k < fim - DIGITOS_FIM_VISIVEIS; ++k) marca(k);
    }
    inicio = fim;
  }
}

// Which characters of a field's value are hidden.
std::vector<bool> Ocultos(int numero, const std::string& v) {
  std::vector<bool> oculto(v.size(), false);
  const auto digito = [&v](std::size_t k) { return EhDigito(v[k]); };
  const auto valor = [&v](std::size_t k) { return v[k] - '0'; };
  switch (RegraDoCampo(numero)) {
    case Regra::Inteiro:
      oculto.assign(v.size(), true);
      break;
    case Regra::Numeros:
      MarcaCorridas(v.size(), digito, valor, MIN_DIGITOS_CARTAO, MAX_DIGITOS_CARTAO, [&](std::size_t k) { oculto[k] = true; });
      break;
    case Regra::Trilha: {
      // The card number is the first long run of digits; its first six stay, and its last four when
      // the run is no longer than a card number. Everything else that is a letter or a digit goes.
      std::size_t inicio = 0;
      std::size_t fim = 0;
      for (std::size_t k = 0; k < v.size(); k = fim + 1) {
        for (inicio = k; inicio < v.size() && !EhDigito(v[inicio]);) ++inicio;
        for (fim = inicio; fim < v.size() && EhDigito(v[fim]);) ++fim;
        if (fim - inicio >= MIN_DIGITOS_CARTAO || fim >= v.size()) break;
      }
      const bool achou = fim - inicio >= MIN_DIGITOS_CARTAO;
      for (std::size_t k = 0; k < v.size(); ++k) {
        const bool inicioVisivel = achou && k >= inicio && k < inicio + DIGITOS_INICIO_VISIVEIS;
        const bool fimVisivel = achou && fim - inicio <= MAX_DIGITOS_CARTAO && k >= fim - DIGITOS_FIM_VISIVEIS && k < fim;
        oculto[k] = EhAlfanumerico(v[k]) && !inicioVisivel && !fimVisivel;
      }
      break;
    }
  }
  return oculto;
}

std::string Aplica(std::string texto, const std::vector<bool>& oculto) {
  for (std::size_t k = 0; k < texto.size(); ++k) {
    if (oculto[k]) texto[k] = CARACTER_OCULTO;
  }
  return texto;
}

// The byte (relative to the field) and nibbles that character k of a decoded value came from, by
// the field's type; false for a type whose characters do not map to its bytes one by one.
bool Origem(const CampoLido& c, const std::uint8_t* campo, std::size_t k, std::size_t& byte, std::uint8_t& nibbles) {
  const auto meioByte = [&](std::size_t inicio, std::size_t digito) {
    byte = inicio + digito / 2;
    nibbles = digito % 2 == 0 ? OCULTO_ALTO : OCULTO_BAIXO;
  };
  switch (c.tipo) {
    case TIPO_NUMERICO:
    case TIPO_TEXTO:
    case TIPO_TEXTO_NUL:
    case TIPO_CARACTER:
      byte = k;
      nibbles = OCULTO_ALTO | OCULTO_BAIXO;
      return true;
    case TIPO_BINARIO:
      byte = 0;
      nibbles = OCULTO_ALTO | OCULTO_BAIXO;
      return true;
    case TIPO_BCD:
    case TIPO_HEXA:
      meioByte(0, k);
      return true;
    case TIPO_PREFIXO_BCD:
      // Its first byte is a character of the value unless it is zero.
      if (campo[0] == 0) {
        meioByte(1, k);
      } else if (k == 0) {
        byte = 0;
        nibbles = OCULTO_ALTO | OCULTO_BAIXO;
      } else {
        meioByte(1, k - 1);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string MascaraTexto(const std::string& texto) { return Aplica(texto, Ocultos(-1, texto)); }

std::string MascaraCampo(int numero, const std::string& valor) { return Aplica(valor, Ocultos(numero, valor)); }

std::vector<std::uint8_t> MascaraDados(const PedidoLido& lido, const std::uint8_t* dados, std::size_t tamanho) {
  std::vector<std::uint8_t> mascara(tamanho, 0);
  std::vector<bool> dentroDeCampo(tamanho, false);
  for (const CampoLido& c : lido.campos) {
    const auto inicio = static_cast<std::size_t>(std::max(c.posicao, 0));
    const std::size_t fim = std::min(tamanho, inicio + static_cast<std::size_t>(std::max(c.tamanho, 0)));
    if (inicio >= fim) continue;
    for (std::size_t b = inicio; b < fim; ++b) dentroDeCampo[b] = true;
    const std::vector<bool> oculto = Ocultos(c.numero, c.valor);
    for (std::size_t k = 0; k < oculto.size(); ++k) {
      if (!oculto[k]) continue;
      std::size_t byte = 0;
      std::uint8_t nibbles = 0;
      if (!Origem(c, dados + inicio, k, byte, nibbles)) {
        // Composite values: the whole field goes.
        std::fill(mascara.begin() + static_cast<std::ptrdiff_t>(inicio), mascara.begin() + static_cast<std::ptrdiff_t>(fim),
                  OCULTO_ALTO | OCULTO_BAIXO);
        break;
      }
      if (inicio + byte < fim) mascara[inicio + byte] |= nibbles;
    }
  }

  // What no field explains may be card data in any form (a PIN block is bare bytes): only its
  // zero bytes, which tell nothing, stay in sight.
  for (std::size_t b = 0; b < tamanho; ++b) {
    if (!dentroDeCampo[b] && dados[b] != 0) mascara[b] = OCULTO_ALTO | OCULTO_BAIXO;
  }
  return mascara;
}

}  // namespace simulador
