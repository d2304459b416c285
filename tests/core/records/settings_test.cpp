#include "core/records/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Fixture;
using test::SameBytes;
using test::Sjis;
using test::TempFolder;
using test::Utf8;
using Texts = std::vector<std::string>;

template <std::size_t N>
std::vector<int> Widths(const ColumnWidths<N>& columns) {
  return std::vector<int>(columns.widths.begin(), columns.widths.end());
}

std::vector<std::string> Utf8Texts(const std::vector<std::string>& texts) { return test::Utf8Cells(texts); }

TEST(Settings, EveryKeyHasItsDefaultWithoutAFile) {
  TempFolder folder;
  const SettingsLoad load = LoadSettings(folder.path());
  EXPECT_EQ(load.status, ReadStatus::Missing);
  EXPECT_FALSE(load.error.has_value());
  const Settings& s = load.settings;
  EXPECT_EQ(s.coName, "");
  EXPECT_FALSE(s.autoSave);
  EXPECT_TRUE(s.chargeSave);
  EXPECT_FALSE(s.oldMode);
  EXPECT_EQ(s.versionNo, 222);
  EXPECT_EQ(s.state, 0);
  EXPECT_EQ((std::array<int, 4>{s.top, s.left, s.height, s.width}), (std::array<int, 4>{50, 100, 480, 660}));
  EXPECT_EQ((std::array<int, 4>{s.split1, s.split2, s.splitL, s.split3}), (std::array<int, 4>{168, 168, 168, 168}));
  EXPECT_EQ(s.diaryColumns.first, 1);
  EXPECT_EQ(Widths(s.diaryColumns), (std::vector<int>{106, 38, 100, 56, 50, 50, 50, 30, 70, 55, 55, 70}));
  EXPECT_FALSE(s.chargeFix);
  EXPECT_EQ(s.holdColumns.first, 3);
  EXPECT_EQ(Widths(s.holdColumns), (std::vector<int>{100, 56, 50, 70, 50, 70, 70, 55, 70, 100}));
  EXPECT_EQ(s.loanColumns.first, 3);
  EXPECT_EQ(Widths(s.loanColumns), (std::vector<int>{72, 100, 56, 50, 70, 50, 70, 70, 55, 70, 100}));
  EXPECT_EQ(s.stockColumns.first, 1);
  EXPECT_EQ(Widths(s.stockColumns), (std::vector<int>{100, 56, 50, 70, 70, 70, 65, 100}));
  EXPECT_EQ(s.totalColumns.first, 1);
  EXPECT_EQ(Widths(s.totalColumns), (std::vector<int>{110, 100, 100, 100, 2, 120, 2}));
  EXPECT_EQ(s.simColumns.first, 3);
  EXPECT_EQ(Widths(s.simColumns), (std::vector<int>{50, 50, 50, 70, 70, 70, 2, 38, 70, 49, 60, 50, 60, 2}));
  EXPECT_EQ(s.plan, 0);
  EXPECT_TRUE(s.inPM2);
  EXPECT_TRUE(s.clearD);
  EXPECT_FALSE(s.allD);
  EXPECT_TRUE(s.clearDL);
  EXPECT_EQ(s.allDL, 0);
  EXPECT_FALSE(s.filter3);
  EXPECT_FALSE(s.stayOnTop);
  EXPECT_EQ(s.startYMW, 2);
  EXPECT_FALSE(s.totalM);
  EXPECT_FALSE(s.copy1);
  EXPECT_FALSE(s.copy2);
  EXPECT_TRUE(s.exchanges.empty());
  EXPECT_TRUE(s.recentDiaryStocks.empty());
  EXPECT_TRUE(s.recentTotalStocks.empty());
  EXPECT_TRUE(s.recentSimStocks.empty());
  EXPECT_TRUE(s.recentCharges.empty());
  EXPECT_EQ(s.chargeSelect, "");
}

