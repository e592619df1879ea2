// zelp-pdv against a gateway played by the test itself: the request file it publishes, and its exit
// status for approval, refusal, error response, no status, no response and usage errors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "catalogo/Catalogo.h"
#include "ferramentas_apoio.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class PdvTeste : public testing::Test {
 protected:
  void SetUp() override {
    dir_.CriaSubdiretorio("entrada");
    dir_.CriaSubdiretorio("saida");
  }

  void Inicia(std::vector<std::string> args) {
    args.insert(args.begin(), {"--entrada", "entrada", "--saida", "saida"});
    pdv_ = std::make_unique<Processo>(CaminhoPrograma("zelp-pdv"), args, dir_.Caminho(), dir_ / "pdv.out");
  }

  int Termina() {
    int status = -1;
    EXPECT_TRUE(pdv_->Espera(20s, status)) << "zelp-pdv did not end";
    return status;
  }

  // The gateway's scan: the name of the one request waiting in the input directory.
  std::string EsperaPedido() {
    std::string nome;
    EsperaAte(
        [&] {
          for (const std::string& n : dir_.Nomes("entrada")) nome = n.ends_with(".ENV") ? n : nome;
          return !nome.empty();
        },
        10s);
    return nome;
  }

  // Claims the request as the gateway does (renamed to .log) and returns its content.
  std::string Reivindica(const std::string& nome) {
    const std::string base = nome.substr(0, nome.size() - 4);
    fs::rename(dir_ / ("entrada/" + nome), dir_ / ("entrada/" + base + ".log"));
    return dir_.Le("entrada/" + base + ".log");
  }

  // Publishes a file in the output directory the gateway's way: written aside, then renamed.
  void Publica(const std::string& nome, const std::string& conteudo) {
    dir_.Escreve("saida/publicando.tmp", conteudo);
    fs::rename(dir_ / "saida/publicando.tmp", dir_ / ("saida/" + nome));
  }

  static std::string Status(const std::string& id) {
    return "000-000 = ATV\r\n001-000 = " + id + "\r\n999-999 = \r\n";
  }

  DiretorioTemporario dir_;
  std::unique_ptr<Processo> pdv_;
};

TEST_F(PdvTeste, SemGatewaySaiCom5ERetiraOPedido) {
  Inicia({"--tempo-status", "1", "000-000=CRT", "011-000=31", "003-000=1500"});
  EXPECT_EQ(Termina(), 5);
  EXPECT_NE(pdv_->Saida().find("no status within 1 s"), std::string::npos) << pdv_->Saida();
  // Nothing is left for a gateway that starts later.
  EXPECT_TRUE(fs::is_empty(dir_ / "entrada"));
}

