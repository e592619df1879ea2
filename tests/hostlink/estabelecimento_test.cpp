// Reading and verifying establishment files: sizes, tampering, the texts handed to the request.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "comum/Erro.h"
#include "hostlink/Des.h"
#include "hostlink/Estabelecimento.h"

namespace {

std::string LeDado(const std::string& nome) {
  std::string caminho = std::string(ZELP_DIR_DADOS_TESTE) + "/hostlink/" + nome;
  std::string conteudo;
  std::FILE* f = std::fopen(caminho.c_str(), "rb");
  if (f == nullptr) {
    ADD_FAILURE() << "missing " << caminho;
    return conteudo;
  }
  char buf[512];
  conteudo.assign(buf, std::fread(buf, 1, sizeof buf, f));
  std::fclose(f);
  return conteudo;
}

// Runs LeEstabelecimento and gives the text of the Erro it raised ("" when it returned true).
std::string Falha(const std::string& caminho, TEstabelecimento& estab) {
  try {
    EXPECT_TRUE(LeEstabelecimento(caminho.c_str(), estab));
    return "";
  } catch (const Erro& e) {
    return e.Texto();
  }
}

// Rewrites bytes 202..205 with the check value of the first 206 bytes.
void Assina(std::string& imagem) {
  char v[5];
  CalculaVerificador(reinterpret_cast<const std::uint8_t*>(imagem.data()), v);
  imagem.replace(202, 4, v, 4);
}

const TEstabelecimento INTOCADO{"intocado1", "intocado2"};

class LeEstabelecimentoTeste : public ::testing::Test {
 protected:
  CapturaLog log_;
  DiretorioTemporario dir_;
  TEstabelecimento estab_ = INTOCADO;

  void ExpectIntocado() {
    EXPECT_EQ(estab_.texto1, INTOCADO.texto1);
    EXPECT_EQ(estab_.texto2, INTOCADO.texto2);
  }
};

}  // namespace

