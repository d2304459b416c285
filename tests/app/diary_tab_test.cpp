// The diary panel driven as a user drives it: the day's note, a buy that
// opens a holding, the live amounts, the stock lookup, Update and Delete.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/layout_support.h"
#include "app/window/form_main.h"
#include "app/shell/keyboard.h"
#include "app/shell/ledger_model.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/window_support.h"
#include "core/diary/bookkeeping.h"
#include "core/records/atomic_file.h"
#include "core/records/hold_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::TFormMain;
using tomvik::app::ToQString;
using tomvik::testing::Named;
using tomvik::testing::ScriptedPrompter;

std::string ReadBytes(const fs::path& path) { return tomvik::core::ReadWholeFile(path).bytes; }
QString Text(const std::string& cp932) { return ToQString(cp932); }

class DiaryPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 15));
    auto prompter = std::make_unique<ScriptedPrompter>(std::deque<tomvik::app::Answer>{}, tomvik::app::Answer::Yes);
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    window_->show();
    tomvik::testing::Settle(*window_);
  }
  void TearDown() override { tomvik::app::OverrideModifiers(std::nullopt); }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }
  template <typename T>
  T* w(const char* name) {
    return Named<T>(*window_, name);
  }
  QLineEdit* edit(const char* name) { return w<QLineEdit>(name); }
  void type(const char* field, const QString& text) {
    QLineEdit* e = edit(field);
    e->setFocus();
    e->selectAll();
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      QTest::keyClicks(e, text);
    } else {
      // Japanese arrives through the input method.
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QCoreApplication::sendEvent(e, &commit);
    }
  }
  // Leaves a field as a user does, by moving the focus on.
  void leave(QWidget* field) {
    field->setFocus();
    w<QPlainTextEdit>("RichEditDiary")->setFocus();
    QCoreApplication::processEvents();
  }
  void click(const char* button) { w<QAbstractButton>(button)->click(); }
  tomvik::app::LedgerModel* diary() {
    return static_cast<tomvik::app::LedgerModel*>(w<QTreeView>("ListViewDiary")->model());
  }
  QAction* action(const char* name) { return window_->findChild<QAction*>(QLatin1String(name)); }

  // The day's note, which opens the day for trades.
  void writeNote(const QString& note) {
    w<QPlainTextEdit>("RichEditDiary")->setPlainText(note);
    click("ButtonDiaryAdd");
  }
  void enterBuy(const char* code, const QString& price, const QString& quantity) {
    type("MaskEditStockCode", QString::fromLatin1(code));
    leave(edit("MaskEditStockCode"));
    type("EditPrice", price);
    type("EditNum", quantity);
  }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(DiaryPanel, ANoteAndABuyOpenTheHoldingAndBothLedgersAreSaved) {
  EXPECT_TRUE(w<QRadioButton>("RadioButtonMode0")->isChecked());
  EXPECT_FALSE(w<QRadioButton>("RadioButtonMode1")->isEnabled());  // no day yet
  writeNote(QStringLiteral("寄り付きから強い"));
  ASSERT_EQ(diary()->rowCount(), 2);  // the header and the day's end marker
  EXPECT_EQ(diary()->text(0, 0), QStringLiteral("2011/03/15(火)"));
  EXPECT_TRUE(w<QRadioButton>("RadioButtonMode1")->isChecked());  // trades may follow
  EXPECT_TRUE(action("MainMenuSave")->isEnabled());

  enterBuy("1234", QStringLiteral("1234"), QStringLiteral("1000"));
  EXPECT_EQ(edit("EditStockName")->text(), QStringLiteral("見本電機"));
  EXPECT_EQ(w<QComboBox>("ComboBoxStockExchange")->currentText(), QStringLiteral("東証１部"));
  EXPECT_EQ(edit("EditStockUnit")->text(), QStringLiteral("100"));
  w<QComboBox>("ComboBoxCharge")->setEditText(QStringLiteral("567"));
  EXPECT_EQ(edit("MemoPrice")->text(), QStringLiteral("1,234,567"));
  click("ButtonDiaryAdd");

  ASSERT_EQ(diary()->rowCount(), 3);
  EXPECT_EQ(diary()->text(1, 1), QStringLiteral("買"));
  EXPECT_EQ(diary()->text(1, 8), QStringLiteral("1,234,567"));
  EXPECT_EQ(diary()->text(0, 1), QStringLiteral("1"));
  EXPECT_EQ(diary()->text(0, 8), QStringLiteral("1,234,567"));
  ASSERT_EQ(window_->books().holdings.size(), 1u);
  EXPECT_EQ(window_->books().holdings[0].key, "12341");
  EXPECT_EQ(edit("MemoHold2")->text(), QStringLiteral("1,234,567"));
  // The new row is loaded back into the panel.
  EXPECT_EQ(w<QPlainTextEdit>("RichEditDiary")->toPlainText(), QString());
  EXPECT_TRUE(action("MainMenuSave")->isEnabled());
  window_->showTab(1);
  EXPECT_TRUE(action("MainMenuSave2")->isEnabled());
  window_->showTab(0);

  action("MainMenuSave")->trigger();
  window_->showTab(1);
  action("MainMenuSave2")->trigger();
  EXPECT_EQ(ReadBytes(folder() / "201103.txt"),
            tomvik::app::ToSjis(QStringLiteral("[2011/03/15(火)]\r\n 寄り付きから強い\r\n"
                                               "-買,1234 見本電機,東証１部,1234,1000,567,,1234567,\r\n \r\n\r\n")));
  EXPECT_EQ(ReadBytes(folder() / "Hold.txt"),
            tomvik::app::ToSjis(QStringLiteral("=0,0\r\n-買,1234 見本電機,東証１部,100,1234567,1000,1234,1234,-567\r\n "
                                               "\r\n")));
  EXPECT_FALSE(action("MainMenuSave")->isEnabled());
  EXPECT_FALSE(action("MainMenuSave2")->isEnabled());
}