TEST(Settings, FixtureReadsEveryKey) {
  const Settings s = ReadSettings(IniFile::Parse(Fixture("TMVK.ini")));
  EXPECT_EQ(Utf8(s.coName), "見本太郎");
  EXPECT_TRUE(s.autoSave);
  EXPECT_TRUE(s.chargeSave);
  EXPECT_TRUE(s.oldMode);
  EXPECT_EQ(s.versionNo, 222);
  EXPECT_EQ(s.state, 2);
  EXPECT_EQ((std::array<int, 4>{s.top, s.left, s.height, s.width}), (std::array<int, 4>{40, 120, 600, 800}));
  EXPECT_EQ((std::array<int, 4>{s.split1, s.split2, s.splitL, s.split3}), (std::array<int, 4>{200, 180, 190, 170}));
  EXPECT_EQ(Widths(s.diaryColumns), (std::vector<int>{110, 40, 120, 60, 52, 53, 54, 32, 72, 57, 58, 200}));
  EXPECT_TRUE(s.chargeFix);
  EXPECT_EQ(Widths(s.holdColumns), (std::vector<int>{101, 57, 51, 71, 52, 72, 73, 56, 74, 150}));
  EXPECT_EQ(Widths(s.loanColumns), (std::vector<int>{73, 102, 58, 53, 75, 54, 76, 77, 59, 78, 160}));
  EXPECT_EQ(Widths(s.stockColumns), (std::vector<int>{103, 60, 55, 79, 80, 81, 66, 170}));
  EXPECT_EQ(Widths(s.totalColumns), (std::vector<int>{111, 104, 105, 106, 3, 121, 4}));
  EXPECT_EQ(Widths(s.simColumns), (std::vector<int>{51, 52, 53, 71, 72, 73, 5, 39, 74, 48, 61, 54, 62, 6}));
  EXPECT_EQ(s.plan, 1);
  EXPECT_FALSE(s.inPM2);
  EXPECT_FALSE(s.clearD);
  EXPECT_TRUE(s.allD);
  EXPECT_FALSE(s.clearDL);
  EXPECT_EQ(s.allDL, 2);
  EXPECT_TRUE(s.filter3);
  EXPECT_TRUE(s.stayOnTop);
  EXPECT_EQ(s.startYMW, 3);
  EXPECT_TRUE(s.totalM);
  EXPECT_TRUE(s.copy1);
  EXPECT_TRUE(s.copy2);
  EXPECT_EQ(Utf8Texts(s.exchanges), (Texts{"東証１部", "名証２部", "福証"}));
  EXPECT_EQ(Utf8Texts(s.recentDiaryStocks), (Texts{"1234 見本電機", "9984 ソフトバンク"}));
  EXPECT_EQ(Utf8Texts(s.recentTotalStocks), (Texts{"5678 東京商事"}));
  EXPECT_TRUE(s.recentSimStocks.empty());
  EXPECT_EQ(s.recentCharges, (Texts{"1,050", "525"}));
  EXPECT_EQ(s.chargeSelect, "1,050");
}

TEST(Settings, UnreadableValuesAndShortListsFallBack) {
  const Settings s = ReadSettings(IniFile::Parse(
      "[window]\r\nTOP=abc\r\nautosave=yes\r\nChargeSave=0\r\nInPM2=2\r\nStartYMW=7\r\nC1-3=\r\nC5-16=9\r\n"
      "CoName= padded \r\n"
      "[Exchg]\r\nCount=2\r\n1=A\r\n"
      "[PresetCD]\r\nCount=3\r\n1=1111 a\r\n3=3333 c\r\n"
      "[PresetCG]\r\nCount=-5\r\n1=100\r\n"
      "[PresetCDS]\r\nCount=99999999\r\n"
      "[Version]\r\nNo=5\r\n"));
  EXPECT_EQ(s.top, 50);
  EXPECT_FALSE(s.autoSave);
  EXPECT_FALSE(s.chargeSave);
  EXPECT_TRUE(s.inPM2);
  EXPECT_EQ(s.startYMW, 7);  // selects no start button, but is read as it stands
  EXPECT_EQ(s.diaryColumns.widths[2], 100);
  EXPECT_EQ(s.simColumns.widths[13], 9);
  EXPECT_EQ(s.coName, " padded ");
  EXPECT_EQ(s.versionNo, 5);
  EXPECT_EQ(s.exchanges, (Texts{"A", ""}));
  // Count 3 without key 2: three items, the second one empty.
  EXPECT_EQ(s.recentDiaryStocks, (Texts{"1111 a", "", "3333 c"}));
  EXPECT_TRUE(s.recentCharges.empty());
  EXPECT_EQ(s.recentSimStocks.size(), static_cast<std::size_t>(kMaxListCount));
}

TEST(Settings, ShutdownWritesItsKeysInOrderIntoAFreshFile) {
  Settings s;
  s.coName = Sjis("書かれない");  // the options dialog's keys are not written at shutdown
  s.autoSave = true;
  s.exchanges = {"X"};
  s.top = 30;
  s.left = 40;
  s.height = 500;
  s.width = 700;
  s.state = 2;
  s.startYMW = 7;  // none selected: written as 2
  s.recentDiaryStocks = {Sjis("1234 見本電機"), Sjis("0000 無効"), "", Sjis("9984 ソフトバンク")};
  s.recentTotalStocks = {"0000", ""};
  s.recentCharges = {"1,050", ""};
  s.chargeSelect = "1,050";
  IniFile ini;
  WriteShutdownSettings(ini, s);
  EXPECT_TRUE(SameBytes("TMVK_fresh.ini", Fixture("TMVK_fresh.ini"), ini.serialise()));

  // Writing again into its own result changes nothing.
  WriteShutdownSettings(ini, s);
  EXPECT_TRUE(SameBytes("TMVK_fresh.ini-again", Fixture("TMVK_fresh.ini"), ini.serialise()));
  // And reading it gives back what was written.
  const Settings back = ReadSettings(ini);
  EXPECT_EQ(back.top, 30);
  EXPECT_EQ(back.state, 2);
  EXPECT_EQ(back.startYMW, 2);
  EXPECT_EQ(back.coName, "");
  EXPECT_FALSE(back.autoSave);
  EXPECT_EQ(Utf8Texts(back.recentDiaryStocks), (Texts{"1234 見本電機", "9984 ソフトバンク"}));
}

