// Response decoding: decoders, approval and refusal variants, repetition counts, overflow.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "catalogo/Catalogo.h"
#include "codec/DecodificaResposta.h"
#include "codec/Decodificadores.h"
#include "comum/Erro.h"

namespace {

using Linhas_t = std::vector<std::string>;

// Response data of `tamanho` bytes, zero but where written.
struct Dados {
  std::vector<std::uint8_t> bytes;
  explicit Dados(std::size_t tamanho) : bytes(tamanho, 0) {}
  Dados& Em(std::size_t pos, const std::string& texto) {
    std::memcpy(bytes.data() + pos, texto.data(), texto.size());
    return *this;
  }
  Dados& Hexa(std::size_t pos, const char* hex) {
    auto b = BytesDeHex(hex);
    std::memcpy(bytes.data() + pos, b.data(), b.size());
    return *this;
  }
  std::int32_t Tamanho() const { return static_cast<std::int32_t>(bytes.size()); }
};

TG Transacao(int codigo) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, std::to_string(codigo)}, {3, 0, "999"}});
  return t;
}

Linhas_t Decodifica(int codigo, const Dados& d) {
  TG t = Transacao(codigo);
  DecodificaResposta(t, d.bytes.data(), d.Tamanho(), t.Tipo().resposta);
  return Linhas(t);
}

// A code-31 family response (R31, 230 bytes) with every field written.
Dados RespostaR31(const char* codigoResposta) {
  Dados d(230);
  d.Em(8, codigoResposta)
      .Hexa(10, "00 00 00 12 34")  // 013
      .Hexa(15, "12 30 45")        // 023
      .Hexa(18, "20 26 01 31")     // 022
      .Em(26, "A1B2")              // 032
      .Hexa(48, "12 34 56")        // 012
      .Hexa(59, "00 00 00 01 50 00")  // 003
      .Em(71, "APROVADA")          // 370
      .Em(159, "SALDO INSUFICIENTE");  // 030
  return d;
}

TEST(DecodificaResposta, AprovacaoOmiteOsCamposDeRecusa) {
  EXPECT_EQ(Decodifica(31, RespostaR31("00")),
            (Linhas_t{"000-000=CRT", "001-000=00000123", "003-000=000000015000", "009-000=00", "012-000=123456",
                      "013-000=0000001234", "022-000=20260131", "023-000=123045", "032-000=A1B2",
                      "370-000=APROVADA", "999-999="}));
}

TEST(DecodificaResposta, RecusaTrazOTextoDoHost) {
  EXPECT_EQ(Decodifica(31, RespostaR31("05")),
            (Linhas_t{"000-000=CRT", "001-000=00000123", "003-000=000000015000", "009-000=05", "012-000=123456",
                      "013-000=0000001234", "022-000=20260131", "023-000=123045", "030-000=SALDO INSUFICIENTE",
                      "032-000=A1B2", "370-000=APROVADA", "999-999="}));
}

TEST(DecodificaResposta, AprovacaoERecusaDosCamposSoDeAprovacao) {
  // R57: 095, 096, 097 only for an approval, 030 only for a refusal.
  Dados d(230);
  d.Em(8, "00").Em(114, "DOC97").Em(128, "DOC96").Em(142, "DOC95").Em(159, "RECUSADA");
  Linhas_t aprovada = Decodifica(57, d);
  EXPECT_EQ(aprovada, (Linhas_t{"000-000=CRT", "001-000=00000123", "009-000=00", "012-000=000000",
                                "013-000=0000000000", "022-000=00000000", "023-000=000000", "032-000=",
                                "095-000=DOC95", "096-000=DOC96", "097-000=DOC97", "999-999="}));
  d.Em(8, "51");
  Linhas_t recusada = Decodifica(57, d);
  EXPECT_EQ(recusada, (Linhas_t{"000-000=CRT", "001-000=00000123", "009-000=51", "012-000=000000",
                                "013-000=0000000000", "022-000=00000000", "023-000=000000", "030-000=RECUSADA",
                                "032-000=", "999-999="}));
}

