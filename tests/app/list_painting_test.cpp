// The lists as drawn: a selected loss in highlight text on red, figures
// right-aligned a few pixels from the cell's edge and shortened with "..."
// when the column is too narrow, default widths that fit our fonts, and the
// greyed caption of a disabled side.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>

#include <filesystem>
#include <memory>

#include "app/shell/list_delegate.h"
#include "app/shell/sjis_text.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_on_folder.h"

namespace {

using tomvik::app::ListDelegate;
using tomvik::testing::UserDriver;

// Blue letters, also where they blend into the background.
bool IsBlue(QRgb pixel) { return qBlue(pixel) > 180 && qRed(pixel) < 90 && qGreen(pixel) < 90; }

class ListPainting : public tomvik::testing::WindowOnFolder {
 protected:
  void open() { WindowOnFolder::open(QDate(2011, 3, 15), QSize(1000, 600)); }
  int column(QTreeView* list, const QString& caption) {
    for (int c = 0; c < list->model()->columnCount(); ++c) {
      if (list->model()->headerData(c, Qt::Horizontal).toString() == caption) return c;
    }
    ADD_FAILURE() << caption.toStdString();
    return 0;
  }
  // The cell as the list shows it now.
  QImage cell(QTreeView* list, int row, int col) {
    const QRect rect = list->visualRect(list->model()->index(row, col));
    return list->viewport()->grab(rect).toImage();
  }
};

TEST_F(ListPainting, ASelectedLossIsHighlightTextOnRedAndFiguresEndNearTheRightEdge) {
  writeFile("Hold.txt", QStringLiteral("=1000000,0\r\n"
                                       "-買,1234 見本電機,東証１部,100,412000,100,4120,4300,18000\r\n \r\n"
                                       "-買,9984 見本通信,東証１部,100,250000,100,2500,2400,-10000\r\n \r\n"));
  open();
  window_->showTab(1);
  auto* list = user_->find<QTreeView>("ListViewHold");
  user_->clickRow(list, 1);
  ASSERT_TRUE(list->hasFocus());
  const int profit = column(list, QStringLiteral("損益"));
  const QImage loss = cell(list, 1, profit);
  int red = 0;
  int white = 0;
  for (int x = 0; x < loss.width() - 1; ++x) {
    for (int y = 0; y < loss.height() - 1; ++y) {
      const QRgb pixel = loss.pixel(x, y);
      // The style's focus frame tints the current row a little.
      if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60) ++red;
      if (qRed(pixel) > 220 && qGreen(pixel) > 220 && qBlue(pixel) > 220) ++white;
    }
  }
  EXPECT_GT(red, loss.width() * loss.height() / 2);
  EXPECT_GT(white, 0);

  // The gain of the other row: blue letters on the window, ending seven
  // pixels before the cell's edge.
  const QImage gain = cell(list, 0, profit);
  int lastInk = -1;
  bool blue = false;
  for (int x = 0; x < gain.width() - 1; ++x) {
    for (int y = 0; y < gain.height() - 1; ++y) {
      if (gain.pixel(x, y) != qRgb(255, 255, 255)) lastInk = x;
      blue = blue || IsBlue(gain.pixel(x, y));
    }
  }
  EXPECT_TRUE(blue);
  const int gap = gain.width() - 1 - lastInk;
  EXPECT_GE(gap, 6);
  EXPECT_LE(gap, 9);
}

TEST(ListDelegateText, AFigureTooWideIsCutAtItsEndAndFollowedByDots) {
  const QFontMetrics metrics{QFont()};
  const QString figure = QStringLiteral("-1,234,567,890");
  EXPECT_EQ(ListDelegate::Shortened(figure, metrics, metrics.horizontalAdvance(figure)), figure);
  const int room = metrics.horizontalAdvance(QStringLiteral("-1,234..."));
  const QString cut = ListDelegate::Shortened(figure, metrics, room);
  EXPECT_TRUE(cut.endsWith(QStringLiteral("..."))) << cut.toStdString();
  EXPECT_TRUE(figure.startsWith(cut.chopped(3)));
  EXPECT_LE(metrics.horizontalAdvance(cut), room);
  // However narrow, one character stays.
  EXPECT_EQ(ListDelegate::Shortened(QStringLiteral("見本電機"), metrics, 1), QStringLiteral("見..."));
}