TEST(Settings, ShutdownWriteIntoTheFixtureKeepsItByteForByte) {
  IniFile ini = IniFile::Parse(Fixture("TMVK.ini"));
  WriteShutdownSettings(ini, ReadSettings(ini));
  EXPECT_TRUE(SameBytes("TMVK.ini", Fixture("TMVK.ini"), ini.serialise()));
}

TEST(Settings, ShutdownWriteOfListsAndTheChargeSelection) {
  IniFile ini = IniFile::Parse(Fixture("TMVK.ini"));
  Settings s = ReadSettings(ini);
  s.recentDiaryStocks = {"0000", Sjis("5678 東京商事"), "000"};  // "000" has no four zeros
  s.recentTotalStocks.clear();
  s.recentCharges = {"", "315"};
  s.chargeSave = false;  // the selection is then written empty
  s.startYMW = 1;
  s.allDL = 1;
  WriteShutdownSettings(ini, s);
  const std::string text = Utf8(ini.serialise());
  EXPECT_NE(text.find("[PresetCD]\r\n1=5678 東京商事\r\n2=000\r\nCount=2\r\n\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[PresetCDT]\r\nCount=0\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("[PresetCG]\r\n1=315\r\nCount=1\r\nSelect=\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nStartYMW=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nAllDL=1\r\n"), std::string::npos);
  // The options dialog's keys stay as they were.
  EXPECT_NE(text.find("[Window]\r\nCoName=見本太郎\r\nAutoSave=1\r\nChargeSave=1\r\nOldMode=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Exchg]\r\n1=東証１部\r\n2=名証２部\r\n3=福証\r\nCount=3\r\n"), std::string::npos);
}

TEST(Settings, OptionKeysAreWrittenByTheirOwnWriter) {
  IniFile ini = IniFile::Parse(Fixture("TMVK.ini"));
  Settings s = ReadSettings(ini);
  s.coName = "";
  s.autoSave = false;
  s.oldMode = false;
  s.exchanges = {Sjis("東証"), "B"};
  WriteOptionSettings(ini, s);
  const std::string text = Utf8(ini.serialise());
  EXPECT_NE(text.find("[Window]\r\nCoName=\r\nAutoSave=0\r\nChargeSave=1\r\nOldMode=0\r\nState=2\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("福証"), std::string::npos);
  EXPECT_NE(text.find("[Exchg]\r\n1=東証\r\n2=B\r\nCount=2\r\n\r\n"), std::string::npos);
  const Settings back = ReadSettings(ini);
  EXPECT_EQ(back.exchanges.size(), 2u);
  // An empty list is written as Count 0, which reads as "use the built-in names".
  s.exchanges.clear();
  WriteOptionSettings(ini, s);
  EXPECT_TRUE(ReadSettings(ini).exchanges.empty());
  EXPECT_EQ(ini.readString("Exchg", "Count", ""), "0");
}

TEST(Settings, LoadAndSaveTheFile) {
  TempFolder folder;
  test::WriteBytes(folder / "TMVK.ini", Fixture("TMVK.ini"));
  SettingsLoad load = LoadSettings(folder.path());
  ASSERT_EQ(load.status, ReadStatus::Loaded);
  EXPECT_EQ(load.settings.width, 800);
  load.settings.width = 900;
  WriteShutdownSettings(load.ini, load.settings);
  ASSERT_FALSE(SaveIni(folder.path(), load.ini).has_value());
  EXPECT_EQ(LoadSettings(folder.path()).settings.width, 900);
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"TMVK.ini"}));
  // A random file reads as defaults where it holds nothing readable.
  test::WriteBytes(folder / "TMVK.ini", test::RandomBytes(20000, 11));
  EXPECT_EQ(LoadSettings(folder.path()).settings.top, 50);
  // An unreadable file is reported; the defaults apply.
  std::filesystem::remove(folder / "TMVK.ini");
  std::filesystem::create_directory(folder / "TMVK.ini");
  load = LoadSettings(folder.path());
  EXPECT_EQ(load.status, ReadStatus::Failed);
  EXPECT_TRUE(load.error.has_value());
  EXPECT_EQ(load.settings.height, 480);
  EXPECT_TRUE(SaveIni(folder.path(), load.ini).has_value());
}

}  // namespace
}  // namespace tomvik::core
