// The cheque block: check digits, accepted cheques with their bytes, and every refusal.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "codec/Cheques.h"
#include "codec/DigitosCheque.h"
#include "codec/PreparaPedido.h"
#include "comum/Erro.h"

namespace {

// Cheque 1: bank 237, agency 1234, compensation 018, number 000101, account 0001234567.
const char* const CMC7_1 = "237123470180001015200012345674";
// Cheque 2 on the same account, number 000102.
const char* const CMC7_2 = "237123460180001025200012345674";
// Number 000102 on agency 1235: another account.
const char* const CMC7_OUTRA_AGENCIA = "237123560180001025900012345674";
// Number 000102, agency 1234, account 9990034000: differs from cheque 1's account except in its
// 6th and 7th digits.
const char* const CMC7_OUTRA_CONTA = "237123460180001025299900340003";

struct Cheque {
  int k;
  std::string cmc7, v044, v045, v046, v047, v048;
};

void AcrescentaCheque(std::vector<CampoTeste>& campos, const Cheque& c) {
  campos.push_back({43, c.k, c.cmc7});
  campos.push_back({44, c.k, c.v044});
  campos.push_back({45, c.k, c.v045});
  campos.push_back({46, c.k, c.v046});
  campos.push_back({47, c.k, c.v047});
  campos.push_back({48, c.k, c.v048});
}

Cheque Primeiro() { return {1, CMC7_1, "15000", "1012024", "4", "9", "5"}; }
Cheque Segundo() { return {2, CMC7_2, "250", "20260315", "4", "9", "3"}; }

std::vector<CampoTeste> Pedido20(int numeroCheques, const std::vector<Cheque>& cheques) {
  std::vector<CampoTeste> campos = {{0, 0, "CHQ"}, {1, 0, "4"},  {11, 0, "20"}, {3, 0, "1"},
                                    {6, 0, "1"},   {7, 0, "P1"}, {14, 0, "1"},  {42, 0, std::to_string(numeroCheques)},
                                    {999, 999, ""}};
  for (const Cheque& c : cheques) AcrescentaCheque(campos, c);
  return campos;
}

std::string Recusa(const std::vector<CampoTeste>& campos) {
  TG transacao;
  PreencheTransacao(transacao, campos, "000054321");
  try {
    PreparaPedido(transacao);
  } catch (const Erro& e) {
    return e.Texto();
  }
  return "";
}

TEST(DigitosCheque, Modulo10) {
  EXPECT_EQ(DigitoModulo10("0000001", 7), '8');
  EXPECT_EQ(DigitoModulo10("1234567", 7), '4');
  EXPECT_EQ(DigitoModulo10("0000000", 7), '0');
  EXPECT_EQ(DigitoModulo10("0180001015", 10), '7');
}

TEST(DigitosCheque, Modulo11EDigitoDaAgencia) {
  EXPECT_EQ(RestoModulo11("0182371234", 9), 7);
  EXPECT_EQ(DigitoAgencia("0182371234"), '4');     // remainder 7: 11 - 7
  EXPECT_EQ(DigitoAgencia("0182371235"), '2');     // remainder 9
  EXPECT_EQ(DigitoAgencia("0002372000"), '0');     // remainder 1
  EXPECT_EQ(DigitoAgencia("0000310003"), '1');     // remainder 0, bank 031
  EXPECT_EQ(DigitoAgencia("0002371100"), '0');     // remainder 0, any other bank
}

TEST(DigitosCheque, NumeroDoCheque) {
  EXPECT_EQ(DigitoNumeroCheque("000101"), '5');
  EXPECT_EQ(DigitoNumeroCheque("000102"), '3');
  EXPECT_EQ(DigitoNumeroCheque("000000"), '0');  // remainder 0
  EXPECT_EQ(RestoModulo11("000005", 5), 10);
  EXPECT_EQ(DigitoNumeroCheque("000005"), '1');
}

TEST(Cheques, UmChequeValido) {
  TG transacao;
  PreencheTransacao(transacao, Pedido20(1, {Primeiro()}), "000054321");
  BF quadro = PreparaPedido(transacao);
  ASSERT_EQ(quadro.tamanho, 8 + 78);
  const std::uint8_t* dados = quadro.dados.get() + 8;
  EXPECT_EQ(dados[51], 1);
  EXPECT_EQ(Hex(dados + 52, 12), "01 82 37 12 34 40 00 00 12 34 56 79");
  EXPECT_EQ(Hex(dados + 64, 4), "00 00 10 15");
  EXPECT_EQ(Hex(dados + 68, 6), "00 00 00 01 50 00");  // 044 = 15000
  EXPECT_EQ(Hex(dados + 74, 4), "01 01 20 24");        // 045 = 1012024
}

TEST(Cheques, MesmaContaSoComOutrosDigitosDaConta) {
  Cheque segundo = Segundo();
  segundo.cmc7 = CMC7_OUTRA_CONTA;
  TG transacao;
  PreencheTransacao(transacao, Pedido20(2, {Primeiro(), segundo}), "000054321");
  BF quadro = PreparaPedido(transacao);
  ASSERT_EQ(quadro.tamanho, 8 + 92);
  const std::uint8_t* dados = quadro.dados.get() + 8;
  EXPECT_EQ(Hex(dados + 52, 12), "01 82 37 12 34 40 00 00 12 34 56 79") << "the first cheque's block stays";
  EXPECT_EQ(Hex(dados + 78, 4), "00 00 10 23");
}

struct CasoCheque {
  const char* nome;
  std::function<std::vector<CampoTeste>()> campos;
  const char* esperado;
};

void PrintTo(const CasoCheque& c, std::ostream* os) { *os << c.nome; }

class RecusaCheque : public ::testing::TestWithParam<CasoCheque> {};

TEST_P(RecusaCheque, Texto) { EXPECT_EQ(Recusa(GetParam().campos()), GetParam().esperado) << GetParam().nome; }

Cheque Com(Cheque c, std::string Cheque::*campo, std::string valor) {
  c.*campo = std::move(valor);
  return c;
}

std::string TrocaPosicao(std::string cmc7, std::size_t pos) {
  cmc7[pos] = cmc7[pos] == '9' ? '0' : static_cast<char>(cmc7[pos] + 1);
  return cmc7;
}

const CasoCheque casosCheque[] = {
    {"dois validos", [] { return Pedido20(2, {Primeiro(), Segundo()}); }, ""},
    {"segundo sem 046",
     [] {
       auto c = Pedido20(2, {Primeiro(), Segundo()});
       std::erase_if(c, [](const CampoTeste& f) { return f.numero == 46 && f.ocorrencia == 2; });
       return c;
     },
     "*ZELP* Faltam dados do cheque"},
    {"047 vazio", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v047, "")}); }, "*ZELP* Faltam dados do cheque"},
    {"digito da posicao 18 errado", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, TrocaPosicao(CMC7_1, 18))}); },
     "*ZELP* CMC7 invalido"},
    {"digito da posicao 7 errado", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, TrocaPosicao(CMC7_1, 7))}); },
     "*ZELP* CMC7 invalido"},
    {"digito da posicao 29 errado", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, TrocaPosicao(CMC7_1, 29))}); },
     "*ZELP* CMC7 invalido"},
    {"cmc7 curto", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, std::string(CMC7_1).substr(0, 29))}); },
     "*ZELP* CMC7 invalido"},
    {"cmc7 vazio", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, "")}); }, "*ZELP* CMC7 invalido"},
    {"cmc7 com letra", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, std::string(CMC7_1) + "X")}); },
     "*ZELP* CMC7 invalido"},
    {"cmc7 com caractere que passaria como digito",
     [] { std::string c = CMC7_1; c[17] = ':'; return Pedido20(1, {Com(Primeiro(), &Cheque::cmc7, c)}); },
     "*ZELP* CMC7 invalido"},
    {"046 errado", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v046, "5")}); },
     "*ZELP* Digitos verificadores invalidos"},
    {"046 vazio", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v046, "")}); },
     "*ZELP* Digitos verificadores invalidos"},
    {"048 errado", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v048, "6")}); },
     "*ZELP* Digitos verificadores invalidos"},
    {"047 nao e verificado", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v047, "X")}); }, ""},
    // 044 and 045 go to the host as BCD: refused when they would reach it as another number.
    {"044 com ponto decimal", [] { return Pedido20(2, {Primeiro(), Com(Segundo(), &Cheque::v044, "2.50")}); },
     "*ZELP* Campo [044-002] invalido"},
    {"045 perderia um digito", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v045, "120260315")}); },
     "*ZELP* Campo [045-001] invalido"},
    {"044 com zeros alem do campo", [] { return Pedido20(1, {Com(Primeiro(), &Cheque::v044, "00000000000015000")}); },
     ""},
    {"outra agencia",
     [] { return Pedido20(2, {Primeiro(), Com(Com(Segundo(), &Cheque::cmc7, CMC7_OUTRA_AGENCIA), &Cheque::v046, "2")}); },
     "*ZELP* Cheques de Contas Diferentes"},
    {"cheque de ocorrencia 0",
     [] { auto c = Primeiro(); c.k = 0; return Pedido20(1, {c}); }, "*ZELP* Quantidade de Cheques errado"},
    {"mais de 12 cheques recusados pela contagem", [] { return Pedido20(13, {Primeiro()}); },
     "*ZELP* Campo [042-000 = 13] invalido"},
};

