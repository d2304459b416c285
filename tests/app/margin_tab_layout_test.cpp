// The margin positions tab at its default and at a large size: every control
// is there with its caption and initial state, the settlement sub-panel
// waits hidden over the amount group, nothing is cut off, and the panel
// keeps its height while the list takes the extra room.
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

#include "app/margin/margin_tab.h"
#include "app/shell/widgets.h"

namespace {

using tomvik::app::MarginTab;
using tomvik::app::UpDownArrows;

using tomvik::testing::ExpectNothingClipped;
using tomvik::testing::Named;
using tomvik::testing::SaveShot;
using tomvik::testing::Settle;

class MarginTabLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    books_.folder = folder_.path().toStdString();
    tab_ = std::make_unique<MarginTab>(books_);
    tab_->ui.DateTimePickerL->setDate(QDate(2011, 1, 5));
    tab_->resize(650, 370);
    tab_->show();
    Settle(*tab_);
  }

  // What the initial-setup mode changes on the panel, for the look of it.
  void showSetupMode(bool on) {
    MarginTab::Ui& ui = tab_->ui;
    ui.GroupBoxLa->setEnabled(on);
    ui.GroupBoxLb->setEnabled(on);
    for (QLineEdit* field : {ui.MaskEditStockCodeL, ui.EditStockNameL, ui.EditStockUnitL, ui.EditPriceL, ui.EditNumL}) {
      field->setEnabled(on);
      field->setReadOnly(!on);
    }
    ui.UpDownNumL->setEnabled(on);
    ui.ButtonAddL->setVisible(on);
    ui.ButtonDelL->setVisible(on);
    ui.CheckBoxSettlement->setVisible(!on);
    Settle(*tab_);
  }

  QTemporaryDir folder_;
  tomvik::core::Books books_;
  std::unique_ptr<MarginTab> tab_;
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

TEST_F(MarginTabLayout, NormalModeLocksThePositionAndLeavesPriceAndComment) {
  MarginTab& tab = *tab_;
  EXPECT_EQ(tab.objectName(), QStringLiteral("TabSheetLoan"));
  ASSERT_NE(Named<QWidget>(tab, "PanelLoan"), nullptr);

  auto* stockGroup = Named<QGroupBox>(tab, "GroupBoxLa");
  auto* amountGroup = Named<QGroupBox>(tab, "GroupBoxLb");
  ASSERT_TRUE(stockGroup && amountGroup);
  EXPECT_FALSE(stockGroup->isEnabled());
  EXPECT_FALSE(amountGroup->isEnabled());
  for (const char* name : {"MaskEditStockCodeL", "EditStockNameL", "EditStockUnitL"}) {
    auto* field = Named<QLineEdit>(tab, name);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(stockGroup->isAncestorOf(field)) << name;
    EXPECT_TRUE(field->isReadOnly()) << name;
  }
  for (const char* name : {"EditPriceL", "EditNumL", "MemoPriceL"}) {
    auto* field = Named<QLineEdit>(tab, name);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(amountGroup->isAncestorOf(field)) << name;
    EXPECT_TRUE(field->isReadOnly()) << name;
    EXPECT_EQ(field->text(), QStringLiteral("0")) << name;
  }
  EXPECT_EQ(tab.ui.MaskEditStockCodeL->inputMask(), QStringLiteral("9999"));
  EXPECT_TRUE(amountGroup->isAncestorOf(Named<QWidget>(tab, "UpDownNumL")));
  EXPECT_FALSE(tab.ui.UpDownNumL->isEnabled());
  auto* exchange = Named<QComboBox>(tab, "ComboBoxStockExchangeL");
  ASSERT_NE(exchange, nullptr);
  EXPECT_TRUE(stockGroup->isAncestorOf(exchange));
  EXPECT_TRUE(exchange->isEditable());
  ASSERT_EQ(exchange->count(), 5);
  EXPECT_EQ(exchange->itemText(1), QStringLiteral("東証２部"));

  // "買建" is chosen at first; both sides open up with the amount group.
  ExpectButtons(tab, {{"RadioButtonBL", "買建", true, false, true}, {"RadioButtonSL", "売建", true, false, false}});
  EXPECT_TRUE(amountGroup->isAncestorOf(tab.ui.RadioButtonSL));
  EXPECT_TRUE(tab.ui.RadioButtonBL->isEnabledTo(amountGroup));
  EXPECT_TRUE(tab.ui.RadioButtonSL->isEnabledTo(amountGroup));

  auto* market = Named<QLineEdit>(tab, "EditMarketPriceL");
  ASSERT_NE(market, nullptr);
  EXPECT_TRUE(market->isEnabled());
  EXPECT_FALSE(market->isReadOnly());
  EXPECT_TRUE(Named<UpDownArrows>(tab, "UpDownMarketPriceL")->isEnabled());
  auto* comment = Named<QPlainTextEdit>(tab, "RichEditCommentL");
  ASSERT_NE(comment, nullptr);
  EXPECT_TRUE(comment->isEnabled());
  EXPECT_FALSE(comment->isReadOnly());

  auto* result = Named<QLineEdit>(tab, "MemoPML");
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(result->isReadOnly());
  EXPECT_EQ(result->text(), QStringLiteral("0"));
  auto* rate = Named<QLabel>(tab, "PanelHoldPerL");
  ASSERT_NE(rate, nullptr);
  EXPECT_EQ(rate->text(), QStringLiteral("0.00%"));
  EXPECT_EQ(rate->palette().color(QPalette::Window), QColor(240, 224, 240));

  ExpectButtons(tab, {{"ButtonAddL", "追加", false, true, false},
                      {"ButtonUpdL", "更新", true, false, false},
                      {"ButtonDelL", "削除", false, false, false},
                      {"CheckBoxClearDL", "", true, true, true},
                      {"CheckBoxAllDL", "", true, true, false},
                      {"ButtonHoldDiaryL", "日記", true, false, false},
                      {"CheckBoxSettlement", "信用建玉決済", true, false, false}});
  EXPECT_EQ(tab.ui.CheckBoxClearDL->toolTip(), QStringLiteral("有効"));
  EXPECT_EQ(tab.ui.CheckBoxAllDL->toolTip(), QStringLiteral("一括"));

  auto* picker = Named<QDateEdit>(tab, "DateTimePickerL");
  ASSERT_NE(picker, nullptr);
  EXPECT_TRUE(picker->calendarPopup());
  EXPECT_EQ(picker->text(), QStringLiteral("2011年01月05日（水）"));
}