struct CasoVariante {
  int codigo;
  const char* resposta;
  bool aprovacao;
};

void PrintTo(const CasoVariante& c, std::ostream* os) { *os << "code " << c.codigo << " '" << c.resposta << "'"; }

class Variante : public ::testing::TestWithParam<CasoVariante> {};

TEST_P(Variante, EscolhidaPeloCodigoDeResposta) {
  const CasoVariante& c = GetParam();
  Dados d(1000);
  d.Em(8, c.resposta).Em(159, "TEXTO");
  TG t = Transacao(c.codigo);
  DecodificaResposta(t, d.bytes.data(), d.Tamanho(), t.Tipo().resposta);
  // 030 is decoded only for a refusal, in every layout used here.
  EXPECT_EQ(t.Procura(30, 0) != nullptr, !c.aprovacao) << c.codigo << " '" << c.resposta << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Codigos, Variante,
    ::testing::Values(CasoVariante{31, "00", true}, CasoVariante{31, "05", false}, CasoVariante{31, "  ", true},
                      CasoVariante{31, "27", false}, CasoVariante{109, "27", true}, CasoVariante{109, "26", true},
                      CasoVariante{109, "28", true}, CasoVariante{109, "29", false}, CasoVariante{109, "25", false},
                      CasoVariante{41, "27", true}, CasoVariante{102, "26", true}, CasoVariante{105, "28", true},
                      CasoVariante{110, "27", true}, CasoVariante{121, "27", false},
                      CasoVariante{31, "0p", true},   // low 4 bits of "p" are 0
                      CasoVariante{31, "B7", false}));  // "B" counts as 2: 27, a refusal for code 31

TEST(DecodificaResposta, SeletorEValorDosDigitos) {
  EXPECT_EQ(ValorDigitos("00", 2), 0);
  EXPECT_EQ(ValorDigitos("  ", 2), 0);
  EXPECT_EQ(ValorDigitos("27", 2), 27);
  EXPECT_EQ(ValorDigitos("7", 1), 7);
  EXPECT_EQ(ValorDigitos("123", 3), 123);
  for (int codigo : {41, 102, 105, 109, 110}) {
    for (int v : {26, 27, 28}) EXPECT_EQ(SeletorVariante(v, codigo), -1) << codigo << " " << v;
    for (int v : {1, 25, 29, 85}) EXPECT_EQ(SeletorVariante(v, codigo), 1) << codigo << " " << v;
  }
  for (int codigo : {14, 20, 31, 121, 125}) EXPECT_EQ(SeletorVariante(27, codigo), 1) << codigo;
}

struct CasoRepeticao {
  std::uint8_t contagem;
  int ocorrencias;
};

void PrintTo(const CasoRepeticao& c, std::ostream* os) { *os << "count byte " << int(c.contagem); }

class Repeticao : public ::testing::TestWithParam<CasoRepeticao> {};

TEST_P(Repeticao, Codigo109) {
  Dados d(910);
  d.Em(8, "00");
  d.bytes[279] = GetParam().contagem;
  for (int k = 0; k < 10; ++k) d.bytes[static_cast<std::size_t>(284 + 63 * k)] = static_cast<std::uint8_t>(k + 1);
  TG t = Transacao(109);
  DecodificaResposta(t, d.bytes.data(), d.Tamanho(), t.Tipo().resposta);
  const int n = GetParam().ocorrencias;
  for (int k = 1; k <= 10; ++k) {
    // 314 is a repeated binary field at 284: occurrence k reads the byte of repetition k.
    if (k <= n) {
      char esperado[4];
      std::snprintf(esperado, sizeof esperado, "%03d", k);
      EXPECT_EQ(Valor(t, 314, k), esperado) << "count " << int(GetParam().contagem);
      EXPECT_NE(t.Procura(328, k), nullptr);
    } else {
      EXPECT_EQ(t.Procura(314, k), nullptr) << "count " << int(GetParam().contagem) << " occurrence " << k;
    }
  }
  EXPECT_EQ(t.Procura(314, 0), nullptr);
  EXPECT_EQ(t.Procura(314, 11), nullptr);
  char contagem[4];
  std::snprintf(contagem, sizeof contagem, "%03d", GetParam().contagem);
  EXPECT_EQ(Valor(t, 312, 0), contagem);
}

