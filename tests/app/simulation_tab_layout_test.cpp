// The simulated trading tab and the simulated summary at their default and
// at a large size: every control is there with its caption and initial
// state, nothing is cut off, and the tab's panel keeps its height while the
// list takes the extra room.
#include <gtest/gtest.h>

#include "app/layout_support.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/widgets.h"
#include "app/simulation/sim_summary_panel.h"
#include "app/simulation/simulation_tab.h"

namespace {

using tomvik::app::SimSummaryPanel;
using tomvik::app::SimulationTab;
namespace SimCol = tomvik::app::SimCol;

using tomvik::testing::ExpectNothingClipped;
using tomvik::testing::Named;
using tomvik::testing::SaveShot;
using tomvik::testing::Settle;

// The label whose text is the caption, the first one when there are several.
QLabel* Caption(QWidget& root, const char* text) {
  for (QLabel* label : root.findChildren<QLabel*>()) {
    if (label->text() == QString::fromUtf8(text)) return label;
  }
  ADD_FAILURE() << "no caption " << text;
  return nullptr;
}

// The caption stands just before the field on the same line.
void ExpectCaptionBefore(QWidget& root, QLabel* caption, QWidget* field) {
  ASSERT_TRUE(caption && field);
  const QRect label(caption->mapTo(&root, QPoint(0, 0)), caption->size());
  const QRect box(field->mapTo(&root, QPoint(0, 0)), field->size());
  EXPECT_LE(label.right(), box.left()) << field->objectName().toStdString();
  EXPECT_GT(label.right(), box.left() - 40) << field->objectName().toStdString();
  EXPECT_NEAR(label.center().y(), box.center().y(), 4) << field->objectName().toStdString();
}

class SimTabLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    books_.folder = folder_.path().toStdString();
    tab_ = std::make_unique<SimulationTab>(books_);
    tab_->resize(650, 330);
    tab_->show();
    Settle(*tab_);
  }

  QTemporaryDir folder_;
  tomvik::core::Books books_;
  std::unique_ptr<SimulationTab> tab_;
};

TEST_F(SimTabLayout, StockFieldsStartEmptyWithTheBuiltInExchanges) {
  SimulationTab& tab = *tab_;
  EXPECT_EQ(tab.objectName(), QStringLiteral("TabSheetSim"));
  ASSERT_NE(Named<QWidget>(tab, "PanelSim"), nullptr);

  auto* code = Named<QLineEdit>(tab, "MaskEditStockCode5");
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->inputMask(), QStringLiteral("9999"));
  EXPECT_TRUE(code->isEnabled());
  auto* recent = Named<QComboBox>(tab, "ComboBoxStockCode5");
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(recent->count(), 0);
  EXPECT_EQ(recent->view()->minimumWidth(), 207);
  auto* exchange = Named<QComboBox>(tab, "ComboBoxStockExchange5");
  ASSERT_NE(exchange, nullptr);
  EXPECT_TRUE(exchange->isEditable());
  EXPECT_EQ(exchange->count(), 5);
  EXPECT_EQ(exchange->itemText(0), QStringLiteral("東証１部"));
  EXPECT_EQ(exchange->itemText(4), QStringLiteral("ヘラクレス"));
  EXPECT_TRUE(exchange->currentText().isEmpty());
  for (const char* name : {"EditStockName5", "EditStockUnit5"}) {
    auto* edit = Named<QLineEdit>(tab, name);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->text().isEmpty()) << name;
    EXPECT_FALSE(edit->isReadOnly()) << name;
  }
  ExpectCaptionBefore(tab, Caption(tab, "コード"), code);
  ExpectCaptionBefore(tab, Caption(tab, "取引所"), exchange);
  ExpectCaptionBefore(tab, Caption(tab, "単位"), tab.ui.EditStockUnit5);
}

