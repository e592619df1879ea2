// The check of the configuration file: its pacing, the last-write-time rule, the unreadable file.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ConfigTeste.h"

namespace {

namespace fs = std::filesystem;

const fs::file_time_type HORA_BASE = fs::file_time_type::clock::now() - std::chrono::hours(24);

class VerificaConfig : public ConfigTeste {
 protected:
  // Writes the file with TOutCnx as a marker of which version a load took, and a chosen time.
  void Escreve(int marcador, const std::string& tempos, fs::file_time_type hora) {
    EscreveIni(INI_MINIMO + "[Tempos]\r\nTOutCnx=" + std::to_string(marcador) + "\r\n" + tempos);
    fs::last_write_time(Caminho(), hora);
  }

  // A clock that moves only when the test moves it, and a pause that only counts.
  void UsaRelogioFalso(TX& tx) {
    tx.DefineRelogio([this] { return agora; }, [this](std::uint32_t ms) { pausas.push_back(ms); });
  }

  std::uint32_t agora = 1000;
  std::vector<std::uint32_t> pausas;
};

TEST_F(VerificaConfig, PrimeiraChamadaCarregaNaHoraSemPausa) {
  Escreve(1, "TOutIni=5\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  EXPECT_EQ(tx.TempoConexao(), 0);  // nothing read before the first check
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
  EXPECT_TRUE(pausas.empty());
}

TEST_F(VerificaConfig, PrimeiraChamadaCarregaMesmoComHoraZero) {
  Escreve(1, "", fs::file_time_type::clock::from_sys(std::chrono::system_clock::time_point{}));
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
}

TEST_F(VerificaConfig, TOutIni5OlhaOArquivoNoMaximoACada5000ms) {
  Escreve(1, "TOutIni=5\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();
  Escreve(2, "TOutIni=5\r\n", HORA_BASE + std::chrono::seconds(10));
  for (std::uint32_t t : {1000u, 1001u, 3000u, 5999u}) {
    agora = t;
    tx.VerificaConfig();
    EXPECT_EQ(tx.TempoConexao(), 1) << t;
  }
  EXPECT_EQ(pausas, (std::vector<std::uint32_t>{200, 200, 200, 200}));
  agora = 6000;
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 2);
  EXPECT_EQ(pausas.size(), 4u);
  tx.VerificaConfig();  // just checked: pause again
  EXPECT_EQ(pausas.size(), 5u);
}

TEST_F(VerificaConfig, TOutIni0OlhaACadaChamadaSemPausa) {
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  for (int versao = 1; versao <= 5; ++versao) {
    Escreve(versao, "TOutIni=0\r\n", HORA_BASE + std::chrono::seconds(versao));
    tx.VerificaConfig();
    EXPECT_EQ(tx.TempoConexao(), versao);
    tx.VerificaConfig();
    EXPECT_EQ(tx.TempoConexao(), versao);
  }
  EXPECT_TRUE(pausas.empty());
}

TEST_F(VerificaConfig, RecargaSoQuandoAHoraDeEscritaMuda) {
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();
  // Rewritten with the same time: not reloaded.
  Escreve(2, "TOutIni=0\r\n", HORA_BASE);
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
  // Either half of the time differing is a change: the fraction of a second alone (where the file
  // system and the runtime keep fractions: mingw's sets whole seconds)...
  const fs::file_time_type antes = fs::last_write_time(Caminho());
  Escreve(3, "TOutIni=0\r\n", HORA_BASE + std::chrono::nanoseconds(1000));
  if (fs::last_write_time(Caminho()) != antes) {
    tx.VerificaConfig();
    EXPECT_EQ(tx.TempoConexao(), 3);
  }
  // ...or the seconds alone.
  Escreve(4, "TOutIni=0\r\n", HORA_BASE + std::chrono::seconds(1) + std::chrono::nanoseconds(1000));
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 4);
  // An older time is a change too.
  Escreve(5, "TOutIni=0\r\n", HORA_BASE - std::chrono::seconds(60));
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 5);
}

TEST_F(VerificaConfig, VoltaDoContadorDeTicksNaoAtrapalha) {
  Escreve(1, "TOutIni=5\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  agora = 0xFFFFF000u;
  tx.VerificaConfig();
  Escreve(2, "TOutIni=5\r\n", HORA_BASE + std::chrono::seconds(5));
  agora = 0xFFFFF000u + 4999u;  // wrapped past zero, 4999 ms later
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
  EXPECT_EQ(pausas.size(), 1u);
  agora = 0xFFFFF000u + 5000u;
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 2);
  EXPECT_EQ(pausas.size(), 1u);
}

