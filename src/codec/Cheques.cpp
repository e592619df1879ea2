// The cheque block: presence of the six fields, CMC7 and check digits, same account, bytes.
#include "codec/Cheques.h"

#include <cstring>
#include <string>
#include <utility>

#include "codec/Codificadores.h"
#include "codec/DigitosCheque.h"
#include "codec/MensagemCampoInvalido.h"
#include "comum/Erro.h"

const char* const mensagensCheque[NUM_MENSAGENS_CHEQUE] = {
    "",
    "*ZELP* Faltam dados do cheque",
    "*ZELP* CMC7 invalido",
    "*ZELP* Digitos verificadores invalidos",
    "*ZELP* Numero de Cheques errado",
    "*ZELP* Cheques de Contas Diferentes",
    "*ZELP* Quantidade de Cheques errado",
};

namespace {

enum : int {
  CHEQUE_ACEITO = 0,
  FALTAM_DADOS = 1,
  CMC7_INVALIDO = 2,
  DIGITOS_INVALIDOS = 3,
  NUMERO_ERRADO = 4,
  CONTAS_DIFERENTES = 5,
  QUANTIDADE_ERRADA = 6,
};

// The CMC7 line is read at positions 0..29 as digits: anything shorter, or any character
// that is not a digit, cannot be checked and is refused.
bool Cmc7Legivel(const char* c) {
  std::size_t n = std::strlen(c);
  if (n < static_cast<std::size_t>(TAM_CMC7)) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (c[i] < '0' || c[i] > '9') return false;
  return true;
}

const TA* Campo(const TG& t, std::int64_t pos) {
  if (pos < 0 || pos >= t.quantidade || pos >= MAX_CAMPOS) return nullptr;
  return t.campos[static_cast<std::size_t>(pos)].get();
}

}  // namespace

int VerificaCheque(std::uint8_t* dados, const TG& transacao, std::int32_t j) {
  const std::int64_t n = dados[POS_NUMERO_CHEQUES];
  if (n > MAX_CHEQUES) return NUMERO_ERRADO;

  const TA* campos[6];
  for (int m = 0; m < 6; ++m) {
    campos[m] = Campo(transacao, j + m * n);
    if (!campos[m] || campos[m]->numero != 43 + m) return FALTAM_DADOS;
  }
  for (int m = 0; m < 5; ++m)
    if (campos[m]->ocorrencia != campos[m + 1]->ocorrencia) return FALTAM_DADOS;

  const char* c = campos[0]->valor.c_str();
  const char* v046 = campos[3]->valor.c_str();
  const char* v047 = campos[4]->valor.c_str();
  const char* v048 = campos[5]->valor.c_str();
  // Without 047 the account text would be a character short.
  if (v047[0] == '\0') return FALTAM_DADOS;

  if (!Cmc7Legivel(c)) return CMC7_INVALIDO;
  if (DigitoModulo10(c, 7) != c[18] || DigitoModulo10(c + 8, 10) != c[7] || DigitoModulo10(c + 19, 10) != c[29])
    return CMC7_INVALIDO;

  // A: compensation, bank, agency, 046, "00", account, 047.  B: "0", cheque number, 048.
  std::string a;
  a.append(c + 8, 3).append(c, 3).append(c + 3, 4).push_back(v046[0]);
  a.append("00").append(c + 19, 10).push_back(v047[0]);
  std::string b = "0";
  b.append(c + 11, 6).push_back(v048[0]);

  if (v046[0] == '\0' || DigitoAgencia(a.c_str()) != v046[0]) return DIGITOS_INVALIDOS;
  if (v048[0] == '\0' || DigitoNumeroCheque(c + 11) != v048[0]) return DIGITOS_INVALIDOS;

  std::uint8_t conta[12];
  CodificaBCD(conta, a.c_str(), 12);

  // Cheques are numbered from occurrence 1; occurrence 0 has no place in the message.
  const std::int32_t o = campos[0]->ocorrencia - 1;
  if (o < 0) return QUANTIDADE_ERRADA;
  if (o == 0) {
    std::memcpy(dados + POS_CONTA_CHEQUE, conta, sizeof conta);
  } else {
    if (o >= n) return QUANTIDADE_ERRADA;
    // Compensation, bank, agency and the account's 6th and 7th digits must be the first cheque's.
    if (std::memcmp(dados + POS_CONTA_CHEQUE, conta, 5) != 0 || dados[POS_CONTA_CHEQUE + 9] != conta[9])
      return CONTAS_DIFERENTES;
  }

  std::uint8_t* destino = dados + POS_PRIMEIRO_CHEQUE + TAM_CHEQUE * o;
  CodificaBCD(destino, b.c_str(), 4);
  CodificaBCD(destino + 4, campos[1]->valor.c_str(), TAM_CAMPO_044);
  CodificaBCD(destino + 10, campos[2]->valor.c_str(), TAM_CAMPO_045);
  return CHEQUE_ACEITO;
}

int ValidaCheques(std::uint8_t* dados, const TG& transacao, std::int32_t j) {
  int r = VerificaCheque(dados, transacao, j);
  if (r >= 1 && r < NUM_MENSAGENS_CHEQUE) throw Erro(mensagensCheque[r]);
  // An accepted cheque of n has its 044 and 045 n and 2 n places after its 043. Its bytes are
  // written by then, but nothing is sent once the assembly throws.
  const std::int64_t n = dados[POS_NUMERO_CHEQUES];
  const std::pair<int, int> bcd[] = {{1, TAM_CAMPO_044}, {2, TAM_CAMPO_045}};
  for (const auto& [m, tamanho] : bcd) {
    const TA* campo = Campo(transacao, j + m * n);
    if (campo && !CabeEmBCD(campo->valor.c_str(), tamanho)) CampoInvalido(campo->numero, campo->ocorrencia);
  }
  return r;
}
