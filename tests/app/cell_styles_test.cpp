// The colours of the lists' cells, checked against the painting rules
// directly: sides, signs, closing trades, day headers, totals and the
// percentage ramp, in each selection state.
#include <gtest/gtest.h>

#include <QString>

#include <string>

#include "app/shell/cell_styles.h"

namespace {

using namespace tomvik::app;
using namespace tomvik::app::cell_colours;

const SystemColours kSystem = StandardSystemColours();
constexpr CellState kPlain{false, false};
constexpr CellState kSelected{true, true};
constexpr CellState kSelectedUnfocused{true, false};

// A diary key: date, kind digits, code.
std::string DiaryKey(const char* kind) { return std::string("2026/12/08") + kind + "5108"; }

CellStyle Diary(const char* caption, const QString& text, const char* kind, CellState state) {
  const std::string key = DiaryKey(kind);
  return StyleOf(ListKind::Diary, RoleOf(ListKind::Diary, QString::fromUtf8(caption)), text, RowFacts{key, {}, {}},
                 state, kSystem);
}

CellStyle Of(ListKind list, const char* caption, const QString& text, CellState state, std::string_view key = {}) {
  return StyleOf(list, RoleOf(list, QString::fromUtf8(caption)), text, RowFacts{key, {}, {}}, state, kSystem);
}

CellStyle Look(const QColor& background, const QColor& text, bool bold, TextPlace place = TextPlace::Amount) {
  return CellStyle{background, text, bold, place};
}

TEST(CellStyles, ASelectedLossOfAHoldingIsHighlightTextOnRed) {
  EXPECT_EQ(Of(ListKind::Holdings, "損益", "-12,345", kSelected), Look(kRed, kSystem.highlightText, false));
  EXPECT_EQ(Of(ListKind::Holdings, "損益", "-12,345", kSelectedUnfocused), Look(kRed, kSystem.highlightText, false));
  EXPECT_EQ(Of(ListKind::Holdings, "損益", "-12,345", kPlain), Look(kSystem.window, kRed, false));
  EXPECT_EQ(Of(ListKind::Holdings, "損益", "12,345", kPlain), Look(kSystem.window, kBlue, false));
  // A zero result is left to the list.
  EXPECT_EQ(Of(ListKind::Holdings, "損益", "0", kSelected), ListLook(kSelected, kSystem));
}

TEST(CellStyles, TheRateRampShadesByDigitsAndSign) {
  // Two digits before the point: the wide shades.
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "-12.50%", kPlain), Look(QColor(176, 176, 255), QColor(160, 0, 0), false));
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "+12.50%", kPlain), Look(QColor(255, 128, 128), kBlue, false));
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "-100.00%", kPlain),
            Look(QColor(176, 176, 255), QColor(160, 0, 0), false));
  // By the first digit.
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "-3.20%", kPlain), Look(QColor(192, 208, 255), QColor(208, 0, 0), false));
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "+0.40%", kPlain), Look(QColor(255, 224, 224), kBlue, false));
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "+4.00%", kPlain), Look(QColor(255, 160, 160), kBlue, false));
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "-7.77%", kPlain), Look(QColor(176, 192, 255), QColor(176, 0, 0), false));
  // Selection does not change the ramp.
  EXPECT_EQ(Of(ListKind::Positions, "騰落率", "-3.20%", kSelected),
            Of(ListKind::Positions, "騰落率", "-3.20%", kPlain));
  // "0.00%" and a missing rate are drawn by the list.
  EXPECT_EQ(Of(ListKind::Holdings, "騰落率", "0.00%", kPlain), ListLook(kPlain, kSystem));
  EXPECT_EQ(Of(ListKind::Stocks, "利率", "---", kPlain), ListLook(kPlain, kSystem));
  EXPECT_EQ(Of(ListKind::Stocks, "利率", "+1.50%", kPlain), Look(QColor(255, 208, 208), kBlue, false));
}

