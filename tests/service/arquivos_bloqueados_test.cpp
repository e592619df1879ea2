// The table of blocked request files: slots, retry pacing and its fatal limits.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "comum/Err.h"
#include "service/ArquivosBloqueados.h"

namespace {

std::string MensagemDe(const std::function<void()>& f) {
  try {
    f();
  } catch (const Err& e) {
    return e.mensagem;
  }
  return "";
}

TEST(ArquivosBloqueados, AdicionaProcuraRemove) {
  ArquivosBloqueados t;
  EXPECT_EQ(t.Quantidade(), 0);
  EXPECT_EQ(t.Procura("00000001.ENV"), -1);
  EXPECT_EQ(t.Adiciona("00000001.ENV", 5), 0);
  EXPECT_EQ(t.Adiciona("00000002.ENV", 5), 1);
  EXPECT_EQ(t.Quantidade(), 2);
  EXPECT_EQ(t.Procura("00000002.ENV"), 1);
  EXPECT_EQ(t.Procura("00000002.env"), -1) << "names compare with case";
  t.Remove(0);
  EXPECT_EQ(t.Quantidade(), 1);
  EXPECT_EQ(t.Procura("00000001.ENV"), -1);
  // The first free slot is reused.
  EXPECT_EQ(t.Adiciona("00000003.ENV", 5), 0);
  EXPECT_EQ(t.Nome(0), "00000003.ENV");
  EXPECT_EQ(t.Tentativas(0), 0);
  // Out-of-range and free slots are ignored; the count stays right.
  t.Remove(-1);
  t.Remove(10);
  t.Remove(5);
  EXPECT_EQ(t.Quantidade(), 2);
  t.Limpa();
  EXPECT_EQ(t.Quantidade(), 0);
  EXPECT_EQ(t.Procura("00000003.ENV"), -1);
}

TEST(ArquivosBloqueados, DecimoPrimeiroEFatal) {
  ArquivosBloqueados t;
  for (int i = 0; i < 10; ++i) t.Adiciona("0000000" + std::to_string(i) + ".ENV", 0);
  EXPECT_EQ(MensagemDe([&] { t.Adiciona("00000010.ENV", 0); }), "*** Erro Arquivo bloqueado![2]");
  EXPECT_EQ(t.Quantidade(), 10);
}

TEST(ArquivosBloqueados, RetentativaSoDepoisDe100ms) {
  ArquivosBloqueados t;
  const int i = t.Adiciona("00000001.ENV", 1000);
  EXPECT_FALSE(t.RetentativaDevida(i, 1000));
  EXPECT_FALSE(t.RetentativaDevida(i, 1099));
  EXPECT_EQ(t.Tentativas(i), 0) << "a try that is not due is not counted";
  EXPECT_TRUE(t.RetentativaDevida(i, 1100));
  EXPECT_EQ(t.Tentativas(i), 1);
  // Measured from the last try, not from the entry.
  EXPECT_FALSE(t.RetentativaDevida(i, 1150));
  EXPECT_TRUE(t.RetentativaDevida(i, 1200));
  EXPECT_EQ(t.Tentativas(i), 2);
}

TEST(ArquivosBloqueados, RetentativaAtravessaAVoltaDoContador) {
  ArquivosBloqueados t;
  const int i = t.Adiciona("00000001.ENV", 0xFFFFFFF0u);
  EXPECT_FALSE(t.RetentativaDevida(i, 0x00000010u));  // 32 ms later, across the wrap
  EXPECT_TRUE(t.RetentativaDevida(i, 0x00000054u));   // 100 ms later
}

TEST(ArquivosBloqueados, MaisDe600RetentativasEFatal) {
  ArquivosBloqueados t;
  const int i = t.Adiciona("00000001.ENV", 0);
  std::uint32_t agora = 0;
  for (int n = 1; n <= 600; ++n) {
    agora += 100;
    ASSERT_TRUE(t.RetentativaDevida(i, agora)) << n;
  }
  EXPECT_EQ(MensagemDe([&] { t.RetentativaDevida(i, agora + 100); }), "*** Erro Arquivo bloqueado![1]");
}

}  // namespace
