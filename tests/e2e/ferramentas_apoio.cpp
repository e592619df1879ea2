// Shared by the tools' tests: a running zelp-host, and complete requests of every transaction type.
#include "ferramentas_apoio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "codec/DigitosCheque.h"
#include "comum/Texto.h"

namespace {

using namespace std::chrono_literals;

// One cheque whose CMC7 check digits and fields 046/048 are right; all share one account.
struct Cheque {
  std::string cmc7, d046, d047, d048;
};

Cheque ChequeValido(int numero) {
  std::string c = "341" "1234" "0" "018" + Formata("%06d", numero) + "5" "0" "0012345678" "0";
  c[18] = DigitoModulo10(c.c_str(), 7);
  c[7] = DigitoModulo10(c.c_str() + 8, 10);
  c[29] = DigitoModulo10(c.c_str() + 19, 10);
  Cheque q;
  q.cmc7 = c;
  q.d047 = "7";
  const std::string a = c.substr(8, 3) + c.substr(0, 3) + c.substr(3, 4);
  q.d046 = std::string(1, DigitoAgencia(a.c_str()));
  q.d048 = std::string(1, DigitoNumeroCheque(c.substr(11, 6).c_str()));
  return q;
}

// A value the request encoder accepts for a field of this type.
std::string ValorPedido(const TLayoutCampo& d, const std::string& valor003) {
  if (d.numero == 3) return valor003;
  switch (d.tipo) {
    case TIPO_NUMERICO: return "12";
    case TIPO_BCD: return Formata("%d", static_cast<int>(d.numero));
    case TIPO_HEXA: return "0123456789ABCDEF";
    case TIPO_BINARIO: return "7";
    case TIPO_CARACTER: return "S";
    case TIPO_PREFIXO_BCD: return "C1234";
    case TIPO_TEXTO: return "4111111111111111=2812";
    case TIPO_TEXTO_NUL: return "ABC";
    default: return "1";
  }
}

}  // namespace

HostEmExecucao::HostEmExecucao(std::vector<std::string> args) {
  args.insert(args.begin(), {"--porta", "0"});
  processo_ = std::make_unique<Processo>(CaminhoPrograma("zelp-host"), args, dir_.Caminho(), dir_ / "host.out");
  EsperaAte(
      [this] {
        const std::string saida = processo_->Saida();
        if (saida.rfind("port ", 0) == 0 && saida.find('\n') != std::string::npos) {
          porta_ = std::atoi(saida.c_str() + 5);
        }
        return porta_ > 0 || !processo_->Rodando();
      },
      10s);
}

void MontaTransacao(TG& t, int indice, const std::string& valor003, int repeticoes) {
  const TTipoTransacao& tipo = tiposTransacao[indice];
  t.tipo = indice;
  t.codigo = tipo.codigo;
  t.identificador = 4321;
  std::snprintf(t.cabecalho, sizeof t.cabecalho, "%s", tipo.nome);
  t.estabelecimento.texto1 = "123456789";
  t.estabelecimento.texto2 = "123456000000000";
  auto acrescenta = [&t](int numero, int ocorrencia, const std::string& valor) {
    ASSERT_TRUE(t.Acrescenta(std::make_unique<TA>(numero, ocorrencia, valor)));
  };
  acrescenta(0, 0, tipo.nome);
  acrescenta(1, 0, "4321");
  const TLayoutMensagem& p = tipo.pedido;
  for (int i = 0; i < p.numDefinicoes; ++i) {
    const TLayoutCampo& d = p.definicoes[i];
    if (d.numero <= 1 || d.numero == 999 || d.numero >= 900 || d.condicao != 0) continue;
    if (d.numero == 11) {
      acrescenta(11, 0, std::to_string(tipo.codigo));
    } else if (p.TemGrupo() && d.posicao == p.posContador) {
      acrescenta(d.numero, 0, std::to_string(repeticoes));
    } else if (d.repetido != 0 && p.TemGrupo()) {
      for (int k = 1; k <= repeticoes; ++k) {
        if (d.numero >= 43 && d.numero <= 48) {
          const Cheque q = ChequeValido(100 + k);
          const std::string valores[] = {q.cmc7, "15000", "1012024", q.d046, q.d047, q.d048};
          acrescenta(d.numero, k, valores[d.numero - 43]);
        } else {
          acrescenta(d.numero, k, ValorPedido(d, valor003));
        }
      }
    } else {
      acrescenta(d.numero, 0, ValorPedido(d, valor003));
    }
  }
  acrescenta(999, 999, "");
}

bool TemCampo(const TLayoutMensagem& layout, int numero) {
  for (int i = 0; i < layout.numDefinicoes; ++i) {
    if (layout.definicoes[i].numero == numero) return true;
  }
  return false;
}

void VerificaOpcoesComuns(const std::string& programa) {
  const struct {
    std::string arg;
    int status;
    std::string saida;  // the whole output, or "" for the help
  } casos[] = {
      {"--help", 0, ""},
      {"-h", 0, ""},
      {"--version", 0, programa + " " ZELP_VERSAO "\n"},
      {"--bogus", 2, programa + ": unknown option '--bogus' (see --help)\n"},
  };
  DiretorioTemporario dir;
  std::string ajuda;
  for (const auto& caso : casos) {
    SCOPED_TRACE(programa + " " + caso.arg);
    Processo p(CaminhoPrograma(programa), {caso.arg}, dir.Caminho(), dir / "saida.out");
    int status = -1;
    ASSERT_TRUE(p.Espera(10s, status));
    EXPECT_EQ(status, caso.status) << p.Saida();
    const std::string esperado = !caso.saida.empty() ? caso.saida : !ajuda.empty() ? ajuda : (ajuda = p.Saida());
    EXPECT_EQ(p.Saida(), esperado) << "-h and --help give the same help";
    EXPECT_FALSE(p.Saida().empty());
  }
}
