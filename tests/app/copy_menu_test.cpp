// The copy menu of the lists: what each command puts on the clipboard, what
// the menu offers with and without a selection, and its two ticks kept in
// the settings; and the Japanese edit menu of the comment fields.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTreeView>

#include <filesystem>
#include <memory>

#include "app/shell/copy_menu.h"
#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/stocks/stock_tab.h"
#include "app/totals/totals_tab.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_on_folder.h"
#include "core/records/ini_file.h"
#include "core/records/settings.h"

namespace {

using tomvik::app::CopiedItem;
using tomvik::app::CopiedLines;
using tomvik::app::CopyOptions;
using tomvik::app::LedgerModel;
using tomvik::app::ToSjis;
using tomvik::core::LedgerRow;
using tomvik::core::LedgerTable;
using tomvik::testing::UserDriver;

LedgerRow Row(const std::string& key, const std::vector<QString>& cells) {
  LedgerRow row;
  row.key = key;
  for (const QString& cell : cells) row.cells.push_back(ToSjis(cell));
  return row;
}

TEST(CopiedText, APeriodTotalsRowWithItsCaptionsIsTwoLinesEndedByLineFeeds) {
  LedgerTable table;
  table.insert(Row("1", {"2026/12/01(火)", "1,234,567", "-1,050", "1,233,517", "", "1,233,517", "3"}));
  LedgerModel model(&table, tomvik::app::TotalsTab::Columns());
  // The separator columns have no caption and are left out.
  EXPECT_EQ(CopiedLines(model, {0}, CopyOptions{true, false}, false),
            QStringLiteral("日付,売買損益,入出金,収支,累計\n2026/12/01(火),1234567,-1050,1233517,1233517\n"));
  EXPECT_EQ(CopiedLines(model, {0}, CopyOptions{false, false}, false),
            QStringLiteral("2026/12/01(火),1234567,-1050,1233517,1233517\n"));
  // An item is copied as shown, without a line end.
  EXPECT_EQ(CopiedItem(model, 0, 1), QStringLiteral("1,234,567"));
}

TEST(CopiedText, AStockLineLeavesOutItsCodeAndItsCommentUnlessTicked) {
  LedgerTable table;
  table.insert(Row("1234", {"見本電機", "東証１部", "100", "763,050", "428,950", "-334,100", "-43.78447%",
                            "主力, 長期\r\n100%子会社"}));
  LedgerModel model(&table, tomvik::app::StockTab::Columns());
  EXPECT_EQ(CopiedLines(model, {0}, CopyOptions{}, true),
            QStringLiteral("見本電機,東証１部,100,763050,428950,-334100,-43.78447%\n"));
  // The comment as it stands: its comma and its line break stay.
  EXPECT_EQ(CopiedLines(model, {0}, CopyOptions{true, true}, true),
            QStringLiteral("銘柄名,取引所,単位,買い総額,売り総額,売買損益,利率,コメント\n"
                           "見本電機,東証１部,100,763050,428950,-334100,-43.78447%,主力, 長期\n100%子会社\n"));
  // The code is copied by item.
  EXPECT_EQ(CopiedItem(model, 0, 0), QStringLiteral("1234"));
}

TEST(CopiedText, AWholeListIsOneLinePerRowInListOrder) {
  LedgerTable table;
  table.insert(Row("2", {"2026/12", "0", "100,000", "100,000", "", "100,000", "0"}));
  table.insert(Row("1", {"2026/11", "-5", "0", "-5", "", "-5", "0"}));
  LedgerModel model(&table, tomvik::app::TotalsTab::Columns());
  EXPECT_EQ(CopiedLines(model, {0, 1}, CopyOptions{}, false),
            QStringLiteral("2026/11,-5,0,-5,-5\n2026/12,0,100000,100000,100000\n"));
  EXPECT_EQ(CopiedLines(model, {}, CopyOptions{true, false}, false),
            QStringLiteral("日付,売買損益,入出金,収支,累計\n"));
}

// The menus as the user meets them in the window.
class CopyMenuWindow : public tomvik::testing::WindowOnFolder {
 protected:
  QTreeView* list(const char* name) { return user_->find<QTreeView>(name); }
  static bool enabled(QMenu* menu, const char* item) {
    for (QAction* action : menu->actions()) {
      if (action->objectName() == QLatin1String(item)) return action->isEnabled();
    }
    ADD_FAILURE() << item;
    return false;
  }
};

TEST_F(CopyMenuWindow, WithoutASelectionOnlyTheWholeListCanBeCopied) {
  writeFile("Code.txt", QStringLiteral("[1234]\r\nN=見本電機\r\nE=東証１部\r\nU=100\r\nB=1,000,000\r\nS=1,234,567\r\n"
                                       "[5678]\r\nN=東京商事\r\nE=東証２部\r\nU=1000\r\n"));
  open();
  window_->showTab(3);
  QTreeView* stocks = list("ListViewStock");
  stocks->clearSelection();
  QMenu* menu = user_->rightClickRow(stocks, -1);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->objectName(), QStringLiteral("PopupCopy"));
  EXPECT_FALSE(enabled(menu, "PopupCopyItem"));
  EXPECT_FALSE(enabled(menu, "PopupCopyLine"));
  EXPECT_TRUE(enabled(menu, "PopupCopyAll"));
  user_->chooseInMenu(menu, QStringLiteral("PopupCopyAll"));
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("見本電機,東証１部,100,1000000,1234567,234567,+23.45670%\n"
                           "東京商事,東証２部,1000,0,0,0,0.00000%\n"));

  // An empty list offers nothing.
  window_->showTab(4);
  QMenu* empty = user_->rightClickRow(list("ListViewTotal"), -1);
  ASSERT_NE(empty, nullptr);
  for (const char* item : {"PopupCopyItem", "PopupCopyLine", "PopupCopyAll"})
    EXPECT_FALSE(enabled(empty, item)) << item;
  empty->close();
}

