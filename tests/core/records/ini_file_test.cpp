#include "core/records/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Sjis;

TEST(IniFile, UneditedFileSerialisesToTheSameBytes) {
  const std::string bytes =
      "; a comment\r\n[Window]\r\nTop=1\nLeft = 2 \r\n\r\n  [ Spaced ] trailing\rKey\r\n[Last]\r\nx=\xFF\x81";
  EXPECT_EQ(IniFile::Parse(bytes).serialise(), bytes);
  EXPECT_EQ(IniFile::Parse("").serialise(), "");
  const std::string random = test::RandomBytes(10000, 3);
  EXPECT_EQ(IniFile::Parse(random).serialise(), random);
}

TEST(IniFile, NamesCompareWithoutLetterCaseButValuesAreRaw) {
  const IniFile ini = IniFile::Parse("[Window]\r\nCoName = a b \r\nTop=5\r\n[ Spaced ]\r\nk=v\r\n");
  EXPECT_EQ(ini.value("window", "coname"), std::optional<std::string>(" a b "));
  EXPECT_EQ(ini.readString("WINDOW", "TOP", "x"), "5");
  EXPECT_EQ(ini.readString("Spaced", "K", "x"), "v");
  EXPECT_EQ(ini.readString("Window", "Missing", "fallback"), "fallback");
  EXPECT_EQ(ini.readString("Missing", "Top", "fallback"), "fallback");
  EXPECT_TRUE(ini.hasSection("SPACED"));
  EXPECT_FALSE(ini.hasSection("Spaced2"));
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Window", "Spaced"}));
  // Only ASCII letters fold: double-byte names compare byte for byte, even where a trail byte is a letter.
  EXPECT_FALSE(IniNamesEqual(Sjis("Ａ"), Sjis("ａ")));
  EXPECT_FALSE(
      IniNamesEqual("\x83"
                    "A",
                    "\x83"
                    "a"));  // ア and a different character
  EXPECT_TRUE(IniNamesEqual(Sjis("見本ab"), Sjis("見本AB")));
  EXPECT_FALSE(IniNamesEqual("ab", "abc"));
}

TEST(IniFile, IntegersAndBooleansWithTheirFallbacks) {
  const IniFile ini = IniFile::Parse(
      "[S]\r\nplus=+5\r\nneg=-3\r\nbad=5x\r\nempty=\r\nhuge=99999999999\r\nbool2=2\r\nzero=0\r\nword=yes\r\n");
  EXPECT_EQ(ini.readInt("S", "plus", 9), 5);
  EXPECT_EQ(ini.readInt("S", "neg", 9), -3);
  EXPECT_EQ(ini.readInt("S", "bad", 9), 9);
  EXPECT_EQ(ini.readInt("S", "empty", 9), 9);
  EXPECT_EQ(ini.readInt("S", "huge", 9), 9);
  EXPECT_EQ(ini.readInt("S", "missing", 9), 9);
  EXPECT_TRUE(ini.readBool("S", "bool2", false));
  EXPECT_FALSE(ini.readBool("S", "zero", true));
  EXPECT_TRUE(ini.readBool("S", "word", true));
  EXPECT_FALSE(ini.readBool("S", "word", false));
  EXPECT_TRUE(ini.readBool("S", "missing", true));
}

TEST(IniFile, EditsChangeOnlyTheLinesTheyConcern) {
  IniFile ini = IniFile::Parse("; keep\r\n[A]\r\nx = 1\r\ny=2\r\n\r\n[B]\nz=3\n");
  // Replaced where it stands, keeping the key as it was spelt but not the
  // blanks around it.
  ini.writeString("a", "X", "10");
  EXPECT_EQ(ini.serialise(), "; keep\r\n[A]\r\nx=10\r\ny=2\r\n\r\n[B]\nz=3\n");
  // A new key goes after the section's last line that is not blank.
  ini.writeInt("A", "w", -4);
  EXPECT_EQ(ini.serialise(), "; keep\r\n[A]\r\nx=10\r\ny=2\r\nw=-4\r\n\r\n[B]\nz=3\n");
  ini.writeBool("B", "b", true);
  EXPECT_EQ(ini.serialise(), "; keep\r\n[A]\r\nx=10\r\ny=2\r\nw=-4\r\n\r\n[B]\nz=3\nb=1\r\n");
  // A new section goes to the end, after a blank line.
  ini.writeBool("C", "c", false);
  EXPECT_EQ(ini.serialise(), "; keep\r\n[A]\r\nx=10\r\ny=2\r\nw=-4\r\n\r\n[B]\nz=3\nb=1\r\n\r\n[C]\r\nc=0\r\n\r\n");
  // Deleting removes the key's lines only.
  EXPECT_TRUE(ini.deleteKey("a", "Y"));
  EXPECT_FALSE(ini.deleteKey("A", "y"));
  EXPECT_FALSE(ini.deleteKey("Missing", "y"));
  EXPECT_EQ(ini.serialise(), "; keep\r\n[A]\r\nx=10\r\nw=-4\r\n\r\n[B]\nz=3\nb=1\r\n\r\n[C]\r\nc=0\r\n\r\n");
  // Erasing a section removes it with all its lines.
  ini.eraseSection("b");
  EXPECT_EQ(ini.serialise(), "; keep\r\n[A]\r\nx=10\r\nw=-4\r\n\r\n[C]\r\nc=0\r\n\r\n");
  ini.eraseSection("Missing");
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"A", "C"}));
}