TEST_F(DiaryPanel, UpdatingOnlyTheCommentLeavesEveryLedgerUntouched) {
  writeNote(QStringLiteral("日記"));
  enterBuy("1234", QStringLiteral("1000"), QStringLiteral("1000"));
  click("ButtonDiaryAdd");
  window_->books().unsaved = {};
  window_->ledgersChanged();
  const auto holdings = window_->books().holdings[0].cells;

  // The buy is loaded; only its comment is typed.
  w<QPlainTextEdit>("RichEditDiary")->setPlainText(QStringLiteral("押し目買い"));
  ASSERT_TRUE(w<QPushButton>("ButtonDiaryUpd")->isEnabled());
  click("ButtonDiaryUpd");
  EXPECT_EQ(diary()->text(1, 11), QStringLiteral("押し目買い"));
  EXPECT_EQ(window_->books().holdings[0].cells, holdings);
  EXPECT_TRUE(window_->books().unsaved.diary);
  EXPECT_FALSE(window_->books().unsaved.holdings);
  EXPECT_FALSE(window_->books().unsaved.positions);
  EXPECT_FALSE(window_->books().unsaved.stocks);
}

TEST_F(DiaryPanel, DeletingTheBuyAsksAndTakesTheHoldingBack) {
  writeNote(QStringLiteral("日記"));
  enterBuy("1234", QStringLiteral("1000"), QStringLiteral("1000"));
  click("ButtonDiaryAdd");
  ASSERT_TRUE(w<QPushButton>("ButtonDiaryDel")->isEnabled());
  click("ButtonDiaryDel");
  ASSERT_EQ(prompter_->asked.size(), 1u);
  EXPECT_EQ(prompter_->asked[0], QStringLiteral("削除しますか？"));
  EXPECT_EQ(diary()->rowCount(), 2);
  EXPECT_TRUE(window_->books().holdings.empty());
  EXPECT_TRUE(w<QRadioButton>("RadioButtonMode0")->isChecked());
  // The day is empty again, so its header can go too.
  w<QTreeView>("ListViewDiary")->setCurrentIndex(diary()->index(0, 0));
  w<QTreeView>("ListViewDiary")->doubleClicked(diary()->index(0, 0));
  EXPECT_TRUE(w<QPushButton>("ButtonDiaryDel")->isEnabled());
  click("ButtonDiaryDel");
  EXPECT_EQ(diary()->rowCount(), 0);
  EXPECT_TRUE(window_->books().diary.empty());
}

