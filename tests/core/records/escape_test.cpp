#include "core/records/escape.h"

#include <gtest/gtest.h>

#include <string>

#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Sjis;

TEST(Escape, EscapeAndUnescapeAreInverseForCrLfTexts) {
  const struct {
    std::string plain;
    std::string escaped;
  } cases[] = {
      {"50%\r\nok", "50%%%nok"},
      {"", ""},
      {"%n", "%%n"},  // the two characters % and n
      {"a\r\nb\r\nc", "a%nb%nc"},
      {"100%", "100%%"},
      {"\r\n\r\n", "%n%n"},
      {"%%", "%%%%"},
      {Sjis("ソフトバンク 100%\r\n渡し"), Sjis("ソフトバンク 100%%%n渡し")},  // trail bytes 0x5C and 0x6E
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeText(c.plain), c.escaped);
    EXPECT_EQ(UnescapeText(c.escaped), c.plain);
  }
}

TEST(Escape, LoneCrAndLoneLfAreLineBreaksThatReadBackAsCrLf) {
  EXPECT_EQ(EscapeText("a\rb"), "a%nb");
  EXPECT_EQ(EscapeText("a\nb"), "a%nb");
  EXPECT_EQ(EscapeText("\n\r"), "%n%n");
  EXPECT_EQ(EscapeText("\r\r\n"), "%n%n");
  EXPECT_EQ(UnescapeText(EscapeText("a\rb\nc")), "a\r\nb\r\nc");
  EXPECT_EQ(EscapeText("a\rb\nc").find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(NormaliseLineBreaks("a\rb\nc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
}

TEST(Escape, UnescapeCopiesEveryOtherPercentUnchanged) {
  EXPECT_EQ(UnescapeText("%x"), "%x");
  EXPECT_EQ(UnescapeText("50%"), "50%");
  EXPECT_EQ(UnescapeText("%%%"), "%%");
  EXPECT_EQ(UnescapeText("%%n"), "%n");
  EXPECT_EQ(UnescapeText("%N"), "%N");
  EXPECT_EQ(UnescapeText("%\r"), "%\r");
}

}  // namespace
}  // namespace tomvik::core
