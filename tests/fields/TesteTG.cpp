// One field (TA) and the field table (TG): keys, the number form at the name width, slots, sort, lookup.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "config/TX.h"
#include "fields/TG.h"

// Every block freed is looked at just before (never after) it is freed: did it still hold a text?
// Blocks are zeroed when taken, so that every byte read here was written.
namespace {
std::atomic<const char*> textoVigiado{nullptr};
std::atomic<int> liberadosComOTexto{0};
}  // namespace

void* operator new(std::size_t tamanho) {
  void* p = std::calloc(tamanho == 0 ? 1 : tamanho, 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t tamanho) noexcept {
  const char* texto = textoVigiado.load();
  if (p && texto && std::string_view(static_cast<const char*>(p), tamanho).find(texto) != std::string_view::npos) {
    ++liberadosComOTexto;
  }
  std::free(p);
}

namespace {

TEST(TA, DeTexto) {
  const TA a(11, 0, "31");
  EXPECT_EQ(a.chave, 11000u);
  EXPECT_EQ(a.numero, 11);
  EXPECT_EQ(a.ocorrencia, 0);
  EXPECT_EQ(a.valor, "31");
  const TA b(315, 7, std::string("valor com espaco"));
  EXPECT_EQ(b.chave, 315007u);
  EXPECT_EQ(b.valor, "valor com espaco");
  EXPECT_EQ(TA(2, 0, static_cast<const char*>(nullptr)).valor, "");
}

TEST(TA, TextoParaNoNul) {
  const TA a(2, 0, std::string("AB\0CD", 5));
  EXPECT_EQ(a.valor, "AB");
}

// Negative numbers sort after every field: the key is compared unsigned.
TEST(TA, ChaveSemSinal) {
  EXPECT_EQ(TA(-1, 0, "").chave, 4294966296u);
  EXPECT_EQ(TA(0, -1, "").chave, 4294967295u);
  EXPECT_EQ(TA(999, 999, "").chave, 999999u);
  EXPECT_EQ(TA(1000, 0, "").chave, 1000000u);
}

// A field's value may be card data: the storage it leaves holds none of it, be the value in a block
// of its own or, short, inside the field.
TEST(TA, ValorApagadoAntesDeLiberado) {
  for (const char* valor : {"4111111111111111=28121015432", "4111111111111"}) {
    textoVigiado = valor;
    {
      TG t;
      t.Acrescenta(std::make_unique<TA>(98, 0, valor));
      t.LimpaCampos();
      t.Acrescenta(std::make_unique<TA>(98, 0, std::string(valor)));
    }
    EXPECT_EQ(liberadosComOTexto.exchange(0), 0) << valor;
    std::make_unique<std::string>(valor).reset();  // the watch sees a text freed as it is
    textoVigiado = nullptr;
    EXPECT_EQ(liberadosComOTexto.exchange(0), 1) << valor;
  }
}

class LarguraFixa : public ::testing::Test {
 protected:
  ~LarguraFixa() override { DefineLarguraNome(8); }
};

TEST_F(LarguraFixa, DeNumeroNaLarguraDoNome) {
  DefineLarguraNome(8);
  EXPECT_EQ(TA(1, 0, std::int64_t{123}).valor, "00000123");
  EXPECT_EQ(TA(1, 0, std::int64_t{0}).valor, "00000000");
  // The width is a minimum: a longer identifier is never cut.
  EXPECT_EQ(TA(1, 0, std::int64_t{123456789012}).valor, "123456789012");
  DefineLarguraNome(16);
  EXPECT_EQ(TA(1, 0, std::int64_t{123}).valor, "0000000000000123");
  const TA n(1, 0, std::int64_t{5});
  EXPECT_EQ(n.chave, 1000u);
  EXPECT_EQ(n.numero, 1);
}

TEST(TG, Construcao) {
  const TG t;
  EXPECT_EQ(t.quantidade, 0);
  EXPECT_STREQ(t.cabecalho, "");
  EXPECT_EQ(t.identificador, 0);
  EXPECT_EQ(t.codigo, 0);
  EXPECT_EQ(t.indiceArquivo, 0);
  EXPECT_EQ(t.tipo, -1);
  EXPECT_TRUE(t.estabelecimento.texto1.empty());
  EXPECT_TRUE(t.estabelecimento.texto2.empty());
  for (const auto& c : t.campos) EXPECT_EQ(c, nullptr);
}

TEST(TG, AcrescentaAte256) {
  TG t;
  for (int i = 0; i < MAX_CAMPOS; ++i) ASSERT_TRUE(t.Acrescenta(std::make_unique<TA>(i, 0, "x")));
  EXPECT_EQ(t.quantidade, 256);
  EXPECT_FALSE(t.Acrescenta(std::make_unique<TA>(999, 999, "")));
  EXPECT_EQ(t.quantidade, 256);
  EXPECT_EQ(t.campos[255]->numero, 255);
  TG u;
  EXPECT_FALSE(u.Acrescenta(nullptr));
  EXPECT_EQ(u.quantidade, 0);
}

TEST(TG, LimpaCamposLiberaTudo) {
  TG t;
  for (int i = 0; i < 10; ++i) t.Acrescenta(std::make_unique<TA>(i, 0, "x"));
  t.LimpaCampos();
  EXPECT_EQ(t.quantidade, 0);
  for (const auto& c : t.campos) EXPECT_EQ(c, nullptr);
  EXPECT_TRUE(t.Acrescenta(std::make_unique<TA>(1, 0, "y")));
  EXPECT_EQ(t.campos[0]->valor, "y");
}

std::vector<std::uint32_t> Chaves(const TG& t) {
  std::vector<std::uint32_t> v;
  for (int i = 0; i < t.quantidade; ++i) v.push_back(t.campos[static_cast<std::size_t>(i)]->chave);
  return v;
}

TEST(TG, OrdenaPorChaveSemSinal) {
  TG t;
  const int campos[][2] = {{999, 999}, {11, 0}, {-1, 0}, {1, 0}, {1000, 0}, {313, 2}, {0, 0}, {313, 1}, {901, 0}};
  for (const auto& c : campos) t.Acrescenta(std::make_unique<TA>(c[0], c[1], ""));
  t.Ordena();
  const std::vector<std::uint32_t> esperado{0u, 1000u, 11000u, 313001u, 313002u, 901000u, 999999u, 1000000u,
                                            4294966296u};
  EXPECT_EQ(Chaves(t), esperado);
  EXPECT_EQ(t.campos[8]->numero, -1);
}

TEST(TG, OrdenaGuardaRepetidos) {
  TG t;
  t.Acrescenta(std::make_unique<TA>(5, 0, "b"));
  t.Acrescenta(std::make_unique<TA>(5, 0, "a"));
  t.Acrescenta(std::make_unique<TA>(4, 0, "c"));
  t.Ordena();
  ASSERT_EQ(t.quantidade, 3);
  EXPECT_EQ(t.campos[0]->valor, "c");
  // Equal keys keep no particular order, but both are there.
  const std::string dois = t.campos[1]->valor + t.campos[2]->valor;
  EXPECT_TRUE(dois == "ab" || dois == "ba") << dois;
}

TEST(TG, OrdenaTabelaCheia) {
  TG t;
  for (int i = 0; i < MAX_CAMPOS; ++i) t.Acrescenta(std::make_unique<TA>((i * 37) % 256, i % 3, ""));
  t.Ordena();
  const auto v = Chaves(t);
  EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
  EXPECT_EQ(v.size(), 256u);
}

TEST(TG, Procura) {
  TG t;
  t.Acrescenta(std::make_unique<TA>(1, 0, "123"));
  t.Acrescenta(std::make_unique<TA>(315, 2, "b"));
  t.Acrescenta(std::make_unique<TA>(315, 1, "a"));
  ASSERT_NE(t.Procura(315, 1), nullptr);
  EXPECT_EQ(t.Procura(315, 1)->valor, "a");
  EXPECT_EQ(t.Procura(315, 2)->valor, "b");
  EXPECT_EQ(t.Procura(315, 3), nullptr);
  EXPECT_EQ(t.Procura(2, 0), nullptr);
  t.Ordena();
  EXPECT_EQ(t.Procura(1, 0)->valor, "123");
  // Only the slots in use are searched.
  t.quantidade = 1;
  EXPECT_EQ(t.Procura(315, 1), nullptr);
}

}  // namespace