TEST(IniFile, WritingIntoAFileWhoseLastLineHasNoLineEnd) {
  IniFile ini = IniFile::Parse("[A]\r\nx=1");
  ini.writeString("A", "y", "2");
  EXPECT_EQ(ini.serialise(), "[A]\r\nx=1\r\ny=2\r\n");
  IniFile other = IniFile::Parse("[A]\r\nx=1");
  other.writeString("B", "y", "2");
  EXPECT_EQ(other.serialise(), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n");
  IniFile empty;
  empty.writeString("New", "k", "v");
  EXPECT_EQ(empty.serialise(), "[New]\r\nk=v\r\n\r\n");
}

TEST(IniFile, DuplicateKeysAndSections) {
  IniFile ini = IniFile::Parse("[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n");
  // The first section and the first key of that name count.
  EXPECT_EQ(ini.readString("A", "k", ""), "1");
  EXPECT_EQ(ini.readString("A", "j", "none"), "none");
  ini.writeString("A", "k", "9");
  EXPECT_EQ(ini.serialise(), "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n");
  // Deleting takes every line of the key in that section.
  EXPECT_TRUE(ini.deleteKey("A", "K"));
  EXPECT_EQ(ini.serialise(), "[A]\r\n[a]\r\nk=3\r\nj=4\r\n");
  ini.eraseSection("A");
  EXPECT_EQ(ini.serialise(), "");
}

TEST(IniFile, LinesThatAreNeitherSectionsNorKeys) {
  const IniFile ini = IniFile::Parse("[A]\r\n;k=1\r\nno equals\r\n=empty name\r\nk=v=w\r\n[B\r\nm=1\r\n");
  EXPECT_EQ(ini.readString("A", ";k", "none"), "none");
  EXPECT_EQ(ini.readString("A", "", "none"), "empty name");
  EXPECT_EQ(ini.readString("A", "k", ""), "v=w");
  // A "[" line without "]" still starts a section.
  EXPECT_EQ(ini.readString("B", "m", ""), "1");
  EXPECT_EQ(IniSectionName("[x] tail"), std::optional<std::string_view>("x"));
  EXPECT_EQ(IniKeyName(" key =v"), std::optional<std::string_view>("key"));
  EXPECT_EQ(IniKeyName("[k=v]"), std::nullopt);
  EXPECT_EQ(IniKeyName("text"), std::nullopt);
}

TEST(IniFile, ASectionWrittenForAnyOneLineNameIsFoundAgain) {
  // Stock codes read from hand-edited headers may hold "]" or blanks; each
  // write must find the section the first one made, or every save of the
  // stock master would add sections again.
  for (const char* name : {"12]", " 123", "1 ]]", "[12]", "1234"}) {
    IniFile ini = IniFile::Parse("[1234x]\r\nN=other\r\n");
    ini.writeString(name, "N", "a");
    ini.writeString(name, "E", "b");
    const std::string once = ini.serialise();
    ini.writeString(name, "N", "a");
    EXPECT_EQ(ini.serialise(), once) << name;
    const IniFile again = IniFile::Parse(once);
    EXPECT_EQ(again.readString(name, "N", ""), "a") << name;
    EXPECT_EQ(again.readString(name, "E", ""), "b") << name;
    EXPECT_EQ(again.readString("1234x", "N", ""), "other") << name;
  }
  EXPECT_EQ(IniSectionName("[12]] tail"), std::optional<std::string_view>("12]"));
}

}  // namespace
}  // namespace tomvik::core
