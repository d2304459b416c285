// The cash holdings tab at its default and at a large size: every control is
// there with its caption and initial state, the sell sub-panel waits hidden
// over the amount group, nothing is cut off, and the panel keeps its height
// while the list takes the extra room.
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

#include "app/holdings/holdings_tab.h"
#include "app/shell/widgets.h"

namespace {

using tomvik::app::HoldingsTab;
using tomvik::app::UpDownArrows;

using tomvik::testing::ExpectNothingClipped;
using tomvik::testing::Named;
using tomvik::testing::SaveShot;
using tomvik::testing::Settle;

class HoldingsTabLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    books_.folder = folder_.path().toStdString();
    tab_ = std::make_unique<HoldingsTab>(books_);
    tab_->ui.DateTimePicker2->setDate(QDate(2024, 1, 15));
    tab_->resize(650, 370);
    tab_->show();
    Settle(*tab_);
  }

  // What the initial-setup mode changes on the panel, for the look of it.
  void showSetupMode(bool on) {
    HoldingsTab::Ui& ui = tab_->ui;
    ui.GroupBox2a->setEnabled(on);
    ui.GroupBox2b->setEnabled(on);
    for (QLineEdit* field : {ui.MaskEditStockCode2, ui.EditStockName2, ui.EditStockUnit2, ui.EditPrice2, ui.EditNum2}) {
      field->setEnabled(on);
      field->setReadOnly(!on);
    }
    ui.UpDownNum2->setEnabled(on);
    ui.ButtonAdd2->setVisible(on);
    ui.ButtonDel2->setVisible(on);
    ui.CheckBoxHoldSell->setVisible(!on);
    Settle(*tab_);
  }

  QTemporaryDir folder_;
  tomvik::core::Books books_;
  std::unique_ptr<HoldingsTab> tab_;
};

struct ButtonState {
  const char* name;
  const char* caption;
  bool shown;
  bool enabled;
  bool checked;
};

void ExpectButtons(QWidget& tab, std::initializer_list<ButtonState> states) {
  for (const ButtonState& expected : states) {
    auto* button = Named<QAbstractButton>(tab, expected.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption)) << expected.name;
    EXPECT_EQ(button->isVisibleTo(&tab), expected.shown) << expected.name;
    EXPECT_EQ(button->isEnabled(), expected.enabled) << expected.name;
    EXPECT_EQ(button->isChecked(), expected.checked) << expected.name;
  }
}

