// The diary panel and the ledgers it books into, driven with real clicks,
// keys and focus changes: the stock chosen from the recent-codes list, a
// loaded sale, the holding limit, large amounts, the charge list, positions
// of a day, holdings of stocks the stock master lacks, a month whose file
// cannot be read, and the rows a trade touches shown in their lists.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "app/window/form_main.h"
#include "app/shell/ledger_model.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/window/startup_guard.h"
#include "app/user_driver.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"
#include "core/records/hold_file.h"
#include "core/records/settings.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::Answer;
using tomvik::app::LedgerModel;
using tomvik::app::TFormMain;
using tomvik::app::ToQString;
using tomvik::app::ToSjis;
using tomvik::testing::ScriptedPrompter;
using tomvik::testing::UserDriver;

class DiaryEntry : public ::testing::Test {
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

  TFormMain& start(std::deque<Answer> answers = {}, Answer otherwise = Answer::Yes) {
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 15));
    auto prompter = std::make_unique<ScriptedPrompter>(std::move(answers), otherwise);
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    user_ = std::make_unique<UserDriver>(*window_);
    user_->showActive();
    return *window_;
  }

  UserDriver& user() { return *user_; }
  QLineEdit* field(const char* name) { return user().find<QLineEdit>(name); }
  QString text(const char* name) { return field(name)->text(); }
  LedgerModel* list(const char* name) { return static_cast<LedgerModel*>(user().find<QTreeView>(name)->model()); }
  QAction* action(const char* name) { return window_->findChild<QAction*>(QLatin1String(name)); }
  tomvik::core::Books& books() { return window_->books(); }

  // The day's note: it opens the day for trades (the panel turns to 取引).
  void writeNote(const QString& note) {
    user().typeInto("RichEditDiary", note);
    user().press("ButtonDiaryAdd");
    ASSERT_TRUE(user().find<QRadioButton>("RadioButtonMode1")->isChecked());
  }
  // A code typed and left with Tab, as the user moves on to the name.
  void typeCode(const char* code) {
    user().typeInto("MaskEditStockCode", QString::fromLatin1(code));
    user().tab();
  }
  void typeTrade(const QString& price, const QString& quantity) {
    user().typeInto("EditPrice", price);
    user().typeInto("EditNum", quantity);
    user().tab();
  }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  std::unique_ptr<UserDriver> user_;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(DiaryEntry, AStockChosenFromTheRecentCodesIsLookedUpAndRecordedWithItsOwnDetails) {
  start();
  writeNote(QStringLiteral("二銘柄"));
  typeCode("1234");
  typeCode("4321");
  ASSERT_EQ(text("EditStockName"), QStringLiteral("見本化学"));
  auto* recent = user().find<QComboBox>("ComboBoxStockCode");
  ASSERT_EQ(recent->count(), 2);
  EXPECT_EQ(recent->itemText(0), QStringLiteral("4321 見本化学"));

  // Chosen with the mouse: looked up, and the name field is next.
  user().choose(recent, QStringLiteral("1234"));
  EXPECT_EQ(user().find<QLineEdit>("MaskEditStockCode")->displayText(), QStringLiteral("1234"));
  EXPECT_EQ(text("EditStockName"), QStringLiteral("見本電機"));
  EXPECT_EQ(user().find<QComboBox>("ComboBoxStockExchange")->currentText(), QStringLiteral("東証１部"));
  EXPECT_EQ(text("EditStockUnit"), QStringLiteral("100"));
  EXPECT_TRUE(field("EditStockName")->hasFocus());
  EXPECT_EQ(recent->itemText(0), QStringLiteral("1234 見本電機"));

  typeTrade(QStringLiteral("1000"), QStringLiteral("200"));
  user().press("ButtonDiaryAdd");
  EXPECT_EQ(list("ListViewDiary")->text(1, 2), QStringLiteral("1234 見本電機"));
  ASSERT_TRUE(books().holdings.find("12341"));
  EXPECT_EQ(ToQString(books().holdings[*books().holdings.find("12341")].cell(tomvik::core::HoldCol::Unit)),
            QStringLiteral("100"));

  // Chosen by typing its first digit into the closed list.
  user().click(recent);
  QTest::keyClick(recent->view(), Qt::Key_Escape);  // closed without a choice: the focus goes to the code
  QCoreApplication::processEvents();
  EXPECT_TRUE(field("MaskEditStockCode")->hasFocus());
  user().tab();  // from the code field to its list
  ASSERT_TRUE(recent->hasFocus());
  QTest::keyClick(recent, Qt::Key_4);
  QCoreApplication::processEvents();
  EXPECT_EQ(text("EditStockName"), QStringLiteral("見本化学"));
  EXPECT_EQ(text("EditStockUnit"), QStringLiteral("1000"));
}