TEST_F(VerificaConfig, NovoIntervaloValeDepoisDaRecarga) {
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();
  Escreve(2, "TOutIni=5\r\n", HORA_BASE + std::chrono::seconds(1));
  tx.VerificaConfig();  // the old interval, 0, still decides this check
  EXPECT_EQ(tx.TempoConexao(), 2);
  EXPECT_EQ(tx.IntervaloIni(), 5000u);
  agora += 4999;
  tx.VerificaConfig();
  EXPECT_EQ(pausas, std::vector<std::uint32_t>{200});
}

// A reload that would end the service is refused whole and said once; the file is taken again at its
// next change, at once when it is mended.
TEST_F(VerificaConfig, RecargaFatalMantemTudoELogaUmaVez) {
  const std::pair<std::string, std::string> casos[] = {  // the file, the fatal text
      {"[End0]\r\nurll=127.0.0.9\r\n[PEstab]\r\npar0=outro.dat\r\n", "\n*** Nenhuma 'url' especificada!!!"},
      {"[End0]\r\nurl=127.0.0.9\r\n[Tempos]\r\nTOutCnx=7\r\n", "\n*** Nenhum 'Par' especificado!!!"},
  };
  for (const auto& [conteudo, erro] : casos) {
    SCOPED_TRACE(erro);
    CapturaLog::Limpa();
    Escreve(1, "TOutIni=0\r\n", HORA_BASE);
    TX tx(Caminho());
    UsaRelogioFalso(tx);
    EXPECT_TRUE(tx.VerificaConfig());
    EscreveIni(conteudo);
    fs::last_write_time(Caminho(), HORA_BASE + std::chrono::seconds(1));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(tx.VerificaConfig());
    EXPECT_EQ(tx.TempoConexao(), 1);
    EXPECT_EQ(tx.IntervaloIni(), 0u);
    EXPECT_EQ(tx.Servidor(0).url[0], "127.0.0.1");
    EXPECT_EQ(tx.ArquivoEstabelecimento(0, 0), "estab0.dat");
    Escreve(2, "TOutIni=0\r\n", HORA_BASE + std::chrono::seconds(2));
    EXPECT_TRUE(tx.VerificaConfig());
    EXPECT_EQ(tx.TempoConexao(), 2);
    const std::string mantida = "*** Configuracao de " + Caminho() + " nao aplicada, mantida a configuracao anterior";
    EXPECT_EQ(CapturaLog::Linhas(), (std::vector<std::string>{erro, mantida, "Configuracao recarregada de " + Caminho()}));
  }
}

TEST_F(VerificaConfig, ArquivoAusenteNaPrimeiraVerificacaoFalhaPorFaltaDeUrl) {
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  try {
    tx.VerificaConfig();
    ADD_FAILURE() << "no Err";
  } catch (const Err& e) {
    EXPECT_STREQ(e.mensagem, "\n*** Nenhuma 'url' especificada!!!");
  }
}

// Once loaded, an unreadable file keeps the service on the values in force; this is logged when it
// becomes unreadable and not again until it was readable in between.
TEST_F(VerificaConfig, ArquivoIlegivelMantemAConfiguracaoELogaUmaVez) {
  const std::string AVISO = "*** Erro ao ler " + Caminho() + ", mantida a configuracao anterior";
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();

  fs::remove(Caminho());
  for (int i = 0; i < 3; ++i) tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
  EXPECT_EQ(tx.Servidor(0).quantidade, 1);
  EXPECT_EQ(tx.ArquivoEstabelecimento(0, 0), "estab0.dat");
  EXPECT_EQ(Contagem(AVISO), 1);

  // Back with its old time: nothing to reload, but it was readable, so the next loss is logged.
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
  fs::remove(Caminho());
  tx.VerificaConfig();
  tx.VerificaConfig();
  EXPECT_EQ(Contagem(AVISO), 2);

  // Back changed: reloaded, no notice.
  Escreve(3, "TOutIni=0\r\n", HORA_BASE + std::chrono::seconds(2));
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 3);
  EXPECT_EQ(Contagem(AVISO), 2);
  EXPECT_EQ(CapturaLog::Linhas().back(), "Configuracao recarregada de " + Caminho());
}

