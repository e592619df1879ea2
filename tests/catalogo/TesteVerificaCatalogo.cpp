// The start-up check: the built-in catalogue passes; each limit, broken alone, gives its own message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogo/Catalogo.h"
#include "comum/Err.h"

namespace {

std::string MensagemDe(const std::vector<TTipoTransacao>& tipos) {
  try {
    VerificaCatalogo(tipos.data(), static_cast<int>(tipos.size()));
  } catch (const Err& e) {
    return e.mensagem;
  }
  return "(passou)";
}

std::vector<TTipoTransacao> Copia() { return {tiposTransacao, tiposTransacao + numTipos}; }

TEST(VerificaCatalogo, CatalogoEmbutidoPassa) {
  EXPECT_NO_THROW(VerificaCatalogo());
  EXPECT_EQ(MensagemDe(Copia()), "(passou)");
}

TEST(VerificaCatalogo, CadaLimiteComSuaMensagem) {
  struct Caso {
    const char* nome;
    void (*estraga)(TTipoTransacao&);
    const char* mensagem;
  };
  const Caso casos[] = {
      {"repeticoes do pedido", [](TTipoTransacao& t) { t.pedido.maxRepeticoes = 33; },
       "\n*** Muitas Repeticoes(Pedido)!!!"},
      {"repeticoes da resposta", [](TTipoTransacao& t) { t.resposta.maxRepeticoes = 33; },
       "\n*** Muitas Repeticoes(Resposta)!!!"},
      {"campos do pedido",
       [](TTipoTransacao& t) { t.numEstabelecimento = 255 - t.pedido.numDefinicoes - t.numConstantes; },
       "\n*** Muitos Campos(Pedido)!!!"},
      {"campos da resposta", [](TTipoTransacao& t) { t.resposta.numDefinicoes = 255; },
       "\n*** Muitos Campos(Resposta)!!!"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    // The last entry too: every entry is checked, not only the first.
    for (int i : {0, 22}) {
      auto tipos = Copia();
      caso.estraga(tipos[static_cast<std::size_t>(i)]);
      EXPECT_EQ(MensagemDe(tipos), caso.mensagem);
    }
  }
}

TEST(VerificaCatalogo, LimitesExatosPassam) {
  auto tipos = Copia();
  tipos[0].pedido.maxRepeticoes = 32;
  tipos[0].resposta.maxRepeticoes = 32;
  tipos[0].numEstabelecimento = 254 - tipos[0].pedido.numDefinicoes - tipos[0].numConstantes;
  tipos[0].resposta.numDefinicoes = 254;
  EXPECT_EQ(MensagemDe(tipos), "(passou)");
}

// Four tests per entry, in this order; the first entry that fails any of them decides.
TEST(VerificaCatalogo, OrdemDosTestes) {
  auto tipos = Copia();
  tipos[3].resposta.numDefinicoes = 300;
  tipos[3].pedido.maxRepeticoes = 40;
  tipos[5].resposta.maxRepeticoes = 40;
  EXPECT_EQ(MensagemDe(tipos), "\n*** Muitas Repeticoes(Pedido)!!!");
  tipos[3].pedido.maxRepeticoes = 0;
  EXPECT_EQ(MensagemDe(tipos), "\n*** Muitos Campos(Resposta)!!!");
  tipos[3].resposta.numDefinicoes = 10;
  EXPECT_EQ(MensagemDe(tipos), "\n*** Muitas Repeticoes(Resposta)!!!");
}

TEST(VerificaCatalogo, MensagensComecamComQuebraDeLinha) {
  auto tipos = Copia();
  tipos[1].resposta.numDefinicoes = 1000;
  const std::string m = MensagemDe(tipos);
  ASSERT_FALSE(m.empty());
  EXPECT_EQ(m[0], '\n');
}

}  // namespace