TEST_F(DiaryPanel, AmountsFollowTheFieldsAsTheyAreTyped) {
  writeNote(QStringLiteral("日記"));
  // A withdrawal of 10,000 with a charge of 105.
  w<QCheckBox>("CheckBoxInOut")->click();
  EXPECT_TRUE(edit("EditInOut")->isVisible());
  EXPECT_FALSE(edit("EditPrice")->isEnabled());
  w<QRadioButton>("RadioButtonOut")->click();
  w<QComboBox>("ComboBoxCharge")->setEditText(QStringLiteral("105"));
  type("EditInOut", QStringLiteral("10000"));
  EXPECT_EQ(edit("MemoPrice")->text(), QStringLiteral("-10,105"));
  w<QCheckBox>("CheckBoxInOut")->click();

  // Under the flat-rate box a trade carries no charge.
  enterBuy("1234", QStringLiteral("500"), QStringLiteral("100"));
  EXPECT_EQ(edit("MemoPrice")->text(), QStringLiteral("50,105"));
  w<QCheckBox>("CheckBoxChargeFix")->click();
  EXPECT_FALSE(w<QComboBox>("ComboBoxCharge")->isEnabled());
  EXPECT_EQ(edit("MemoPrice")->text(), QStringLiteral("50,000"));

  // The unit rounds the quantity down and steps it.
  type("EditNum", QStringLiteral("1250"));
  type("EditStockUnit", QStringLiteral("100"));
  EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("1200"));
  auto* up = w<QWidget>("UpDownNum")->findChild<QAbstractButton*>(QStringLiteral("UpDownNumUp"));
  ASSERT_NE(up, nullptr);
  up->click();
  EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("1,300"));
  tomvik::app::OverrideModifiers(tomvik::core::KeyModifiers{true, false, false});
  up->click();  // Shift: ten steps
  EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("2,300"));
  EXPECT_EQ(edit("MemoPrice")->text(), QStringLiteral("1,150,000"));
}

TEST_F(DiaryPanel, AMinusSignGetsIntoAnAmountOnlyInTheInitialSetupMode) {
  writeNote(QStringLiteral("日記"));
  QLineEdit* price = edit("EditPrice");
  type("EditPrice", QStringLiteral("-12"));
  EXPECT_EQ(price->text(), QStringLiteral("12"));
  window_->MenuOptionInitClick();
  type("EditPrice", QStringLiteral("-12"));
  EXPECT_EQ(price->text(), QStringLiteral("-12"));
  window_->MenuOptionInitClick();
}

TEST_F(DiaryPanel, TheStockLookupReadsCodeTxtAndAChangedNameIsWrittenAtOnce) {
  writeNote(QStringLiteral("日記"));
  type("MaskEditStockCode", QStringLiteral("4321"));
  leave(edit("MaskEditStockCode"));
  EXPECT_EQ(edit("EditStockName")->text(), QStringLiteral("見本化学"));
  EXPECT_EQ(w<QComboBox>("ComboBoxStockExchange")->currentText(), QStringLiteral("ジャスダック"));
  EXPECT_EQ(edit("EditStockUnit")->text(), QStringLiteral("1000"));
  auto* recent = w<QComboBox>("ComboBoxStockCode");
  ASSERT_GE(recent->count(), 1);
  EXPECT_EQ(recent->itemText(0), QStringLiteral("4321 見本化学"));

  type("EditStockName", QStringLiteral("新見本化学"));
  leave(edit("EditStockName"));
  const QString file = Text(ReadBytes(folder() / "Code.txt"));
  EXPECT_TRUE(file.contains(QStringLiteral("[4321]\r\nN=新見本化学\r\n"))) << file.toStdString();
  // Another code that Code.txt does not know leaves the fields empty.
  type("MaskEditStockCode", QStringLiteral("9999"));
  leave(edit("MaskEditStockCode"));
  EXPECT_EQ(edit("EditStockName")->text(), QString());
  EXPECT_EQ(edit("EditStockUnit")->text(), QString());
}

}  // namespace