TEST_F(HoldingsTabLayout, NormalModeLocksTheHoldingAndLeavesPriceAndComment) {
  HoldingsTab& tab = *tab_;
  EXPECT_EQ(tab.objectName(), QStringLiteral("TabSheetHold"));
  ASSERT_NE(Named<QWidget>(tab, "PanelHold"), nullptr);

  auto* stockGroup = Named<QGroupBox>(tab, "GroupBox2a");
  auto* amountGroup = Named<QGroupBox>(tab, "GroupBox2b");
  ASSERT_TRUE(stockGroup && amountGroup);
  EXPECT_FALSE(stockGroup->isEnabled());
  EXPECT_FALSE(amountGroup->isEnabled());
  for (const char* name : {"MaskEditStockCode2", "EditStockName2", "EditStockUnit2"}) {
    auto* field = Named<QLineEdit>(tab, name);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(stockGroup->isAncestorOf(field)) << name;
    EXPECT_TRUE(field->isReadOnly()) << name;
  }
  for (const char* name : {"EditPrice2", "EditNum2", "MemoPrice2"}) {
    auto* field = Named<QLineEdit>(tab, name);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(amountGroup->isAncestorOf(field)) << name;
    EXPECT_TRUE(field->isReadOnly()) << name;
    EXPECT_EQ(field->text(), QStringLiteral("0")) << name;
  }
  EXPECT_EQ(tab.ui.MaskEditStockCode2->inputMask(), QStringLiteral("9999"));
  EXPECT_TRUE(amountGroup->isAncestorOf(Named<QWidget>(tab, "UpDownNum2")));
  EXPECT_FALSE(tab.ui.UpDownNum2->isEnabled());
  auto* exchange = Named<QComboBox>(tab, "ComboBoxStockExchange2");
  ASSERT_NE(exchange, nullptr);
  EXPECT_TRUE(stockGroup->isAncestorOf(exchange));
  EXPECT_TRUE(exchange->isEditable());
  ASSERT_EQ(exchange->count(), 5);
  EXPECT_EQ(exchange->itemText(0), QStringLiteral("東証１部"));
  EXPECT_EQ(exchange->itemText(4), QStringLiteral("ヘラクレス"));

  // The side shows a bought holding; "売り" waits for the old-version mode.
  // (Both lie in the locked amount group.)
  ExpectButtons(tab, {{"RadioButtonB2", "買い", true, false, true}, {"RadioButtonS2", "売り", true, false, false}});
  EXPECT_TRUE(amountGroup->isAncestorOf(tab.ui.RadioButtonB2));
  EXPECT_TRUE(tab.ui.RadioButtonB2->isEnabledTo(amountGroup));
  EXPECT_FALSE(tab.ui.RadioButtonS2->isEnabledTo(amountGroup));

  // Market price, its arrows and the comment stay open.
  auto* market = Named<QLineEdit>(tab, "EditMarketPrice2");
  ASSERT_NE(market, nullptr);
  EXPECT_TRUE(market->isEnabled());
  EXPECT_FALSE(market->isReadOnly());
  EXPECT_TRUE(market->alignment() & Qt::AlignRight);
  EXPECT_TRUE(Named<UpDownArrows>(tab, "UpDownMarketPrice2")->isEnabled());
  auto* comment = Named<QPlainTextEdit>(tab, "RichEditComment2");
  ASSERT_NE(comment, nullptr);
  EXPECT_TRUE(comment->isEnabled());
  EXPECT_FALSE(comment->isReadOnly());
  EXPECT_TRUE(comment->toPlainText().isEmpty());

  auto* result = Named<QLineEdit>(tab, "MemoPM2");
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(result->isReadOnly());
  EXPECT_EQ(result->text(), QStringLiteral("0"));
  auto* rate = Named<QLabel>(tab, "PanelHoldPer");
  ASSERT_NE(rate, nullptr);
  EXPECT_EQ(rate->text(), QStringLiteral("0.00%"));
  EXPECT_EQ(rate->palette().color(QPalette::Window), QColor(240, 224, 240));

  ExpectButtons(tab, {{"ButtonAdd2", "追加", false, true, false},
                      {"ButtonUpd2", "更新", true, false, false},
                      {"ButtonDel2", "削除", false, false, false},
                      {"CheckBoxClearD2", "", true, true, true},
                      {"CheckBoxAllD2", "", true, true, false},
                      {"ButtonHoldDiary2", "日記", true, false, false},
                      {"CheckBoxHoldSell", "保有銘柄売却", true, false, false},
                      {"CheckBoxSimulation", "買い増しチェック", false, true, false}});
  EXPECT_EQ(tab.ui.CheckBoxClearD2->toolTip(), QStringLiteral("有効"));
  EXPECT_EQ(tab.ui.CheckBoxAllD2->toolTip(), QStringLiteral("一括"));
  EXPECT_FALSE(tab.ui.CheckBoxAllD2->isTristate());

  auto* picker = Named<QDateEdit>(tab, "DateTimePicker2");
  ASSERT_NE(picker, nullptr);
  EXPECT_TRUE(picker->calendarPopup());
  EXPECT_EQ(picker->text(), QStringLiteral("2024年01月15日（月）"));
}

TEST_F(HoldingsTabLayout, SellPanelWaitsHiddenOverTheAmountGroup) {
  HoldingsTab& tab = *tab_;
  auto* sell = Named<QGroupBox>(tab, "GroupBoxPrice2x");
  ASSERT_NE(sell, nullptr);
  EXPECT_EQ(sell->title(), QStringLiteral("金額"));
  EXPECT_FALSE(sell->isVisibleTo(&tab));

  for (const char* name : {"EditPrice2x", "EditNum2x", "EditTax2x"}) {
    auto* field = Named<QLineEdit>(tab, name);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(sell->isAncestorOf(field)) << name;
    EXPECT_FALSE(field->isReadOnly()) << name;
    EXPECT_TRUE(field->alignment() & Qt::AlignRight) << name;
  }
  for (const char* name : {"UpDownPrice2x", "UpDownNum2x"})
    EXPECT_TRUE(sell->isAncestorOf(Named<UpDownArrows>(tab, name))) << name;
  auto* charge = Named<QComboBox>(tab, "ComboBoxCharge2x");
  ASSERT_NE(charge, nullptr);
  EXPECT_TRUE(sell->isAncestorOf(charge));
  EXPECT_TRUE(charge->isEditable());
  EXPECT_EQ(charge->count(), 0);
  auto* proceeds = Named<QLineEdit>(tab, "MemoPrice2x");
  ASSERT_NE(proceeds, nullptr);
  EXPECT_TRUE(proceeds->isReadOnly());
  EXPECT_EQ(proceeds->text(), QStringLiteral("0"));

  // The side cannot be changed: a sale is always "売り".
  ExpectButtons(tab, {{"RadioButtonB2x", "買い", false, false, false}, {"RadioButtonS2x", "売り", false, true, true}});
  auto* button = Named<QPushButton>(tab, "ButtonHoldSel");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("売却"));
  EXPECT_TRUE(sell->isAncestorOf(button));
  // The two side pairs are apart: checking the panel's "買い" leaves the sale
  // on "売り".
  tab.ui.RadioButtonB2->setChecked(true);
  EXPECT_TRUE(tab.ui.RadioButtonS2x->isChecked());

  // Shown, it covers the amount group without moving anything.
  const QRect groupBefore = tab.ui.GroupBox2b->geometry();
  const QRect listBefore = tab.ui.ListViewHold->geometry();
  sell->show();
  Settle(tab);
  EXPECT_EQ(sell->geometry(), tab.ui.GroupBox2b->geometry());
  EXPECT_EQ(tab.ui.GroupBox2b->geometry(), groupBefore);
  EXPECT_EQ(tab.ui.ListViewHold->geometry(), listBefore);
  ExpectNothingClipped(tab);
  SaveShot(tab, "holdings_tab_sell_650x370.png");
}