TEST_F(SimTabLayout, TradeStartsAsABuyOfNothingWithTheClosingCaptionsGreyed) {
  SimulationTab& tab = *tab_;
  auto* buy = Named<QRadioButton>(tab, "RadioButtonB5");
  auto* sell = Named<QRadioButton>(tab, "RadioButtonS5");
  ASSERT_TRUE(buy && sell);
  EXPECT_EQ(buy->text(), QStringLiteral("買い"));
  EXPECT_EQ(sell->text(), QStringLiteral("売り"));
  EXPECT_TRUE(buy->isChecked());
  EXPECT_FALSE(sell->isChecked());
  EXPECT_EQ(buy->palette().color(QPalette::WindowText), tomvik::app::kRed);
  EXPECT_EQ(sell->palette().color(QPalette::WindowText), tomvik::app::kBlue);
  EXPECT_TRUE(buy->font().bold());
  EXPECT_TRUE(sell->font().bold());
  sell->click();
  EXPECT_FALSE(buy->isChecked());
  EXPECT_EQ(tab.ui.SideGroup5->checkedId(), 1);

  struct Field {
    const char* name;
    const char* text;
    bool readOnly;
  };
  for (const Field& expected :
       {Field{"EditPrice5", "0", false}, Field{"EditNum5", "0", false}, Field{"MemoPriceBS5", "0", true},
        Field{"MemoPriceBSHold5", "", true}, Field{"MemoPriceBSPM5", "", true}}) {
    auto* edit = Named<QLineEdit>(tab, expected.name);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QString::fromUtf8(expected.text)) << expected.name;
    EXPECT_EQ(edit->isReadOnly(), expected.readOnly) << expected.name;
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight) << expected.name;
  }
  ExpectCaptionBefore(tab, Caption(tab, "時価(単価)"), tab.ui.EditPrice5);
  ExpectCaptionBefore(tab, Caption(tab, "数量"), tab.ui.EditNum5);
  ExpectCaptionBefore(tab, Caption(tab, "手数料"), tab.ui.ComboBoxCharge5);
  ExpectCaptionBefore(tab, tab.ui.LabelBSHold5, tab.ui.MemoPriceBSHold5);
  ExpectCaptionBefore(tab, tab.ui.LabelBSPM5, tab.ui.MemoPriceBSPM5);

  auto* charge = Named<QComboBox>(tab, "ComboBoxCharge5");
  ASSERT_NE(charge, nullptr);
  EXPECT_TRUE(charge->isEditable());
  EXPECT_EQ(charge->count(), 0);
  EXPECT_TRUE(charge->currentText().isEmpty());
  EXPECT_NE(Named<tomvik::app::UpDownArrows>(tab, "UpDownPrice5"), nullptr);
  EXPECT_NE(Named<tomvik::app::UpDownArrows>(tab, "UpDownNum5"), nullptr);

  // The captions of the closing figures wait for a closing trade.
  ASSERT_NE(Named<QLabel>(tab, "LabelBSHold5"), nullptr);
  EXPECT_EQ(tab.ui.LabelBSHold5->text(), QStringLiteral("保有"));
  EXPECT_EQ(tab.ui.LabelBSPM5->text(), QStringLiteral("損益"));
  const QColor windowText = tab.palette().color(QPalette::WindowText);
  EXPECT_NE(tab.ui.LabelBSHold5->palette().color(QPalette::WindowText), windowText);
  EXPECT_NE(tab.ui.LabelBSPM5->palette().color(QPalette::WindowText), windowText);
  tab.setClosingCaptionsActive(true);
  EXPECT_EQ(tab.ui.LabelBSHold5->palette().color(QPalette::WindowText), windowText);
  EXPECT_EQ(tab.ui.LabelBSPM5->palette().color(QPalette::WindowText), windowText);

  auto* rate = Named<QLabel>(tab, "PanelHoldPer5");
  ASSERT_NE(rate, nullptr);
  EXPECT_EQ(rate->text(), QStringLiteral("0.00%"));
  EXPECT_EQ(rate->palette().color(QPalette::Window), QColor(240, 224, 240));
  EXPECT_TRUE(rate->autoFillBackground());
}

TEST_F(SimTabLayout, PositionGroupShowsNothingHeldAndOnlyRecordingIsOffered) {
  SimulationTab& tab = *tab_;
  auto* group = Named<QGroupBox>(tab, "GroupBoxHold5");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral("保有 "));
  // No side yet: the caption is in window text.
  EXPECT_EQ(group->palette().color(QPalette::WindowText), tab.palette().color(QPalette::WindowText));
  struct Figure {
    const char* name;
    const char* caption;
  };
  for (const Figure& expected : {Figure{"EditPriceHold5", "総額"}, Figure{"EditNumHold5", "株数"},
                                 Figure{"MemoPriceHold5", "平均単価"}, Figure{"MemoPriceHoldPM5", "損益"}}) {
    auto* edit = Named<QLineEdit>(tab, expected.name);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(group->isAncestorOf(edit)) << expected.name;
    EXPECT_EQ(edit->text(), QStringLiteral("0")) << expected.name;
    EXPECT_TRUE(edit->isReadOnly()) << expected.name;
    ExpectCaptionBefore(*group, Caption(*group, expected.caption), edit);
  }

  auto* start = Named<QCheckBox>(tab, "CheckBoxHold5");
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(group->isAncestorOf(start));
  EXPECT_TRUE(start->text().isEmpty());
  EXPECT_EQ(start->toolTip(), QStringLiteral("入出金"));
  EXPECT_FALSE(start->isChecked());
  EXPECT_FALSE(start->isEnabled());

  struct ButtonState {
    const char* name;
    const char* caption;
    bool enabled;
  };
  for (const ButtonState& expected :
       {ButtonState{"ButtonBS5", "売買取引", true}, ButtonState{"ButtonDel5", "取消", false},
        ButtonState{"ButtonClear5", "クリア", false}}) {
    auto* button = Named<QPushButton>(tab, expected.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption));
    EXPECT_TRUE(button->isVisibleTo(&tab)) << expected.name;
    EXPECT_EQ(button->isEnabled(), expected.enabled) << expected.name;
  }
}