namespace {

class DiaryList : public DiaryPanel {
 protected:
  QTreeView* list() { return w<QTreeView>("ListViewDiary"); }
  void select(int viewRow) {
    list()->setCurrentIndex(diary()->index(viewRow, 0));
    QCoreApplication::processEvents();
  }
  void key(Qt::Key k) { QTest::keyClick(list(), k); }

  // Two days: the 14th with a note only (rows 0 and 1, its header and end
  // marker), the 15th with a buy (its header 2, the buy 3, its end 4).
  void twoDays() {
    w<QDateEdit>("DateTimePicker")->setDate(QDate(2011, 3, 14));
    writeNote(QStringLiteral("十四日"));
    w<QDateEdit>("DateTimePicker")->setDate(QDate(2011, 3, 15));
    w<QRadioButton>("RadioButtonMode0")->click();
    writeNote(QStringLiteral("十五日"));
    enterBuy("1234", QStringLiteral("1000"), QStringLiteral("100"));
    click("ButtonDiaryAdd");
    ASSERT_EQ(diary()->rowCount(), 5);
  }
};

TEST_F(DiaryList, AHeaderWithTradesCanBeLoadedButNotDeleted) {
  twoDays();
  select(2);
  emit list()->doubleClicked(diary()->index(2, 0));
  EXPECT_TRUE(w<QRadioButton>("RadioButtonMode0")->isChecked());
  EXPECT_EQ(w<QPlainTextEdit>("RichEditDiary")->toPlainText(), QStringLiteral("十五日"));
  EXPECT_FALSE(w<QPushButton>("ButtonDiaryDel")->isEnabled());
  // The 14th has no trades.
  select(0);
  emit list()->doubleClicked(diary()->index(0, 0));
  EXPECT_TRUE(w<QPushButton>("ButtonDiaryDel")->isEnabled());
  EXPECT_EQ(w<QDateEdit>("DateTimePicker")->date(), QDate(2011, 3, 14));
}

TEST_F(DiaryList, LeftAndRightJumpBetweenDaysAndLoadThem) {
  twoDays();
  select(3);  // the buy of the 15th
  key(Qt::Key_Left);
  EXPECT_EQ(list()->currentIndex().row(), 2);
  EXPECT_EQ(w<QPlainTextEdit>("RichEditDiary")->toPlainText(), QStringLiteral("十五日"));
  key(Qt::Key_Left);
  EXPECT_EQ(list()->currentIndex().row(), 0);
  EXPECT_EQ(w<QDateEdit>("DateTimePicker")->date(), QDate(2011, 3, 14));
  key(Qt::Key_Left);  // the first day: nothing before it
  EXPECT_EQ(list()->currentIndex().row(), 0);
  key(Qt::Key_Right);
  EXPECT_EQ(list()->currentIndex().row(), 2);
  key(Qt::Key_Right);  // the last day: nothing after it
  EXPECT_EQ(list()->currentIndex().row(), 2);
}

TEST_F(DiaryList, APlainSelectionLeavesThePanelAndShiftLoadsTheRow) {
  twoDays();
  select(0);
  emit list()->doubleClicked(diary()->index(0, 0));
  ASSERT_EQ(w<QPlainTextEdit>("RichEditDiary")->toPlainText(), QStringLiteral("十四日"));
  select(2);
  EXPECT_EQ(w<QPlainTextEdit>("RichEditDiary")->toPlainText(), QStringLiteral("十四日"));
  EXPECT_FALSE(w<QPushButton>("ButtonDiaryUpd")->isEnabled());
  tomvik::app::OverrideModifiers(tomvik::core::KeyModifiers{true, false, false});
  select(3);
  EXPECT_TRUE(w<QRadioButton>("RadioButtonMode1")->isChecked());
  EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("100"));
  EXPECT_EQ(edit("EditStockName")->text(), QStringLiteral("見本電機"));
  // Editing the loaded row offers 更新; selecting another row takes it back.
  tomvik::app::OverrideModifiers(std::nullopt);
  type("EditPrice", QStringLiteral("1001"));
  EXPECT_TRUE(w<QPushButton>("ButtonDiaryUpd")->isEnabled());
  select(2);
  EXPECT_FALSE(w<QPushButton>("ButtonDiaryUpd")->isEnabled());
}

