// The cash holdings tab and the margin positions tab, which share one panel,
// at their default and at a large size: every control is there with its
// caption and initial state, the sub-panel (sale, settlement) waits hidden
// over the amount group, nothing is cut off, and the panel keeps its height
// while the list takes the extra room. One run per tab.
#include <gtest/gtest.h>

#include "app/layout_support.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTreeView>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/holdings/holdings_tab.h"
#include "app/margin/margin_tab.h"
#include "app/shell/widgets.h"

namespace {

using tomvik::app::HoldingsTab;
using tomvik::app::LedgerTab;
using tomvik::app::MarginTab;
using tomvik::app::UpDownArrows;

using tomvik::testing::ExpectNothingClipped;
using tomvik::testing::Named;
using tomvik::testing::SaveShot;
using tomvik::testing::Settle;

struct Column {
  const char* caption;
  int width;
  bool right;
};

// What sets the two tabs apart on the screen.
struct TabCase {
  const char* label;
  std::function<std::unique_ptr<LedgerTab>(tomvik::core::Books&)> make;
  const char* suffix;
  const char* sheet;
  const char* panel;
  const char* list;
  const char* rate;
  QDate date;
  const char* dateText;
  const char* buy;
  const char* sell;
  bool sellOpensWithTheGroup;  // "売建" yes; "売り" waits for the old-version mode
  const char* subCheck;
  const char* subCheckCaption;
  const char* subTitle;
  const char* subFirst;
  const char* subSecond;
  bool subFirstEnabled;
  bool subSecondChecked;
  const char* subButton;
  const char* subButtonCaption;
  std::vector<Column> columns;
  tomvik::core::LedgerRow sample;  // a row of the ledger, and what the list shows of it
  std::vector<std::pair<int, const char*>> sampleTexts;

  std::string name(const char* base, const char* after = "") const { return std::string(base) + suffix + after; }
};

void PrintTo(const TabCase& c, std::ostream* out) { *out << c.label; }

const TabCase kHoldings{
    "Holdings",
    [](tomvik::core::Books& books) { return std::make_unique<HoldingsTab>(books); },
    "2",
    "TabSheetHold",
    "PanelHold",
    "ListViewHold",
    "PanelHoldPer",
    QDate(2024, 1, 15),
    "2024年01月15日（月）",
    "買い",
    "売り",
    false,
    "CheckBoxHoldSell",
    "保有銘柄売却",
    "金額",
    "買い",
    "売り",
    false,
    true,
    "ButtonHoldSel",
    "売却",
    {{"", 1, false},
     {"取引", 38, false},
     {"銘柄", 100, false},
     {"取引所", 56, false},
     {"単位", 50, true},
     {"総額", 70, true},
     {"株数", 50, true},
     {"平均単価", 70, true},
     {"時価", 70, true},
     {"騰落率", 55, true},
     {"損益", 70, true},
     {"コメント", 100, false}},
    {"12341",
     {"", "\x94\x83", "1234 Mihon", "Tosho", "100", "412,000", "1,000", "412", "430", "+4.37%", "18,000", "memo"}},
    {{1, "買"}, {5, "412,000"}, {9, "+4.37%"}, {11, "memo"}},
};

const TabCase kMargin{
    "Margin",
    [](tomvik::core::Books& books) { return std::make_unique<MarginTab>(books); },
    "L",
    "TabSheetLoan",
    "PanelLoan",
    "ListViewLoan",
    "PanelHoldPerL",
    QDate(2011, 1, 5),
    "2011年01月05日（水）",
    "買建",
    "売建",
    true,
    "CheckBoxSettlement",
    "信用建玉決済",
    "買建",
    "現引き",
    "売返済",
    true,
    false,
    "ButtonSettlement",
    "決済",
    {{"", 1, false},
     {"建玉", 44, false},
     {"新規建日", 72, false},
     {"銘柄", 100, false},
     {"取引所", 56, false},
     {"単位", 50, true},
     {"総額", 70, true},
     {"株数", 50, true},
     {"単価", 70, true},
     {"時価", 70, true},
     {"騰落率", 55, true},
     {"損益", 70, true},
     {"コメント", 100, false}},
    {"123452011/01/05001",
     {"", "\x94\x83\x8c\x9a", "2011/01/05", "1234 Mihon", "Tosho", "1000", "412,000", "1,000", "412", "430", "+4.37%",
      "18,000", "memo"}},
    {{1, "買建"}, {2, "2011/01/05"}, {8, "412"}, {11, "18,000"}, {12, "memo"}},
};

struct ButtonState {
  std::string name;
  const char* caption;
  bool shown;
  bool enabled;
  bool checked;
};

void ExpectButtons(QWidget& tab, std::initializer_list<ButtonState> states) {
  for (const ButtonState& expected : states) {
    auto* button = Named<QAbstractButton>(tab, expected.name.c_str());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption)) << expected.name;
    EXPECT_EQ(button->isVisibleTo(&tab), expected.shown) << expected.name;
    EXPECT_EQ(button->isEnabled(), expected.enabled) << expected.name;
    EXPECT_EQ(button->isChecked(), expected.checked) << expected.name;
  }
}