INSTANTIATE_TEST_SUITE_P(Contagens, Repeticao,
                         ::testing::Values(CasoRepeticao{3, 3}, CasoRepeticao{0, 1}, CasoRepeticao{12, 10},
                                           CasoRepeticao{0xC8, 1}, CasoRepeticao{10, 10}, CasoRepeticao{0x7F, 10},
                                           CasoRepeticao{0x80, 1}));

TEST(DecodificaResposta, OrdemDoLayoutComOcorrenciasJuntas) {
  // Code 109 refusal with count 2: only fields for a refusal, 325 (always decoded) twice.
  Dados d(910);
  d.Em(8, "05").Em(159, "NEGADA").Em(335, "AA").Em(335 + 63, "BB");
  d.bytes[279] = 2;
  EXPECT_EQ(Decodifica(109, d),
            (Linhas_t{"000-000=CRT", "001-000=00000123", "003-000=000000000000", "009-000=05", "012-000=000000",
                      "013-000=0000000000", "022-000=00000000", "023-000=000000", "030-000=NEGADA", "032-000=",
                      "097-000=000000000000", "100-000=", "325-001=AA", "325-002=BB", "370-000=", "999-999="}));
}

TEST(DecodificaResposta, BytesNaoEnviadosLidosComoZero) {
  // Only the first 80 bytes arrived: 370 (71..95) is cut at 80, 030 and beyond read as zero,
  // whatever lies in memory past the data.
  Dados d(230);
  d.Em(8, "05").Em(71, "ABCDEFGHIJKLMNOPQRSTUVWXY").Em(159, "LIXO").Hexa(59, "00 00 00 00 00 00");
  d.bytes[62] = 0x99;
  TG t = Transacao(31);
  DecodificaResposta(t, d.bytes.data(), 80, t.Tipo().resposta);
  EXPECT_EQ(Valor(t, 370, 0), "ABCDEFGHI");
  EXPECT_EQ(Valor(t, 30, 0), "");
  EXPECT_EQ(Valor(t, 3, 0), "000000990000");
  // Nothing arrived at all: the code reads as 00 (approval) and every field is zero or empty.
  TG vazia = Transacao(31);
  DecodificaResposta(vazia, d.bytes.data(), 0, vazia.Tipo().resposta);
  EXPECT_EQ(Valor(vazia, 9, 0), "");
  EXPECT_EQ(Valor(vazia, 3, 0), "000000000000");
  EXPECT_EQ(vazia.Procura(30, 0), nullptr);
}

TEST(DecodificaResposta, TabelaCheiaRecusada) {
  // A layout of 10 repeated one-byte fields and 30 repetitions: 2 + 300 fields would not fit.
  static const TLayoutCampo definicoes[] = {
      {0, -1, 0, 0, 0, 0},      {1, -1, 0, 0, 0, 0},      {100, 10, 1, 5, 1, 0}, {101, 11, 1, 5, 1, 0},
      {102, 12, 1, 5, 1, 0},    {103, 13, 1, 5, 1, 0},    {104, 14, 1, 5, 1, 0}, {105, 15, 1, 5, 1, 0},
      {106, 16, 1, 5, 1, 0},    {107, 17, 1, 5, 1, 0},    {108, 18, 1, 5, 1, 0}, {109, 19, 1, 5, 1, 0},
      {999, -1, 20, 0, 0, 0}};
  const TLayoutMensagem layout{definicoes, 13, 10, 2, 30};
  Dados d(320);
  d.bytes[2] = 30;
  TG t = Transacao(31);
  try {
    DecodificaResposta(t, d.bytes.data(), d.Tamanho(), layout);
    ADD_FAILURE() << "no refusal";
  } catch (const Erro& e) {
    EXPECT_STREQ(e.Texto(), "*ZELP* NUMERO DE CAMPOS EXCEDIDO!");
  }
  EXPECT_EQ(t.quantidade, 255);
  d.bytes[2] = 25;  // 2 + 250 + 999 fits
  TG cabe = Transacao(31);
  EXPECT_EQ(DecodificaResposta(cabe, d.bytes.data(), d.Tamanho(), layout), 253);
}