TEST_F(SimTabLayout, ListHasTheTradeAndPositionColumnsBetweenNarrowSeparators) {
  auto* list = Named<QTreeView>(*tab_, "ListViewSim");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model(), tab_->ui.Model);
  const QStringList captions = {"", "",     "取引", "単価", "数量",     "手数料", "売買金額", "保有金額", "売買損益",
                                "", "保有", "総額", "株数", "平均単価", "騰落率", "含み損益", ""};
  ASSERT_EQ(list->model()->columnCount(), captions.size());
  // Widths of columns 3 to 16 are the saved defaults.
  const int widths[] = {0, 1, 38, 50, 50, 50, 70, 70, 70, 2, 38, 70, 49, 60, 50, 60, 2};
  const bool right[] = {false, false, false, true, true, true, true, true, true,
                        true,  false, true,  true, true, true, true, true};
  for (int i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), captions[i]) << i;
    if (i > 0) {
      EXPECT_EQ(list->columnWidth(i), widths[i]) << i;
    }
    const auto alignment = list->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(bool(alignment & Qt::AlignRight), right[i]) << i;
  }
  EXPECT_TRUE(list->isColumnHidden(0));
  for (int i = 1; i < captions.size(); ++i) EXPECT_FALSE(list->isColumnHidden(i)) << i;
  // The one-pixel and separator columns cannot be dragged open.
  for (int i : {1, 9, 16}) EXPECT_EQ(list->header()->sectionResizeMode(i), QHeaderView::Fixed) << i;

  // A recorded trade appears under its captions; each cell lies in its column.
  auto typeInto = [](QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
  };
  typeInto(tab_->ui.EditPrice5, QStringLiteral("500"));
  typeInto(tab_->ui.EditNum5, QStringLiteral("1000"));
  typeInto(tab_->ui.ComboBoxCharge5->lineEdit(), QStringLiteral("1050"));
  tab_->ui.ButtonBS5->click();
  ASSERT_EQ(list->model()->rowCount(), 1);
  auto cellAt = [list](int column) { return list->model()->index(0, column).data().toString(); };
  EXPECT_EQ(cellAt(2), QStringLiteral("買"));
  EXPECT_EQ(cellAt(3), QStringLiteral("500"));
  EXPECT_EQ(cellAt(4), QStringLiteral("1000"));
  EXPECT_EQ(cellAt(5), QStringLiteral("1050"));
  EXPECT_EQ(cellAt(6), QStringLiteral("501,050"));
  EXPECT_EQ(cellAt(7), QString());
  EXPECT_EQ(cellAt(10), QStringLiteral("買"));
  EXPECT_EQ(cellAt(13), QStringLiteral("501"));
  EXPECT_EQ(cellAt(14), QStringLiteral("-0.20%"));
  EXPECT_EQ(cellAt(15), QStringLiteral("-1,050"));
  EXPECT_TRUE(list->model()->index(0, 15).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
  // The simulation is the tab's own: the books' ledgers stay untouched.
  EXPECT_TRUE(books_.holdings.empty());
  EXPECT_TRUE(books_.diary.empty());
}

TEST_F(SimTabLayout, FitsTheDefaultSizeAndGivesExtraRoomToTheList) {
  SimulationTab& tab = *tab_;
  QWidget* panel = tab.ui.PanelSim;
  QWidget* list = tab.ui.ListViewSim;
  ExpectNothingClipped(tab);
  EXPECT_GE(list->height(), 100);
  SaveShot(tab, "sim_tab_650x330.png");

  // The tallest the tab gets at the window's default size.
  tab.resize(650, 370);
  Settle(tab);
  ExpectNothingClipped(tab);
  const int panelHeight = panel->height();
  const int listHeight = list->height();
  EXPECT_LE(panelHeight, 180);
  SaveShot(tab, "sim_tab_650x370.png");

  tab.resize(1000, 700);
  Settle(tab);
  ExpectNothingClipped(tab);
  EXPECT_EQ(panel->height(), panelHeight);
  EXPECT_GT(list->height(), listHeight + 300);
  SaveShot(tab, "sim_tab_1000x700.png");
}

class SimSummaryLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.resize(650, panel_.sizeHint().height());
    panel_.show();
    Settle(panel_);
  }
  SimSummaryPanel panel_;
};

