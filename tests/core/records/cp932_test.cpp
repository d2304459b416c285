#include "core/records/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/records/cp932_literals.h"

namespace tomvik::core {
namespace {

constexpr std::string_view kReplacementChar = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

TEST(Cp932, JapaneseTextsRoundTripToTheirKnownBytes) {
  const struct {
    std::string_view utf8;
    std::string_view cp932;
  } cases[] = {
      {"東証１部", "\x93\x8C\x8F\xD8\x82\x50\x95\x94"},
      {"見本電機", "\x8C\xA9\x96\x7B\x93\x64\x8B\x40"},
      {"～", "\x81\x60"},  // full-width tilde
      {"①", "\x87\x40"},
      {"ｱ", "\xB1"},  // half-width katakana is one byte
      {"ソ表", "\x83\x5C\x95\x5C"},
      {"A-1, b", "A-1, b"},
  };
  const Cp932Codec codec;
  for (const auto& c : cases) {
    const Converted encoded = codec.FromUtf8(c.utf8);
    EXPECT_EQ(encoded.text, c.cp932) << c.utf8;
    EXPECT_FALSE(encoded.replaced) << c.utf8;
    const Converted decoded = codec.ToUtf8(encoded.text);
    EXPECT_EQ(decoded.text, c.utf8);
    EXPECT_FALSE(decoded.replaced) << c.utf8;
  }
}

TEST(Cp932, CharactersOutsideCp932BecomeQuestionMarks) {
  const Converted emoji = Utf8ToCp932(
      "A\xF0\x9F\x98\x80"
      "B");  // U+1F600
  EXPECT_EQ(emoji.text, "A?B");
  EXPECT_TRUE(emoji.replaced);
  const Converted stray = Utf8ToCp932("x\xFFy");  // not UTF-8 at all
  EXPECT_EQ(stray.text, "x?y");
  EXPECT_TRUE(stray.replaced);
  const Converted broken = Utf8ToCp932("x\xE6y");  // a lead byte without its tail
  EXPECT_EQ(broken.text, "x?y");
  const Converted cut = Utf8ToCp932("\xE6\x9D");  // the first two bytes of 東
  EXPECT_EQ(cut.text, "?");
  EXPECT_TRUE(cut.replaced);
}

TEST(Cp932, InvalidBytesDecodeToTheReplacementCharacter) {
  const struct {
    std::string_view cp932;
    std::string utf8;
  } cases[] = {
      {"\x80", std::string(kReplacementChar)},
      {"A\xFF"
       "B",
       "A" + std::string(kReplacementChar) + "B"},
      {"\xFD\xFE", std::string(kReplacementChar) + std::string(kReplacementChar)},
      {"\x93\x8C\x93", "東" + std::string(kReplacementChar)},  // a double-byte character cut at the end
      {"\x93", std::string(kReplacementChar)},
  };
  for (const auto& c : cases) {
    const Converted decoded = Cp932ToUtf8(c.cp932);
    EXPECT_EQ(decoded.text, c.utf8);
    EXPECT_TRUE(decoded.replaced);
  }
  // An invalid trail byte costs only the lead byte; the text goes on after it.
  const Converted pair = Cp932ToUtf8(
      "\x81\x7F"
      "ok");
  EXPECT_TRUE(pair.replaced);
  EXPECT_EQ(pair.text.substr(0, 3), kReplacementChar);
  EXPECT_EQ(pair.text.substr(pair.text.size() - 2), "ok");
}

TEST(Cp932, EveryLiteralIsTheEncodingOfItsCharacter) {
  const struct {
    std::string_view literal;
    std::string_view utf8;
  } cases[] = {
      {sjis::kBuy, "買"},
      {sjis::kSell, "売"},
      {sjis::kPlan, "予"},
      {sjis::kClose, "〆"},
      {sjis::kKeep, "保"},
      {sjis::kMargin, "信"},
      {sjis::kRepay, "返"},
      {sjis::kDelivery, "現"},
      {sjis::kPosition, "建"},
      {sjis::kIn, "入"},
      {sjis::kOut, "出"},
      {sjis::kTake, "引"},
      {sjis::kGive, "渡"},
      {sjis::kSunday, "日"},
      {sjis::kMonday, "月"},
      {sjis::kTuesday, "火"},
      {sjis::kWednesday, "水"},
      {sjis::kThursday, "木"},
      {sjis::kFriday, "金"},
      {sjis::kSaturday, "土"},
      {sjis::kBuiltInExchanges[0], "東証１部"},
      {sjis::kBuiltInExchanges[1], "東証２部"},
      {sjis::kBuiltInExchanges[2], "マザーズ"},
      {sjis::kBuiltInExchanges[3], "ジャスダック"},
      {sjis::kBuiltInExchanges[4], "ヘラクレス"},
  };
  const Cp932Codec codec;
  for (const auto& c : cases) {
    const Converted encoded = codec.FromUtf8(c.utf8);
    EXPECT_FALSE(encoded.replaced) << c.utf8;
    EXPECT_EQ(encoded.text, c.literal) << c.utf8;
  }
  const std::string_view week[7] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(codec.FromUtf8(week[i]).text, sjis::kWeekdays[i]);
}

TEST(Cp932, LeadBytesAreThoseThatStartADoubleByteCharacter) {
  for (unsigned char c : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsCp932LeadByte(c)) << int{c};
  for (unsigned char c : {0x00, 0x41, 0x5C, 0x80, 0xA0, 0xB1, 0xDF, 0xFD, 0xFF})
    EXPECT_FALSE(IsCp932LeadByte(c)) << int{c};
}

TEST(Cp932, CutAtCharBoundaryNeverSplitsAKanji) {
  const std::string text = Utf8ToCp932("aｱ見本b電").text;  // bytes: 1, 1, 2, 2, 1, 2
  EXPECT_EQ(CutAtCharBoundary(text, 0), "");
  EXPECT_EQ(CutAtCharBoundary(text, 2), Utf8ToCp932("aｱ").text);
  EXPECT_EQ(CutAtCharBoundary(text, 3), Utf8ToCp932("aｱ").text);
  EXPECT_EQ(CutAtCharBoundary(text, 4), Utf8ToCp932("aｱ見").text);
  EXPECT_EQ(CutAtCharBoundary(text, 8), Utf8ToCp932("aｱ見本b").text);
  EXPECT_EQ(CutAtCharBoundary(text, 100), text);
  const Cp932Codec codec;
  for (std::size_t n = 0; n <= text.size(); ++n) {
    const std::string_view cut = CutAtCharBoundary(text, n);
    EXPECT_LE(cut.size(), n);
    EXPECT_GE(cut.size() + 1, n);
    EXPECT_FALSE(codec.ToUtf8(cut).replaced) << "cut at " << n;
  }
}

}  // namespace
}  // namespace tomvik::core