TEST_F(LeEstabelecimentoTeste, ValidFileGivesBothTexts) {
  dir_.Escreve("a.dat", LeDado("estab-a.dat"));
  EXPECT_EQ(Falha(dir_ / "a.dat", estab_), "");
  EXPECT_EQ(estab_.texto1, "123456789");
  EXPECT_EQ(estab_.texto2, "123456000000000");
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(LeEstabelecimentoTeste, EverySharedVectorIsAccepted) {
  const char* nomes[] = {"estab-a.dat", "estab-b.dat", "estab-c.dat", "estab-d.dat", "estab-crc-ffff.dat"};
  const char* codigos[] = {"123456789", "000987654", "555000111", "482915036", nullptr};
  for (int i = 0; i < 5; ++i) {
    dir_.Escreve(nomes[i], LeDado(nomes[i]));
    EXPECT_EQ(Falha(dir_ / nomes[i], estab_), "") << nomes[i];
    if (codigos[i] != nullptr) {
      EXPECT_EQ(estab_.texto1, codigos[i]);
      EXPECT_EQ(estab_.texto2, std::string(codigos[i], 6) + "000000000");
    }
  }
}

TEST_F(LeEstabelecimentoTeste, SizesAroundTheFileLength) {
  const std::string imagem = LeDado("estab-a.dat");
  ASSERT_EQ(imagem.size(), 206u);

  dir_.Escreve("curto.dat", imagem.substr(0, 205));
  const std::string caminho = dir_ / "curto.dat";
  EXPECT_EQ(Falha(caminho, estab_), "*ZELP* Erro ao ler \"" + caminho + "\"");
  ExpectIntocado();
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Confira a disponibilidade do arquivo no diretorio"});

  dir_.Escreve("vazio.dat", "");
  EXPECT_EQ(Falha(dir_ / "vazio.dat", estab_), "*ZELP* Erro ao ler \"" + (dir_ / "vazio.dat") + "\"");
  ExpectIntocado();

  // Bytes after the 206th change nothing.
  dir_.Escreve("longo.dat", imagem + "Z");
  EXPECT_EQ(Falha(dir_ / "longo.dat", estab_), "");
  EXPECT_EQ(estab_.texto1, "123456789");
  dir_.Escreve("muito.dat", imagem + std::string(5000, '\xFF'));
  EXPECT_EQ(Falha(dir_ / "muito.dat", estab_), "");
}

TEST_F(LeEstabelecimentoTeste, MissingFileOrDirectory) {
  const std::string caminho = dir_ / "nao-existe.dat";
  EXPECT_EQ(Falha(caminho, estab_), "*ZELP* Erro ao acessar \"" + caminho + "\"");
  ExpectIntocado();
  EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Confira a disponibilidade do arquivo no diretorio"});

  // A directory opens but cannot be read as a file.
  std::string texto = Falha(dir_.Caminho(), estab_);
  EXPECT_TRUE(texto == "*ZELP* Erro ao ler \"" + dir_.Caminho() + "\"" ||
              texto == "*ZELP* Erro ao acessar \"" + dir_.Caminho() + "\"")
      << texto;
  ExpectIntocado();

  EXPECT_EQ(Falha("", estab_), "*ZELP* Erro ao acessar \"\"");
  try {
    LeEstabelecimento(nullptr, estab_);
    ADD_FAILURE() << "a null path was accepted";
  } catch (const Erro& e) {
    EXPECT_STREQ(e.Texto(), "*ZELP* Erro ao acessar \"\"");
  }
}

TEST_F(LeEstabelecimentoTeste, LongPathIsQuotedWhole) {
  std::string nome(200, 'n');
  dir_.Escreve(nome, "curto");
  const std::string caminho = dir_ / nome;
  EXPECT_EQ(Falha(caminho, estab_), "*ZELP* Erro ao ler \"" + caminho + "\"");
}

TEST_F(LeEstabelecimentoTeste, AnyChangedByteBeforeTheCheckValueIsTampering) {
  const std::string imagem = LeDado("estab-b.dat");
  ASSERT_EQ(imagem.size(), 206u);
  int recusados = 0;
  for (int i = 0; i < 202; ++i) {
    std::string copia = imagem;
    copia[static_cast<std::size_t>(i)] = static_cast<char>(copia[static_cast<std::size_t>(i)] ^ 0x01);
    dir_.Escreve("t.dat", copia);
    CapturaLog::Limpa();
    std::string texto = Falha(dir_ / "t.dat", estab_);
    if (texto == "*ZELP* Arquivo de Estabelecimento Adulterado") {
      ++recusados;
      EXPECT_EQ(CapturaLog::Linhas(), std::vector<std::string>{"*** Contactar Suporte Tecnico."});
      ExpectIntocado();
    } else {
      estab_ = INTOCADO;
    }
  }
  // A changed byte slips through only by a chance of about 1 in 65536 per byte.
  EXPECT_GE(recusados, 200);
}

TEST_F(LeEstabelecimentoTeste, CheckCharactersOutsideTheRangeNeverMatch) {
  const std::string imagem = LeDado("estab-a.dat");  // check value "0851"
  for (char fora : {'/', '@', 'A', 'a', ' ', '\0', '\x7F', '\xB0'}) {
    for (int pos = 202; pos < 206; ++pos) {
      std::string copia = imagem;
      copia[static_cast<std::size_t>(pos)] = fora;
      dir_.Escreve("f.dat", copia);
      EXPECT_EQ(Falha(dir_ / "f.dat", estab_), "*ZELP* Arquivo de Estabelecimento Adulterado")
          << "character " << static_cast<int>(fora) << " at " << pos;
    }
  }
  ExpectIntocado();
}

TEST_F(LeEstabelecimentoTeste, BarInTheKeyUsesItsOwnCode) {
  // estab-b.dat has "|" in its key text; with 0xBB in its place the check value would differ.
  const std::string imagem = LeDado("estab-b.dat");
  ASSERT_EQ(imagem.substr(90, 8), "A|B[C]D!");
  dir_.Escreve("b.dat", imagem);
  EXPECT_EQ(Falha(dir_ / "b.dat", estab_), "");
  // Code page 500's own 0xBB for "|" would give another check value for the same block.
  const std::uint8_t chaveBB[8] = {0xC1, 0xBB, 0xC2, 0x4A, 0xC3, 0x5A, 0xC4, 0x4F};
  const std::uint8_t bloco[8] = {0x00, 0x53, 0x46, 0xB1, 0x20, 0x39, 0x08, 0xF9};
  std::uint8_t saida[8];
  CifraBlocoDes(chaveBB, bloco, saida);
  const char comBB[4] = {static_cast<char>('0' + (saida[0] >> 4)), static_cast<char>('0' + (saida[0] & 15)),
                         static_cast<char>('0' + (saida[1] >> 4)), static_cast<char>('0' + (saida[1] & 15))};
  EXPECT_NE(std::string(comBB, 4), imagem.substr(202, 4));
}

TEST_F(LeEstabelecimentoTeste, EstablishmentTextsAreTextUpToTheirFirstZero) {
  std::string imagem = LeDado("estab-a.dat");
  imagem.replace(193, 9, std::string("1234\0" "6789", 9));
  Assina(imagem);
  dir_.Escreve("z.dat", imagem);
  EXPECT_EQ(Falha(dir_ / "z.dat", estab_), "");
  EXPECT_EQ(estab_.texto1, "1234");
  EXPECT_EQ(estab_.texto2, "1234");

  imagem.replace(193, 8, "ABCDEFGH");
  imagem[201] = '\0';
  Assina(imagem);
  dir_.Escreve("z2.dat", imagem);
  EXPECT_EQ(Falha(dir_ / "z2.dat", estab_), "");
  EXPECT_EQ(estab_.texto1, "ABCDEFGH");
  EXPECT_EQ(estab_.texto2, "ABCDEF000000000");
}

TEST_F(LeEstabelecimentoTeste, ReplacedFileTakesEffectAtTheNextRead) {
  dir_.Escreve("e.dat", LeDado("estab-a.dat"));
  EXPECT_EQ(Falha(dir_ / "e.dat", estab_), "");
  EXPECT_EQ(estab_.texto1, "123456789");
  dir_.Escreve("e.dat", LeDado("estab-c.dat"));
  EXPECT_EQ(Falha(dir_ / "e.dat", estab_), "");
  EXPECT_EQ(estab_.texto1, "555000111");
}