TEST_F(SimSummaryLayout, SixReadOnlyFiguresInTwoRowsEachFollowedByYen) {
  SimSummaryPanel& panel = panel_;
  EXPECT_EQ(panel.objectName(), QStringLiteral("PanelTopS"));
  EXPECT_NE(qobject_cast<QFrame*>(&panel), nullptr);
  struct Figure {
    const char* name;
    const char* caption;
    int row;
  };
  const Figure figures[] = {{"MemoTotal2S", "投資総額", 0}, {"MemoBSPM2S", "売買損益", 0},
                            {"MemoHold2S", "保有総額", 0},  {"MemoRemain2S", "現在残高", 1},
                            {"MemoInPM2S", "含み損益", 1},  {"MemoEnable2S", "投資可能", 1}};
  const QList<QLabel*> yen = [&panel] {
    QList<QLabel*> found;
    for (QLabel* label : panel.findChildren<QLabel*>())
      if (label->text() == QStringLiteral("円")) found.append(label);
    return found;
  }();
  EXPECT_EQ(yen.size(), 6);
  int rowTop[2] = {-1, -1};
  int lastLeft[2] = {-1, -1};
  for (const Figure& expected : figures) {
    auto* memo = Named<QLineEdit>(panel, expected.name);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->text(), QStringLiteral("0")) << expected.name;
    EXPECT_TRUE(memo->isReadOnly()) << expected.name;
    EXPECT_TRUE(memo->alignment() & Qt::AlignRight) << expected.name;
    // A figure is shown whole, however long.
    memo->setText(QStringLiteral("-1,234,567,890,123,456,789"));
    EXPECT_EQ(memo->text(), QStringLiteral("-1,234,567,890,123,456,789")) << expected.name;
    memo->setText(QStringLiteral("0"));
    ExpectCaptionBefore(panel, Caption(panel, expected.caption), memo);
    // Left to right in the order given, the two rows one above the other.
    if (rowTop[expected.row] < 0) rowTop[expected.row] = memo->y();
    EXPECT_EQ(memo->y(), rowTop[expected.row]) << expected.name;
    EXPECT_GT(memo->x(), lastLeft[expected.row]) << expected.name;
    lastLeft[expected.row] = memo->x();
    bool yenAfter = false;
    for (QLabel* label : yen) {
      yenAfter = yenAfter || (label->y() <= memo->y() + memo->height() / 2 &&
                              label->y() + label->height() >= memo->y() + memo->height() / 2 &&
                              label->x() >= memo->x() + memo->width() && label->x() < memo->x() + memo->width() + 10);
    }
    EXPECT_TRUE(yenAfter) << expected.name;
  }
  EXPECT_GT(rowTop[1], rowTop[0]);
  // The columns of the two rows line up.
  EXPECT_EQ(panel.ui.MemoTotal2S->x(), panel.ui.MemoRemain2S->x());
  EXPECT_EQ(panel.ui.MemoBSPM2S->x(), panel.ui.MemoInPM2S->x());
  EXPECT_EQ(panel.ui.MemoHold2S->x(), panel.ui.MemoEnable2S->x());

  auto* add = Named<QCheckBox>(panel, "CheckBoxInPM2S");
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->text(), QStringLiteral("加算"));
  EXPECT_TRUE(add->isChecked());
  EXPECT_TRUE(add->isEnabled());
  // "加算" follows the unrealised result, before 投資可能.
  EXPECT_GT(add->x(), panel.ui.MemoInPM2S->x() + panel.ui.MemoInPM2S->width());
  EXPECT_LT(add->x() + add->width(), panel.ui.MemoEnable2S->x());
}

TEST_F(SimSummaryLayout, FitsAboveTheTabsAtTheDefaultWidthAndWhenEnlarged) {
  EXPECT_LE(panel_.sizeHint().width(), 650);
  EXPECT_LE(panel_.height(), 70);
  ExpectNothingClipped(panel_);
  SaveShot(panel_, "sim_summary_650.png");

  // Placed above a tab as the window does.
  QWidget window;
  auto* column = new QVBoxLayout(&window);
  column->setContentsMargins(0, 0, 0, 0);
  auto* summary = new SimSummaryPanel(&window);
  tomvik::core::Books books;
  auto* tab = new SimulationTab(books, &window);
  column->addWidget(summary);
  column->addWidget(tab, 1);
  window.resize(660, 430);
  window.show();
  Settle(window);
  ExpectNothingClipped(window);
  EXPECT_EQ(summary->height(), summary->sizeHint().height());
  SaveShot(window, "sim_summary_with_tab_660x430.png");

  window.resize(1000, 700);
  Settle(window);
  ExpectNothingClipped(window);
  EXPECT_EQ(summary->height(), summary->sizeHint().height());
}

}  // namespace