TEST(CellStyles, HoldingsAndPositionsShowTheirSideAndMarketPrice) {
  // A bought holding red, a sold one blue, centred, bold.
  EXPECT_EQ(Of(ListKind::Holdings, "取引", "買", kPlain, "13321"), Look(kSystem.window, kRed, true, TextPlace::Kind));
  EXPECT_EQ(Of(ListKind::Holdings, "取引", "売", kSelected, "13322"),
            Look(kBlue, kSystem.highlightText, true, TextPlace::Kind));
  EXPECT_EQ(Of(ListKind::Positions, "建玉", "買建", kPlain, "72035"),
            Look(kSystem.window, kRed, true, TextPlace::Kind));
  EXPECT_EQ(Of(ListKind::Positions, "建玉", "売建", kPlain, "72036"),
            Look(kSystem.window, kBlue, true, TextPlace::Kind));
  // The market price: the selection's own look, muted without the focus.
  EXPECT_EQ(Of(ListKind::Holdings, "時価", "6,515", kPlain), Look(kSystem.window, kSystem.windowText, true));
  EXPECT_EQ(Of(ListKind::Holdings, "時価", "6,515", kSelected), Look(kSystem.highlight, kSystem.highlightText, true));
  EXPECT_EQ(Of(ListKind::Holdings, "時価", "6,515", kSelectedUnfocused),
            Look(kSystem.inactiveBorder, kSystem.windowText, true));
  // Other columns are the list's.
  EXPECT_EQ(Of(ListKind::Holdings, "総額", "1,167,725", kSelectedUnfocused), ListLook(kSelectedUnfocused, kSystem));
}

TEST(CellStyles, DiaryKindsByClassAndSide) {
  EXPECT_EQ(Diary("取引", "買", "21", kPlain), Look(kSystem.window, kRed, true, TextPlace::Kind));
  EXPECT_EQ(Diary("取引", "信売", "26", kSelected), Look(kBlue, kSystem.highlightText, true, TextPlace::Kind));
  // Closing trades on yellow; selected, the colours swap.
  EXPECT_EQ(Diary("取引", "売", "32", kPlain), Look(kYellow, kBlue, true, TextPlace::Kind));
  EXPECT_EQ(Diary("取引", "返買", "35", kSelected), Look(kRed, kYellow, true, TextPlace::Kind));
  EXPECT_EQ(Diary("取引", "現渡", "38", kPlain), Look(kYellow, kBlue, true, TextPlace::Kind));
  // Plans and registrations keep their colour on the selection.
  EXPECT_EQ(Diary("取引", "予買", "11", kSelected), Look(kSystem.highlight, kMagenta, false, TextPlace::Kind));
  EXPECT_EQ(Diary("取引", "買保", "51", kSelectedUnfocused),
            Look(kSystem.inactiveBorder, kGreen, false, TextPlace::Kind));
  EXPECT_EQ(Diary("取引", "売建", "56", kPlain), Look(kSystem.window, kCyan, false, TextPlace::Kind));
  // Deposits orange, withdrawals azure, also in 損益.
  EXPECT_EQ(Diary("取引", "入", "71", kPlain), Look(kSystem.window, kOrange, true, TextPlace::Kind));
  EXPECT_EQ(Diary("損益", "100,000", "72", kPlain), Look(kSystem.window, kAzure, true));
}

TEST(CellStyles, DiaryHeadersAreLightYellowUntilSelected) {
  CellStyle date = ListLook(kPlain, kSystem);
  date.background = kLightYellow;
  date.bold = true;
  EXPECT_EQ(Diary("日付", "2026/12/08(火)", "00", kPlain), date);
  CellStyle selected = ListLook(kSelected, kSystem);
  selected.bold = true;
  EXPECT_EQ(Diary("日付", "2026/12/08(火)", "00", kSelected), selected);
  // The day's result: its sign's colour, bold, on light yellow.
  EXPECT_EQ(Diary("損益", "-5,000", "00", kPlain), Look(kLightYellow, kRed, true));
  EXPECT_EQ(Diary("損益", "-5,000", "00", kSelected), Look(kRed, kSystem.highlightText, true));
  EXPECT_EQ(Diary("銘柄", "", "00", kPlain).background, kLightYellow);
  // Trade rows: bold only when the trade closes.
  EXPECT_EQ(Diary("損益", "312,825", "32", kPlain), Look(kSystem.window, kBlue, true));
  EXPECT_EQ(Diary("損益", "-1", "21", kPlain), Look(kSystem.window, kRed, false));
  EXPECT_EQ(Diary("銘柄", "5108 石橋タイヤ", "21", kPlain), ListLook(kPlain, kSystem));
}

TEST(CellStyles, DiaryHeldAmountsTellWhichSideTheyMoved) {
  EXPECT_EQ(Diary("保有", "1,000", "21", kPlain), Look(kSystem.window, kMagenta, false));
  EXPECT_EQ(Diary("保有", "1,000", "32", kPlain), Look(kSystem.window, kMagenta, false));
  EXPECT_EQ(Diary("保有", "1,000", "31", kPlain), Look(kSystem.window, kCyan, false));
  EXPECT_EQ(Diary("保有", "1,000", "26", kSelected), Look(kSystem.highlight, kCyan, false));
  EXPECT_EQ(Diary("保有", "", "21", kPlain), ListLook(kPlain, kSystem));
}