TEST_F(MarginTabLayout, AllAtOnceBoxHasThreeStates) {
  QCheckBox* box = tab_->ui.CheckBoxAllDL;
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

TEST_F(MarginTabLayout, SettlementPanelWaitsHiddenOverTheAmountGroup) {
  MarginTab& tab = *tab_;
  auto* settle = Named<QGroupBox>(tab, "GroupBoxPriceLx");
  ASSERT_NE(settle, nullptr);
  EXPECT_FALSE(settle->isVisibleTo(&tab));
  EXPECT_EQ(settle->title(), QStringLiteral("買建"));

  for (const char* name : {"EditPriceLx", "EditNumLx", "EditTaxLx"}) {
    auto* field = Named<QLineEdit>(tab, name);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(settle->isAncestorOf(field)) << name;
    EXPECT_FALSE(field->isReadOnly()) << name;
    EXPECT_TRUE(field->alignment() & Qt::AlignRight) << name;
  }
  for (const char* name : {"UpDownPriceLx", "UpDownNumLx"})
    EXPECT_TRUE(settle->isAncestorOf(Named<UpDownArrows>(tab, name))) << name;
  auto* charge = Named<QComboBox>(tab, "ComboBoxChargeLx");
  ASSERT_NE(charge, nullptr);
  EXPECT_TRUE(settle->isAncestorOf(charge));
  EXPECT_TRUE(charge->isEditable());
  auto* amount = Named<QLineEdit>(tab, "MemoPriceLx");
  ASSERT_NE(amount, nullptr);
  EXPECT_TRUE(amount->isReadOnly());
  EXPECT_EQ(amount->text(), QStringLiteral("0"));

  // No way of settling is chosen before a position is opened.
  ExpectButtons(tab, {{"RadioButtonBLx", "現引き", false, true, false},
                      {"RadioButtonSLx", "売返済", false, true, false},
                      {"ButtonSettlement", "決済", false, true, false}});
  EXPECT_TRUE(settle->isAncestorOf(tab.ui.ButtonSettlement));
  // The choices are apart from the panel's side.
  tab.ui.RadioButtonSLx->setChecked(true);
  EXPECT_TRUE(tab.ui.RadioButtonBL->isChecked());

  // Shown with the captions of a sell position, it covers the amount group
  // without moving anything.
  const QRect groupBefore = tab.ui.GroupBoxLb->geometry();
  const QRect listBefore = tab.ui.ListViewLoan->geometry();
  settle->setTitle(QStringLiteral("売建"));
  tab.ui.RadioButtonBLx->setText(QStringLiteral("買返済"));
  tab.ui.RadioButtonSLx->setText(QStringLiteral("現渡し"));
  settle->show();
  Settle(tab);
  EXPECT_EQ(settle->geometry(), tab.ui.GroupBoxLb->geometry());
  EXPECT_EQ(tab.ui.GroupBoxLb->geometry(), groupBefore);
  EXPECT_EQ(tab.ui.ListViewLoan->geometry(), listBefore);
  ExpectNothingClipped(tab);
  SaveShot(tab, "margin_tab_settle_650x370.png");
}

TEST_F(MarginTabLayout, ListHasThePositionColumns) {
  auto* list = Named<QTreeView>(*tab_, "ListViewLoan");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model(), tab_->ui.Model);
  struct Column {
    const char* caption;
    int width;
    bool right;
  };
  const Column columns[] = {
      {"", 1, false},       {"建玉", 44, false}, {"新規建日", 72, false},  {"銘柄", 100, false}, {"取引所", 56, false},
      {"単位", 50, true},   {"総額", 70, true},  {"株数", 50, true},       {"単価", 70, true},   {"時価", 70, true},
      {"騰落率", 55, true}, {"損益", 70, true},  {"コメント", 100, false},
  };
  ASSERT_EQ(list->model()->columnCount(), 13);
  for (int i = 0; i < 13; ++i) {
    const Column& expected = columns[i];
    EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), QString::fromUtf8(expected.caption)) << i;
    EXPECT_EQ(
        static_cast<bool>(list->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                          Qt::AlignRight),
        expected.right)
        << i;
    EXPECT_EQ(list->isColumnHidden(i), i == 0) << i;
    if (i > 0) {
      EXPECT_EQ(list->columnWidth(i), expected.width) << i;
    }
  }

  // A position row appears cell by cell under its captions.
  tomvik::core::LedgerRow row;
  row.key = "123452011/01/05001";
  row.cells = {"",    "\x94\x83\x8c\x9a", "2011/01/05", "1234 Mihon", "Tosho", "1000", "412,000", "1,000", "412",
               "430", "+4.37%",           "18,000",     "memo"};
  books_.positions.insert(row);
  tab_->ui.Model->sync();
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), QStringLiteral("買建"));
  EXPECT_EQ(list->model()->index(0, 2).data().toString(), QStringLiteral("2011/01/05"));
  EXPECT_EQ(list->model()->index(0, 8).data().toString(), QStringLiteral("412"));
  EXPECT_EQ(list->model()->index(0, 11).data().toString(), QStringLiteral("18,000"));
  EXPECT_EQ(list->model()->index(0, 12).data().toString(), QStringLiteral("memo"));
}

TEST_F(MarginTabLayout, FitsTheDefaultSizeAndGivesExtraRoomToTheList) {
  MarginTab& tab = *tab_;
  QWidget* panel = tab.ui.PanelLoan;
  QWidget* list = tab.ui.ListViewLoan;
  EXPECT_EQ(tab.ui.Splitter->orientation(), Qt::Vertical);
  EXPECT_EQ(tab.ui.Splitter->widget(0), panel);
  EXPECT_EQ(tab.ui.Splitter->widget(1), list);
  EXPECT_EQ(panel->height(), 168);
  ExpectNothingClipped(tab);
  SaveShot(tab, "margin_tab_650x370.png");

  showSetupMode(true);
  ExpectNothingClipped(tab);
  SaveShot(tab, "margin_tab_setup_650x370.png");
  showSetupMode(false);

  const int listHeight = list->height();
  tab.resize(1000, 700);
  Settle(tab);
  ExpectNothingClipped(tab);
  EXPECT_EQ(panel->height(), 168);
  EXPECT_GT(list->height(), listHeight + 300);
  SaveShot(tab, "margin_tab_1000x700.png");
}

}  // namespace
