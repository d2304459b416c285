// The margin positions tab in a whole window: positions typed in the
// initial-setup mode with their sequence numbers, opening a position and
// valuing it, Update with and without Shift, Delete, the three-state 一括
// box, the account summary after each step and the file saved.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <deque>
#include <filesystem>
#include <memory>

#include "app/layout_support.h"
#include "app/margin/margin_tab.h"
#include "app/window/form_main.h"
#include "app/shell/keyboard.h"
#include "app/shell/ledger_model.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::Answer;
using tomvik::app::MarginTab;
using tomvik::app::TFormMain;
using tomvik::app::ToSjis;
using tomvik::testing::Named;
using tomvik::testing::ScriptedPrompter;

void WriteSjis(const fs::path& path, const QString& text) {
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(path, ToSjis(text)));
}

// Two lines per position: the record and its (empty) comment.
QString PositionLines(const QString& record) { return record + QStringLiteral("\r\n \r\n"); }

class MarginTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
  }
  void TearDown() override { tomvik::app::OverrideModifiers(std::nullopt); }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }

  TFormMain& open() {
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 15));
    auto prompter = std::make_unique<ScriptedPrompter>();
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    tab_ = window_->findChild<MarginTab*>();
    window_->show();
    window_->showTab(2);
    tomvik::testing::Settle(*window_);
    return *window_;
  }

  tomvik::app::LedgerTab::Ui& ui() { return tab_->ui; }
  QString memo(const char* name) { return Named<QLineEdit>(*window_, name)->text(); }
  QAction* action(const char* name) { return window_->findChild<QAction*>(QLatin1String(name)); }
  QString cell(int row, int column) { return ui().Model->text(row, column); }
  std::string key(int row) { return (*ui().Model->table())[*ui().Model->tableIndex(row)].key; }

  static void type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    leave(field);
  }
  static void leave(QWidget* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &out);
  }
  void openRow(int row) {
    const QModelIndex index = ui().Model->index(row, 3);
    const QPoint at = ui().List->visualRect(index).center();
    QTest::mouseClick(ui().List->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(ui().List->viewport(), Qt::LeftButton, {}, at);
  }
  std::string fileBytes(const char* name) { return tomvik::core::ReadWholeFile(folder() / name).bytes; }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  MarginTab* tab_ = nullptr;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(MarginTabTest, AddedPositionsOfOneStockSideAndDateAreNumberedAndSaved) {
  TFormMain& w = open();
  w.MenuOptionInitClick();
  EXPECT_TRUE(ui().Add->isVisible());
  EXPECT_FALSE(ui().SubCheck->isVisible());
  ui().Date->setDate(QDate(2011, 1, 5));
  type(ui().Code, QStringLiteral("1234"));
  EXPECT_EQ(ui().Name->text(), QStringLiteral("見本電機"));
  type(ui().Total, QStringLiteral("412000"));
  type(ui().Shares, QStringLiteral("1000"));
  type(ui().Market, QStringLiteral("430"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("412"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("18,000"));
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+4.37%"));

  ui().Add->click();
  ui().Add->click();
  ASSERT_EQ(ui().Model->rowCount(), 2);
  EXPECT_EQ(key(0), "123452011/01/05001");
  EXPECT_EQ(key(1), "123452011/01/05002");
  EXPECT_EQ(cell(0, 1), QStringLiteral("買建"));
  EXPECT_EQ(cell(0, 2), QStringLiteral("2011/01/05"));
  EXPECT_EQ(cell(0, 10), QStringLiteral("+4.37%"));
  EXPECT_EQ(tab_->selectedRow(), 1);
  EXPECT_TRUE(ui().Delete->isEnabled());
  EXPECT_TRUE(action("MainMenuSaveL")->isEnabled());
  EXPECT_FALSE(window_->books().unsaved.holdings);
  // The margin tab shows the position totals in place of the holdings'.
  EXPECT_TRUE(Named<QLineEdit>(w, "MemoHoldLB")->isVisible());
  EXPECT_EQ(memo("MemoHoldLB"), QStringLiteral("824,000"));
  EXPECT_EQ(memo("MemoHoldLS"), QStringLiteral("0"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("36,000"));
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("36,000"));

  // Deleting the first frees its number for the next one.
  openRow(0);
  ASSERT_EQ(tab_->selectedRow(), 0);
  prompter_->answers = {Answer::Yes};
  ui().Delete->click();
  ASSERT_EQ(ui().Model->rowCount(), 1);
  EXPECT_EQ(key(0), "123452011/01/05002");
  EXPECT_EQ(memo("MemoHoldLB"), QStringLiteral("412,000"));
  type(ui().Code, QStringLiteral("1234"));
  // A stock may have several positions: the look-up leaves Add open.
  EXPECT_TRUE(ui().Add->isEnabled());
  EXPECT_TRUE(ui().Update->isEnabled());
  EXPECT_EQ(tab_->selectedRow(), 0);
  ui().Add->click();
  EXPECT_EQ(key(0), "123452011/01/05001");
  EXPECT_EQ(key(1), "123452011/01/05002");

  // A sell position: unit price 450, a gain of 20,000 and +4.44% at 430.
  ui().Sell->click();
  type(ui().Total, QStringLiteral("450000"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("450"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("20,000"));
  EXPECT_EQ(ui().Result->palette().color(QPalette::Text), tomvik::app::kBlue);
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+4.44%"));
  QTest::keyClicks(ui().Comment, QStringLiteral("short"));
  ui().Add->click();
  ASSERT_EQ(ui().Model->rowCount(), 3);
  EXPECT_EQ(key(2), "123462011/01/05001");
  EXPECT_EQ(cell(2, 1), QStringLiteral("売建"));
  EXPECT_EQ(memo("MemoHoldLS"), QStringLiteral("450,000"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("56,000"));

  action("MainMenuSaveL")->trigger();
  EXPECT_FALSE(action("MainMenuSaveL")->isEnabled());
  const QString buy = QStringLiteral("-買,123452011/01/05%1,1234 見本電機,東証１部,100,412000,1000,412,430,18000");
  EXPECT_EQ(fileBytes("Loan.txt"),
            ToSjis(PositionLines(buy.arg(QStringLiteral("001"))) + PositionLines(buy.arg(QStringLiteral("002"))) +
                   QStringLiteral("+売,123462011/01/05001,1234 見本電機,東証１部,100,450000,1000,450,430,20000\r\n"
                                  " short\r\n")));
}

TEST_F(MarginTabTest, UpdateStoresThePanelAndWithShiftPricesEveryPositionOfTheStock) {
  WriteSjis(
      folder() / "Loan.txt",
      PositionLines(QStringLiteral("-買,123452011/01/05001,1234 見本電機,東証１部,100,412000,1000,412,430,18000")) +
          PositionLines(QStringLiteral("+売,123462011/02/01001,1234 見本電機,東証１部,100,900000,2000,450,430,40000")) +
          PositionLines(
              QStringLiteral("-買,567852011/01/05001,5678 東京商事,東証２部,1000,1000000,1000,1000,1100,100000")));
  open();
  EXPECT_EQ(memo("MemoHoldLB"), QStringLiteral("1,412,000"));
  EXPECT_EQ(memo("MemoHoldLS"), QStringLiteral("900,000"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("158,000"));
  EXPECT_FALSE(ui().DiaryButton->isEnabled());

  openRow(0);
  EXPECT_EQ(tab_->selectedRow(), 0);
  EXPECT_TRUE(ui().Buy->isChecked());
  EXPECT_TRUE(ui().SubCheck->isEnabled());
  EXPECT_TRUE(ui().DiaryButton->isEnabled());
  EXPECT_EQ(ui().SubQuantity->text(), QStringLiteral("1,000"));
  EXPECT_FALSE(ui().Update->isEnabled());
  type(ui().Market, QStringLiteral("440"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("28,000"));
  ASSERT_TRUE(ui().Update->isEnabled());
  ui().Update->click();
  EXPECT_EQ(cell(0, 9), QStringLiteral("440"));
  EXPECT_EQ(cell(0, 10), QStringLiteral("+6.80%"));
  EXPECT_EQ(cell(0, 11), QStringLiteral("28,000"));
  EXPECT_EQ(cell(1, 9), QStringLiteral("430"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("168,000"));
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_TRUE(action("MainMenuSaveL")->isEnabled());
  // Update marks the holdings unsaved as well (their Save item is hidden here).
  EXPECT_TRUE(window_->books().unsaved.holdings);

  // The sell position opens with its own side.
  openRow(1);
  EXPECT_TRUE(ui().Sell->isChecked());
  EXPECT_EQ(ui().Price->text(), QStringLiteral("450"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("40,000"));
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+4.44%"));

  // Shift: the price reaches both sides of the stock and no other stock.
  type(ui().Market, QStringLiteral("500"));
  tomvik::app::OverrideModifiers(tomvik::core::KeyModifiers{true, false, false});
  ui().Update->click();
  tomvik::app::OverrideModifiers(std::nullopt);
  EXPECT_EQ(cell(0, 9), QStringLiteral("500"));
  EXPECT_EQ(cell(0, 10), QStringLiteral("+21.36%"));
  EXPECT_EQ(cell(0, 11), QStringLiteral("88,000"));
  EXPECT_EQ(cell(1, 9), QStringLiteral("500"));
  EXPECT_EQ(cell(1, 10), QStringLiteral("-11.11%"));
  EXPECT_EQ(cell(1, 11), QStringLiteral("-100,000"));
  EXPECT_EQ(cell(2, 9), QStringLiteral("1,100"));
  EXPECT_EQ(cell(2, 11), QStringLiteral("100,000"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("88,000"));
  EXPECT_FALSE(ui().Update->isEnabled());

  action("MainMenuSaveL")->trigger();
  EXPECT_EQ(
      fileBytes("Loan.txt"),
      ToSjis(
          PositionLines(QStringLiteral("-買,123452011/01/05001,1234 見本電機,東証１部,100,412000,1000,412,500,88000")) +
          PositionLines(
              QStringLiteral("+売,123462011/02/01001,1234 見本電機,東証１部,100,900000,2000,450,500,-100000")) +
          PositionLines(
              QStringLiteral("-買,567852011/01/05001,5678 東京商事,東証２部,1000,1000000,1000,1000,1100,100000"))));
}

TEST_F(MarginTabTest, AllAtOnceBoxAndDeleteQuestion) {
  WriteSjis(
      folder() / "Loan.txt",
      PositionLines(QStringLiteral("-買,123452011/01/05001,1234 見本電機,東証１部,100,412000,1000,412,430,18000")));
  TFormMain& w = open();
  // Unchecked: only while a position is loaded; checked or greyed: any row.
  EXPECT_FALSE(ui().DiaryButton->isEnabled());
  ui().All->click();
  EXPECT_EQ(ui().All->checkState(), Qt::PartiallyChecked);
  EXPECT_TRUE(ui().DiaryButton->isEnabled());
  ui().All->click();
  EXPECT_EQ(ui().All->checkState(), Qt::Checked);
  EXPECT_TRUE(ui().DiaryButton->isEnabled());
  ui().All->click();
  EXPECT_FALSE(ui().DiaryButton->isEnabled());

  w.MenuOptionInitClick();
  openRow(0);
  prompter_->answers = {Answer::No};
  ui().Delete->click();
  EXPECT_EQ(prompter_->asked, std::vector<QString>{QStringLiteral("削除しますか？")});
  EXPECT_EQ(ui().Model->rowCount(), 1);
  EXPECT_EQ(tab_->selectedRow(), 0);
  EXPECT_FALSE(action("MainMenuSaveL")->isEnabled());

  // In the mode the kind, total and shares are typed; leaving it locks them
  // and their handlers are detached.
  ui().Sell->click();
  EXPECT_EQ(ui().Result->text(), QStringLiteral("-18,000"));
  w.MenuOptionInitClick();
  EXPECT_FALSE(ui().AmountGroup->isEnabled());
  EXPECT_TRUE(ui().Total->isReadOnly());
  EXPECT_TRUE(ui().SubCheck->isVisible());
  ui().Total->setText(QStringLiteral("1"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("-18,000"));
}

}  // namespace