TEST_F(HoldingsTabLayout, ListHasTheHoldingColumns) {
  auto* list = Named<QTreeView>(*tab_, "ListViewHold");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model(), tab_->ui.Model);
  struct Column {
    const char* caption;
    int width;
    bool right;
  };
  const Column columns[] = {
      {"", 1, false},     {"取引", 38, false},  {"銘柄", 100, false}, {"取引所", 56, false},
      {"単位", 50, true}, {"総額", 70, true},   {"株数", 50, true},   {"平均単価", 70, true},
      {"時価", 70, true}, {"騰落率", 55, true}, {"損益", 70, true},   {"コメント", 100, false},
  };
  ASSERT_EQ(list->model()->columnCount(), 12);
  for (int i = 0; i < 12; ++i) {
    const Column& expected = columns[i];
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

  // A holding row appears cell by cell under its captions.
  tomvik::core::LedgerRow row;
  row.key = "12341";
  row.cells = {"",      "\x94\x83", "1234 Mihon", "Tosho",  "100",    "412,000",
               "1,000", "412",      "430",        "+4.37%", "18,000", "memo"};
  books_.holdings.insert(row);
  tab_->ui.Model->sync();
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), QStringLiteral("買"));
  EXPECT_EQ(list->model()->index(0, 5).data().toString(), QStringLiteral("412,000"));
  EXPECT_EQ(list->model()->index(0, 9).data().toString(), QStringLiteral("+4.37%"));
  EXPECT_EQ(list->model()->index(0, 11).data().toString(), QStringLiteral("memo"));
  EXPECT_TRUE(list->model()->index(0, 10).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
}

TEST_F(HoldingsTabLayout, FitsTheDefaultSizeAndGivesExtraRoomToTheList) {
  HoldingsTab& tab = *tab_;
  QWidget* panel = tab.ui.PanelHold;
  QWidget* list = tab.ui.ListViewHold;
  EXPECT_EQ(tab.ui.Splitter->orientation(), Qt::Vertical);
  EXPECT_EQ(tab.ui.Splitter->widget(0), panel);
  EXPECT_EQ(tab.ui.Splitter->widget(1), list);
  EXPECT_EQ(panel->height(), 168);
  ExpectNothingClipped(tab);
  SaveShot(tab, "holdings_tab_650x370.png");

  showSetupMode(true);
  ExpectNothingClipped(tab);
  SaveShot(tab, "holdings_tab_setup_650x370.png");
  showSetupMode(false);

  // In the old-version mode the additional-buy check takes the sale's place.
  tab.ui.CheckBoxHoldSell->hide();
  tab.ui.CheckBoxSimulation->show();
  Settle(tab);
  ExpectNothingClipped(tab);
  tab.ui.CheckBoxSimulation->hide();
  tab.ui.CheckBoxHoldSell->show();

  const int listHeight = list->height();
  tab.resize(1000, 700);
  Settle(tab);
  ExpectNothingClipped(tab);
  EXPECT_EQ(panel->height(), 168);
  EXPECT_GT(list->height(), listHeight + 300);
  SaveShot(tab, "holdings_tab_1000x700.png");
}

}  // namespace