TEST_F(DiaryEntry, ALoadedCashSaleStaysASaleAndAddRecordsASale) {
  writeFile("201103.txt",
            QStringLiteral("[2011/03/15(火)]\r\n \r\n-買,1234 見本電機,東証１部,1000,1000,,,1000000,\r\n \r\n"
                           "+〆,1234 見本電機,東証１部,1200,300,,,360000,300000\r\n \r\n"));
  writeFile("Hold.txt",
            QStringLiteral("=1000000,60000\r\n-買,1234 見本電機,東証１部,100,700000,700,1000,1200,140000\r\n \r\n"));
  start();
  user().clickRow("ListViewDiary", 2, true);  // the sale
  auto* sell = user().find<QRadioButton>("RadioButtonS");
  EXPECT_TRUE(sell->isChecked());
  EXPECT_FALSE(user().find<QRadioButton>("RadioButtonB")->isChecked());
  EXPECT_EQ(text("MemoPrice"), QStringLiteral("360,000"));
  user().press("ButtonDiaryAdd");
  // A second sale of 300 of the holding, at its cost.
  const auto holding = books().holdings.find("12341");
  ASSERT_TRUE(holding);
  EXPECT_EQ(ToQString(books().holdings[*holding].cell(tomvik::core::HoldCol::Shares)), QStringLiteral("400"));
  EXPECT_EQ(ToQString(books().holdings[*holding].cell(tomvik::core::HoldCol::Total)), QStringLiteral("400,000"));
  EXPECT_EQ(books().figures.realised, "120,000");
}

TEST_F(DiaryEntry, NothingHeldMeansASaleOfNoSharesAndNoAdd) {
  writeFile("TMVK.ini", QStringLiteral("[Window]\r\nOldMode=1\r\n"));
  // Left with negative shares: its opening buy was deleted after a sale.
  writeFile("Hold.txt", QStringLiteral("=0,0\r\n-買,1234 見本電機,東証１部,100,-1000000,-1000,0,1000,0\r\n \r\n"));
  start();
  writeNote(QStringLiteral("売り"));
  typeCode("1234");
  user().click("RadioButtonS");
  user().typeInto("EditNum", QStringLiteral("5"));
  EXPECT_EQ(text("EditNum"), QStringLiteral("0"));
  QTest::keyClicks(field("EditNum"), QStringLiteral("1"));
  EXPECT_EQ(text("EditNum"), QStringLiteral("0"));
  EXPECT_FALSE(user().find<QPushButton>("ButtonDiaryAdd")->isEnabled());
}

TEST_F(DiaryEntry, ALargeTradeIsRecordedWhole) {
  start();
  writeNote(QStringLiteral("大口"));
  typeCode("1234");
  typeTrade(QStringLiteral("10000000000000"), QStringLiteral("100"));
  EXPECT_EQ(text("MemoPrice"), QStringLiteral("1,000,000,000,000,000"));
  user().press("ButtonDiaryAdd");
  EXPECT_EQ(list("ListViewDiary")->text(1, 8), QStringLiteral("1,000,000,000,000,000"));
  EXPECT_EQ(ToQString(books().holdings[0].cell(tomvik::core::HoldCol::Total)), QStringLiteral("1,000,000,000,000,000"));
  EXPECT_EQ(text("MemoHold2"), QStringLiteral("1,000,000,000,000,000"));
}

