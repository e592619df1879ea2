// Error responses: the shape of a refusal of the type, "85", the kept 003, and the log line.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "ApoioCodec.h"
#include "codec/DecodificaResposta.h"
#include "codec/MensagemCampoInvalido.h"
#include "codec/RespostaErro.h"
#include "log/GravaLog.h"

namespace {

using Linhas_t = std::vector<std::string>;

// Lines that reach the window while a test runs.
std::mutex travaJanela;
std::vector<std::string> linhasJanela;
void Captura(const char* linha) {
  std::lock_guard<std::mutex> trava(travaJanela);
  linhasJanela.emplace_back(linha);
}

class RespostaErro : public ::testing::Test {
 protected:
  void SetUp() override {
    zelp_log::DefineDirLog("");
    {
      std::lock_guard<std::mutex> trava(travaJanela);
      linhasJanela.clear();
    }
    zelp_log::DefineSaidaJanela(&Captura);
  }
  void TearDown() override { zelp_log::DefineSaidaJanela(nullptr); }
  static std::vector<std::string> Janela() {
    std::lock_guard<std::mutex> trava(travaJanela);
    return linhasJanela;
  }
};

TEST_F(RespostaErro, Codigo31) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, "31"}, {3, 0, "12345678901234567890"}, {98, 0, "X"}});
  MontaRespostaErro(t, "00 *ZELP* Erro na comunicação(Conexão)");
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=CRT", "001-000=00000123", "003-000=123456789012345", "009-000=85",
                                 "012-000=", "013-000=", "022-000=", "023-000=",
                                 "030-000=00 *ZELP* Erro na comunicação(Conexão)", "032-000=", "370-000=",
                                 "999-999="}));
}

TEST_F(RespostaErro, Codigo59SemCampoDeMensagem) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "7"}, {11, 0, "59"}, {3, 0, "100"}});
  MontaRespostaErro(t, "*ZELP* Campo(s) [007-000] faltando");
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=CRT", "001-000=00000007", "009-000=85", "012-000=", "013-000=",
                                 "022-000=", "023-000=", "032-000=", "999-999="}));
}

TEST_F(RespostaErro, TipoDesconhecido) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "123"}, {11, 0, "99"}, {3, 0, "100"}});
  ASSERT_EQ(t.tipo, -1);
  MontaRespostaErro(t, "*ZELP* Campo [011-000 = 99] invalido");
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=???", "001-000=00000123", "030-000=*ZELP* Campo [011-000 = 99] invalido",
                                 "999-999="}));
}

TEST_F(RespostaErro, CodigoCheque14) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CHQ"}, {1, 0, "1"}, {11, 0, "14"}});
  MontaRespostaErro(t, "*ZELP* Faltam dados do cheque");
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=CHQ", "001-000=00000001", "003-000=", "009-000=85", "012-000=",
                                 "013-000=", "022-000=", "023-000=", "030-000=*ZELP* Faltam dados do cheque",
                                 "032-000=", "370-000=", "999-999="}));
}

TEST_F(RespostaErro, GrupoRepetidoDaUmCampoSo) {
  // R109: 325 is the only repeated field a refusal carries; it comes once, occurrence 0.
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "109"}});
  MontaRespostaErro(t, "x");
  EXPECT_EQ(Linhas(t), (Linhas_t{"000-000=CRT", "001-000=00000001", "003-000=", "009-000=85", "012-000=",
                                 "013-000=", "022-000=", "023-000=", "030-000=x", "032-000=", "097-000=", "100-000=",
                                 "325-000=", "370-000=", "999-999="}));
}

TEST_F(RespostaErro, Guarda003DoUltimoCampo003) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}, {3, 0, "AAA"}, {3, 5, "BBB"}, {98, 0, "X"}});
  MontaRespostaErro(t, "m");
  EXPECT_EQ(Valor(t, 3, 0), "BBB");
}

TEST_F(RespostaErro, Guarda003DaRespostaDecodificada) {
  // A decoding that failed half-way leaves response fields; their 003 is the one kept.
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}, {3, 0, "111"}});
  std::vector<std::uint8_t> dados(230, 0);
  dados[64] = 0x42;
  DecodificaResposta(t, dados.data(), 230, t.Tipo().resposta);
  MontaRespostaErro(t, "m");
  EXPECT_EQ(Valor(t, 3, 0), "000000000042");
}

TEST_F(RespostaErro, MensagemLongaCortadaEmTextoERegistro) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}});
  const std::string longa(1500, 'L');
  MontaRespostaErro(t, longa.c_str());
  EXPECT_EQ(Valor(t, 30, 0), std::string(1023, 'L'));
}

TEST_F(RespostaErro, TextoRegistradoSemInterpretacao) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}});
  const char* texto = "*ZELP* Campo [000-000 = %s%n%d] invalido";
  MontaRespostaErro(t, texto);
  EXPECT_EQ(Valor(t, 30, 0), texto);
  EXPECT_EQ(Janela(), (std::vector<std::string>{texto}));
}

TEST_F(RespostaErro, SemTextoDaRespostaVazia) {
  TG t;
  PreencheTransacao(t, {{0, 0, "CRT"}, {1, 0, "1"}, {11, 0, "31"}});
  MontaRespostaErro(t, nullptr);
  EXPECT_EQ(Valor(t, 30, 0), "");
  EXPECT_EQ(Valor(t, 9, 0), "85");
}

TEST(MensagemCampoInvalido, Formato) {
  char buffer[TAM_MENSAGEM];
  EXPECT_STREQ(MensagemCampoInvalido(buffer, 0, 0, "CHQ"), "*ZELP* Campo [000-000 = CHQ] invalido");
  EXPECT_STREQ(MensagemCampoInvalido(buffer, 11, 0, "%s"), "*ZELP* Campo [011-000 = %s] invalido");
  const std::string longo(2000, 'v');
  const char* texto = MensagemCampoInvalido(buffer, 0, 0, longo.c_str());
  EXPECT_EQ(std::string(texto).size(), TAM_MENSAGEM - 1);
  EXPECT_EQ(texto, buffer);
}

}  // namespace
