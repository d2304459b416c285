// The period totals tab at its default and at a large size: every control is
// there with its caption and initial state, nothing is cut off, and the
// panel keeps its height while the list, the chart and the calendar take the
// extra room.
#include <gtest/gtest.h>

#include "app/layout_support.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTreeView>

#include "app/totals/running_total_chart.h"
#include "app/totals/totals_calendar.h"
#include "app/totals/totals_tab.h"

namespace {

using tomvik::app::TotalsTab;

using tomvik::testing::ExpectNothingClipped;
using tomvik::testing::Named;
using tomvik::testing::SaveShot;
using tomvik::testing::Settle;

class TotalsTabLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    books_.folder = folder_.path().toStdString();
    tab_ = std::make_unique<TotalsTab>(books_);
    tab_->ui.DateTimePickerTotalF->setDate(QDate(2024, 1, 1));
    tab_->ui.DateTimePickerTotalT->setDate(QDate(2024, 12, 31));
    tab_->resize(650, 370);
    tab_->show();
    Settle(*tab_);
  }

  QTemporaryDir folder_;
  tomvik::core::Books books_;
  std::unique_ptr<TotalsTab> tab_;
};

TEST_F(TotalsTabLayout, StartsDailyWithoutPresetAndWithTheStockFieldsLocked) {
  TotalsTab& tab = *tab_;
  EXPECT_EQ(tab.objectName(), QStringLiteral("TabSheetTotal"));
  ASSERT_NE(Named<QWidget>(tab, "PanelTotal"), nullptr);
  auto* button = Named<QPushButton>(tab, "ButtonTotal");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("集計"));

  struct Radio {
    const char* name;
    const char* caption;
    bool checked;
  };
  for (const Radio& expected :
       {Radio{"RadioButtonTotalD", "日次", true}, Radio{"RadioButtonTotalM", "月次", false},
        Radio{"RadioButtonTotalStartY", "年", false}, Radio{"RadioButtonTotalStartM", "月", false},
        Radio{"RadioButtonTotalStartW", "週", false}}) {
    auto* radio = Named<QRadioButton>(tab, expected.name);
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->text(), QString::fromUtf8(expected.caption));
    EXPECT_EQ(radio->isChecked(), expected.checked) << expected.name;
  }
  // The two sets do not disturb each other, and a preset knows its number.
  tab.ui.RadioButtonTotalStartW->click();
  EXPECT_TRUE(tab.ui.RadioButtonTotalD->isChecked());
  EXPECT_EQ(tab.ui.TotalStartGroup->checkedId(), 3);
  tab.ui.RadioButtonTotalM->click();
  EXPECT_TRUE(tab.ui.RadioButtonTotalStartW->isChecked());
  EXPECT_FALSE(tab.ui.RadioButtonTotalD->isChecked());

  for (const char* name : {"DateTimePickerTotalF", "DateTimePickerTotalT"}) {
    auto* picker = Named<QDateEdit>(tab, name);
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->calendarPopup());
  }
  EXPECT_EQ(tab.ui.DateTimePickerTotalT->text(), QStringLiteral("2024年12月31日（火）"));
  bool hasTilde = false;
  for (QLabel* label : tab.findChildren<QLabel*>()) hasTilde = hasTilde || label->text() == QStringLiteral("～");
  EXPECT_TRUE(hasTilde);

  auto* byStock = Named<QCheckBox>(tab, "CheckBoxTotalCode");
  ASSERT_NE(byStock, nullptr);
  EXPECT_EQ(byStock->text(), QStringLiteral("銘柄指定"));
  EXPECT_FALSE(byStock->isChecked());
  auto* code = Named<QLineEdit>(tab, "MaskEditStockCodeTotal");
  auto* recent = Named<QComboBox>(tab, "ComboBoxStockCodeTotal");
  auto* name = Named<QLineEdit>(tab, "EditStockNameTotal");
  ASSERT_TRUE(code && recent && name);
  EXPECT_EQ(code->inputMask(), QStringLiteral("9999"));
  // A drop-down list: typing a digit picks a line.
  EXPECT_FALSE(recent->isEditable());
  EXPECT_EQ(recent->view()->minimumWidth(), 207);
  EXPECT_TRUE(name->isReadOnly());
  for (QWidget* field : {static_cast<QWidget*>(code), static_cast<QWidget*>(recent), static_cast<QWidget*>(name)}) {
    EXPECT_FALSE(field->isEnabled()) << field->objectName().toStdString();
  }
}