TEST_F(DiaryEntry, TheChargeLeftIsTidiedAndRememberedForTheNextSession) {
  start();
  writeNote(QStringLiteral("手数料"));
  auto* charge = user().find<QComboBox>("ComboBoxCharge");
  user().typeInto(charge, QStringLiteral("1050"));
  user().tab();
  EXPECT_EQ(charge->currentText(), QStringLiteral("1,050"));
  ASSERT_EQ(charge->count(), 1);
  EXPECT_EQ(charge->itemText(0), QStringLiteral("1,050"));
  ASSERT_TRUE(window_->close());
  const tomvik::core::Settings settings = tomvik::core::LoadSettings(folder()).settings;
  EXPECT_EQ(settings.recentCharges, std::vector<std::string>{"1,050"});
}

TEST_F(DiaryEntry, AMarginTradePassesOverTheNumberOfAPositionTypedInForTheSameDay) {
  TFormMain& w = start();
  // The initial-setup mode: a position of 1234 opened on the 15th, typed in.
  w.MenuOptionInitClick();
  w.showTab(2);
  user().typeInto("MaskEditStockCodeL", QStringLiteral("1234"));
  user().tab();
  user().typeInto("EditPriceL", QStringLiteral("450000"));
  user().typeInto("EditNumL", QStringLiteral("1000"));
  user().tab();
  user().press("ButtonAddL");
  ASSERT_EQ(books().positions.size(), 1u);
  EXPECT_EQ(books().positions[0].key, "123452011/03/15001");
  w.MenuOptionInitClick();

  w.showTab(0);
  writeNote(QStringLiteral("信用"));
  user().choose("ComboBoxPlan", QStringLiteral("信用"));
  typeCode("1234");
  typeTrade(QStringLiteral("450"), QStringLiteral("1000"));
  user().press("ButtonDiaryAdd");
  ASSERT_EQ(books().positions.size(), 2u);
  EXPECT_EQ(books().positions[1].key, "123452011/03/15002");
  EXPECT_EQ(books().diary[0].key, "2011/03/150002");
  // The new position is the one selected in its list.
  auto* positions = user().find<QTreeView>("ListViewLoan");
  EXPECT_EQ(positions->currentIndex().row(), 1);

  // Its row is loaded with the list's day; it can be deleted, and deleting
  // it takes only its own position away.
  user().clickRow("ListViewDiary", 1, true);
  user().press("ButtonDiaryDel");
  ASSERT_EQ(books().positions.size(), 1u);
  EXPECT_EQ(books().positions[0].key, "123452011/03/15001");
}

TEST_F(DiaryEntry, DeletingAnOpeningRowTakesItsPositionAwayAlsoAfterItsTotalWasCorrected) {
  TFormMain& w = start();
  writeNote(QStringLiteral("信用"));
  user().choose("ComboBoxPlan", QStringLiteral("信用"));
  typeCode("1234");
  typeTrade(QStringLiteral("450"), QStringLiteral("1000"));
  user().press("ButtonDiaryAdd");
  ASSERT_EQ(books().positions.size(), 1u);

  // The total corrected on the margin tab in the initial-setup mode.
  w.MenuOptionInitClick();
  w.showTab(2);
  user().clickRow("ListViewLoan", 0, true);
  user().typeInto("EditPriceL", QStringLiteral("451000"));
  user().tab();
  user().press("ButtonUpdL");
  EXPECT_EQ(text("MemoHoldLB"), QStringLiteral("451,000"));
  w.MenuOptionInitClick();

  w.showTab(0);
  user().clickRow("ListViewDiary", 1, true);
  user().press("ButtonDiaryDel");
  EXPECT_TRUE(books().positions.empty());
  w.showTab(2);
  EXPECT_EQ(text("MemoHoldLB"), QStringLiteral("0"));
}

