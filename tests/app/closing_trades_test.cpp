// Closing trades from their own tabs, driven with real clicks and keys: a
// sale of a bought holding, the four ways of settling a margin position, and
// the 日記 registration rows, each with the figures of its worked example and
// the files the saves write compared byte for byte.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>

#include <filesystem>
#include <memory>

#include "app/window/form_main.h"
#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/user_driver.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::LedgerModel;
using tomvik::app::TFormMain;
using tomvik::app::ToSjis;
using tomvik::testing::ScriptedPrompter;
using tomvik::testing::UserDriver;

enum Tab { kDiary = 0, kHoldings = 1, kMargin = 2 };

class ClosingTrades : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
  }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }
  void writeFile(const char* name, const QString& text) {
    ASSERT_FALSE(tomvik::core::WriteFileAtomically(folder() / name, ToSjis(text)));
  }
  std::string fileBytes(const char* name) { return tomvik::core::ReadWholeFile(folder() / name).bytes; }
  ::testing::AssertionResult fileIs(const char* name, const QString& text) {
    const std::string expected = ToSjis(text);
    const std::string actual = fileBytes(name);
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << " holds\n"
                                         << tomvik::app::ToQString(actual).toStdString() << "\ninstead of\n"
                                         << text.toStdString();
  }

  TFormMain& start() {
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 15));
    window_->setPrompter(
        std::make_unique<ScriptedPrompter>(std::deque<tomvik::app::Answer>{}, tomvik::app::Answer::Yes));
    user_ = std::make_unique<UserDriver>(*window_);
    user_->showActive();
    return *window_;
  }
  UserDriver& user() { return *user_; }
  QString text(const char* name) { return user().find<QLineEdit>(name)->text(); }
  LedgerModel* list(const char* name) { return static_cast<LedgerModel*>(user().find<QTreeView>(name)->model()); }
  void save(const char* action) { window_->findChild<QAction*>(QLatin1String(action))->trigger(); }
  void typeAndLeave(const char* field, const QString& value) {
    user().typeInto(field, value);
    user().tab();
  }
  // A position of the margin list opened with a double click, its settlement box ticked.
  void openForSettling(int row) {
    user().chooseTab("PageControlMain", kMargin);
    user().clickRow("ListViewLoan", row, true);
    user().click("CheckBoxSettlement");
    ASSERT_TRUE(user().find<QGroupBox>("GroupBoxPriceLx")->isVisible());
  }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  std::unique_ptr<UserDriver> user_;
};

TEST_F(ClosingTrades, SellingThreeHundredOfAThousandAtFourteenHundred) {
  writeFile("Hold.txt",
            QStringLiteral("=1000000,0\r\n-買,1234 見本電機,東証１部,100,1234567,1000,1234,1400,165433\r\n \r\n"));
  start();
  user().chooseTab("PageControlMain", kHoldings);
  user().clickRow("ListViewHold", 0, true);
  user().click("CheckBoxHoldSell");
  ASSERT_TRUE(user().find<QGroupBox>("GroupBoxPrice2x")->isVisible());
  EXPECT_EQ(text("EditPrice2x"), QStringLiteral("1,400"));  // the market price
  EXPECT_EQ(text("EditNum2x"), QStringLiteral("1,000"));    // the whole holding
  EXPECT_FALSE(user().find<QPushButton>("ButtonUpd2")->isEnabled());

  typeAndLeave("EditNum2x", QStringLiteral("300"));
  typeAndLeave("ComboBoxCharge2x", QStringLiteral("525"));
  typeAndLeave("EditTax2x", QStringLiteral("0"));
  EXPECT_EQ(text("MemoPrice2x"), QStringLiteral("419,475"));
  user().press("ButtonHoldSel");

  // The diary comes to the front with the sale loaded.
  EXPECT_EQ(user().find<QTabWidget>("PageControlMain")->currentIndex(), kDiary);
  LedgerModel* diary = list("ListViewDiary");
  ASSERT_EQ(diary->rowCount(), 3);
  EXPECT_EQ(diary->text(1, 1), QStringLiteral("売"));
  EXPECT_EQ(diary->text(1, 8), QStringLiteral("419,475"));
  EXPECT_EQ(diary->text(1, 9), QStringLiteral("370,370"));
  EXPECT_EQ(diary->text(1, 10), QStringLiteral("49,105"));
  EXPECT_EQ(user().find<QTreeView>("ListViewDiary")->currentIndex().row(), 1);
  EXPECT_TRUE(user().find<QRadioButton>("RadioButtonS")->isChecked());
  EXPECT_EQ(text("MemoPrice"), QStringLiteral("419,475"));
  EXPECT_EQ(text("MemoBSPM2"), QStringLiteral("49,105"));
  // The sale box waits for the next opening.
  EXPECT_FALSE(user().find<QCheckBox>("CheckBoxHoldSell")->isEnabled());

  save("MainMenuSave");
  user().chooseTab("PageControlMain", kHoldings);
  save("MainMenuSave2");
  EXPECT_TRUE(
      fileIs("201103.txt", QStringLiteral("[2011/03/15(火)]\r\n \r\n"
                                          "+〆,1234 見本電機,東証１部,1400,300,525,0,419475,370370\r\n \r\n\r\n")));
  EXPECT_TRUE(fileIs("Hold.txt",
                     QStringLiteral("=1000000,49105\r\n-買,1234 見本電機,東証１部,100,864197,700,1234,1400,115803\r\n "
                                    "\r\n")));
}