class LedgerTabLayout : public ::testing::TestWithParam<TabCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    books_.folder = folder_.path().toStdString();
    tab_ = GetParam().make(books_);
    tab_->ui.Date->setDate(GetParam().date);
    tab_->resize(650, 370);
    tab_->show();
    Settle(*tab_);
  }

  template <typename T>
  T* named(const std::string& name) {
    return Named<T>(*tab_, name.c_str());
  }

  // What the initial-setup mode changes on the panel, for the look of it.
  void showSetupMode(bool on) {
    LedgerTab::Ui& ui = tab_->ui;
    ui.StockGroup->setEnabled(on);
    ui.AmountGroup->setEnabled(on);
    for (QLineEdit* field : {ui.Code, ui.Name, ui.Unit, ui.Total, ui.Shares}) {
      field->setEnabled(on);
      field->setReadOnly(!on);
    }
    ui.SharesArrows->setEnabled(on);
    ui.Add->setVisible(on);
    ui.Delete->setVisible(on);
    ui.SubCheck->setVisible(!on);
    Settle(*tab_);
  }
  std::string shot(const char* what) const { return std::string(GetParam().label) + "_tab_" + what + ".png"; }

  QTemporaryDir folder_;
  tomvik::core::Books books_;
  std::unique_ptr<LedgerTab> tab_;
};

