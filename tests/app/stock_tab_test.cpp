// The stock master tab driven as a user drives it: check marks, opening an
// entry in the panel, Update, Add and Delete in the initial-setup mode, the
// reload with its question, the filter box, and the files written.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "app/layout_support.h"
#include "app/window/form_main.h"
#include "app/shell/ledger_model.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/stocks/stock_tab.h"
#include "app/window_support.h"
#include "core/diary/bookkeeping.h"
#include "core/records/atomic_file.h"
#include "core/records/code_file.h"
#include "core/records/cp932.h"
#include "core/stocks/stock_lookup.h"

namespace {

using tomvik::testing::ScriptedPrompter;

namespace fs = std::filesystem;
using tomvik::app::Answer;
using tomvik::app::LedgerModel;
using tomvik::app::StockTab;
using tomvik::app::TFormMain;
using tomvik::testing::Named;

const QString kDiscard = QStringLiteral("未保存のデータは破棄されます読込を続行しますか？");
const QString kReload = QStringLiteral("再読込しますか？");
const QString kDelete = QStringLiteral("削除しますか？");

// Answers the questions from a script (No once it runs out) and remembers them.
std::string Sjis(const char* utf8) { return tomvik::core::Utf8ToCp932(utf8).text; }

class StockTabTest : public ::testing::Test {
 protected:
  void open(bool withFixture = true) {
    if (withFixture) {
      fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
    }
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 15));
    auto prompter = std::make_unique<ScriptedPrompter>();
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    window_->show();
    window_->showTab(3);
    tomvik::testing::Settle(*window_);
  }
  void TearDown() override {
    if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
  }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }
  std::string file() const { return tomvik::core::ReadWholeFile(folder() / "Code.txt").bytes; }
  std::string fixture() const {
    return tomvik::core::ReadWholeFile(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt").bytes;
  }
  template <typename T>
  T* w(const char* name) {
    return Named<T>(*window_, name);
  }
  QLineEdit* edit(const char* name) { return w<QLineEdit>(name); }
  StockTab* tab() { return w<StockTab>("TabSheetStock"); }
  QTreeView* list() { return w<QTreeView>("ListViewStock"); }
  LedgerModel* model() { return static_cast<LedgerModel*>(list()->model()); }
  QAction* action(const char* name) { return window_->findChild<QAction*>(QLatin1String(name)); }
  void answer(std::deque<Answer> answers) {
    prompter_->answers = std::move(answers);
    prompter_->asked.clear();
  }

  // Types into a field as a user does; Japanese comes through the input method.
  void type(QWidget* field, const QString& text) {
    field->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(field)) line->selectAll();
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      QTest::keyClicks(field, text);
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QCoreApplication::sendEvent(field, &commit);
    }
  }
  void type(const char* field, const QString& text) { type(edit(field), text); }
  void leave() {
    w<QPlainTextEdit>("RichEditComment3")->setFocus();
    QCoreApplication::processEvents();
  }
  void click(const char* button) { w<QAbstractButton>(button)->click(); }
  int rowOf(const char* code) {
    for (int row = 0; row < model()->rowCount(); ++row) {
      if (model()->text(row, 0) == QLatin1String(code)) return row;
    }
    ADD_FAILURE() << "no row " << code;
    return 0;
  }
  void pressCheckBox(int row) {
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, tab()->checkBoxRect(row).center());
  }
  void openRow(const char* code) {
    // A double click is a click and then the double-click event itself.
    const QRect name = list()->visualRect(model()->index(rowOf(code), 1));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, name.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, name.center());
  }
  QString shown(int row, int column) { return model()->index(row, column).data().toString(); }
  bool marked(int row) { return model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked; }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(StockTabTest, AStockAddedInTheInitialSetupModeIsSavedAndReadBack) {
  open(false);
  window_->MenuOptionInitClick();
  EXPECT_TRUE(w<QPushButton>("ButtonAdd3")->isVisible());
  EXPECT_TRUE(w<QPushButton>("ButtonDel3")->isVisible());
  EXPECT_FALSE(w<QCheckBox>("CheckBoxFilter3")->isVisible());
  EXPECT_TRUE(action("MainMenuLoad3")->isVisible());
  EXPECT_FALSE(edit("EditPrice3B")->isReadOnly());

  type("MaskEditStockCode3", QStringLiteral("12"));  // blanks count as 0: 1200
  type("EditStockName3", QStringLiteral("見本電機"));
  type(w<QComboBox>("ComboBoxStockExchange3")->lineEdit(), QStringLiteral("東証１部"));
  type("EditStockUnit3", QStringLiteral("1a00"));  // digits only
  EXPECT_EQ(edit("EditStockUnit3")->text(), QStringLiteral("100"));
  // The minus sign passes in this mode; the result follows every change.
  type("EditPrice3B", QStringLiteral("-5"));
  EXPECT_EQ(edit("EditPrice3B")->text(), QStringLiteral("-5"));
  EXPECT_EQ(edit("MemoPM3")->text(), QStringLiteral("5"));
  EXPECT_EQ(edit("MemoPM3")->palette().color(QPalette::Text), tomvik::app::kBlue);
  type("EditPrice3B", QStringLiteral("763050"));
  leave();
  EXPECT_EQ(edit("EditPrice3B")->text(), QStringLiteral("763,050"));
  // An emptied total is 0 at once.
  edit("EditPrice3S")->setFocus();
  QTest::keyClick(edit("EditPrice3S"), Qt::Key_Backspace);
  EXPECT_EQ(edit("EditPrice3S")->text(), QStringLiteral("0"));
  EXPECT_EQ(edit("MemoPM3")->text(), QStringLiteral("-763,050"));
  EXPECT_EQ(edit("MemoPM3")->palette().color(QPalette::Text), tomvik::app::kRed);
  type("EditPrice3S", QStringLiteral("428950"));
  leave();
  w<QPlainTextEdit>("RichEditComment3")->setPlainText(QStringLiteral("主力銘柄\n100%子会社"));
  click("ButtonAdd3");

  ASSERT_EQ(model()->rowCount(), 1);
  EXPECT_EQ(model()->text(0, 0), QStringLiteral("1200"));
  EXPECT_EQ(model()->text(0, 6), QStringLiteral("-334,100"));
  EXPECT_EQ(model()->text(0, 7), QStringLiteral("-43.78481%"));
  EXPECT_TRUE(marked(0));
  EXPECT_EQ(tab()->loadedRow(), std::optional<std::size_t>(0));
  EXPECT_EQ(list()->currentIndex().row(), 0);
  EXPECT_TRUE(w<QPushButton>("ButtonDel3")->isEnabled());
  EXPECT_FALSE(w<QPushButton>("ButtonUpd3")->isEnabled());
  EXPECT_TRUE(action("MainMenuSave3")->isEnabled());
  EXPECT_FALSE(w<QCheckBox>("CheckBoxFilter3")->isEnabled());

  action("MainMenuSave3")->trigger();
  EXPECT_EQ(file(), Sjis("[1200]\r\nN=見本電機\r\nE=東証１部\r\nU=100\r\nB=763,050\r\nS=428,950\r\n"
                         "C=主力銘柄%n100%%子会社\r\n\r\n"));
  EXPECT_FALSE(action("MainMenuSave3")->isEnabled());
  EXPECT_TRUE(w<QCheckBox>("CheckBoxFilter3")->isEnabled());

  // A new code moves the entry; the panel follows it.
  click("ButtonAdd3");  // a second entry with the same code
  ASSERT_EQ(model()->rowCount(), 2);
  type("MaskEditStockCode3", QStringLiteral("9999"));
  EXPECT_TRUE(w<QPushButton>("ButtonUpd3")->isEnabled());
  click("ButtonUpd3");
  EXPECT_EQ(model()->text(0, 0), QStringLiteral("1200"));
  EXPECT_EQ(model()->text(1, 0), QStringLiteral("9999"));
  EXPECT_EQ(tab()->loadedRow(), std::optional<std::size_t>(1));
  EXPECT_EQ(list()->currentIndex().row(), 1);

  // Read back from the menu: nothing unsaved is lost without the question.
  action("MainMenuSave3")->trigger();
  action("MainMenuLoad3")->trigger();
  EXPECT_TRUE(prompter_->asked.empty());
  ASSERT_EQ(model()->rowCount(), 2);
  EXPECT_EQ(model()->text(1, 1), QStringLiteral("見本電機"));
  EXPECT_EQ(shown(1, 8), QStringLiteral("主力銘柄 100%子会社"));
  EXPECT_EQ(window_->books().stocks[1].cell(tomvik::core::StockCol::Comment), Sjis("主力銘柄\r\n100%子会社"));

  // Out of the mode the totals are locked again.
  window_->MenuOptionInitClick();
  EXPECT_TRUE(edit("EditPrice3B")->isReadOnly());
  EXPECT_FALSE(w<QPushButton>("ButtonAdd3")->isVisible());
  EXPECT_TRUE(w<QCheckBox>("CheckBoxFilter3")->isVisible());
  EXPECT_FALSE(action("MainMenuLoad3")->isVisible());
}

