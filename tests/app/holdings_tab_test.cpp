// The cash holdings tab in a whole window: typing holdings in the
// initial-setup mode, opening a holding and valuing it at a typed market
// price, Update, Delete, the comment boxes, the additional-buy check of the
// old-version mode, the account summary after each step and the file saved.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <deque>
#include <filesystem>
#include <memory>

#include "app/holdings/holdings_tab.h"
#include "app/layout_support.h"
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
using tomvik::app::HoldingsTab;
using tomvik::app::TFormMain;
using tomvik::app::ToSjis;
using tomvik::testing::Named;
using tomvik::testing::ScriptedPrompter;

// Writes UTF-8 text as the CP932 file the program reads.
void WriteSjis(const fs::path& path, const QString& text) {
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(path, ToSjis(text)));
}

class HoldingsTabTest : public ::testing::Test {
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
    tab_ = window_->findChild<HoldingsTab*>();
    window_->show();
    window_->showTab(1);
    tomvik::testing::Settle(*window_);
    return *window_;
  }

  tomvik::app::LedgerTab::Ui& ui() { return tab_->ui; }
  QString memo(const char* name) { return Named<QLineEdit>(*window_, name)->text(); }
  QAction* action(const char* name) { return window_->findChild<QAction*>(QLatin1String(name)); }
  QString cell(int row, int column) { return ui().Model->text(row, column); }

  // What the user does: replace a field's text by typing, then leave it.
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
    const QModelIndex index = ui().Model->index(row, 2);
    const QPoint at = ui().List->visualRect(index).center();
    QTest::mouseClick(ui().List->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(ui().List->viewport(), Qt::LeftButton, {}, at);
  }
  static void press(tomvik::app::UpDownArrows* arrows, const char* which) {
    arrows->findChild<QToolButton*>(arrows->objectName() + QLatin1String(which))->click();
  }
  static QColor letters(QWidget* widget, QPalette::ColorRole role) { return widget->palette().color(role); }

  std::string fileBytes(const char* name) { return tomvik::core::ReadWholeFile(folder() / name).bytes; }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  HoldingsTab* tab_ = nullptr;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(HoldingsTabTest, InitialSetupModeTypesAHoldingInAndSavesIt) {
  TFormMain& w = open();
  w.MenuOptionInitClick();
  EXPECT_TRUE(ui().StockGroup->isEnabled());
  EXPECT_TRUE(ui().Add->isVisible());
  EXPECT_FALSE(ui().SubCheck->isVisible());
  type(Named<QLineEdit>(w, "MemoTotal2"), QStringLiteral("1000000"));
  EXPECT_EQ(memo("MemoTotal2"), QStringLiteral("1,000,000"));

  // The code brings the stock's details from the stock master.
  type(ui().Code, QStringLiteral("1234"));
  EXPECT_EQ(ui().Name->text(), QStringLiteral("見本電機"));
  EXPECT_EQ(ui().Exchange->currentText(), QStringLiteral("東証１部"));
  EXPECT_EQ(ui().Unit->text(), QStringLiteral("100"));
  EXPECT_TRUE(ui().Add->isEnabled());
  EXPECT_FALSE(ui().Update->isEnabled());

  // The unit rounds the shares down to whole lots.
  type(ui().Shares, QStringLiteral("250"));
  type(ui().Unit, QStringLiteral("100"));
  EXPECT_EQ(ui().Shares->text(), QStringLiteral("200"));

  type(ui().Total, QStringLiteral("412000"));
  type(ui().Shares, QStringLiteral("0"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("0"));
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("0.00%"));
  EXPECT_EQ(letters(ui().Rate, QPalette::Window), QColor(240, 224, 240));

  type(ui().Shares, QStringLiteral("1000"));
  type(ui().Market, QStringLiteral("430"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("412,000"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("412"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("18,000"));
  EXPECT_EQ(letters(ui().Result, QPalette::Text), tomvik::app::kBlue);
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+4.37%"));
  EXPECT_EQ(letters(ui().Rate, QPalette::WindowText), tomvik::app::kBlue);
  EXPECT_EQ(letters(ui().Rate, QPalette::Window), QColor(255, 224, 224));
  QTest::keyClicks(ui().Comment, QStringLiteral("50%"));
  QTest::keyClick(ui().Comment, Qt::Key_Return);
  QTest::keyClicks(ui().Comment, QStringLiteral("memo"));

  ui().Add->click();
  ASSERT_EQ(ui().Model->rowCount(), 1);
  EXPECT_EQ(cell(0, 1), QStringLiteral("買"));
  EXPECT_EQ(cell(0, 2), QStringLiteral("1234 見本電機"));
  EXPECT_EQ(cell(0, 9), QStringLiteral("+4.37%"));
  EXPECT_EQ(cell(0, 10), QStringLiteral("18,000"));
  EXPECT_EQ(tab_->selectedRow(), 0);
  EXPECT_TRUE(ui().Delete->isEnabled());
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_TRUE(action("MainMenuSave2")->isEnabled());
  EXPECT_EQ(memo("MemoHold2"), QStringLiteral("412,000"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("18,000"));
  EXPECT_EQ(memo("MemoEnable2"), QStringLiteral("588,000"));
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("1,018,000"));

  action("MainMenuSave2")->trigger();
  EXPECT_FALSE(action("MainMenuSave2")->isEnabled());
  EXPECT_EQ(fileBytes("Hold.txt"),
            ToSjis(QStringLiteral("=1000000,0\r\n-買,1234 見本電機,東証１部,100,412000,1000,412,430,18000\r\n"
                                  " 50%%%nmemo\r\n")));

  // A code already held selects its first row for Update, whichever side.
  ui().Sell->setEnabled(true);
  ui().Sell->click();
  type(ui().Code, QStringLiteral("9984"));
  EXPECT_EQ(tab_->selectedRow(), -1);
  type(ui().Code, QStringLiteral("1234"));
  EXPECT_EQ(tab_->selectedRow(), 0);
  EXPECT_FALSE(ui().Add->isEnabled());
  EXPECT_TRUE(ui().Update->isEnabled());

  // Leaving the mode locks the holding again.
  w.MenuOptionInitClick();
  EXPECT_FALSE(ui().AmountGroup->isEnabled());
  EXPECT_TRUE(ui().Total->isReadOnly());
  EXPECT_FALSE(ui().Add->isVisible());
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_TRUE(ui().SubCheck->isVisible());
  // Its handlers are gone: a programmatic code change looks nothing up.
  ui().Code->setText(QStringLiteral("9984"));
  leave(ui().Code);
  EXPECT_EQ(ui().Name->text(), QStringLiteral("見本電機"));
}

TEST_F(HoldingsTabTest, MarketPriceValuesTheOpenedHoldingAndUpdateStoresIt) {
  WriteSjis(folder() / "Hold.txt",
            QStringLiteral("=1000000,-50000\r\n"
                           "-買,1234 見本電機,東証１部,100,412000,1000,412,430,18000\r\n \r\n"
                           "+売,5678 古い名前,東証２部,1000,500000,1000,500,450,50000\r\n x%n y\r\n"));
  TFormMain& w = open();
  EXPECT_EQ(memo("MemoHold2"), QStringLiteral("912,000"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("68,000"));
  EXPECT_EQ(memo("MemoEnable2"), QStringLiteral("38,000"));
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("1,018,000"));
  EXPECT_FALSE(ui().DiaryButton->isEnabled());

  openRow(0);
  EXPECT_EQ(tab_->selectedRow(), 0);
  EXPECT_EQ(ui().Code->text(), QStringLiteral("1234"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("412,000"));
  EXPECT_EQ(ui().Shares->text(), QStringLiteral("1,000"));
  EXPECT_EQ(ui().Market->text(), QStringLiteral("430"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("412"));
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+4.37%"));
  EXPECT_TRUE(ui().Buy->isChecked());
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_TRUE(ui().SubCheck->isEnabled());
  EXPECT_TRUE(ui().DiaryButton->isEnabled());
  // Only the market price and the comment can be typed.
  QTest::keyClicks(ui().Total, QStringLiteral("9"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("412,000"));

  type(ui().Market, QStringLiteral("4a50"));  // letters do not get in
  EXPECT_EQ(ui().Market->text(), QStringLiteral("450"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("38,000"));
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+9.22%"));
  EXPECT_TRUE(ui().Update->isEnabled());
  // Nothing is stored before Update.
  EXPECT_EQ(cell(0, 8), QStringLiteral("430"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("68,000"));

  ui().Update->click();
  EXPECT_EQ(cell(0, 8), QStringLiteral("450"));
  EXPECT_EQ(cell(0, 9), QStringLiteral("+9.22%"));
  EXPECT_EQ(cell(0, 10), QStringLiteral("38,000"));
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_TRUE(action("MainMenuSave2")->isEnabled());
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("88,000"));
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("1,038,000"));
  EXPECT_EQ(memo("MemoEnable2"), QStringLiteral("38,000"));

  // The sold holding: a fall of the price is its gain. Its name comes from
  // the stock master, its comment from the row.
  openRow(1);
  EXPECT_TRUE(ui().Sell->isChecked());
  EXPECT_EQ(ui().Name->text(), QStringLiteral("東京商事"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("500"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("50,000"));
  EXPECT_EQ(letters(ui().Result, QPalette::Text), tomvik::app::kBlue);
  EXPECT_EQ(ui().Rate->text(), QStringLiteral("+10.00%"));
  EXPECT_EQ(ui().Comment->toPlainText(), QStringLiteral("x\n y"));
  type(ui().Market, QStringLiteral("550"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("-50,000"));
  EXPECT_EQ(letters(ui().Result, QPalette::Text), tomvik::app::kRed);
  EXPECT_EQ(letters(ui().Rate, QPalette::WindowText), tomvik::app::kRed);
  EXPECT_EQ(letters(ui().Rate, QPalette::Window), QColor(224, 224, 255));
  // Unchecking 有効 empties the comment box, and Update keeps the row's.
  ui().CommentTaken->click();
  EXPECT_TRUE(ui().Comment->toPlainText().isEmpty());
  ui().Update->click();
  EXPECT_EQ(cell(1, 11), QStringLiteral("x\r\n y"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("-12,000"));
  EXPECT_EQ(letters(Named<QLineEdit>(w, "MemoInPM2"), QPalette::Text), tomvik::app::kRed);

  action("MainMenuSave2")->trigger();
  EXPECT_EQ(fileBytes("Hold.txt"),
            ToSjis(QStringLiteral("=1000000,-50000\r\n"
                                  "-買,1234 見本電機,東証１部,100,412000,1000,412,450,38000\r\n \r\n"
                                  "+売,5678 東京商事,東証２部,1000,500000,1000,500,550,-50000\r\n x%n y\r\n")));
}

TEST_F(HoldingsTabTest, DeleteAsksAndTheSummaryFollows) {
  WriteSjis(folder() / "Hold.txt",
            QStringLiteral("=1000000,-50000\r\n"
                           "-買,1234 見本電機,東証１部,100,480000,1000,480,550,70000\r\n \r\n"
                           "-買,5678 東京商事,東証２部,1000,500000,1000,500,450,-50000\r\n \r\n"));
  TFormMain& w = open();
  // More held than the balance: the amount available is negative, in red.
  EXPECT_EQ(memo("MemoHold2"), QStringLiteral("980,000"));
  EXPECT_EQ(memo("MemoEnable2"), QStringLiteral("-30,000"));
  EXPECT_EQ(letters(Named<QLineEdit>(w, "MemoEnable2"), QPalette::Text), tomvik::app::kRed);
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("20,000"));
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("970,000"));
  // The add box takes the unrealised result out of the balance and back.
  Named<QCheckBox>(w, "CheckBoxInPM2")->click();
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("950,000"));
  Named<QCheckBox>(w, "CheckBoxInPM2")->click();
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("970,000"));

  w.MenuOptionInitClick();
  openRow(0);
  EXPECT_FALSE(ui().Add->isEnabled());
  ASSERT_TRUE(ui().Delete->isEnabled());

  prompter_->answers = {Answer::No, Answer::Yes};
  ui().Delete->click();
  ASSERT_EQ(prompter_->asked.size(), 1u);
  EXPECT_EQ(prompter_->asked[0], QStringLiteral("削除しますか？"));
  EXPECT_EQ(ui().Model->rowCount(), 2);
  EXPECT_FALSE(action("MainMenuSave2")->isEnabled());

  ui().Delete->click();
  ASSERT_EQ(ui().Model->rowCount(), 1);
  EXPECT_EQ(cell(0, 2), QStringLiteral("5678 東京商事"));
  EXPECT_EQ(tab_->selectedRow(), -1);
  EXPECT_FALSE(ui().Delete->isEnabled());
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_TRUE(action("MainMenuSave2")->isEnabled());
  EXPECT_EQ(memo("MemoHold2"), QStringLiteral("500,000"));
  EXPECT_EQ(memo("MemoInPM2"), QStringLiteral("-50,000"));
  EXPECT_EQ(memo("MemoEnable2"), QStringLiteral("450,000"));
  EXPECT_NE(letters(Named<QLineEdit>(w, "MemoEnable2"), QPalette::Text), tomvik::app::kRed);
  EXPECT_EQ(memo("MemoRemain2"), QStringLiteral("900,000"));
  // With no row loaded, Delete does nothing.
  ui().Delete->setEnabled(true);
  ui().Delete->click();
  EXPECT_EQ(prompter_->asked.size(), 2u);
  EXPECT_EQ(ui().Model->rowCount(), 1);

  // The diary button: every row while 一括 is ticked, else the loaded one.
  ui().All->click();
  EXPECT_TRUE(ui().DiaryButton->isEnabled());
  ui().All->click();
  EXPECT_FALSE(ui().DiaryButton->isEnabled());
}

TEST_F(HoldingsTabTest, AdditionalBuyCheckTriesMoreSharesAtTheMarketPrice) {
  WriteSjis(folder() / "TMVK.ini", QStringLiteral("[Window]\r\nOldMode=1\r\n"));
  WriteSjis(folder() / "Hold.txt",
            QStringLiteral("=1000000,0\r\n-買,1234 見本電機,東証１部,100,412000,1000,412,430,18000\r\n \r\n"));
  open();
  EXPECT_TRUE(tab_->CheckBoxSimulation->isVisible());
  EXPECT_FALSE(ui().SubCheck->isVisible());
  openRow(0);
  ASSERT_EQ(tab_->selectedRow(), 0);

  tab_->CheckBoxSimulation->click();
  EXPECT_EQ(tab_->selectedRow(), -1);
  EXPECT_FALSE(ui().Update->isEnabled());
  // The shares open up inside the otherwise locked amount group.
  EXPECT_TRUE(ui().Shares->isEnabled());
  EXPECT_FALSE(ui().Shares->isReadOnly());
  EXPECT_TRUE(ui().SharesArrows->isEnabled());
  EXPECT_TRUE(ui().Total->isReadOnly());
  EXPECT_FALSE(ui().Total->isEnabled());
  EXPECT_FALSE(ui().Sell->isEnabled());

  // Never below the opened holding's shares.
  press(ui().SharesArrows, "Down");
  EXPECT_EQ(ui().Shares->text(), QStringLiteral("1,000"));
  press(ui().SharesArrows, "Up");
  EXPECT_EQ(ui().Shares->text(), QStringLiteral("1,100"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("455,000"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("413"));
  tomvik::app::OverrideModifiers(tomvik::core::KeyModifiers{true, false, false});
  press(ui().SharesArrows, "Down");
  tomvik::app::OverrideModifiers(std::nullopt);
  EXPECT_EQ(ui().Shares->text(), QStringLiteral("1,000"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("412,000"));

  type(ui().Shares, QStringLiteral("1500"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("627,000"));
  EXPECT_EQ(ui().Price->text(), QStringLiteral("418"));
  EXPECT_EQ(ui().Result->text(), QStringLiteral("18,000"));
  // The tried figures cannot be stored.
  type(ui().Market, QStringLiteral("440"));
  EXPECT_FALSE(ui().Update->isEnabled());
  EXPECT_EQ(cell(0, 5), QStringLiteral("412,000"));

  tab_->CheckBoxSimulation->click();
  EXPECT_TRUE(ui().Shares->isReadOnly());
  EXPECT_FALSE(ui().SharesArrows->isEnabled());
  EXPECT_FALSE(ui().AmountGroup->isEnabled());
  EXPECT_TRUE(ui().Sell->isEnabledTo(ui().AmountGroup));
  // Its handler is detached: the total no longer follows the shares.
  ui().Shares->setText(QStringLiteral("2,000"));
  EXPECT_EQ(ui().Total->text(), QStringLiteral("627,000"));

  // Opening the holding again clears the check.
  tab_->CheckBoxSimulation->click();
  openRow(0);
  EXPECT_FALSE(tab_->CheckBoxSimulation->isChecked());
  EXPECT_TRUE(ui().Shares->isReadOnly());
  EXPECT_EQ(ui().Total->text(), QStringLiteral("412,000"));
  EXPECT_EQ(tab_->selectedRow(), 0);
}

}  // namespace
