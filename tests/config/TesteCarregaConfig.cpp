// The configuration load: every key's default and rule, the endpoint and parameter groups, the
// fatal messages.
#include <string>
#include <vector>

#include "ConfigTeste.h"

namespace {

using CarregaConfig = ConfigTeste;

TEST_F(CarregaConfig, ChavesAusentesDaoOsPadroes) {
  EscreveIni(INI_MINIMO);
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.IntervaloIni(), 10000u);
  EXPECT_EQ(tx.TempoResposta(), 30);
  EXPECT_EQ(tx.TempoConexao(), 3);
  EXPECT_EQ(tx.DirEntrada(), "./");
  EXPECT_EQ(tx.MascaraEntrada(), "./*.ENV");
  EXPECT_EQ(tx.DirSaida(), "./");
  EXPECT_EQ(tx.MascaraLog(), "");
  EXPECT_EQ(DirLog(), "");
  EXPECT_EQ(LarguraNome(), 8);
  EXPECT_EQ(tx.Servidor(0).porta, 0);
}

TEST_F(CarregaConfig, ValoresLidos) {
  EscreveIni(INI_MINIMO +
             "[Tempos]\r\nTOutIni=5\r\nTOutCnf=45\r\nTOutCnx=7\r\n"
             "[Diretorios]\r\nEntrada=/pdv/env\r\nSaida=/pdv/rsp\r\nErrlog=/var/log/zelp\r\nTamNomeArq=12\r\n"
             "[Deleta]\r\nLog=1\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.IntervaloIni(), 5000u);
  EXPECT_EQ(tx.TempoResposta(), 45);
  EXPECT_EQ(tx.TempoConexao(), 7);
  EXPECT_EQ(tx.DirEntrada(), "/pdv/env/");
  EXPECT_EQ(tx.MascaraEntrada(), "/pdv/env/*.ENV");
  EXPECT_EQ(tx.DirSaida(), "/pdv/rsp/");
  EXPECT_EQ(tx.MascaraLog(), "/pdv/env/*.log");
  EXPECT_EQ(DirLog(), "/var/log/zelp");
  EXPECT_EQ(LarguraNome(), 12);
  EXPECT_EQ(tx.LarguraNome(), 12);
}

struct CasoDiretorio {
  const char* linha;
  const char* entrada;
};

TEST_F(CarregaConfig, SeparadorAcrescentadoSempre) {
  const CasoDiretorio casos[] = {
      {"", "./"},                   // key missing
      {"Entrada=\r\n", "/"},        // present and empty
      {"Entrada=   \r\n", "/"},     // blanks only
      {"Entrada=pdv/\r\n", "pdv//"},
      {"Entrada= /a b \r\n", "/a b/"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.linha);
    EscreveIni(INI_MINIMO + "[Diretorios]\r\n" + caso.linha);
    TX tx(Caminho());
    EXPECT_EQ(ErroDaCarga(tx), "");
    EXPECT_EQ(tx.DirEntrada(), caso.entrada);
    EXPECT_EQ(tx.MascaraEntrada(), std::string(caso.entrada) + "*.ENV");
  }
}

TEST_F(CarregaConfig, DiretoriosDeAte259CaracteresMaisOSeparador) {
  EscreveIni(INI_MINIMO + "[Diretorios]\r\nEntrada=" + std::string(300, 'e') + "\r\nSaida=" +
             std::string(259, 's') + "\r\nErrlog=" + std::string(270, 'l') + "\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.DirEntrada(), std::string(259, 'e') + "/");
  EXPECT_EQ(tx.DirSaida(), std::string(259, 's') + "/");
  EXPECT_EQ(DirLog(), std::string(259, 'l'));
}

struct CasoLargura {
  const char* linha;
  int esperada;
};

TEST_F(CarregaConfig, TamNomeArqLimitadoDe8A16) {
  const CasoLargura casos[] = {
      {"TamNomeArq=3", 8},  {"TamNomeArq=20", 16}, {"", 8},  {"TamNomeArq=8", 8},  {"TamNomeArq=16", 16},
      {"TamNomeArq=9", 9},  {"TamNomeArq=15", 15}, {"TamNomeArq=-5", 8}, {"TamNomeArq=abc", 8},
      {"TamNomeArq=", 8},   {"TamNomeArq=99999999999", 16},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.linha);
    DefineLarguraNome(13);
    EscreveIni(INI_MINIMO + "[Diretorios]\r\n" + caso.linha + "\r\n");
    TX tx(Caminho());
    EXPECT_EQ(ErroDaCarga(tx), "");
    EXPECT_EQ(LarguraNome(), caso.esperada);
  }
}

struct CasoIntervalo {
  const char* linha;
  std::uint32_t esperado;
};

TEST_F(CarregaConfig, TOutIniEmMilissegundosSemDarAVolta) {
  const CasoIntervalo casos[] = {
      {"TOutIni=0", 0},          {"TOutIni=5", 5000},         {"", 10000},
      {"TOutIni=4294967", 4294967000u}, {"TOutIni=4294968", 4294967295u}, {"TOutIni=2147483647", 4294967295u},
      // Negative: times 1000 as an unsigned number, a long interval (never 0, which is no pause).
      {"TOutIni=-1", 4294966296u},      {"TOutIni=-4294967", 296u},          {"TOutIni=-536870912", 4294967295u},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.linha);
    EscreveIni(INI_MINIMO + "[Tempos]\r\n" + caso.linha + "\r\n");
    TX tx(Caminho());
    EXPECT_EQ(ErroDaCarga(tx), "");
    EXPECT_EQ(tx.IntervaloIni(), caso.esperado);
  }
}