TEST_P(LedgerTabLayout, NormalModeLocksTheRowAndLeavesPriceAndComment) {
  const TabCase& c = GetParam();
  LedgerTab& tab = *tab_;
  EXPECT_EQ(tab.objectName(), QString::fromLatin1(c.sheet));
  ASSERT_NE(named<QWidget>(c.panel), nullptr);

  auto* stockGroup = named<QGroupBox>(c.name("GroupBox", "a"));
  auto* amountGroup = named<QGroupBox>(c.name("GroupBox", "b"));
  ASSERT_TRUE(stockGroup && amountGroup);
  EXPECT_FALSE(stockGroup->isEnabled());
  EXPECT_FALSE(amountGroup->isEnabled());
  for (const char* base : {"MaskEditStockCode", "EditStockName", "EditStockUnit"}) {
    auto* field = named<QLineEdit>(c.name(base));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(stockGroup->isAncestorOf(field)) << base;
    EXPECT_TRUE(field->isReadOnly()) << base;
  }
  for (const char* base : {"EditPrice", "EditNum", "MemoPrice"}) {
    auto* field = named<QLineEdit>(c.name(base));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(amountGroup->isAncestorOf(field)) << base;
    EXPECT_TRUE(field->isReadOnly()) << base;
    EXPECT_EQ(field->text(), QStringLiteral("0")) << base;
  }
  EXPECT_EQ(named<QLineEdit>(c.name("MaskEditStockCode"))->inputMask(), QStringLiteral("9999"));
  auto* shareArrows = named<UpDownArrows>(c.name("UpDownNum"));
  EXPECT_TRUE(amountGroup->isAncestorOf(shareArrows));
  EXPECT_FALSE(shareArrows->isEnabled());
  auto* exchange = named<QComboBox>(c.name("ComboBoxStockExchange"));
  ASSERT_NE(exchange, nullptr);
  EXPECT_TRUE(stockGroup->isAncestorOf(exchange));
  EXPECT_TRUE(exchange->isEditable());
  ASSERT_EQ(exchange->count(), 5);
  EXPECT_EQ(exchange->itemText(0), QStringLiteral("東証１部"));
  EXPECT_EQ(exchange->itemText(1), QStringLiteral("東証２部"));
  EXPECT_EQ(exchange->itemText(4), QStringLiteral("ヘラクレス"));

  // The buy side is chosen at first; both lie in the locked amount group.
  ExpectButtons(
      tab, {{c.name("RadioButtonB"), c.buy, true, false, true}, {c.name("RadioButtonS"), c.sell, true, false, false}});
  auto* buy = named<QRadioButton>(c.name("RadioButtonB"));
  auto* sell = named<QRadioButton>(c.name("RadioButtonS"));
  EXPECT_TRUE(amountGroup->isAncestorOf(buy));
  EXPECT_TRUE(buy->isEnabledTo(amountGroup));
  EXPECT_EQ(sell->isEnabledTo(amountGroup), c.sellOpensWithTheGroup);

  // Market price, its arrows and the comment stay open.
  auto* market = named<QLineEdit>(c.name("EditMarketPrice"));
  ASSERT_NE(market, nullptr);
  EXPECT_TRUE(market->isEnabled());
  EXPECT_FALSE(market->isReadOnly());
  EXPECT_TRUE(market->alignment() & Qt::AlignRight);
  EXPECT_TRUE(named<UpDownArrows>(c.name("UpDownMarketPrice"))->isEnabled());
  auto* comment = named<QPlainTextEdit>(c.name("RichEditComment"));
  ASSERT_NE(comment, nullptr);
  EXPECT_TRUE(comment->isEnabled());
  EXPECT_FALSE(comment->isReadOnly());
  EXPECT_TRUE(comment->toPlainText().isEmpty());

  auto* result = named<QLineEdit>(c.name("MemoPM"));
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(result->isReadOnly());
  EXPECT_EQ(result->text(), QStringLiteral("0"));
  auto* rate = named<QLabel>(c.rate);
  ASSERT_NE(rate, nullptr);
  EXPECT_EQ(rate->text(), QStringLiteral("0.00%"));
  EXPECT_EQ(rate->palette().color(QPalette::Window), QColor(240, 224, 240));

  ExpectButtons(tab, {{c.name("ButtonAdd"), "追加", false, true, false},
                      {c.name("ButtonUpd"), "更新", true, false, false},
                      {c.name("ButtonDel"), "削除", false, false, false},
                      {c.name("CheckBoxClearD"), "", true, true, true},
                      {c.name("CheckBoxAllD"), "", true, true, false},
                      {c.name("ButtonHoldDiary"), "日記", true, false, false},
                      {c.subCheck, c.subCheckCaption, true, false, false}});
  EXPECT_EQ(named<QCheckBox>(c.name("CheckBoxClearD"))->toolTip(), QStringLiteral("有効"));
  EXPECT_EQ(named<QCheckBox>(c.name("CheckBoxAllD"))->toolTip(), QStringLiteral("一括"));

  auto* picker = named<QDateEdit>(c.name("DateTimePicker"));
  ASSERT_NE(picker, nullptr);
  EXPECT_TRUE(picker->calendarPopup());
  EXPECT_EQ(picker->text(), QString::fromUtf8(c.dateText));
}