INSTANTIATE_TEST_SUITE_P(Casos, RecusaCheque, ::testing::ValuesIn(casosCheque));

// VerificaCheque on its own, for the limits that the assembly normally refuses first.
class VerificaChequeDireto : public ::testing::Test {
 protected:
  std::uint8_t dados[64 + 12 * 14] = {};
  TG transacao;
};

TEST_F(VerificaChequeDireto, NumeroDeChequesAcimaDe12) {
  std::vector<CampoTeste> campos;
  AcrescentaCheque(campos, Primeiro());
  PreencheTransacao(transacao, campos);
  dados[51] = 13;
  EXPECT_EQ(VerificaCheque(dados, transacao, 0), 4);
  try {
    ValidaCheques(dados, transacao, 0);
    ADD_FAILURE() << "no refusal";
  } catch (const Erro& e) {
    EXPECT_STREQ(e.Texto(), "*ZELP* Numero de Cheques errado");
  }
}

TEST_F(VerificaChequeDireto, OcorrenciaAlemDoNumeroDeCheques) {
  std::vector<CampoTeste> campos;
  Cheque c = Segundo();  // occurrence 2 while the count says 1
  AcrescentaCheque(campos, c);
  PreencheTransacao(transacao, campos);
  dados[51] = 1;
  const std::vector<std::uint8_t> antes(std::begin(dados), std::end(dados));
  EXPECT_EQ(VerificaCheque(dados, transacao, 0), 6);
  EXPECT_EQ(std::vector<std::uint8_t>(std::begin(dados), std::end(dados)), antes) << "nothing written on refusal";
}