TEST_F(DiaryEntry, UpdateKeepsTheStockOfAHoldingTheStockMasterLacks) {
  writeFile("Hold.txt", QStringLiteral("=0,0\r\n-買,7777 未登録商事,大証,100,412000,1000,412,412,0\r\n メモ\r\n"));
  TFormMain& w = start();
  w.showTab(1);
  user().clickRow("ListViewHold", 0, true);
  EXPECT_EQ(text("EditStockName2"), QString());
  user().typeInto("EditMarketPrice2", QStringLiteral("450"));
  user().tab();
  user().press("ButtonUpd2");
  ASSERT_TRUE(window_->saveLedger(tomvik::core::Ledger::Holdings));
  EXPECT_EQ(fileBytes("Hold.txt"),
            ToSjis(QStringLiteral("=0,0\r\n-買,7777 未登録商事,大証,100,412000,1000,412,450,38000\r\n メモ\r\n")));
}

TEST_F(DiaryEntry, ChangesOfAMonthWhoseFileCannotBeReadAreNeverDroppedSilently) {
  // A folder stands where the month's file should be.
  fs::create_directory(folder() / "201103.txt");
  TFormMain& w = start({Answer::No, Answer::No});
  QCoreApplication::processEvents();
  ASSERT_EQ(prompter_->errors.size(), 1u);
  writeNote(QStringLiteral("読めない月のメモ"));

  auto* picker = user().find<QDateEdit>("DateTimePicker");
  picker->setDate(QDate(2011, 4, 1));
  ASSERT_EQ(prompter_->asked.size(), 1u);
  EXPECT_EQ(prompter_->asked[0],
            QStringLiteral("この月の取引日記はファイルを読み込めなかったため、変更を保存できません。\n"
                           "変更を破棄して別の月へ移りますか？"));
  // No: the month stays with its note.
  EXPECT_EQ(picker->date(), QDate(2011, 3, 15));
  EXPECT_EQ(books().monthKey, "2011/03");
  EXPECT_EQ(list("ListViewDiary")->text(0, 11), QStringLiteral("読めない月のメモ"));
  // Closing asks too; No keeps the window open.
  EXPECT_FALSE(w.close());
  EXPECT_EQ(prompter_->asked.size(), 2u);
  // Yes lets the note go; nothing is written over the unreadable file.
  picker->setDate(QDate(2011, 4, 1));
  EXPECT_EQ(books().monthKey, "2011/04");
  EXPECT_TRUE(fs::is_directory(folder() / "201103.txt"));
  EXPECT_TRUE(w.close());
}

TEST_F(DiaryEntry, TheRowsATradeTouchesAreSelectedInTheirLists) {
  // A sold holding of 1234: buying it closes shares of it.
  writeFile("Hold.txt", QStringLiteral("=0,0\r\n-買,9984 ソフトバンク,東証１部,100,250000,100,2500,2500,0\r\n \r\n"
                                       "+売,1234 見本電機,東証１部,100,430000,100,4300,4100,20000\r\n \r\n"));
  TFormMain& w = start();
  writeNote(QStringLiteral("買い戻し"));
  typeCode("1234");
  typeTrade(QStringLiteral("4100"), QStringLiteral("100"));
  user().press("ButtonDiaryAdd");
  EXPECT_EQ(list("ListViewDiary")->text(1, 1), QStringLiteral("買"));
  auto* holdings = user().find<QTreeView>("ListViewHold");
  ASSERT_TRUE(books().holdings.size() == 1u);  // the sold holding is gone
  typeCode("9984");
  typeTrade(QStringLiteral("2600"), QStringLiteral("100"));
  user().press("ButtonDiaryAdd");
  EXPECT_EQ(holdings->currentIndex().row(), 0);
  EXPECT_TRUE(holdings->selectionModel()->isRowSelected(0, {}));
  // The stock of the closing trade is the stock list's current row.
  auto* stocks = user().find<QTreeView>("ListViewStock");
  const auto stock = books().stocks.find("1234");
  ASSERT_TRUE(stock);
  EXPECT_EQ(static_cast<LedgerModel*>(stocks->model())->tableIndex(stocks->currentIndex().row()), *stock);
  // Selected, not opened: the holdings panel shows nothing of it.
  w.showTab(1);
  EXPECT_EQ(text("MaskEditStockCode2").trimmed(), QString());
}