TEST_F(StockTabTest, AMarkToggledWithTheFilterOnIsWrittenInPlace) {
  open();
  ASSERT_EQ(model()->rowCount(), 4);
  answer({Answer::Yes});
  w<QCheckBox>("CheckBoxFilter3")->click();
  EXPECT_EQ(prompter_->asked, std::vector<QString>{kReload});
  EXPECT_TRUE(window_->books().stockFilter);
  ASSERT_EQ(model()->rowCount(), 3);  // 4321 is unmarked

  // Presses beside the check box or below the last row change nothing.
  const QRect box = tab()->checkBoxRect(0);
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(box.right() + 30, box.center().y()));
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(box.center().x(), list()->viewport()->height() - 2));
  EXPECT_TRUE(marked(0));
  EXPECT_FALSE(action("MainMenuSave3")->isEnabled());

  pressCheckBox(rowOf("1234"));
  EXPECT_FALSE(marked(rowOf("1234")));
  EXPECT_TRUE(action("MainMenuSave3")->isEnabled());
  EXPECT_FALSE(w<QCheckBox>("CheckBoxFilter3")->isEnabled());
  // Any mouse button flips it, a second press flips it back.
  QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, tab()->checkBoxRect(rowOf("9984")).center());
  pressCheckBox(rowOf("9984"));
  EXPECT_TRUE(marked(rowOf("9984")));

  action("MainMenuSave3")->trigger();
  std::string expected = fixture();
  const std::string endOf1234 = Sjis("100%%子会社\r\n");
  expected.insert(expected.find(endOf1234) + endOf1234.size(), "F=0\r\n");
  EXPECT_EQ(file(), expected);  // the unmarked 4321 is still there
  EXPECT_TRUE(w<QCheckBox>("CheckBoxFilter3")->isEnabled());

  // Read again under the filter, only the marked ones are left.
  window_->MenuOptionInitClick();
  action("MainMenuLoad3")->trigger();
  ASSERT_EQ(model()->rowCount(), 2);
  EXPECT_EQ(model()->text(0, 0), QStringLiteral("5678"));
}