TEST_F(ClosingTrades, SellingEverythingOnAnotherMonthsDayRemovesTheHolding) {
  writeFile("Hold.txt", QStringLiteral("=0,0\r\n-買,1234 見本電機,東証１部,100,400000,100,4000,4100,10000\r\n \r\n"));
  start();
  user().chooseTab("PageControlMain", kHoldings);
  user().find<QDateEdit>("DateTimePicker2")->setDate(QDate(2011, 4, 5));
  user().clickRow("ListViewHold", 0, true);
  user().click("CheckBoxHoldSell");
  user().press("ButtonHoldSel");
  // The diary moved to April for the sale; the holding is gone.
  EXPECT_EQ(window_->books().monthKey, "2011/04");
  EXPECT_EQ(user().find<QDateEdit>("DateTimePicker")->date(), QDate(2011, 4, 5));
  EXPECT_EQ(list("ListViewHold")->rowCount(), 0);
  EXPECT_EQ(list("ListViewDiary")->text(1, 8), QStringLiteral("410,000"));
  EXPECT_EQ(text("MemoBSPM2"), QStringLiteral("10,000"));
}

TEST_F(ClosingTrades, SellingToRepayHalfOfABuyPosition) {
  writeFile("Loan.txt",
            QStringLiteral("-買,123452011/03/01001,1234 見本電機,東証１部,100,450000,1000,450,480,30000\r\n \r\n"));
  start();
  openForSettling(0);
  auto* box = user().find<QGroupBox>("GroupBoxPriceLx");
  EXPECT_EQ(box->title(), QStringLiteral("買建"));
  EXPECT_EQ(box->palette().color(QPalette::WindowText), tomvik::app::kRed);
  auto* first = user().find<QRadioButton>("RadioButtonBLx");
  auto* second = user().find<QRadioButton>("RadioButtonSLx");
  EXPECT_EQ(first->text(), QStringLiteral("現引き"));
  EXPECT_EQ(second->text(), QStringLiteral("売返済"));
  EXPECT_TRUE(second->isChecked());
  EXPECT_EQ(text("EditPriceLx"), QStringLiteral("480"));

  typeAndLeave("EditNumLx", QStringLiteral("500"));
  typeAndLeave("ComboBoxChargeLx", QStringLiteral("500"));
  typeAndLeave("EditTaxLx", QStringLiteral("100"));
  EXPECT_EQ(text("MemoPriceLx"), QStringLiteral("239,400"));
  user().press("ButtonSettlement");

  LedgerModel* diary = list("ListViewDiary");
  ASSERT_EQ(diary->rowCount(), 3);
  EXPECT_EQ(diary->text(1, 1), QStringLiteral("返売"));
  EXPECT_EQ(diary->text(1, 9), QStringLiteral("225,000"));
  EXPECT_EQ(diary->text(1, 10), QStringLiteral("14,400"));
  EXPECT_EQ(text("MemoBSPM2"), QStringLiteral("14,400"));
  save("MainMenuSave");
  user().chooseTab("PageControlMain", kMargin);
  save("MainMenuSaveL");
  EXPECT_TRUE(
      fileIs("201103.txt",
             QStringLiteral("[2011/03/15(火)]\r\n \r\n"
                            "+返2011/03/01001,1234 見本電機,東証１部,480,500,500,100,239400,225000\r\n \r\n\r\n")));
  EXPECT_TRUE(
      fileIs("Loan.txt",
             QStringLiteral("-買,123452011/03/01001,1234 見本電機,東証１部,100,225000,500,450,480,15000\r\n \r\n")));

  // Deleted from the diary, the settlement gives the position back whole.
  user().chooseTab("PageControlMain", kDiary);
  user().clickRow("ListViewDiary", 1, true);
  user().press("ButtonDiaryDel");
  EXPECT_EQ(list("ListViewLoan")->text(0, 6), QStringLiteral("450,000"));
  EXPECT_EQ(list("ListViewLoan")->text(0, 7), QStringLiteral("1,000"));
  EXPECT_EQ(text("MemoBSPM2"), QStringLiteral("0"));
}

