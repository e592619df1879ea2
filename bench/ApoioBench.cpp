// Helpers of the micro-benchmarks: the largest requests, the host's answers and a scratch directory.
#include "ApoioBench.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

#include "catalogo/Catalogo.h"
#include "codec/DigitosCheque.h"
#include "codec/PreparaPedido.h"
#include "comum/Erro.h"
#include "comum/Texto.h"
#include "zelp-host/LeituraPedido.h"
#include "zelp-host/RespostaSimulada.h"

namespace {

// The establishment texts of a store: code of 9 digits and terminal of 15.
constexpr const char* ESTAB_CODIGO = "123456789";
constexpr const char* ESTAB_TERMINAL = "LOJA-DEMO-00001";

constexpr const char* TRILHA = "4111111111111111=28121010000012345678";  // 37 characters, all of 098

// One cheque of account 0001234567 at agency 1234 of bank 237, with its check digits.
std::string Cmc7(int numero) {
  std::string c = "2371234" "0" "018" + Formata("%06d", numero) + "5" "0" "0001234567" "0";
  c[7] = DigitoModulo10(c.c_str() + 8, 10);
  c[18] = DigitoModulo10(c.c_str(), 7);
  c[29] = DigitoModulo10(c.c_str() + 19, 10);
  return c;
}

}  // namespace

void PreencheTabela(TG& transacao, const std::vector<CampoBench>& campos) {
  transacao.LimpaCampos();
  transacao.cabecalho[0] = '\0';
  transacao.tipo = -1;
  for (const CampoBench& c : campos) {
    if (c.numero == 0 && transacao.quantidade == 0)
      FormataEm(transacao.cabecalho, sizeof transacao.cabecalho, "%.11s", c.valor.c_str());
    if (c.numero == 1) transacao.identificador = std::strtoll(c.valor.c_str(), nullptr, 10);
    if (c.numero == 11) {
      transacao.codigo = std::atoi(c.valor.c_str());
      transacao.tipo = IndiceDoCodigo(transacao.codigo);
    }
    if (c.numero == 383) transacao.indiceArquivo = std::atoi(c.valor.c_str());
    transacao.Acrescenta(std::make_unique<TA>(c.numero, c.ocorrencia, c.valor));
  }
  transacao.estabelecimento.texto1 = ESTAB_CODIGO;
  transacao.estabelecimento.texto2 = ESTAB_TERMINAL;
}

std::vector<CampoBench> PedidoComGrupo(int codigo, int repeticoes) {
  std::vector<CampoBench> c = {{0, 0, "CRT"}, {1, 0, "00000041"}, {11, 0, std::to_string(codigo)}};
  if (codigo == 41) {
    c.push_back({2, 0, "000000123456"});
    c.push_back({3, 0, "000000015900"});
    c.push_back({98, 0, TRILHA});
    c.push_back({300, 0, "000000000042"});
  } else {
    c.push_back({3, 0, "000000015900"});
    c.push_back({98, 0, TRILHA});
    c.push_back({301, 0, "0000012345"});
    c.push_back({302, 0, "03"});
  }
  c.push_back({304, 0, "260115"});
  c.push_back({312, 0, std::to_string(repeticoes)});
  for (int k = 1; k <= repeticoes; ++k) {
    c.push_back({313, k, Formata("%08d", 20260100 + k)});
    c.push_back({314, k, "A"});
    c.push_back({315, k, Formata("%012d", 1000 * k)});
    c.push_back({316, k, "01"});
    c.push_back({317, k, "P"});
    c.push_back({318, k, Formata("%014d", 5000 + k)});
    c.push_back({321, k, "260201"});
    c.push_back({323, k, "260301"});
    c.push_back({326, k, "12"});
    c.push_back({327, k, "34"});
    c.push_back({328, k, "S"});
  }
  c.push_back({999, 999, ""});
  return c;
}

std::vector<CampoBench> PedidoCheques(int cheques) {
  std::vector<CampoBench> c = {{0, 0, "CHQ"}, {1, 0, "00000020"}, {11, 0, "20"}, {3, 0, "180000"},
                               {6, 0, "1"},   {7, 0, "P1"},       {14, 0, "12345678901"},
                               {42, 0, std::to_string(cheques)}};
  for (int k = 1; k <= cheques; ++k) {
    const std::string cmc7 = Cmc7(100 + k);
    c.push_back({43, k, cmc7});
    c.push_back({44, k, Formata("%d", 15000 * k)});
    c.push_back({45, k, Formata("%02d012026", k)});
    c.push_back({46, k, "4"});  // agency check digit of 018 237 1234
    c.push_back({47, k, "9"});
    c.push_back({48, k, std::string(1, DigitoNumeroCheque(cmc7.c_str() + 11))});
  }
  c.push_back({999, 999, ""});
  return c;
}

std::vector<CampoBench> PedidoVenda() {
  return {{0, 0, "CRT"}, {1, 0, "00000031"}, {11, 0, "31"}, {3, 0, "1500"}, {98, 0, "4111111111111111=2812"},
          {999, 999, ""}};
}

std::string TextoPedidoVenda() {
  std::string texto;
  for (const CampoBench& c : PedidoVenda()) texto += Formata("%03d-%03d = ", c.numero, c.ocorrencia) + c.valor + "\r\n";
  return texto;
}

std::vector<std::uint8_t> RespostaDoHost(const std::vector<CampoBench>& campos, int repeticoes, std::string& erro) {
  TG transacao;
  PreencheTabela(transacao, campos);
  try {
    BF quadro = PreparaPedido(transacao);
    const TTipoTransacao& tipo = transacao.Tipo();
    const int inicioDados = tipo.prefixo + 8;
    const simulador::PedidoLido pedido =
        simulador::DecodificaPedido(tipo.pedido, quadro.dados.get() + inicioDados,
                                    static_cast<std::size_t>(quadro.tamanho - inicioDados));
    simulador::RegrasResposta regras;
    regras.repeticoes = repeticoes;
    return simulador::MontaResposta(tipo, pedido, regras, simulador::Contexto{}).dados;
  } catch (const Erro& e) {
    erro = e.Texto();
    return {};
  }
}

DiretorioBench::DiretorioBench() {
  namespace fs = std::filesystem;
  std::mt19937_64 sorteio(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int tentativa = 0; tentativa < 100; ++tentativa) {
    const fs::path p = fs::temp_directory_path() / Formata("zelp-bench-%016llx", static_cast<unsigned long long>(sorteio()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      caminho_ = p.string() + "/";
      return;
    }
  }
  throw std::runtime_error("no scratch directory could be created under the temporary directory");
}

DiretorioBench::~DiretorioBench() {
  std::error_code ec;
  std::filesystem::remove_all(caminho_, ec);
}