TEST_F(VerificaChequeDireto, CamposAlemDaTabelaSaoFaltantes) {
  std::vector<CampoTeste> campos = {{43, 1, CMC7_1}, {44, 1, "1"}};
  PreencheTransacao(transacao, campos);
  dados[51] = 1;
  EXPECT_EQ(VerificaCheque(dados, transacao, 0), 1);
  dados[51] = 0;  // every position is the 043 itself
  EXPECT_EQ(VerificaCheque(dados, transacao, 0), 1);
}

TEST_F(VerificaChequeDireto, MensagensPorCodigo) {
  EXPECT_STREQ(mensagensCheque[0], "");
  EXPECT_STREQ(mensagensCheque[1], "*ZELP* Faltam dados do cheque");
  EXPECT_STREQ(mensagensCheque[2], "*ZELP* CMC7 invalido");
  EXPECT_STREQ(mensagensCheque[3], "*ZELP* Digitos verificadores invalidos");
  EXPECT_STREQ(mensagensCheque[4], "*ZELP* Numero de Cheques errado");
  EXPECT_STREQ(mensagensCheque[5], "*ZELP* Cheques de Contas Diferentes");
  EXPECT_STREQ(mensagensCheque[6], "*ZELP* Quantidade de Cheques errado");
}

}  // namespace