TEST_F(ClosingTrades, BuyingBackAWholeSellPositionRemovesIt) {
  writeFile("Loan.txt",
            QStringLiteral("+売,123462011/03/01001,1234 見本電機,東証１部,100,450000,1000,450,430,20000\r\n \r\n"));
  start();
  openForSettling(0);
  auto* box = user().find<QGroupBox>("GroupBoxPriceLx");
  EXPECT_EQ(box->title(), QStringLiteral("売建"));
  EXPECT_EQ(box->palette().color(QPalette::WindowText), tomvik::app::kBlue);
  EXPECT_EQ(user().find<QRadioButton>("RadioButtonBLx")->text(), QStringLiteral("買返済"));
  EXPECT_TRUE(user().find<QRadioButton>("RadioButtonBLx")->isChecked());
  // No bought holding of the stock: nothing to hand over.
  EXPECT_EQ(user().find<QRadioButton>("RadioButtonSLx")->text(), QStringLiteral("現渡し"));
  EXPECT_FALSE(user().find<QRadioButton>("RadioButtonSLx")->isEnabled());

  typeAndLeave("ComboBoxChargeLx", QStringLiteral("500"));
  EXPECT_EQ(text("MemoPriceLx"), QStringLiteral("430,500"));
  user().press("ButtonSettlement");
  EXPECT_EQ(list("ListViewLoan")->rowCount(), 0);
  EXPECT_EQ(list("ListViewDiary")->text(1, 1), QStringLiteral("返買"));
  EXPECT_EQ(list("ListViewDiary")->text(1, 9), QStringLiteral("450,000"));
  EXPECT_EQ(list("ListViewDiary")->text(1, 10), QStringLiteral("19,500"));
  save("MainMenuSave");
  EXPECT_TRUE(
      fileIs("201103.txt",
             QStringLiteral("[2011/03/15(火)]\r\n \r\n"
                            "-返2011/03/01001,1234 見本電機,東証１部,430,1000,500,0,430500,450000\r\n \r\n\r\n")));
  user().chooseTab("PageControlMain", kMargin);
  save("MainMenuSaveL");
  EXPECT_FALSE(fs::exists(folder() / "Loan.txt") && !fileBytes("Loan.txt").empty());
}

TEST_F(ClosingTrades, TakingDeliveryOpensAndThenGrowsTheBoughtHolding) {
  writeFile("Loan.txt",
            QStringLiteral("-買,123452011/03/01001,1234 見本電機,東証１部,100,450000,1000,450,470,20000\r\n \r\n"));
  start();
  for (int round = 0; round < 2; ++round) {
    openForSettling(0);
    user().click("RadioButtonBLx");  // 現引き
    EXPECT_EQ(text("EditPriceLx"), QStringLiteral("450"));
    EXPECT_FALSE(user().find<QComboBox>("ComboBoxChargeLx")->isEnabled());
    EXPECT_FALSE(user().find<QLineEdit>("EditTaxLx")->isEnabled());
    typeAndLeave("EditNumLx", QStringLiteral("300"));
    EXPECT_EQ(text("MemoPriceLx"), QStringLiteral("135,000"));
    user().press("ButtonSettlement");
    ASSERT_EQ(list("ListViewHold")->rowCount(), 1);
    EXPECT_EQ(list("ListViewHold")->text(0, 6), round == 0 ? QStringLiteral("300") : QStringLiteral("600"));
    EXPECT_EQ(list("ListViewHold")->text(0, 5), round == 0 ? QStringLiteral("135,000") : QStringLiteral("270,000"));
  }
  EXPECT_EQ(list("ListViewLoan")->text(0, 7), QStringLiteral("400"));
  EXPECT_EQ(text("MemoBSPM2"), QStringLiteral("0"));
  save("MainMenuSave");
  EXPECT_TRUE(
      fileIs("201103.txt", QStringLiteral("[2011/03/15(火)]\r\n \r\n"
                                          "-現2011/03/01001,1234 見本電機,東証１部,450,300,,,135000,\r\n \r\n"
                                          "-現2011/03/01001,1234 見本電機,東証１部,450,300,,,135000,\r\n \r\n\r\n")));
}