TEST_F(DiaryList, ANewPositionThatWasPartlyRepaidIsLocked) {
  writeNote(QStringLiteral("信用の日"));
  w<QComboBox>("ComboBoxPlan")->setCurrentIndex(1);
  enterBuy("1234", QStringLiteral("1000"), QStringLiteral("300"));
  click("ButtonDiaryAdd");
  ASSERT_EQ(window_->books().positions.size(), 1u);
  EXPECT_EQ(window_->books().positions[0].key, "123452011/03/15001");
  EXPECT_EQ(diary()->text(0, 0), QStringLiteral("2011/03/15(火)"));
  // While the position holds all its shares the row can go.
  select(1);
  emit list()->doubleClicked(diary()->index(1, 0));
  EXPECT_TRUE(w<QPushButton>("ButtonDiaryDel")->isEnabled());
  // A repayment of 100 shares locks it.
  tomvik::core::ReducePosition(window_->books(), 0, 100, 100000, 0);
  window_->ledgersChanged();
  select(0);
  select(1);
  emit list()->doubleClicked(diary()->index(1, 0));
  EXPECT_FALSE(w<QPushButton>("ButtonDiaryDel")->isEnabled());
  // And a margin row can have only its text changed.
  type("EditPrice", QStringLiteral("1100"));
  EXPECT_FALSE(w<QPushButton>("ButtonDiaryUpd")->isEnabled());
}

}  // namespace

namespace {

// The old version's compatibility mode lets the diary sell from a holding.
class DiaryOldMode : public DiaryPanel {
 protected:
  void SetUp() override {
    std::ofstream ini(folder() / "TMVK.ini", std::ios::binary);
    ini << "[Window]\r\nOldMode=1\r\n";
    ini.close();
    DiaryPanel::SetUp();
  }
};

TEST_F(DiaryOldMode, ASaleCannotCloseMoreThanTheHoldingHolds) {
  writeNote(QStringLiteral("日記"));
  enterBuy("1234", QStringLiteral("1000"), QStringLiteral("1000"));
  click("ButtonDiaryAdd");
  ASSERT_EQ(window_->books().holdings.size(), 1u);
  // A fresh sale: 1,500 typed becomes the 1,000 held.
  w<QTreeView>("ListViewDiary")->selectionModel()->clearSelection();
  click("RadioButtonMode0");
  click("RadioButtonMode1");
  w<QRadioButton>("RadioButtonS")->click();
  ASSERT_TRUE(w<QRadioButton>("RadioButtonS")->isChecked());
  type("EditNum", QStringLiteral("1500"));
  EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("1,000"));

  // A sale of 300 recorded and loaded back: changing it gives its shares
  // back first (700 + 300 may be typed), but 追加 of a new sale is refused
  // above the 700 held now.
  type("EditNum", QStringLiteral("300"));
  click("ButtonDiaryAdd");
  ASSERT_EQ(window_->books().holdings[0].cell(tomvik::core::HoldCol::Shares), "700");
  type("EditNum", QStringLiteral("1500"));
  EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("1,000"));
  EXPECT_FALSE(w<QPushButton>("ButtonDiaryAdd")->isEnabled());
  type("EditNum", QStringLiteral("700"));
  EXPECT_TRUE(w<QPushButton>("ButtonDiaryAdd")->isEnabled());
}

}  // namespace