TEST_F(ListPainting, RowsAreOneLineOfJapaneseHighWhateverTheFirstRowHolds) {
  // The first row holds only digits; the second a Japanese name.
  writeFile("Hold.txt", QStringLiteral("=1000000,0\r\n"
                                       "-買,1234 1234,1,100,412000,100,4120,4300,18000\r\n \r\n"
                                       "-買,9984 見本通信株式会社,東証１部,100,250000,100,2500,2400,-10000\r\n \r\n"));
  open();
  window_->showTab(1);
  auto* list = user_->find<QTreeView>("ListViewHold");
  const int name = column(list, QStringLiteral("銘柄"));
  const QRect first = list->visualRect(list->model()->index(0, name));
  const QRect second = list->visualRect(list->model()->index(1, name));
  EXPECT_EQ(first.height(), second.height());
  // Tall enough for the Japanese line as the toolkit lays it out.
  QStyleOptionViewItem option;
  option.initFrom(list);
  option.font = list->font();
  option.text = list->model()->index(1, name).data().toString();
  option.features = QStyleOptionViewItem::HasDisplay;
  const QSize needed = list->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), list);
  EXPECT_GE(second.height(), needed.height());
  EXPECT_GE(second.height(), QFontMetrics(list->font()).height());
}

TEST_F(ListPainting, ColumnsWithoutAStoredWidthFitTheirDatesAndRates) {
  writeFile("TMVK.ini", QStringLiteral("[Window]\r\nC1-3=60\r\n"));
  open();
  auto* diary = user_->find<QTreeView>("ListViewDiary");
  QFont bold = diary->font();
  bold.setBold(true);
  const int date = QFontMetrics(bold).horizontalAdvance(QStringLiteral("2026/10/01(木)"));
  EXPECT_GE(diary->columnWidth(0), date + ListDelegate::CellMargins());
  // A stored width is used as it is, however narrow.
  EXPECT_EQ(diary->columnWidth(2), 60);
  // The defaults never shrink.
  EXPECT_GE(diary->columnWidth(1), 38);

  auto* holdings = user_->find<QTreeView>("ListViewHold");
  const int rate = QFontMetrics(bold).horizontalAdvance(QStringLiteral("-12.34%"));
  EXPECT_GE(holdings->columnWidth(column(holdings, QStringLiteral("騰落率"))), rate + ListDelegate::CellMargins());
  auto* totals = user_->find<QTreeView>("ListViewTotal");
  EXPECT_GE(totals->columnWidth(0), date + ListDelegate::CellMargins());
  // Separators stay narrow.
  EXPECT_EQ(totals->columnWidth(4), 2);
}

TEST_F(ListPainting, ADisabledSideIsGreyedLikeEveryDisabledControl) {
  writeFile("201103.txt", QStringLiteral("[2011/03/15(火)]\r\n 見送り\r\n\r\n"));
  open();
  user_->click("RadioButtonMode1");
  auto* sell = user_->find<QRadioButton>("RadioButtonS");
  auto hasBlue = [sell] {
    const QImage image = sell->grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) {
        if (IsBlue(image.pixel(x, y))) return true;
      }
    }
    return false;
  };
  // 現物 forbids selling: 売り greyed.
  ASSERT_FALSE(sell->isEnabled());
  EXPECT_FALSE(hasBlue());
  // 信用 allows it: 売り in its blue.
  user_->choose("ComboBoxPlan", QStringLiteral("信用"));
  ASSERT_TRUE(sell->isEnabled());
  EXPECT_TRUE(hasBlue());
}

}  // namespace