TEST_F(ClosingTrades, HandingOverIsLimitedToTheSixHundredSharesHeldAtFourHundred) {
  writeFile("Hold.txt", QStringLiteral("=0,0\r\n-買,1234 見本電機,東証１部,100,240000,600,400,400,0\r\n \r\n"));
  writeFile("Loan.txt",
            QStringLiteral("+売,123462011/03/01001,1234 見本電機,東証１部,100,450000,1000,450,430,20000\r\n \r\n"));
  start();
  openForSettling(0);
  user().click("RadioButtonSLx");  // 現渡し
  EXPECT_EQ(text("EditPriceLx"), QStringLiteral("400"));
  typeAndLeave("EditNumLx", QStringLiteral("1000"));
  EXPECT_EQ(text("EditNumLx"), QStringLiteral("600"));
  EXPECT_EQ(text("MemoPriceLx"), QStringLiteral("240,000"));
  user().press("ButtonSettlement");
  EXPECT_EQ(list("ListViewHold")->rowCount(), 0);
  EXPECT_EQ(list("ListViewLoan")->text(0, 7), QStringLiteral("400"));
  EXPECT_EQ(list("ListViewDiary")->text(1, 1), QStringLiteral("現渡"));
  EXPECT_EQ(list("ListViewDiary")->text(1, 10), QStringLiteral("30,000"));
  save("MainMenuSave");
  EXPECT_TRUE(fileIs("201103.txt",
                     QStringLiteral("[2011/03/15(火)]\r\n \r\n"
                                    "+現2011/03/01001,1234 見本電機,東証１部,450,600,,,270000,240000\r\n \r\n\r\n")));
}

TEST_F(ClosingTrades, TheGreyedAllAtOnceBoxGivesOneRowPerStockAndSide) {
  writeFile(
      "Loan.txt",
      QStringLiteral("-買,123452011/03/01001,1234 見本電機,東証１部,100,100000,100,1000,1100,10000\r\n \r\n"
                     "-買,123452011/03/02001,1234 見本電機,東証１部,100,200000,200,1000,1000,0\r\n \r\n"
                     "-買,123452011/03/03001,1234 見本電機,東証１部,100,300000,300,1000,1000,0\r\n \r\n"
                     "+売,123462011/03/03001,1234 見本電機,東証１部,100,50000,50,1000,900,5000\r\n 売りのメモ\r\n"));
  start();
  user().chooseTab("PageControlMain", kMargin);
  auto* all = user().find<QCheckBox>("CheckBoxAllDL");
  user().click(all);
  ASSERT_EQ(all->checkState(), Qt::PartiallyChecked);
  user().press("ButtonHoldDiaryL");
  EXPECT_EQ(user().find<QTabWidget>("PageControlMain")->currentIndex(), kDiary);
  EXPECT_EQ(list("ListViewLoan")->rowCount(), 4);  // no ledger changes
  save("MainMenuSave");
  EXPECT_TRUE(fileIs("201103.txt", QStringLiteral("[2011/03/15(火)]\r\n \r\n"
                                                  "-建,1234 見本電機,東証１部,1100,600,,,610000,600000\r\n \r\n"
                                                  "+建,1234 見本電機,東証１部,900,50,,,45000,50000\r\n \r\n\r\n")));

  // Checked: one row per position, with its comment.
  user().chooseTab("PageControlMain", kMargin);
  user().click(all);
  ASSERT_EQ(all->checkState(), Qt::Checked);
  user().press("ButtonHoldDiaryL");
  EXPECT_EQ(list("ListViewDiary")->rowCount(), 2 + 2 + 4);
  EXPECT_EQ(list("ListViewDiary")->text(0, 1), QStringLiteral("6"));
}

TEST_F(ClosingTrades, TheHoldingsDiaryButtonCopiesTheOpenedHoldingOrEveryOne) {
  writeFile("Hold.txt", QStringLiteral("=0,0\r\n-買,1234 見本電機,東証１部,100,400000,100,4000,4100,10000\r\n 長期\r\n"
                                       "-買,9984 ソフトバンク,東証１部,100,250000,100,2500,2400,-10000\r\n \r\n"));
  start();
  user().chooseTab("PageControlMain", kHoldings);
  user().clickRow("ListViewHold", 0, true);
  user().press("ButtonHoldDiary2");
  EXPECT_EQ(list("ListViewDiary")->text(1, 1), QStringLiteral("買保"));
  EXPECT_EQ(list("ListViewDiary")->text(1, 8), QStringLiteral("410,000"));
  EXPECT_EQ(list("ListViewDiary")->text(1, 11), QStringLiteral("長期"));
  // The row is loaded into the diary panel.
  EXPECT_EQ(user().find<QLineEdit>("MaskEditStockCode")->displayText(), QStringLiteral("1234"));

  user().chooseTab("PageControlMain", kHoldings);
  user().click("CheckBoxAllD2");
  user().press("ButtonHoldDiary2");
  EXPECT_EQ(list("ListViewDiary")->rowCount(), 2 + 3);
  EXPECT_EQ(list("ListViewHold")->rowCount(), 2);
}

}  // namespace