TEST_P(LedgerTabLayout, SubPanelWaitsHiddenOverTheAmountGroup) {
  const TabCase& c = GetParam();
  LedgerTab& tab = *tab_;
  auto* sub = named<QGroupBox>(c.name("GroupBoxPrice", "x"));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->title(), QString::fromUtf8(c.subTitle));
  EXPECT_FALSE(sub->isVisibleTo(&tab));

  for (const char* base : {"EditPrice", "EditNum", "EditTax"}) {
    auto* field = named<QLineEdit>(c.name(base, "x"));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(sub->isAncestorOf(field)) << base;
    EXPECT_FALSE(field->isReadOnly()) << base;
    EXPECT_TRUE(field->alignment() & Qt::AlignRight) << base;
  }
  for (const char* base : {"UpDownPrice", "UpDownNum"}) {
    EXPECT_TRUE(sub->isAncestorOf(named<UpDownArrows>(c.name(base, "x")))) << base;
  }
  auto* charge = named<QComboBox>(c.name("ComboBoxCharge", "x"));
  ASSERT_NE(charge, nullptr);
  EXPECT_TRUE(sub->isAncestorOf(charge));
  EXPECT_TRUE(charge->isEditable());
  EXPECT_EQ(charge->count(), 0);
  auto* amount = named<QLineEdit>(c.name("MemoPrice", "x"));
  ASSERT_NE(amount, nullptr);
  EXPECT_TRUE(amount->isReadOnly());
  EXPECT_EQ(amount->text(), QStringLiteral("0"));

  // A sale only shows its side; no way of settling is chosen before a
  // position is opened.
  ExpectButtons(tab, {{c.name("RadioButtonB", "x"), c.subFirst, false, c.subFirstEnabled, false},
                      {c.name("RadioButtonS", "x"), c.subSecond, false, true, c.subSecondChecked},
                      {c.subButton, c.subButtonCaption, false, true, false}});
  EXPECT_TRUE(sub->isAncestorOf(named<QPushButton>(c.subButton)));
  // The choices are apart from the panel's side.
  named<QRadioButton>(c.name("RadioButtonS", "x"))->setChecked(true);
  named<QRadioButton>(c.name("RadioButtonB"))->setChecked(true);
  EXPECT_TRUE(named<QRadioButton>(c.name("RadioButtonS", "x"))->isChecked());

  // Shown, it covers the amount group without moving anything.
  const QRect groupBefore = tab.ui.AmountGroup->geometry();
  const QRect listBefore = tab.ui.List->geometry();
  sub->show();
  Settle(tab);
  EXPECT_EQ(sub->geometry(), tab.ui.AmountGroup->geometry());
  EXPECT_EQ(tab.ui.AmountGroup->geometry(), groupBefore);
  EXPECT_EQ(tab.ui.List->geometry(), listBefore);
  ExpectNothingClipped(tab);
  SaveShot(tab, shot("sub_650x370").c_str());
}