TEST_F(CopyMenuWindow, ARowByItemAndByLineWithTheTicksKeptAtClose) {
  writeFile("Code.txt",
            QStringLiteral("[1234]\r\nN=見本電機\r\nE=東証１部\r\nU=100\r\nB=1,000,000\r\nS=1,234,567\r\nC=主力\r\n"));
  open();
  window_->showTab(3);
  QTreeView* stocks = list("ListViewStock");
  QMenu* menu = user_->rightClickRow(stocks, 0);
  ASSERT_NE(menu, nullptr);
  // One item per captioned column, the code first.
  QMenu* items = menu->findChild<QMenu*>(QStringLiteral("PopupCopyItemMenu"));
  ASSERT_NE(items, nullptr);
  QStringList captions;
  for (QAction* action : items->actions()) captions << action->text();
  EXPECT_EQ(captions, QStringList({"コード", "銘柄名", "取引所", "単位", "買い総額", "売り総額", "売買損益", "利率",
                                   "コメント"}));
  user_->chooseInMenu(menu, QStringLiteral("PopupCopyItem"));
  user_->chooseInMenu(items, QStringLiteral("売り総額"));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1,234,567"));

  // Both ticks, then the line.
  for (const char* tick : {"PopupCopyOption1", "PopupCopyOption2"}) {
    menu = user_->rightClickRow(stocks, 0);
    user_->chooseInMenu(menu, QStringLiteral("PopupCopyOption"));
    user_->chooseInMenu(menu->findChild<QMenu*>(QStringLiteral("PopupCopyOptionMenu")), QLatin1String(tick));
  }
  menu = user_->rightClickRow(stocks, 0);
  user_->chooseInMenu(menu, QStringLiteral("PopupCopyLine"));
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("銘柄名,取引所,単位,買い総額,売り総額,売買損益,利率,コメント\n"
                           "見本電機,東証１部,100,1000000,1234567,234567,+23.45670%,主力\n"));

  // The ticks are shared by every list and stored at close.
  window_->showTab(0);
  menu = user_->rightClickRow(list("ListViewDiary"), -1);
  menu->findChild<QMenu*>(QStringLiteral("PopupCopyOptionMenu"))->menuAction()->trigger();
  for (QAction* tick : menu->findChild<QMenu*>(QStringLiteral("PopupCopyOptionMenu"))->actions()) {
    EXPECT_TRUE(tick->isChecked()) << tick->text().toStdString();
  }
  menu->close();
  ASSERT_TRUE(window_->close());
  const auto settings = tomvik::core::LoadSettings(folder()).settings;
  EXPECT_TRUE(settings.copy1);
  EXPECT_TRUE(settings.copy2);
}

TEST_F(CopyMenuWindow, TheCommentFieldsHaveTheJapaneseEditMenu) {
  open();
  for (int tab : {0, 1, 2, 3}) {
    window_->showTab(tab);
    const char* names[] = {"RichEditDiary", "RichEditComment2", "RichEditCommentL", "RichEditComment3"};
    auto* field = user_->find<QPlainTextEdit>(names[tab]);
    if (!field->isEnabled()) continue;
    QMenu* menu = user_->rightClick(field->viewport(), field->viewport()->rect().center());
    ASSERT_NE(menu, nullptr) << names[tab];
    QStringList texts;
    for (QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(texts, QStringList({"元に戻す(&U)", "-", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除(&D)", "-",
                                  "すべて選択(&A)"}));
    menu->close();
  }

  window_->showTab(0);
  auto* diary = user_->find<QPlainTextEdit>("RichEditDiary");
  ASSERT_TRUE(diary->isEnabled());
  user_->typeInto(diary, QStringLiteral("押し目買い"));
  QMenu* menu = user_->rightClick(diary->viewport(), diary->viewport()->rect().center());
  // Nothing selected: neither cut nor copy; undo, since the field was typed into.
  EXPECT_TRUE(enabled(menu, "PopupEditUndo"));
  EXPECT_FALSE(enabled(menu, "PopupEditCut"));
  EXPECT_FALSE(enabled(menu, "PopupEditCopy"));
  user_->chooseInMenu(menu, QStringLiteral("PopupEditSelectAll"));
  menu = user_->rightClick(diary->viewport(), diary->viewport()->rect().center());
  EXPECT_TRUE(enabled(menu, "PopupEditCut"));
  user_->chooseInMenu(menu, QStringLiteral("PopupEditCut"));
  EXPECT_EQ(diary->toPlainText(), QString());
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("押し目買い"));
  menu = user_->rightClick(diary->viewport(), diary->viewport()->rect().center());
  user_->chooseInMenu(menu, QStringLiteral("PopupEditPaste"));
  EXPECT_EQ(diary->toPlainText(), QStringLiteral("押し目買い"));
}

}  // namespace
