// The stock master tab at its default and at a large size: every control is
// there with its caption and initial state, nothing is cut off, and the
// panel keeps its height while the list takes the extra room.
#include <gtest/gtest.h>

#include "app/layout_support.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTreeView>

#include "app/stocks/stock_tab.h"

namespace {

using tomvik::app::StockTab;

using tomvik::testing::ExpectNothingClipped;
using tomvik::testing::Named;
using tomvik::testing::SaveShot;
using tomvik::testing::Settle;

class StockTabLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    books_.folder = folder_.path().toStdString();
    tab_ = std::make_unique<StockTab>(books_);
    tab_->resize(650, 370);
    tab_->show();
    Settle(*tab_);
  }

  QTemporaryDir folder_;
  tomvik::core::Books books_;
  std::unique_ptr<StockTab> tab_;
};

TEST_F(StockTabLayout, NormalModeLocksTheStockFieldsAndOffersOnlyUpdate) {
  StockTab& tab = *tab_;
  EXPECT_EQ(tab.objectName(), QStringLiteral("TabSheetStock"));
  auto* group = Named<QGroupBox>(tab, "GroupBox3a");
  ASSERT_NE(group, nullptr);
  EXPECT_FALSE(group->isEnabled());
  for (const char* name :
       {"MaskEditStockCode3", "EditStockName3", "EditStockUnit3", "EditPrice3B", "EditPrice3S", "MemoPM3"}) {
    auto* edit = Named<QLineEdit>(tab, name);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isReadOnly()) << name;
    EXPECT_TRUE(group->isAncestorOf(edit)) << name;
  }
  EXPECT_EQ(Named<QLineEdit>(tab, "MaskEditStockCode3")->inputMask(), QStringLiteral("9999"));
  EXPECT_EQ(Named<QLineEdit>(tab, "MemoPM3")->text(), QStringLiteral("0"));
  auto* exchange = Named<QComboBox>(tab, "ComboBoxStockExchange3");
  ASSERT_NE(exchange, nullptr);
  EXPECT_FALSE(exchange->isEnabled());
  EXPECT_TRUE(exchange->isEditable());
  EXPECT_EQ(exchange->count(), 5);
  EXPECT_EQ(exchange->itemText(0), QStringLiteral("東証１部"));

  auto* comment = Named<QPlainTextEdit>(tab, "RichEditComment3");
  ASSERT_NE(comment, nullptr);
  EXPECT_TRUE(comment->isEnabled());
  EXPECT_FALSE(comment->isReadOnly());

  struct ButtonState {
    const char* name;
    const char* caption;
    bool shown;
    bool enabled;
  };
  for (const ButtonState& expected :
       {ButtonState{"ButtonAdd3", "追加", false, true}, ButtonState{"ButtonUpd3", "更新", true, false},
        ButtonState{"ButtonDel3", "削除", false, false},
        ButtonState{"CheckBoxFilter3", "フィルタリング", true, true}}) {
    auto* button = Named<QAbstractButton>(tab, expected.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption));
    EXPECT_EQ(button->isVisibleTo(&tab), expected.shown) << expected.name;
    EXPECT_EQ(button->isEnabled(), expected.enabled) << expected.name;
  }
  EXPECT_NE(qobject_cast<QCheckBox*>(Named<QAbstractButton>(tab, "CheckBoxFilter3")), nullptr);
  EXPECT_NE(qobject_cast<QPushButton*>(Named<QAbstractButton>(tab, "ButtonUpd3")), nullptr);
}

TEST_F(StockTabLayout, ListShowsTheCodeWithItsMarkAndTheEntryColumns) {
  auto* list = Named<QTreeView>(*tab_, "ListViewStock");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model(), tab_->ui.Model);
  const QStringList captions = {"コード",   "銘柄名",   "取引所", "単位",    "買い総額",
                                "売り総額", "売買損益", "利率",   "コメント"};
  ASSERT_EQ(list->model()->columnCount(), captions.size());
  for (int i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), captions[i]);
    EXPECT_FALSE(list->isColumnHidden(i));
  }
  const int widths[] = {100, 56, 50, 70, 70, 70, 65, 100};
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(list->columnWidth(i), widths[i - 1]) << i;

  // The mark appears as the code's check box.
  tomvik::core::LedgerRow row;
  row.key = "1234";
  row.cells.assign(8, std::string());
  row.mark = false;
  books_.stocks.insert(row);
  tab_->ui.Model->sync();
  EXPECT_EQ(list->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), QStringLiteral("1234"));
}

TEST_F(StockTabLayout, FitsTheDefaultSizeAndGivesExtraRoomToTheList) {
  StockTab& tab = *tab_;
  auto* panel = Named<QWidget>(tab, "PanelStock");
  auto* list = Named<QWidget>(tab, "ListViewStock");
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(panel->height(), 168);
  ExpectNothingClipped(tab);
  SaveShot(tab, "stock_tab_650x370.png");

  // Shown in setup mode the hidden buttons also fit.
  tab.ui.ButtonAdd3->show();
  tab.ui.ButtonDel3->show();
  tab.ui.CheckBoxFilter3->hide();
  tab.ui.GroupBox3a->setEnabled(true);
  Settle(tab);
  ExpectNothingClipped(tab);
  SaveShot(tab, "stock_tab_setup_650x370.png");
  tab.ui.ButtonAdd3->hide();
  tab.ui.ButtonDel3->hide();
  tab.ui.CheckBoxFilter3->show();
  tab.ui.GroupBox3a->setEnabled(false);
  Settle(tab);

  const int listHeight = list->height();
  tab.resize(1000, 700);
  Settle(tab);
  ExpectNothingClipped(tab);
  EXPECT_EQ(panel->height(), 168);
  EXPECT_GT(list->height(), listHeight + 300);
  SaveShot(tab, "stock_tab_1000x700.png");
}

}  // namespace