TEST_F(StockTabTest, TheLoadQuestionIsAskedOnlyWithUnsavedChanges) {
  open();
  window_->MenuOptionInitClick();
  answer({});
  action("MainMenuLoad3")->trigger();
  EXPECT_TRUE(prompter_->asked.empty());

  pressCheckBox(0);
  ASSERT_FALSE(marked(0));
  answer({Answer::No});
  action("MainMenuLoad3")->trigger();
  EXPECT_EQ(prompter_->asked, std::vector<QString>{kDiscard});
  EXPECT_FALSE(marked(0));  // the change is kept
  EXPECT_TRUE(action("MainMenuSave3")->isEnabled());

  answer({Answer::Yes});
  action("MainMenuLoad3")->trigger();
  EXPECT_EQ(prompter_->asked, std::vector<QString>{kDiscard});
  EXPECT_TRUE(marked(0));
  EXPECT_FALSE(action("MainMenuSave3")->isEnabled());
  EXPECT_TRUE(w<QCheckBox>("CheckBoxFilter3")->isEnabled());
  EXPECT_EQ(file(), fixture());
}

TEST_F(StockTabTest, TheFilterBoxAsksAndComesBackOnNo) {
  open();
  auto* filter = w<QCheckBox>("CheckBoxFilter3");
  answer({Answer::No});
  filter->click();
  EXPECT_EQ(prompter_->asked, std::vector<QString>{kReload});
  EXPECT_FALSE(filter->isChecked());
  EXPECT_FALSE(window_->books().stockFilter);
  EXPECT_EQ(model()->rowCount(), 4);

  answer({Answer::Yes});
  filter->click();
  EXPECT_TRUE(filter->isChecked());
  EXPECT_EQ(model()->rowCount(), 3);
  answer({Answer::No});
  filter->click();
  EXPECT_TRUE(filter->isChecked());
  EXPECT_TRUE(window_->books().stockFilter);
  EXPECT_EQ(model()->rowCount(), 3);
  answer({Answer::Yes});
  filter->click();
  EXPECT_FALSE(window_->books().stockFilter);
  EXPECT_EQ(model()->rowCount(), 4);
  // The reload through the box never asks about unsaved data: the box is
  // locked while there is any.
  pressCheckBox(0);
  EXPECT_FALSE(filter->isEnabled());
}