TEST_P(LedgerTabLayout, ListHasTheLedgersColumns) {
  const TabCase& c = GetParam();
  auto* list = named<QTreeView>(c.list);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model(), tab_->ui.Model);
  const int count = static_cast<int>(c.columns.size());
  ASSERT_EQ(list->model()->columnCount(), count);
  for (int i = 0; i < count; ++i) {
    const Column& expected = c.columns[static_cast<std::size_t>(i)];
    EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), QString::fromUtf8(expected.caption)) << i;
    EXPECT_EQ(
        static_cast<bool>(list->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                          Qt::AlignRight),
        expected.right)
        << i;
    // The reserved cell is kept out of sight.
    EXPECT_EQ(list->isColumnHidden(i), i == 0) << i;
    if (i > 0) {
      EXPECT_EQ(list->columnWidth(i), expected.width) << i;
    }
  }

  // A row appears cell by cell under its captions.
  (c.suffix[0] == '2' ? books_.holdings : books_.positions).insert(c.sample);
  tab_->ui.Model->sync();
  ASSERT_EQ(list->model()->rowCount(), 1);
  for (const auto& [column, text] : c.sampleTexts) {
    EXPECT_EQ(list->model()->index(0, column).data().toString(), QString::fromUtf8(text)) << column;
  }
  EXPECT_TRUE(list->model()->index(0, count - 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
}

TEST_P(LedgerTabLayout, FitsTheDefaultSizeAndGivesExtraRoomToTheList) {
  LedgerTab& tab = *tab_;
  QWidget* panel = tab.ui.Panel;
  QWidget* list = tab.ui.List;
  EXPECT_EQ(tab.ui.Splitter->orientation(), Qt::Vertical);
  EXPECT_EQ(tab.ui.Splitter->widget(0), panel);
  EXPECT_EQ(tab.ui.Splitter->widget(1), list);
  EXPECT_EQ(panel->height(), 168);
  ExpectNothingClipped(tab);
  SaveShot(tab, shot("650x370").c_str());

  showSetupMode(true);
  ExpectNothingClipped(tab);
  SaveShot(tab, shot("setup_650x370").c_str());
  showSetupMode(false);

  const int listHeight = list->height();
  tab.resize(1000, 700);
  Settle(tab);
  ExpectNothingClipped(tab);
  EXPECT_EQ(panel->height(), 168);
  EXPECT_GT(list->height(), listHeight + 300);
  SaveShot(tab, shot("1000x700").c_str());
}

INSTANTIATE_TEST_SUITE_P(BothTabs, LedgerTabLayout, ::testing::Values(kHoldings, kMargin),
                         [](const ::testing::TestParamInfo<TabCase>& tab) { return std::string(tab.param.label); });

// What only one of the two has.

TEST(HoldingsTabLayout, TheAdditionalBuyCheckTakesTheSalesPlaceInTheOldVersionsMode) {
  tomvik::core::Books books;
  HoldingsTab tab(books);
  tab.resize(650, 370);
  tab.show();
  Settle(tab);
  ExpectButtons(tab, {{"CheckBoxSimulation", "買い増しチェック", false, true, false}});
  EXPECT_FALSE(tab.ui.All->isTristate());
  tab.ui.SubCheck->hide();
  tab.CheckBoxSimulation->show();
  Settle(tab);
  ExpectNothingClipped(tab);
}

TEST(MarginTabLayout, AllAtOnceBoxHasThreeStates) {
  tomvik::core::Books books;
  MarginTab tab(books);
  QCheckBox* box = tab.ui.All;
  ASSERT_TRUE(box->isTristate());
  EXPECT_EQ(box->checkState(), Qt::Unchecked);
  // A click walks unchecked, greyed, checked, as the settings store 0, 2, 1.
  box->click();
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
  box->click();
  EXPECT_EQ(box->checkState(), Qt::Checked);
  box->click();
  EXPECT_EQ(box->checkState(), Qt::Unchecked);
}

TEST(MarginTabLayout, TheSettlementPanelShowsTheCaptionsOfASellPositionUncut) {
  tomvik::core::Books books;
  MarginTab tab(books);
  tab.resize(650, 370);
  tab.show();
  Settle(tab);
  tab.ui.SubGroup->setTitle(QStringLiteral("売建"));
  tab.ui.SubFirst->setText(QStringLiteral("買返済"));
  tab.ui.SubSecond->setText(QStringLiteral("現渡し"));
  tab.ui.SubGroup->show();
  Settle(tab);
  ExpectNothingClipped(tab);
  SaveShot(tab, "margin_tab_settle_650x370.png");
}

}  // namespace
