// What only Windows shows of the platform layer, with a second process where share modes and named
// objects must be seen across processes: a rename refused while the file is held, the listing
// against 8.3 short names, the read-only attribute, the folder lock, the ANSI code page, files made
// anew over what stood under their names and a request kept open by its probe.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "apoio/Auxiliar.h"
#include "platform/Arquivos.h"
#include "platform/TextoSistema.h"
#include "platform/windows/SistemaWindows.h"

using namespace plataforma;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> Ordenados(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// What auxiliar-teste said, without the line end.
std::string Disse(Processo& p) {
  std::string s = p.Saida();
  return s.substr(0, s.find_first_of("\r\n"));
}

}  // namespace

TEST(RenomeiaWindows, RefusedWhileAnotherProcessHoldsTheSourceOrTheTarget) {
  DiretorioTemporario d;
  d.Escreve("00000001.ENV", "pedido");
  d.Escreve("00000001.log", "velho");
  d.Escreve("00000002.tmp", "resposta");
  d.Escreve("00000002.rsp", "anterior");
  {
    // The point of sale still has its request open: share mode read only, no delete.
    auto pdv = IniciaAuxiliar(d, {"segura", d / "00000001.ENV", "800"});
    ASSERT_EQ(Disse(*pdv), "pronto") << pdv->Saida();
    EXPECT_FALSE(Renomeia((d / "00000001.ENV").c_str(), (d / "00000001.log").c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(Apaga((d / "00000001.ENV").c_str()), ResultadoApaga::Falhou);
    int status = -1;
    ASSERT_TRUE(pdv->Espera(10s, status));
    EXPECT_EQ(status, 0);
  }
  EXPECT_TRUE(Renomeia((d / "00000001.ENV").c_str(), (d / "00000001.log").c_str()));
  EXPECT_EQ(d.Le("00000001.log"), "pedido");
  EXPECT_FALSE(d.Existe("00000001.ENV"));
  {
    // It still reads the previous response while the new one is published over it.
    auto pdv = IniciaAuxiliar(d, {"segura", d / "00000002.rsp", "800"});
    ASSERT_EQ(Disse(*pdv), "pronto") << pdv->Saida();
    EXPECT_FALSE(Renomeia((d / "00000002.tmp").c_str(), (d / "00000002.rsp").c_str()));
    int status = -1;
    ASSERT_TRUE(pdv->Espera(10s, status));
  }
  EXPECT_TRUE(Renomeia((d / "00000002.tmp").c_str(), (d / "00000002.rsp").c_str()));
  EXPECT_EQ(d.Le("00000002.rsp"), "resposta");
}

TEST(ListaArquivosWindows, ShortNamesHiddenAndSystemFilesAreLeftOut) {
  DiretorioTemporario d;
  for (const char* nome : {"00000001.env", "00000002.envx", "00000003.ENVIO", "00000004.ENV", "00000005.ENV"}) {
    d.Escreve(nome, "x");
  }
  d.CriaSubdiretorio("00000006.ENV");
  ASSERT_TRUE(::SetFileAttributesA((d / "00000004.ENV").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(::SetFileAttributesA((d / "00000005.ENV").c_str(), FILE_ATTRIBUTE_SYSTEM));
  const std::string mascara = d.Caminho() + "\\*.ENV";

  // The system's own match takes the long names whose 8.3 name ends in .ENV.
  std::vector<std::string> doSistema;
  WIN32_FIND_DATAA achado;
  const HANDLE busca = ::FindFirstFileA(mascara.c_str(), &achado);
  ASSERT_NE(busca, INVALID_HANDLE_VALUE);
  do {
    doSistema.emplace_back(achado.cFileName);
  } while (::FindNextFileA(busca, &achado));
  ::FindClose(busca);
  EXPECT_NE(std::find(doSistema.begin(), doSistema.end(), "00000002.envx"), doSistema.end());

  EXPECT_EQ(Ordenados(ListaArquivos(mascara.c_str())), std::vector<std::string>{"00000001.env"});
}

TEST(ApagaWindows, ClearsTheReadOnlyAttributeOfARefusedFile) {
  DiretorioTemporario d;
  d.Escreve("00000001.rsp", "x");
  ASSERT_TRUE(::SetFileAttributesA((d / "00000001.rsp").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Apaga((d / "00000001.rsp").c_str()), ResultadoApaga::Apagado);
  EXPECT_FALSE(d.Existe("00000001.rsp"));
  EXPECT_EQ(Apaga((d / "00000001.rsp").c_str()), ResultadoApaga::NaoExiste);
}

TEST(TravaDiretorioWindows, OneHolderPerFolderWhateverItsNameAndProcess) {
  DiretorioTemporario d;
  d.CriaSubdiretorio("Entrada");
  TravaDiretorio trava;
  int erro = 0;
  ASSERT_EQ(trava.Trava((d / "Entrada").c_str(), erro), TravaDiretorio::Resultado::Travado);
  // The same folder by another spelling of its path.
  for (const std::string& outro : {d / "ENTRADA", d / "entrada\\", d / "Entrada\\..\\entrada"}) {
    SCOPED_TRACE(outro);
    TravaDiretorio segunda;
    EXPECT_EQ(segunda.Trava(outro.c_str(), erro), TravaDiretorio::Resultado::Ocupado);
  }
  auto outroServico = IniciaAuxiliar(d, {"trava", d / "entrada", "0"});
  EXPECT_EQ(Disse(*outroServico), "ocupado");

  trava.Libera();
  outroServico = IniciaAuxiliar(d, {"trava", d / "Entrada", "800"});
  ASSERT_EQ(Disse(*outroServico), "travado");
  EXPECT_EQ(trava.Trava((d / "Entrada").c_str(), erro), TravaDiretorio::Resultado::Ocupado);
  int status = -1;
  ASSERT_TRUE(outroServico->Espera(10s, status));
  // Its lock went with it.
  ASSERT_EQ(trava.Trava((d / "Entrada").c_str(), erro), TravaDiretorio::Resultado::Travado);
  EXPECT_TRUE(trava.Vale((d / "entrada").c_str()));
  // Another folder moved in under its name is not the one locked.
  d.CriaSubdiretorio("Outra");
  std::filesystem::rename(d / "Entrada", d / "Antiga");
  std::filesystem::rename(d / "Outra", d / "Entrada");
  EXPECT_FALSE(trava.Vale((d / "Entrada").c_str()));
  EXPECT_TRUE(trava.Vale((d / "Antiga").c_str()));
  EXPECT_EQ(trava.Trava((d / "nada").c_str(), erro), TravaDiretorio::Resultado::NaoExiste);
}

TEST(TextoDoSistemaWindows, TheSystemsTextsInTheAnsiCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the bytes below are those of code page 1252; this system has " << ::GetACP();
  EXPECT_STREQ(TextoDoSistema("02 *ZELP* Erro na comunicação(Recebimento)"),
               "02 *ZELP* Erro na comunica\xE7\xE3o(Recebimento)");
  EXPECT_STREQ(TextoDoSistema("\n*** Nao foi possível deletar!"), "\n*** Nao foi poss\xEDvel deletar!");
}

// A status or response file is made anew over whatever stands under its name: a stale file (also a
// read-only one), an empty folder, a symbolic link, whose target stays as it was.
TEST(PastaWindows, MakesTheFileAnewOverWhateverStoodUnderItsName) {
  DiretorioTemporario d;
  d.Escreve("alvo.txt", "intocado");
  d.Escreve("velho.tmp", "velho");
  ASSERT_TRUE(::SetFileAttributesA((d / "velho.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
  d.CriaSubdiretorio("pasta.tmp");
  // wine answers TRUE and makes nothing: the link is checked where the system made one.
  const bool comLink = ::CreateSymbolicLinkA((d / "link.tmp").c_str(), (d / "alvo.txt").c_str(), 0) != 0 &&
                       ::GetFileAttributesA((d / "link.tmp").c_str()) != INVALID_FILE_ATTRIBUTES;
  Pasta pasta;
  int erro = -1;
  ASSERT_TRUE(pasta.Abre(d.Caminho().c_str(), erro)) << erro;
  struct Caso {
    const char* nome;
    Pasta::Anterior anterior;
  };
  for (const Caso& c : {Caso{"novo.tmp", Pasta::Anterior::Nada}, Caso{"velho.tmp", Pasta::Anterior::Arquivo},
                        Caso{"pasta.tmp", Pasta::Anterior::Outro}, Caso{"link.tmp", Pasta::Anterior::Outro}}) {
    if (std::string(c.nome) == "link.tmp" && !comLink) continue;
    SCOPED_TRACE(c.nome);
    Pasta::Anterior anterior = Pasta::Anterior::Nada;
    ASSERT_TRUE(pasta.GravaNovo(c.nome, "status", 6, true, erro, anterior)) << erro;
    EXPECT_EQ(anterior, c.anterior);
    EXPECT_EQ(d.Le(c.nome), "status");
    EXPECT_EQ(::GetFileAttributesA((d / c.nome).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  }
  EXPECT_EQ(d.Le("alvo.txt"), "intocado");
  EXPECT_TRUE(pasta.Renomeia("novo.tmp", "novo.sta"));
  EXPECT_EQ(d.Le("novo.sta"), "status");
  if (!comLink) std::printf("no symbolic link could be made here: that case was left out\n");
}

// The probe of a request keeps the very file open, to be read whatever becomes of its name; a
// folder under a request's name is refused as such, and a writer that shares nothing holds it.
TEST(SondaEscritaWindows, KeepsTheFileOpenRefusesFoldersAndSeesAnExclusiveWriter) {
  DiretorioTemporario d;
  d.Escreve("00000001.ENV", "000-000 = CRT\r\n");
  d.CriaSubdiretorio("00000002.ENV");
  SondaArquivo s = SondaEscrita((d / "00000001.ENV").c_str(), 64);
  ASSERT_TRUE(s.existe && !s.especial && s.arquivo.Aberto());
  EXPECT_EQ(s.escrita, EscritaArquivo::Livre);
  EXPECT_EQ(s.tamanho, 15u);
  // Its claim renames it while the probe holds it; the stream still reads what was judged.
  ASSERT_TRUE(Renomeia((d / "00000001.ENV").c_str(), (d / "00000001.log").c_str()));
  std::FILE* f = s.arquivo.Entrega();
  ASSERT_NE(f, nullptr);
  char linha[32] = {};
  EXPECT_NE(std::fgets(linha, sizeof linha, f), nullptr);
  EXPECT_STREQ(linha, "000-000 = CRT\r\n");
  std::fclose(f);

  const SondaArquivo pasta = SondaEscrita((d / "00000002.ENV").c_str(), 64);
  EXPECT_TRUE(pasta.especial);
  EXPECT_FALSE(pasta.arquivo.Aberto());

  HANDLE exclusivo = ::CreateFileA((d / "00000003.ENV").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(exclusivo, INVALID_HANDLE_VALUE);
  const SondaArquivo preso = SondaEscrita((d / "00000003.ENV").c_str(), 64);
  EXPECT_TRUE(preso.existe);
  EXPECT_EQ(preso.escrita, EscritaArquivo::EmEscrita);
  ::CloseHandle(exclusivo);
}