TEST_F(PdvTeste, PedidoPublicadoEAprovadoSaiCom0) {
  // A till whose umask is 077: the gateway, in the folder's group, must still read the request.
  const mode_t umaskAntes = ::umask(077);
  Inicia({"011-000=31", "003-000=1500", "000-000=CRT", "098-000=4111111111111111=2812", "999-999="});
  ::umask(umaskAntes);
  const std::string nome = EsperaPedido();
  ASSERT_EQ(nome.size(), 8u + 4u) << "8 digits and .ENV: " << nome;
  EXPECT_EQ(fs::status(dir_ / ("entrada/" + nome)).permissions(), fs::perms(0640));
  const std::string id = nome.substr(0, 8);
  EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos);
  // 000-000 first, the chosen 001-000 next, the rest in order, one 999-999 at the end, CR LF.
  EXPECT_EQ(Reivindica(nome), "000-000 = CRT\r\n001-000 = " + id +
                                  "\r\n011-000 = 31\r\n003-000 = 1500\r\n098-000 = 4111111111111111=2812\r\n"
                                  "999-999 = \r\n");
  Publica(id + ".sta", Status(id));
  Publica(id + ".rsp", "000-000 = CRT\r\n001-000 = " + id +
                           "\r\n003-000 = 000000001500\r\n009-000 = 00\r\n370-000 = ZELP HOST\r\n999-999 = \r\n");
  EXPECT_EQ(Termina(), 0);
  const std::string saida = pdv_->Saida();
  EXPECT_NE(saida.find("009-000 = 00\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("370-000 = ZELP HOST\n"), std::string::npos) << saida;
  EXPECT_NE(saida.find("\napproved\n"), std::string::npos) << saida;
  // Read and done with: status and response are removed.
  EXPECT_FALSE(dir_.Existe("saida/" + id + ".sta"));
  EXPECT_FALSE(dir_.Existe("saida/" + id + ".rsp"));
}

TEST_F(PdvTeste, RecusaSaiCom1EMostraOTexto) {
  Inicia({"--mantem", "000-000=CRT", "001-000=77", "011-000=31", "003-000=2551"});
  const std::string nome = EsperaPedido();
  ASSERT_EQ(nome, "00000077.ENV");
  EXPECT_NE(Reivindica(nome).find("001-000 = 77\r\n"), std::string::npos);
  Publica("00000077.sta", Status("00000077"));
  Publica("00000077.rsp",
          "000-000 = CRT\r\n001-000 = 00000077\r\n009-000 = 51\r\n030-000 = SALDO INSUFICIENTE (51)   \r\n"
          "999-999 = \r\n");
  EXPECT_EQ(Termina(), 1);
  // The padding of the text field is left out of what is printed, and kept in the file.
  EXPECT_NE(pdv_->Saida().find("030-000 = SALDO INSUFICIENTE (51)\n"), std::string::npos) << pdv_->Saida();
  EXPECT_NE(pdv_->Saida().find("\nrefused: response code 51, SALDO INSUFICIENTE (51)\n"), std::string::npos)
      << pdv_->Saida();
  EXPECT_NE(dir_.Le("saida/00000077.rsp").find("(51)   \r\n"), std::string::npos) << "--mantem keeps the response";
}

TEST_F(PdvTeste, RespostaDeErroSemCodigoSaiCom1) {
  Inicia({"--largura", "10", "000-000=CRT", "001-000=5", "011-000=99", "003-000=1500"});
  const std::string nome = EsperaPedido();
  ASSERT_EQ(nome, "0000000005.ENV");
  Reivindica(nome);
  Publica("0000000005.sta", Status("0000000005"));
  Publica("0000000005.rsp",
          "000-000 = ???\r\n001-000 = 0000000005\r\n030-000 = *ZELP* Campo [011-000 = 99] invalido\r\n999-999 = \r\n");
  EXPECT_EQ(Termina(), 1);
  EXPECT_NE(pdv_->Saida().find("refused: no response code, *ZELP* Campo [011-000 = 99] invalido"), std::string::npos)
      << pdv_->Saida();
}

TEST_F(PdvTeste, StatusSemRespostaNoTempoSaiCom3) {
  Inicia({"--tempo-resposta", "1", "000-000=CRT", "001-000=8", "011-000=31", "003-000=1500"});
  const std::string nome = EsperaPedido();
  ASSERT_EQ(nome, "00000008.ENV");
  Reivindica(nome);
  Publica("00000008.sta", Status("00000008"));
  EXPECT_EQ(Termina(), 3);
  EXPECT_NE(pdv_->Saida().find("no response within 1 s"), std::string::npos) << pdv_->Saida();
}

TEST_F(PdvTeste, PedidoATVTerminaNoStatus) {
  Inicia({"000-000=atv", "001-000=9", "002-000=1"});
  const std::string nome = EsperaPedido();
  ASSERT_EQ(nome, "00000009.ENV");
  Reivindica(nome);
  Publica("00000009.sta", Status("00000009"));
  EXPECT_EQ(Termina(), 0);
  EXPECT_NE(pdv_->Saida().find("gateway is up"), std::string::npos) << pdv_->Saida();
}

TEST_F(PdvTeste, RespostaAntigaDoMesmoNumeroNaoETomadaPelaNova) {
  Publica("00000010.sta", Status("00000010"));
  Publica("00000010.rsp", "000-000 = CRT\r\n001-000 = 00000010\r\n009-000 = 00\r\n999-999 = \r\n");
  Inicia({"--tempo-status", "1", "000-000=CRT", "001-000=10", "011-000=31", "003-000=1500"});
  EXPECT_EQ(Termina(), 5);
  EXPECT_FALSE(dir_.Existe("saida/00000010.rsp"));
}

TEST_F(PdvTeste, ArgumentosErradosSaoRecusadosCom2SemPublicarNada) {
  const std::vector<std::vector<std::string>> errados = {
      {},
      {"sem-igual"},
      {"1000-000=x"},
      {"01a-000=x"},
      {"001-000=abc", "000-000=CRT"},
      {"001-000=123456789", "000-000=CRT"},
      {"001-000=-5", "000-000=CRT"},
      {"--largura", "7", "000-000=CRT"},
      {"--tempo-status", "0", "000-000=CRT"},
      {"--opcao", "1", "000-000=CRT"},
      {"000-000=CRT", "030-000=linha\r\n999-999="},
      {"--entrada"},
      // Three fields as the gateway counts them (001-000 and 999-999 included): it would ignore them.
      {"000-000=ATV"},
      {"000-000=ATV", "011-000="},
  };
  for (const auto& args : errados) {
    Inicia(args);
    EXPECT_EQ(Termina(), 2) << (args.empty() ? std::string("(nada)") : args.back());
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "entrada"));
}