TEST(CellStyles, StockMasterTotals) {
  EXPECT_EQ(Of(ListKind::Stocks, "買い総額", "96,525", kPlain), Look(kSystem.window, kRed, false));
  EXPECT_EQ(Of(ListKind::Stocks, "売り総額", "96,525", kSelected),
            Look(kSystem.highlight, kSystem.highlightText, false));
  // A zero total is the list's, in the list's own colour.
  EXPECT_EQ(Of(ListKind::Stocks, "買い総額", "0", kPlain), ListLook(kPlain, kSystem));
  EXPECT_EQ(Of(ListKind::Stocks, "売買損益", "-9,000", kPlain), Look(kSystem.window, kRed, true));
}

TEST(CellStyles, PeriodTotals) {
  EXPECT_EQ(Of(ListKind::Totals, "日付", "2026/12", kPlain).background, kLightYellow);
  EXPECT_TRUE(Of(ListKind::Totals, "日付", "2026/12", kPlain).bold);
  EXPECT_EQ(Of(ListKind::Totals, "売買損益", "-500", kSelectedUnfocused), Look(kSystem.inactiveBorder, kRed, false));
  EXPECT_EQ(Of(ListKind::Totals, "売買損益", "-500", kSelected), Look(kSystem.highlight, kSystem.highlightText, false));
  EXPECT_EQ(Of(ListKind::Totals, "入出金", "1,000", kPlain), Look(kSystem.window, kOrange, false));
  EXPECT_EQ(Of(ListKind::Totals, "入出金", "-1,000", kPlain), Look(kSystem.window, kAzure, false));
  EXPECT_EQ(Of(ListKind::Totals, "収支", "0", kPlain), ListLook(kPlain, kSystem));
  // The running total is always painted.
  EXPECT_EQ(Of(ListKind::Totals, "累計", "-1", kPlain), Look(kYellow, kRed, true));
  EXPECT_EQ(Of(ListKind::Totals, "累計", "-1", kSelected), Look(kRed, kYellow, true));
  EXPECT_EQ(Of(ListKind::Totals, "累計", "0", kPlain), Look(kSystem.window, kSystem.windowText, true));
  EXPECT_EQ(Of(ListKind::Totals, "累計", "5", kSelectedUnfocused), Look(kBlue, kYellow, true));
}

TEST(CellStyles, SimulationRowsAndTheirTotal) {
  auto sim = [](const char* caption, const QString& text, const QString& realised, const QString& position,
                CellState state) {
    return StyleOf(ListKind::Simulation, RoleOf(ListKind::Simulation, QString::fromUtf8(caption)), text,
                   RowFacts{{}, realised, position}, state, kSystem);
  };
  // An opening trade by its side; a closing one on yellow.
  EXPECT_EQ(sim("取引", "買", "", "買", kPlain), Look(kSystem.window, kRed, true, TextPlace::Kind));
  EXPECT_EQ(sim("取引", "売", "1,200", "買", kPlain), Look(kYellow, kBlue, true, TextPlace::Kind));
  EXPECT_EQ(sim("保有", "計", "", "計", kSelected), Look(kYellow, kSystem.windowText, true, TextPlace::Kind));
  EXPECT_EQ(sim("保有", "買", "", "買", kSelected), Look(kRed, kSystem.highlightText, true, TextPlace::Kind));
  // The total of the 計 row by its sign; other rows' totals are the list's.
  EXPECT_EQ(sim("総額", "-300", "", "計", kPlain), Look(kYellow, kRed, true));
  EXPECT_EQ(sim("総額", "0", "", "計", kPlain), Look(kYellow, kSystem.windowText, true));
  EXPECT_EQ(sim("総額", "300", "", "買", kPlain), ListLook(kPlain, kSystem));
  EXPECT_EQ(sim("保有金額", "300", "", "買", kSelected), Look(kSystem.highlight, kMagenta, false));
  EXPECT_EQ(sim("売買損益", "", "", "買", kPlain), ListLook(kPlain, kSystem));
  EXPECT_EQ(sim("含み損益", "-3", "", "計", kPlain), Look(kSystem.window, kRed, false));
}

}  // namespace
