// What only Windows shows of the platform layer, with a second process where share modes and named
// objects must be seen across processes: a rename refused while the file is held, the listing
// against 8.3 short names, the read-only attribute, the folder lock, the ANSI code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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
