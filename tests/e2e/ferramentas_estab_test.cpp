// zelp-estab: files it creates are accepted by the gateway's reader; verifica tells valid from
// tampered, short and unreadable files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "ferramentas_apoio.h"
#include "comum/Erro.h"
#include "hostlink/Estabelecimento.h"

namespace {

using namespace std::chrono_literals;

struct Execucao {
  int status = -1;
  std::string saida;
};

Execucao Estab(const DiretorioTemporario& dir, const std::vector<std::string>& args) {
  Processo p(CaminhoPrograma("zelp-estab"), args, dir.Caminho(), dir / "estab.out");
  Execucao e;
  EXPECT_TRUE(p.Espera(10s, e.status)) << "zelp-estab did not end";
  e.saida = p.Saida();
  return e;
}

TEST(ZelpEstab, CriaUmArquivoQueOGatewayAceitaEVerificaDizValido) {
  DiretorioTemporario dir;
  const mode_t umaskAntes = ::umask(022);
  Execucao e = Estab(dir, {"cria", "loja.dat", "12345678", "CHAVE001", "LOJA DEMO"});
  ::umask(umaskAntes);
  ASSERT_EQ(e.status, 0) << e.saida;
  // It holds the merchant's key: not for everyone to read.
  EXPECT_EQ(std::filesystem::status(dir / "loja.dat").permissions(), std::filesystem::perms(0640));
  const std::string arquivo = dir.Le("loja.dat");
  ASSERT_EQ(arquivo.size(), 206u);
  EXPECT_EQ(arquivo.substr(0, 9), "LOJA DEMO");
  EXPECT_EQ(arquivo.substr(90, 8), "CHAVE001");
  EXPECT_EQ(arquivo.substr(153, 8), "00000000");
  EXPECT_EQ(arquivo.substr(193, 9), "012345678");
  EXPECT_FALSE(dir.Existe("loja.dat.tmp"));

  // The gateway's own reader takes it, with both establishment texts.
  TEstabelecimento estab;
  ASSERT_NO_THROW(LeEstabelecimento((dir / "loja.dat").c_str(), estab));
  EXPECT_EQ(estab.texto1, "012345678");
  EXPECT_EQ(estab.texto2, "012345000000000");

  e = Estab(dir, {"verifica", "loja.dat"});
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.saida.rfind("valid:", 0), 0u) << e.saida;
  const std::string gravado = arquivo.substr(202, 4);
  EXPECT_NE(e.saida.find("stored check value:   " + gravado), std::string::npos) << e.saida;
  EXPECT_NE(e.saida.find("computed check value: " + gravado), std::string::npos) << e.saida;
}

TEST(ZelpEstab, CodigoCurtoCompletadoComZerosEChaveCurtaComEspacos) {
  DiretorioTemporario dir;
  ASSERT_EQ(Estab(dir, {"cria", "e.dat", "42", "AB"}).status, 0);
  const std::string arquivo = dir.Le("e.dat");
  ASSERT_EQ(arquivo.size(), 206u);
  EXPECT_EQ(arquivo.substr(193, 9), "000000042");
  EXPECT_EQ(arquivo.substr(90, 8), "AB      ");
  TEstabelecimento estab;
  ASSERT_NO_THROW(LeEstabelecimento((dir / "e.dat").c_str(), estab));
  EXPECT_EQ(estab.texto1, "000000042");
}

TEST(ZelpEstab, OBlocoCifradoMudaOVerificadorEContinuaValido) {
  DiretorioTemporario dir;
  ASSERT_EQ(Estab(dir, {"cria", "a.dat", "12345678", "CHAVE001"}).status, 0);
  ASSERT_EQ(Estab(dir, {"cria", "b.dat", "12345678", "CHAVE001", "--bloco", "A1B2C3D4"}).status, 0);
  const std::string a = dir.Le("a.dat"), b = dir.Le("b.dat");
  ASSERT_EQ(b.size(), 206u);
  EXPECT_EQ(b.substr(153, 8), "A1B2C3D4");
  EXPECT_NE(a.substr(202, 4), b.substr(202, 4));
  EXPECT_EQ(Estab(dir, {"verifica", "b.dat"}).status, 0);
}