struct CasoDecodificador {
  const char* nome;
  int tipo;
  const char* bytes;
  int tamanho;
  std::string esperado;
};

void PrintTo(const CasoDecodificador& c, std::ostream* os) { *os << c.nome; }

class Decodificador : public ::testing::TestWithParam<CasoDecodificador> {};

TEST_P(Decodificador, Texto) {
  const CasoDecodificador& c = GetParam();
  std::vector<std::uint8_t> origem = BytesDeHex(c.bytes);
  origem.resize(300, 0);
  char texto[TAM_DECODIFICACAO];
  std::memset(texto, 'Z', sizeof texto);
  DecodificaValor(texto, origem.data(), c.tamanho, c.tipo);
  EXPECT_EQ(std::string(texto), c.esperado) << c.nome;
}

INSTANTIATE_TEST_SUITE_P(
    Tipos, Decodificador,
    ::testing::Values(
        CasoDecodificador{"binario ff", TIPO_BINARIO, "ff", 1, "255"},
        CasoDecodificador{"binario 07", TIPO_BINARIO, "07", 1, "007"},
        CasoDecodificador{"binario 00", TIPO_BINARIO, "00", 1, "000"},
        CasoDecodificador{"bcd 4a", TIPO_BCD, "4a", 1, "4:"},
        CasoDecodificador{"bcd varios", TIPO_BCD, "01 23 ff", 3, "0123??"},
        CasoDecodificador{"hexa", TIPO_HEXA, "ab 01 f0", 3, "ab01f0"},
        CasoDecodificador{"numerico 25 espacos", TIPO_NUMERICO,
                          "20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20", 25,
                          std::string(25, ' ')},
        CasoDecodificador{"numerico ate o primeiro zero", TIPO_NUMERICO, "41 42 00 43", 4, "AB"},
        CasoDecodificador{"numerico nao enviado", TIPO_NUMERICO, "", 25, ""},
        CasoDecodificador{"caracter", TIPO_CARACTER, "4d", 1, "M"},
        CasoDecodificador{"caracter zero", TIPO_CARACTER, "00", 1, ""},
        CasoDecodificador{"tipo sem conversao 0", TIPO_NENHUM, "41", 1, ""},
        CasoDecodificador{"tipo sem conversao 8", TIPO_PREFIXO_BCD, "41", 1, ""},
        CasoDecodificador{"tipo sem conversao 11", TIPO_TEXTO_NUL, "41", 1, ""},
        CasoDecodificador{"tipo sem conversao 77", 77, "41", 1, ""},
        CasoDecodificador{"numerico de tamanho 0", TIPO_NUMERICO, "41", 0, ""}));

TEST(Decodificadores, ComprimentosAcimaDoBufferSaoCortados) {
  std::vector<std::uint8_t> origem(400, 'x');
  char texto[TAM_DECODIFICACAO];
  DecodificaValor(texto, origem.data(), 400, TIPO_NUMERICO);
  EXPECT_EQ(std::strlen(texto), 259u);
  DecodificaValor(texto, origem.data(), 200, TIPO_BCD);
  EXPECT_EQ(std::strlen(texto), 258u);
  DecodificaValor(texto, origem.data(), 200, TIPO_HEXA);
  EXPECT_EQ(std::strlen(texto), 258u);
  DecodificaValor(texto, origem.data(), -5, TIPO_NUMERICO);
  EXPECT_EQ(std::strlen(texto), 0u);
}

}  // namespace