TEST_F(CarregaConfig, LimpezaDesligadaNaRecargaDesliga) {
  EscreveIni(INI_MINIMO + "[Deleta]\r\nLog=1\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.MascaraLog(), "./*.log");
  EscreveIni(INI_MINIMO + "[Deleta]\r\nLog=0\r\n");
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.MascaraLog(), "");
  EscreveIni(INI_MINIMO + "[Deleta]\r\nLog=x\r\n");  // not a number: 0
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.MascaraLog(), "");
}

// One endpoint group as a load leaves it.
struct CasoGrupo {
  const char* nome;
  std::string secoes;
  int grupo;
  std::vector<std::string> urls;
  std::vector<const char*> ips;
  int falhasDeNome;
};

TEST_F(CarregaConfig, GruposDeEnderecos) {
  const std::string PAR = "[PEstab]\r\npar0=estab0.dat\r\n";
  const CasoGrupo casos[] = {
      {"quatro na ordem das chaves",
       "[End1]\r\nurl3=127.0.0.4\r\nurl1=127.0.0.2\r\nurl=127.0.0.1\r\nurl2=127.0.0.3\r\n", 1,
       {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"},
       {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"}, 0},
      {"url3 sozinha vira a primeira", "[End2]\r\nurl3=127.0.0.3\r\n", 2, {"127.0.0.3"}, {"127.0.0.3"}, 0},
      {"url de um caractere nada acrescenta", "[End0]\r\nurl=a\r\nurl1=127.0.0.2\r\n", 0, {"127.0.0.2"},
       {"127.0.0.2"}, 0},
      {"nome que nao resolve fica de fora", "[End0]\r\nurl=127.0.0.1\r\nurl2=nao-existe.invalid\r\nurl3=127.0.0.9\r\n",
       0, {"127.0.0.1", "127.0.0.9"}, {"127.0.0.1", "127.0.0.9"}, 1},
      {"nome que resolve", "[End0]\r\nurl=localhost\r\n", 0, {"localhost"}, {"127.0.0.1"}, 0},
      {"secao e chave sem caixa", "[end1]\r\nURL1=127.0.0.5\r\n[End0]\r\nurl=127.0.0.1\r\n", 1, {"127.0.0.5"},
       {"127.0.0.5"}, 0},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    CapturaLog::Limpa();
    EscreveIni(PAR + caso.secoes);
    TX tx(Caminho());
    EXPECT_EQ(ErroDaCarga(tx), "");
    TU& g = tx.Servidor(caso.grupo);
    MutexLocker travado(g.trava);
    ASSERT_EQ(g.quantidade, static_cast<int>(caso.urls.size()));
    EXPECT_EQ(g.atual, 0);
    for (int i = 0; i < TU::MAX_ENDERECOS; ++i) {
      if (i < g.quantidade) {
        EXPECT_EQ(g.url[i], caso.urls[static_cast<std::size_t>(i)]);
        EXPECT_EQ(g.ip[i], Ip(caso.ips[static_cast<std::size_t>(i)]));
      } else {
        EXPECT_EQ(g.url[i], "");
        EXPECT_EQ(g.ip[i], 0u);
      }
    }
    EXPECT_EQ(Contagem("gethostbyname Error = "), caso.falhasDeNome);
  }
}

TEST_F(CarregaConfig, NomeQueNaoResolveContaComoEnderecoEEhLogadoACadaCarga) {
  EscreveIni("[End1]\r\nurl=nao-existe.invalid\r\n[PEstab]\r\npar0=estab0.dat\r\n");
  TX tx(Caminho());
  for (int carga = 1; carga <= 3; ++carga) {
    EXPECT_EQ(ErroDaCarga(tx), "");  // the url message would mean it did not count
    EXPECT_EQ(tx.Servidor(1).quantidade, 0);
    EXPECT_EQ(Contagem("gethostbyname Error = "), carga);
  }
}

TEST_F(CarregaConfig, RecargaRefazOGrupo) {
  EscreveIni("[End0]\r\nurl=127.0.0.1\r\nurl1=127.0.0.2\r\nPort=3000\r\n[PEstab]\r\npar0=estab0.dat\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.Servidor(0).quantidade, 2);
  EXPECT_EQ(tx.Servidor(0).porta, 3000);
  tx.Servidor(0).atual = 1;  // a connection moved on to the second entry
  EscreveIni("[End0]\r\nurl2=127.0.0.7\r\n[PEstab]\r\npar0=estab0.dat\r\n");
  EXPECT_EQ(ErroDaCarga(tx), "");
  TU& g = tx.Servidor(0);
  EXPECT_EQ(g.quantidade, 1);
  EXPECT_EQ(g.atual, 0);
  EXPECT_EQ(g.porta, 0);
  EXPECT_EQ(g.url[0], "127.0.0.7");
  EXPECT_EQ(g.url[1], "");
  EXPECT_EQ(g.ip[1], 0u);
}

struct CasoParametro {
  const char* nome;
  std::string secoes;
  int grupo;
  int slot;
  const char* esperado;
};

TEST_F(CarregaConfig, GruposDeParametros) {
  // Group 1 always has a name, so a case that leaves group 0 empty still loads.
  const std::string END = "[End0]\r\nurl=127.0.0.1\r\n[par1]\r\narq1=outro.dat\r\n";
  const CasoParametro casos[] = {
      {"PEstab preenche a posicao 0", "[PEstab]\r\npar0=estab0.dat\r\n", 0, 0, "estab0.dat"},
      {"arq0 toma o lugar do PEstab", "[PEstab]\r\npar0=estab0.dat\r\n[par0]\r\narq0=arq0.dat\r\n", 0, 0,
       "arq0.dat"},
      {"PEstab de 3 caracteres ignorado", "[PEstab]\r\npar0=abc\r\n", 0, 0, ""},
      {"PEstab de 4 caracteres vale", "[PEstab]\r\npar0=abcd\r\n", 0, 0, "abcd"},
      {"arq0 curto nao apaga o PEstab", "[PEstab]\r\npar0=estab0.dat\r\n[par0]\r\narq0=abc\r\n", 0, 0,
       "estab0.dat"},
      {"arq9 do grupo 2", "[par2]\r\narq9=nove.dat\r\n", 2, 9, "nove.dat"},
      {"posicao sem chave fica vazia", "[par2]\r\narq9=nove.dat\r\n", 2, 8, ""},
      {"grupo fora da faixa", "", 3, 0, ""},
      {"posicao fora da faixa", "", 1, 10, ""},
      {"grupo negativo", "", -1, 0, ""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    EscreveIni(caso.secoes + END);
    TX tx(Caminho());
    EXPECT_EQ(ErroDaCarga(tx), "");
    EXPECT_EQ(tx.ArquivoEstabelecimento(caso.grupo, caso.slot), caso.esperado);
  }
}

TEST_F(CarregaConfig, ArquivoRetiradoSomeNaRecarga) {
  EscreveIni(INI_MINIMO + "[par0]\r\narq3=tres.dat\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.ArquivoEstabelecimento(0, 3), "tres.dat");
  EscreveIni(INI_MINIMO);
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.ArquivoEstabelecimento(0, 3), "");
  EXPECT_EQ(tx.ArquivoEstabelecimento(0, 0), "estab0.dat");
}

struct CasoFatal {
  const char* nome;
  std::string conteudo;
  const char* erro;
};

TEST_F(CarregaConfig, MensagensFatais) {
  const char* SEM_URL = "\n*** Nenhuma 'url' especificada!!!";
  const char* SEM_PAR = "\n*** Nenhum 'Par' especificado!!!";
  const CasoFatal casos[] = {
      {"arquivo vazio", "", SEM_URL},
      {"so parametro", "[PEstab]\r\npar0=estab0.dat\r\n", SEM_URL},
      {"so endereco", "[End0]\r\nurl=127.0.0.1\r\n", SEM_PAR},
      {"url de um caractere", "[End0]\r\nurl=x\r\n[PEstab]\r\npar0=estab0.dat\r\n", SEM_URL},
      {"par curto", "[End0]\r\nurl=127.0.0.1\r\n[PEstab]\r\npar0=abc\r\n", SEM_PAR},
      {"arq curto", "[End0]\r\nurl=127.0.0.1\r\n[par1]\r\narq1=abc\r\n", SEM_PAR},
      {"so arq", "[End0]\r\nurl=127.0.0.1\r\n[par1]\r\narq1=um.dat\r\n", ""},
      {"url so no grupo 2", "[End2]\r\nurl1=127.0.0.1\r\n[PEstab]\r\npar2=estab2.dat\r\n", ""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    EscreveIni(caso.conteudo);
    TX tx(Caminho());
    EXPECT_EQ(ErroDaCarga(tx), caso.erro);
  }
}

TEST_F(CarregaConfig, ValoresLidosValemMesmoComErroFatal) {
  EscreveIni("[Diretorios]\r\nEntrada=/pdv\r\nTamNomeArq=10\r\n[PEstab]\r\npar0=estab0.dat\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "\n*** Nenhuma 'url' especificada!!!");
  EXPECT_EQ(tx.DirEntrada(), "/pdv/");
  EXPECT_EQ(LarguraNome(), 10);
  EXPECT_EQ(tx.ArquivoEstabelecimento(0, 0), "estab0.dat");
}

TEST_F(CarregaConfig, ArquivoAusenteNaPrimeiraCargaDaOsPadroes) {
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "\n*** Nenhuma 'url' especificada!!!");
  EXPECT_EQ(tx.DirEntrada(), "./");
  EXPECT_EQ(tx.IntervaloIni(), 10000u);
  EXPECT_TRUE(CapturaLog::Linhas().empty());
}

TEST_F(CarregaConfig, ArquivoIlegivelDepoisDaPrimeiraCargaMantemOsValores) {
  EscreveIni(INI_MINIMO + "[Diretorios]\r\nEntrada=/pdv\r\n");
  TX tx(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  std::filesystem::remove(Caminho());
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(ErroDaCarga(tx), "");
  EXPECT_EQ(tx.DirEntrada(), "/pdv/");
  EXPECT_EQ(tx.Servidor(0).quantidade, 1);
  EXPECT_EQ(tx.ArquivoEstabelecimento(0, 0), "estab0.dat");
  EXPECT_EQ(CapturaLog::Linhas(),
            std::vector<std::string>{"*** Erro ao ler " + Caminho() + ", mantida a configuracao anterior"});
}

}  // namespace