TEST(ZelpEstab, QualquerByteAlteradoDeZeroA205TornaOArquivoInvalido) {
  DiretorioTemporario dir;
  ASSERT_EQ(Estab(dir, {"cria", "base.dat", "98765432", "K3Y|ab!"}).status, 0);
  const std::string original = dir.Le("base.dat");
  ASSERT_EQ(original.size(), 206u);
  for (std::size_t posicao : {0u, 89u, 90u, 97u, 120u, 153u, 160u, 193u, 201u, 202u, 205u}) {
    std::string alterado = original;
    alterado[posicao] = static_cast<char>(alterado[posicao] ^ 0x01);
    dir.Escreve("alterado.dat", alterado);
    const Execucao e = Estab(dir, {"verifica", "alterado.dat"});
    EXPECT_EQ(e.status, 1) << "byte " << posicao;
    EXPECT_EQ(e.saida.rfind("invalid:", 0), 0u) << e.saida;
    // Both values are shown, and they differ.
    const std::size_t g = e.saida.find("stored check value:   ");
    const std::size_t c = e.saida.find("computed check value: ");
    ASSERT_NE(g, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    EXPECT_EQ(e.saida.substr(g + 22, 4), alterado.substr(202, 4));
    EXPECT_NE(e.saida.substr(g + 22, 4), e.saida.substr(c + 22, 4));
    // The gateway refuses the same file as tampered.
    TEstabelecimento estab;
    try {
      LeEstabelecimento((dir / "alterado.dat").c_str(), estab);
      ADD_FAILURE() << "byte " << posicao << " accepted by the gateway";
    } catch (const Erro& erro) {
      EXPECT_STREQ(erro.Texto(), "*ZELP* Arquivo de Estabelecimento Adulterado");
    }
  }
  // Bytes after the 206th are not part of the file.
  dir.Escreve("longo.dat", original + "X");
  const Execucao longo = Estab(dir, {"verifica", "longo.dat"});
  EXPECT_EQ(longo.status, 0) << longo.saida;
}

TEST(ZelpEstab, ArquivoCurtoEInvalidoEArquivoAusenteEErro) {
  DiretorioTemporario dir;
  ASSERT_EQ(Estab(dir, {"cria", "base.dat", "1", "K"}).status, 0);
  dir.Escreve("curto.dat", dir.Le("base.dat").substr(0, 205));
  Execucao e = Estab(dir, {"verifica", "curto.dat"});
  EXPECT_EQ(e.status, 1);
  EXPECT_NE(e.saida.find("205 bytes"), std::string::npos) << e.saida;
  e = Estab(dir, {"verifica", "nao-existe.dat"});
  EXPECT_EQ(e.status, 3);
}

TEST(ZelpEstab, ArgumentosErradosSaoRecusadosSemGravarNada) {
  DiretorioTemporario dir;
  const std::vector<std::vector<std::string>> errados = {
      {},
      {"outro"},
      {"cria", "x.dat", "123"},
      {"cria", "x.dat", "12A", "CHAVE"},
      {"cria", "x.dat", "1234567890", "CHAVE"},
      // Nine digits: field 901 of the host message would lose the first.
      {"cria", "x.dat", "123456789", "CHAVE"},
      {"cria", "x.dat", "123", "CHAVE", "--bogus"},
      {"cria", "x.dat", "123", "CHAVE0012"},
      {"cria", "x.dat", "123", ""},
      {"cria", "x.dat", "123", "CHAVE", std::string(91, 'N')},
      {"cria", "x.dat", "123", "CHAVE", "--bloco", "1234567"},
      {"cria", "x.dat", "123", "CHAVE", "NOME", "sobra"},
      {"verifica"},
  };
  for (const auto& args : errados) {
    const Execucao e = Estab(dir, args);
    EXPECT_EQ(e.status, 2) << (args.empty() ? std::string("(nada)") : args.back());
  }
  EXPECT_FALSE(dir.Existe("x.dat"));
  // A ninth digit that is a leading zero loses nothing.
  EXPECT_EQ(Estab(dir, {"cria", "x.dat", "012345678", "CHAVE"}).status, 0);
}

TEST(ZelpEstab, AjudaVersaoEOpcaoDesconhecida) { VerificaOpcoesComuns("zelp-estab"); }

}  // namespace