TEST(ZelpPdv, AjudaVersaoEOpcaoDesconhecida) { VerificaOpcoesComuns("zelp-pdv"); }

// zelp-pdv --campos against the catalogue: the list names every code with its header, and the
// fields of every code are those of its layouts, each once, with the presence that its condition
// and group give, and a size that holds the layout's length.
TEST(ZelpPdv, CamposDeCadaCodigoSaoOsDoCatalogo) {
  DiretorioTemporario dir;
  const auto executa = [&](std::vector<std::string> args, int& status) {
    Processo pdv(CaminhoPrograma("zelp-pdv"), args, dir.Caminho(), dir / "campos.out");
    EXPECT_TRUE(pdv.Espera(10s, status));
    return pdv.Saida();
  };
  int status = -1;
  const std::string lista = executa({"--campos"}, status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(executa({"--campos", "15"}, status).find("no transaction type has code 15"), std::string::npos);
  EXPECT_EQ(status, 2);

  for (int i = 0; i < numTipos; ++i) {
    const TTipoTransacao& t = tiposTransacao[i];
    SCOPED_TRACE(t.codigo);
    EXPECT_NE(lista.find(std::string(4 - std::to_string(t.codigo).size(), ' ') + std::to_string(t.codigo) + "  " +
                         t.nome),
              std::string::npos);
    const std::string saida = executa({"--campos", std::to_string(t.codigo)}, status);
    EXPECT_EQ(status, 0);
    const std::size_t resposta = saida.find("\nResponse:");
    ASSERT_NE(resposta, std::string::npos) << saida;

    // Rows "  NNN-OOO  presence  size...": each field once, in the part of its direction.
    for (const bool pedido : {true, false}) {
      const std::string parte = pedido ? saida.substr(0, resposta) : saida.substr(resposta);
      std::map<int, std::pair<std::string, std::string>> linhas;
      std::istringstream texto(parte);
      for (std::string l; std::getline(texto, l);) {
        if (l.size() < 10 || l.compare(0, 2, "  ") != 0 || l[5] != '-') continue;
        if (!std::isdigit(static_cast<unsigned char>(l[2]))) continue;
        std::istringstream campos(l);
        std::string campo, presenca;
        campos >> campo >> presenca;
        EXPECT_TRUE(linhas.emplace(std::stoi(campo), std::make_pair(presenca, l)).second) << l;
      }
      const TLayoutMensagem& layout = pedido ? t.pedido : t.resposta;
      std::size_t esperadas = 0;
      for (int k = 0; k < layout.numDefinicoes; ++k) {
        const TLayoutCampo& e = layout.definicoes[k];
        const bool doGateway = (e.numero > 900 && e.numero <= 900 + t.numEstabelecimento) ||
                               (e.numero >= 910 && e.numero < 910 + t.numConstantes);
        if (pedido && doGateway) {
          EXPECT_EQ(linhas.count(e.numero), 0u) << e.numero;
          continue;
        }
        ++esperadas;
        const bool grupo = layout.TemGrupo() && e.repetido == 1;
        const char* presenca = pedido ? (e.condicao != 0 ? "optional" : grupo ? "conditional" : "required")
                                      : (e.condicao > 0 ? "approval" : e.condicao < 0 ? "refusal" : "always");
        ASSERT_EQ(linhas.count(e.numero), 1u) << e.numero;
        EXPECT_EQ(linhas[e.numero].first, presenca) << linhas[e.numero].second;
        // Digits and characters as the encoder and decoder count them.
        const int tamanho = e.tipo == TIPO_BCD || e.tipo == TIPO_HEXA || e.tipo == TIPO_PREFIXO_BCD ? 2 * e.tamanho
                            : e.tipo == TIPO_NUMERICO || e.tipo == TIPO_TEXTO   ? e.tamanho
                                                                                : 0;
        if (tamanho > 0 && e.numero != 999) {
          EXPECT_NE(linhas[e.numero].second.find(" " + std::to_string(tamanho) + " "), std::string::npos)
              << linhas[e.numero].second;
        }
      }
      EXPECT_EQ(linhas.size(), esperadas);
      if (layout.TemGrupo()) {
        EXPECT_NE(parte.find(" (at most " + std::to_string(layout.maxRepeticoes)), std::string::npos);
      }
    }
  }
}

}  // namespace
