// The EBCDIC key table against glibc's own IBM500 converter, which only Linux has.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>

#include "hostlink/Ebcdic.h"

TEST(Ebcdic, SevenBitCodesMatchCodePage500ExceptTheBar) {
  iconv_t cd = iconv_open("IBM500", "ISO-8859-1");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << "glibc's IBM500 converter is not installed";
  for (int c = 0; c < 128; ++c) {
    char entrada = static_cast<char>(c);
    char saida = 0;
    char* pe = &entrada;
    char* ps = &saida;
    std::size_t te = 1, ts = 1;
    ASSERT_NE(iconv(cd, &pe, &te, &ps, &ts), static_cast<std::size_t>(-1)) << c;
    if (c == '|') {
      EXPECT_EQ(static_cast<std::uint8_t>(saida), 0xBB);
      EXPECT_EQ(ConverteEbcdic('|'), 0x6A);
    } else {
      EXPECT_EQ(ConverteEbcdic(static_cast<std::uint8_t>(c)), static_cast<std::uint8_t>(saida)) << "code " << c;
    }
  }
  iconv_close(cd);
}