TEST_F(DiaryEntry, DeletingABuyWhoseHoldingWasSoldOffEmptiesTheHoldingsPanelsFigures) {
  writeFile("201103.txt",
            QStringLiteral("[2011/03/15(火)]\r\n \r\n-買,1234 見本電機,東証１部,1000,1000,,,1000000,\r\n \r\n"
                           "+〆,1234 見本電機,東証１部,1200,1000,,,1200000,1000000\r\n \r\n"));
  writeFile("Hold.txt",
            QStringLiteral("=0,200000\r\n-買,9984 ソフトバンク,東証１部,100,250000,100,2500,2500,0\r\n \r\n"));
  TFormMain& w = start();
  w.showTab(1);
  user().clickRow("ListViewHold", 0, true);
  ASSERT_EQ(text("EditPrice2"), QStringLiteral("250,000"));
  w.showTab(0);
  user().clickRow("ListViewDiary", 1, true);  // the buy
  user().press("ButtonDiaryDel");
  ASSERT_TRUE(books().holdings.find("12341"));
  EXPECT_EQ(text("EditPrice2"), QString());
  EXPECT_EQ(text("EditNum2"), QStringLiteral("0"));
}

TEST_F(DiaryEntry, AUnitRoundsTheQuantityToPlainDigits) {
  start();
  writeNote(QStringLiteral("単位"));
  user().typeInto("EditNum", QStringLiteral("1200"));
  user().tab();
  ASSERT_EQ(text("EditNum"), QStringLiteral("1,200"));
  typeCode("1234");  // unit 100: 1,200 stays 1,200 shares, in plain digits
  EXPECT_EQ(text("EditNum"), QStringLiteral("1200"));
}

TEST_F(DiaryEntry, TheDaysEndMarkerIsALineThatLoadsNothing) {
  start();
  writeNote(QStringLiteral("一日"));
  LedgerModel* diary = list("ListViewDiary");
  ASSERT_EQ(diary->rowCount(), 2);
  for (int column = 0; column < diary->columnCount(); ++column) EXPECT_EQ(diary->text(1, column), QString());
  user().typeInto("RichEditDiary", QStringLiteral("書きかけ"));
  user().clickRow("ListViewDiary", 1, true);
  EXPECT_EQ(user().find<QPlainTextEdit>("RichEditDiary")->toPlainText(), QStringLiteral("書きかけ"));
  EXPECT_TRUE(user().find<QRadioButton>("RadioButtonMode1")->isChecked());
}

TEST_F(DiaryEntry, TheSummarysAddBoxHandsItsStateToTheSimulatedOne) {
  start();
  auto* add = user().find<QCheckBox>("CheckBoxInPM2");
  ASSERT_TRUE(add->isChecked());
  user().click(add);
  EXPECT_FALSE(user().find<QCheckBox>("CheckBoxInPM2S")->isChecked());
}

TEST_F(DiaryEntry, StayOnTopKeepsTheSavedPlace) {
  writeFile("TMVK.ini",
            QStringLiteral("[Window]\r\nStayOnTop=1\r\nTop=120\r\nLeft=200\r\nHeight=500\r\nWidth=700\r\n"));
  TFormMain& w = start();
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(w.geometry(), QRect(200, 120, 700, 500));
  ASSERT_TRUE(w.close());
  const tomvik::core::Settings settings = tomvik::core::LoadSettings(folder()).settings;
  EXPECT_EQ(settings.top, 120);
  EXPECT_EQ(settings.left, 200);
  EXPECT_EQ(settings.height, 500);
  EXPECT_EQ(settings.width, 700);
}

TEST(StartupGuard, AnErrorAtStartIsShownAndEndsWithAFailureStatus) {
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = box->text();
    box->accept();
  });
  ::testing::internal::CaptureStderr();
  const int status =
      tomvik::app::RunGuarded([]() -> int { throw std::runtime_error("iconv has no CP932 conversion"); });
  const std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, EXIT_FAILURE);
  EXPECT_EQ(printed.rfind("tomvik: iconv has no CP932 conversion\n", 0), 0u) << printed;
  EXPECT_TRUE(shown.contains(QStringLiteral("iconv has no CP932 conversion")));
  EXPECT_EQ(tomvik::app::RunGuarded([] { return 0; }), 0);
}

}  // namespace