TEST_F(StockTabTest, AWholeFileSaveKeepsAStockAnotherPanelWroteAndDropsTheDeletedOne) {
  open();
  // Another panel's lookup writes a stock that has no entry.
  ASSERT_FALSE(tomvik::core::StoreStockFields(window_->books(), "7777", {Sjis("見本新規"), "", "100"}).has_value());
  window_->MenuOptionInitClick();
  openRow("9984");
  EXPECT_EQ(tab()->loadedRow(), std::optional<std::size_t>(3));
  answer({Answer::No});
  click("ButtonDel3");
  EXPECT_EQ(prompter_->asked, std::vector<QString>{kDelete});
  EXPECT_EQ(model()->rowCount(), 4);
  answer({Answer::Yes});
  click("ButtonDel3");
  EXPECT_EQ(model()->rowCount(), 3);
  EXPECT_EQ(tab()->loadedRow(), std::nullopt);
  EXPECT_FALSE(w<QPushButton>("ButtonDel3")->isEnabled());
  EXPECT_FALSE(w<QPushButton>("ButtonUpd3")->isEnabled());

  action("MainMenuSave3")->trigger();
  const std::string before = fixture();
  EXPECT_EQ(file(), before.substr(0, before.find("[9984]")) + Sjis("[7777]\r\nN=見本新規\r\nE=\r\nU=100\r\n\r\n"));
  action("MainMenuLoad3")->trigger();
  EXPECT_EQ(model()->rowCount(), 4);
  EXPECT_EQ(model()->text(3, 0), QStringLiteral("7777"));
}

TEST_F(StockTabTest, AnOpenedEntryTakesANewCommentAndForgetsTheRowWhenATradeChangesIt) {
  open();
  openRow("1234");
  EXPECT_EQ(edit("MaskEditStockCode3")->text(), QStringLiteral("1234"));
  EXPECT_EQ(edit("EditStockName3")->text(), QStringLiteral("見本電機"));
  EXPECT_EQ(w<QComboBox>("ComboBoxStockExchange3")->currentText(), QStringLiteral("東証１部"));
  EXPECT_EQ(edit("EditStockUnit3")->text(), QStringLiteral("100"));
  EXPECT_EQ(edit("EditPrice3B")->text(), QStringLiteral("763,050"));
  EXPECT_EQ(edit("EditPrice3S")->text(), QStringLiteral("428,950"));
  EXPECT_EQ(edit("MemoPM3")->text(), QStringLiteral("-334,100"));
  auto* comment = w<QPlainTextEdit>("RichEditComment3");
  EXPECT_EQ(comment->toPlainText(), QStringLiteral("主力銘柄\n100%子会社"));
  EXPECT_FALSE(w<QPushButton>("ButtonAdd3")->isEnabled());
  EXPECT_FALSE(w<QPushButton>("ButtonUpd3")->isEnabled());
  EXPECT_FALSE(action("MainMenuSave3")->isEnabled());  // opening changes nothing
  // Outside the initial-setup mode only the comment can be typed.
  type("EditPrice3B", QStringLiteral("5"));
  EXPECT_EQ(edit("EditPrice3B")->text(), QStringLiteral("763,050"));
  EXPECT_FALSE(w<QPushButton>("ButtonUpd3")->isEnabled());

  comment->setFocus();
  comment->moveCursor(QTextCursor::End);
  QTest::keyClicks(comment, QStringLiteral("!"));
  EXPECT_TRUE(w<QPushButton>("ButtonUpd3")->isEnabled());
  click("ButtonUpd3");
  EXPECT_FALSE(w<QPushButton>("ButtonUpd3")->isEnabled());
  EXPECT_TRUE(action("MainMenuSave3")->isEnabled());
  EXPECT_EQ(shown(0, 8), QStringLiteral("主力銘柄 100%子会社!"));
  action("MainMenuSave3")->trigger();
  std::string expected = fixture();
  const std::string comment1234 = Sjis("100%%子会社");
  expected.insert(expected.find(comment1234) + comment1234.size(), "!");
  EXPECT_EQ(file(), expected);

  // A trade of the stock changes its totals: the panel no longer shows the
  // entry, so Update cannot write old totals back.
  QTest::keyClicks(comment, QStringLiteral("?"));
  ASSERT_TRUE(w<QPushButton>("ButtonUpd3")->isEnabled());
  tomvik::core::AddToStockTotals(window_->books(), "1234", 1000, 0);
  window_->ledgersChanged();
  EXPECT_EQ(tab()->loadedRow(), std::nullopt);
  EXPECT_FALSE(w<QPushButton>("ButtonUpd3")->isEnabled());
  tab()->ButtonUpd3Click();
  EXPECT_EQ(model()->text(0, 4), QStringLiteral("764,050"));
  EXPECT_EQ(shown(0, 8), QStringLiteral("主力銘柄 100%子会社!"));
}

}  // namespace