TEST_F(TotalsTabLayout, ListHasTheTotalsColumnsWithNarrowSeparators) {
  auto* list = Named<QTreeView>(*tab_, "ListViewTotal");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model(), tab_->ui.Model);
  const QStringList captions = {"日付", "売買損益", "入出金", "収支", "", "累計", ""};
  const int widths[] = {110, 100, 100, 100, 2, 120, 2};
  ASSERT_EQ(list->model()->columnCount(), captions.size());
  for (int i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), captions[i]) << i;
    EXPECT_EQ(list->columnWidth(i), widths[i]) << i;
  }

  // A row of the tab's own table appears with its figures right-aligned.
  tomvik::core::LedgerRow row;
  row.key = "0001";
  row.cells = {"2024/01/15(月)", "50,000", "1,000", "51,000", "", "51,000"};
  tab_->table().insert(row);
  tab_->ui.Model->sync();
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(list->model()->index(0, 5).data().toString(), QStringLiteral("51,000"));
  EXPECT_TRUE(list->model()->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
}

TEST_F(TotalsTabLayout, FitsTheDefaultSizeAndGivesExtraRoomToTheList) {
  TotalsTab& tab = *tab_;
  QWidget* panel = tab.ui.PanelTotal;
  QWidget* list = tab.ui.ListViewTotal;
  // The panel's controls need no more than the window's default width.
  EXPECT_EQ(tab.width(), 650);
  ExpectNothingClipped(tab);
  SaveShot(tab, "totals_tab_650x370.png");

  // Ticked, the stock fields open up and still fit.
  tab.ui.CheckBoxTotalCode->click();
  for (QWidget* field :
       {static_cast<QWidget*>(tab.ui.MaskEditStockCodeTotal), static_cast<QWidget*>(tab.ui.ComboBoxStockCodeTotal),
        static_cast<QWidget*>(tab.ui.EditStockNameTotal)}) {
    EXPECT_TRUE(field->isEnabled()) << field->objectName().toStdString();
  }
  ExpectNothingClipped(tab);
  SaveShot(tab, "totals_tab_stock_650x370.png");

  // The chart and the calendar stand side by side under the list.
  QWidget* views = tab.ui.SplitterTotalViews;
  ASSERT_TRUE(tab.ui.ChartTotal->isVisible() && tab.ui.CalendarTotal->isVisible());
  EXPECT_GE(views->y(), list->y() + list->height());
  EXPECT_LT(tab.ui.ChartTotal->x() + tab.ui.ChartTotal->width(), tab.ui.CalendarTotal->x() + 1);
  EXPECT_GE(tab.ui.CalendarTotal->height(), tab.ui.CalendarTotal->minimumSizeHint().height());
  EXPECT_GE(list->height(), 80);

  const int panelHeight = panel->height();
  const int resultsHeight = list->height() + views->height();
  EXPECT_LE(panelHeight, 100);
  tab.resize(1000, 700);
  Settle(tab);
  ExpectNothingClipped(tab);
  EXPECT_EQ(panel->height(), panelHeight);
  EXPECT_GT(list->height() + views->height(), resultsHeight + 300);
  SaveShot(tab, "totals_tab_1000x700.png");

  // Without the chart and the calendar the list takes all the room.
  tab.ui.CheckBoxTotalChart->click();
  tab.ui.CheckBoxTotalCalendar->click();
  Settle(tab);
  EXPECT_FALSE(views->isVisible());
  EXPECT_GT(list->height(), resultsHeight + 300);
}

}  // namespace