// An editor that rewrites the file in place leaves it empty for a moment: a reload that meets it
// then keeps the values in force and takes the finished file at a later check.
TEST_F(VerificaConfig, ArquivoReescritoNoLugarVazioNaoEncerraOServico) {
  const std::string AVISO = "*** Erro ao ler " + Caminho() + ", mantida a configuracao anterior";
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();

  EscreveIni("");
  fs::last_write_time(Caminho(), HORA_BASE + std::chrono::seconds(1));
  EXPECT_NO_THROW(tx.VerificaConfig());
  EXPECT_NO_THROW(tx.VerificaConfig());
  EXPECT_EQ(tx.TempoConexao(), 1);
  EXPECT_EQ(tx.Servidor(0).quantidade, 1);
  EXPECT_EQ(Contagem(AVISO), 1);

  // The finished file keeps the time of the empty one: it is still taken.
  Escreve(4, "TOutIni=0\r\n", HORA_BASE + std::chrono::seconds(1));
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 4);

  // A real file without any address is refused, not taken for one still being written.
  EscreveIni("[PEstab]\r\npar0=estab0.dat\r\n");
  fs::last_write_time(Caminho(), HORA_BASE + std::chrono::seconds(2));
  EXPECT_NO_THROW(tx.VerificaConfig());
  EXPECT_EQ(tx.TempoConexao(), 4);
}

TEST_F(VerificaConfig, ArquivoSemPermissaoDeLeituraContaComoIlegivel) {
  Escreve(1, "TOutIni=0\r\n", HORA_BASE);
  TX tx(Caminho());
  UsaRelogioFalso(tx);
  tx.VerificaConfig();
  Escreve(2, "TOutIni=0\r\n", HORA_BASE + std::chrono::seconds(1));
  fs::permissions(Caminho(), fs::perms::none);
  if (std::FILE* f = std::fopen(Caminho().c_str(), "rb")) {  // privileged user: the test means nothing
    std::fclose(f);
    GTEST_SKIP() << "running with rights that ignore file permissions";
  }
  tx.VerificaConfig();
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 1);
  EXPECT_EQ(Contagem("*** Erro ao ler "), 1);
  fs::permissions(Caminho(), fs::perms::owner_read | fs::perms::owner_write);
  tx.VerificaConfig();
  EXPECT_EQ(tx.TempoConexao(), 2);
}

// The real clock: between checks each call pauses about 200 ms (a lower bound only).
TEST_F(VerificaConfig, PausaReal) {
  Escreve(1, "TOutIni=5\r\n", HORA_BASE);
  TX tx(Caminho());
  tx.VerificaConfig();
  auto inicio = std::chrono::steady_clock::now();
  tx.VerificaConfig();
  tx.VerificaConfig();
  auto decorrido = std::chrono::steady_clock::now() - inicio;
  EXPECT_GE(decorrido, std::chrono::milliseconds(390));
  EXPECT_EQ(tx.TempoConexao(), 1);
}

// Readers on other threads see each value either before or after a reload, never half of one.
TEST_F(VerificaConfig, LeitoresDuranteRecargas) {
  const std::string A = "[End0]\r\nurl=127.0.0.1\r\nurl1=127.0.0.2\r\n[PEstab]\r\npar0=estab-a.dat\r\n"
                        "[Diretorios]\r\nEntrada=/entrada/a\r\n";
  const std::string B = "[End0]\r\nurl=127.0.0.3\r\n[PEstab]\r\npar0=estab-b.dat\r\n"
                        "[Diretorios]\r\nEntrada=/entrada/bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n";
  EscreveIni(A);
  TX tx(Caminho());
  tx.CarregaConfig();
  std::atomic<bool> fim{false};
  std::atomic<int> erros{0};
  std::vector<std::thread> leitores;
  for (int i = 0; i < 3; ++i) {
    leitores.emplace_back([&] {
      while (!fim.load()) {
        std::string e = tx.DirEntrada();
        if (e != "/entrada/a/" && e != "/entrada/bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb/") ++erros;
        std::string p = tx.ArquivoEstabelecimento(0, 0);
        if (p != "estab-a.dat" && p != "estab-b.dat") ++erros;
        TU& g = tx.Servidor(0);
        MutexLocker travado(g.trava);
        if (!(g.quantidade == 2 && g.url[0] == "127.0.0.1") && !(g.quantidade == 1 && g.url[0] == "127.0.0.3")) {
          ++erros;
        }
      }
    });
  }
  for (int i = 0; i < 60; ++i) {
    EscreveIni(i % 2 ? A : B);
    tx.CarregaConfig();
  }
  fim = true;
  for (auto& t : leitores) t.join();
  EXPECT_EQ(erros.load(), 0);
}

}  // namespace
