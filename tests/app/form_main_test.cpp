// The window as a whole: start-up on empty and filled folders, the diary
// month on screen, the Save items, the close questions and the settings
// written at close.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/layout_support.h"
#include "app/window/form_main.h"
#include "app/shell/ledger_model.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"
#include "core/records/diary_file.h"
#include "core/records/ini_file.h"
#include "core/records/settings.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::Answer;
using tomvik::app::LedgerModel;
using tomvik::app::TFormMain;
using tomvik::testing::Named;
using tomvik::testing::ScriptedPrompter;

std::string ReadBytes(const fs::path& path) { return tomvik::core::ReadWholeFile(path).bytes; }

void CopyFixture(const char* name, const fs::path& folder) {
  fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / name, folder / name, fs::copy_options::overwrite_existing);
}

class Window : public ::testing::Test {
 protected:
  fs::path folder() const { return fs::path(dir_.path().toStdString()); }

  TFormMain& open(QDate today) {
    window_ = std::make_unique<TFormMain>(folder(), today);
    auto prompter = std::make_unique<ScriptedPrompter>();
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    return *window_;
  }
  void script(std::deque<Answer> answers) {
    auto prompter = std::make_unique<ScriptedPrompter>(std::move(answers));
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
  }
  LedgerModel* model(const char* list) { return static_cast<LedgerModel*>(Named<QTreeView>(*window_, list)->model()); }
  QAction* action(const char* name) { return window_->findChild<QAction*>(QLatin1String(name)); }
  QString memo(const char* name) { return Named<QLineEdit>(*window_, name)->text(); }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(Window, StartsOnAnEmptyFolderWithTheDiaryOfTodayAndTheDefaultGeometry) {
  TFormMain& w = open(QDate(2026, 12, 8));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tomvik"));
  EXPECT_EQ(Named<QTabWidget>(w, "PageControlMain")->currentIndex(), 0);
  EXPECT_EQ(Named<QDateEdit>(w, "DateTimePicker")->date(), QDate(2026, 12, 8));
  EXPECT_EQ(w.books().monthKey, "2026/12");
  EXPECT_EQ(w.geometry(), QRect(100, 50, 660, 480));
  EXPECT_FALSE(w.isMaximized());
  for (const char* list :
       {"ListViewDiary", "ListViewHold", "ListViewLoan", "ListViewStock", "ListViewTotal", "ListViewSim"}) {
    EXPECT_EQ(model(list)->rowCount(), 0) << list;
  }
  for (const char* figure : {"MemoTotal2", "MemoBSPM2", "MemoInPM2", "MemoHold2", "MemoEnable2", "MemoRemain2"}) {
    EXPECT_EQ(memo(figure), QStringLiteral("0")) << figure;
  }
  // Nothing has changed, so nothing can be saved and nothing is asked.
  for (const char* save : {"MainMenuSave", "MainMenuSave2", "MainMenuSaveL", "MainMenuSave3"}) {
    EXPECT_FALSE(action(save)->isEnabled()) << save;
  }
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(prompter_->asked.empty());
  EXPECT_TRUE(prompter_->errors.empty());
  // Only the settings were written.
  EXPECT_TRUE(fs::exists(folder() / "TMVK.ini"));
  EXPECT_FALSE(fs::exists(folder() / "202612.txt"));
}

TEST_F(Window, StartsWithTheMonthOfTodayAndEveryLedgerFromItsFile) {
  for (const char* name : {"201103.txt", "Hold.txt", "Loan.txt", "Code.txt"}) CopyFixture(name, folder());
  TFormMain& w = open(QDate(2011, 3, 15));
  LedgerModel* diary = model("ListViewDiary");
  ASSERT_GT(diary->rowCount(), 0);
  // One line per row, each day closed by its end marker's empty line.
  EXPECT_EQ(static_cast<std::size_t>(diary->rowCount()), w.books().diary.size());
  // The first day: six trade rows; its turnover counts the buy and the sell.
  EXPECT_EQ(diary->text(0, 0), QStringLiteral("2011/03/01(火)"));
  EXPECT_EQ(diary->text(0, 1), QStringLiteral("6"));
  EXPECT_EQ(diary->text(0, 8), QStringLiteral("1,599,475"));
  EXPECT_GT(model("ListViewStock")->rowCount(), 0);
  EXPECT_EQ(model("ListViewHold")->rowCount(), static_cast<int>(w.books().holdings.size()));
  EXPECT_EQ(model("ListViewLoan")->rowCount(), static_cast<int>(w.books().positions.size()));
  EXPECT_EQ(model("ListViewLoan")->text(0, 2), QStringLiteral("2011/01/05"));
  EXPECT_EQ(memo("MemoTotal2"), QStringLiteral("5,000,000"));
  EXPECT_EQ(memo("MemoBSPM2"), QStringLiteral("-125,000"));
  EXPECT_NE(memo("MemoHold2"), QStringLiteral("0"));
  // Loading changes nothing.
  EXPECT_FALSE(action("MainMenuSave")->isEnabled());
  EXPECT_FALSE(action("MainMenuSave2")->isEnabled());
  // The start date's header is selected.
  QTreeView* list = Named<QTreeView>(w, "ListViewDiary");
  ASSERT_TRUE(list->currentIndex().isValid());
  EXPECT_EQ(diary->text(list->currentIndex().row(), 0), QStringLiteral("2011/03/15(火)"));
}

TEST_F(Window, AnotherMonthSavesTheShownOneWithoutAQuestionThenLoads) {
  CopyFixture("201103.txt", folder());
  TFormMain& w = open(QDate(2011, 2, 20));
  EXPECT_EQ(model("ListViewDiary")->rowCount(), 0);
  // A note for a day of February, as the bookkeeping leaves it: rows and the flag.
  w.books().diary.insert(tomvik::core::MakeDayHeader("2011/02/20"));
  w.books().diary.insert(tomvik::core::MakeDayEnd("2011/02/20"));
  w.books().unsaved.diary = true;
  w.ledgersChanged();
  EXPECT_TRUE(action("MainMenuSave")->isEnabled());

  auto* picker = Named<QDateEdit>(w, "DateTimePicker");
  picker->setDate(QDate(2011, 2, 25));  // the same month: nothing is saved or loaded
  EXPECT_FALSE(fs::exists(folder() / "201102.txt"));
  EXPECT_EQ(model("ListViewDiary")->rowCount(), 2);

  picker->setDate(QDate(2011, 3, 15));
  EXPECT_TRUE(prompter_->asked.empty());
  EXPECT_EQ(ReadBytes(folder() / "201102.txt"), "[2011/02/20(\x93\xfa)]\r\n \r\n\r\n");
  EXPECT_EQ(w.books().monthKey, "2011/03");
  EXPECT_GT(model("ListViewDiary")->rowCount(), 2);
  EXPECT_FALSE(action("MainMenuSave")->isEnabled());
}

TEST_F(Window, AMonthThatCannotBeSavedStaysOnScreen) {
  TFormMain& w = open(QDate(2011, 2, 20));
  w.books().diary.insert(tomvik::core::MakeDayHeader("2011/02/20"));
  w.books().diary.insert(tomvik::core::MakeDayEnd("2011/02/20"));
  w.books().unsaved.diary = true;
  w.ledgersChanged();
  // A folder where the month file should be: the file cannot be replaced.
  fs::create_directory(folder() / "201102.txt");
  auto* picker = Named<QDateEdit>(w, "DateTimePicker");
  picker->setDate(QDate(2011, 3, 1));
  ASSERT_EQ(prompter_->errors.size(), 1u);
  EXPECT_TRUE(prompter_->errors[0].startsWith(QStringLiteral("取引日記を保存できませんでした")));
  EXPECT_EQ(picker->date(), QDate(2011, 2, 20));
  EXPECT_EQ(w.books().monthKey, "2011/02");
  EXPECT_EQ(model("ListViewDiary")->rowCount(), 2);
  EXPECT_TRUE(action("MainMenuSave")->isEnabled());
  // Nor may the window close while the change cannot be kept.
  script({Answer::Yes});
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.books().unsaved.diary);
}

TEST_F(Window, EachTabShowsOnlyItsOwnSaveItemWhichOwnsCtrlS) {
  TFormMain& w = open(QDate(2026, 12, 8));
  const char* saves[] = {"MainMenuSave", "MainMenuSave2", "MainMenuSaveL", "MainMenuSave3"};
  for (int tab = 0; tab < 6; ++tab) {
    w.showTab(tab);
    for (int i = 0; i < 4; ++i) {
      QAction* save = action(saves[i]);
      EXPECT_EQ(save->isVisible(), i == tab) << tab << saves[i];
      EXPECT_EQ(save->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_S), i == tab) << tab << saves[i];
    }
    EXPECT_EQ(action("MainMenuSim")->isVisible(), tab <= 3) << tab;
    EXPECT_FALSE(action("MainMenuLoad3")->isVisible()) << tab;
    EXPECT_EQ(Named<QLineEdit>(w, "MemoHoldLB")->isVisibleTo(&w), tab == 2) << tab;
    EXPECT_EQ(Named<QWidget>(w, "PanelTopS")->isVisibleTo(&w), tab == 5) << tab;
    EXPECT_EQ(Named<QWidget>(w, "PanelTop")->isVisibleTo(&w), tab != 5) << tab;
  }
}

TEST_F(Window, ClosingAsksOncePerChangedLedgerInTheShutDownOrder) {
  TFormMain& w = open(QDate(2026, 12, 8));
  w.books().unsaved.holdings = true;
  w.ledgersChanged();
  script({Answer::No});
  EXPECT_TRUE(w.close());
  ASSERT_EQ(prompter_->asked.size(), 1u);
  EXPECT_EQ(prompter_->asked[0], QStringLiteral("現物保有を保存しますか？"));
  EXPECT_FALSE(fs::exists(folder() / "Hold.txt"));
}

TEST_F(Window, CancelAtTheSecondQuestionKeepsTheWindowAndWhatWasSaved) {
  TFormMain& w = open(QDate(2026, 12, 8));
  w.books().diary.insert(tomvik::core::MakeDayHeader("2026/12/08"));
  w.books().diary.insert(tomvik::core::MakeDayEnd("2026/12/08"));
  w.books().unsaved.diary = true;
  w.books().unsaved.positions = true;
  w.ledgersChanged();
  script({Answer::Yes, Answer::Cancel});
  EXPECT_FALSE(w.close());
  ASSERT_EQ(prompter_->asked.size(), 2u);
  EXPECT_EQ(prompter_->asked[0], QStringLiteral("取引日記を保存しますか？"));
  EXPECT_EQ(prompter_->asked[1], QStringLiteral("信用建玉を保存しますか？"));
  EXPECT_TRUE(fs::exists(folder() / "202612.txt"));
  EXPECT_FALSE(action("MainMenuSave")->isEnabled());
  w.showTab(2);  // a Save item counts on its own tab, where it is shown
  EXPECT_TRUE(action("MainMenuSaveL")->isEnabled());
  EXPECT_FALSE(fs::exists(folder() / "TMVK.ini"));  // no close, no settings
  // The next attempt asks again, for what is still unsaved only.
  script({Answer::Yes});
  EXPECT_TRUE(w.close());
  ASSERT_EQ(prompter_->asked.size(), 1u);
  EXPECT_EQ(prompter_->asked[0], QStringLiteral("信用建玉を保存しますか？"));
  EXPECT_TRUE(fs::exists(folder() / "Loan.txt"));
}

TEST_F(Window, AutomaticSavingSavesEveryChangedLedgerWithoutAQuestion) {
  {
    std::ofstream ini(folder() / "TMVK.ini", std::ios::binary);
    ini << "[Window]\r\nAutoSave=1\r\n";
  }
  TFormMain& w = open(QDate(2026, 12, 8));
  w.books().unsaved.holdings = true;
  w.books().unsaved.stocks = true;
  w.ledgersChanged();
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(prompter_->asked.empty());
  EXPECT_EQ(ReadBytes(folder() / "Hold.txt"), "=0,0\r\n");
  EXPECT_TRUE(fs::exists(folder() / "Code.txt"));
}

TEST_F(Window, SettingsComeBackAsTheyWereWrittenIncludingAMaximisedClose) {
  CopyFixture("TMVK.ini", folder());
  const auto before = tomvik::core::LoadSettings(folder()).settings;
  TFormMain& w = open(QDate(2011, 3, 15));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tomvik - ") + tomvik::app::ToQString(before.coName));
  EXPECT_TRUE(w.isMaximized());
  auto* exchanges = Named<QComboBox>(w, "ComboBoxStockExchange");
  ASSERT_EQ(exchanges->count(), 3);
  EXPECT_EQ(exchanges->itemText(1), QStringLiteral("名証２部"));
  EXPECT_EQ(Named<QComboBox>(w, "ComboBoxStockCode")->count(), 2);
  EXPECT_EQ(Named<QComboBox>(w, "ComboBoxCharge")->currentText(), QStringLiteral("1,050"));
  EXPECT_FALSE(Named<QCheckBox>(w, "CheckBoxInPM2")->isChecked());
  EXPECT_TRUE(Named<QCheckBox>(w, "CheckBoxChargeFix")->isChecked());
  w.show();
  tomvik::testing::Settle(w);
  EXPECT_EQ(Named<QSplitter>(w, "SplitterDiary")->sizes().front(), 200);
  EXPECT_EQ(Named<QTreeView>(w, "ListViewDiary")->header()->sectionSize(11), 200);
  ASSERT_TRUE(w.close());

  const auto after = tomvik::core::LoadSettings(folder()).settings;
  EXPECT_EQ(after.state, 2);
  EXPECT_EQ(std::tie(after.top, after.left, after.height, after.width),
            std::tie(before.top, before.left, before.height, before.width));
  EXPECT_EQ(std::tie(after.split1, after.split2, after.splitL, after.split3),
            std::tie(before.split1, before.split2, before.splitL, before.split3));
  EXPECT_EQ(after.holdColumns.widths, before.holdColumns.widths);
  EXPECT_EQ(after.loanColumns.widths, before.loanColumns.widths);
  EXPECT_EQ(std::tie(after.clearD, after.allD, after.clearDL, after.allDL),
            std::tie(before.clearD, before.allD, before.clearDL, before.allDL));
  EXPECT_EQ(after.diaryColumns.widths, before.diaryColumns.widths);
  EXPECT_EQ(after.stockColumns.widths, before.stockColumns.widths);
  EXPECT_EQ(after.totalColumns.widths, before.totalColumns.widths);
  EXPECT_EQ(after.simColumns.widths, before.simColumns.widths);
  EXPECT_EQ(after.chargeFix, before.chargeFix);
  EXPECT_EQ(after.plan, before.plan);
  EXPECT_EQ(after.inPM2, before.inPM2);
  EXPECT_EQ(after.filter3, before.filter3);
  EXPECT_EQ(after.stayOnTop, before.stayOnTop);
  EXPECT_EQ(after.startYMW, before.startYMW);
  EXPECT_EQ(after.totalM, before.totalM);
  EXPECT_EQ(std::tie(after.copy1, after.copy2), std::tie(before.copy1, before.copy2));
  EXPECT_EQ(after.recentDiaryStocks, before.recentDiaryStocks);
  EXPECT_EQ(after.recentTotalStocks, before.recentTotalStocks);
  EXPECT_EQ(after.recentCharges, before.recentCharges);
  EXPECT_EQ(after.chargeSelect, before.chargeSelect);
  // What only the options dialog writes stays as it was.
  EXPECT_EQ(after.coName, before.coName);
  EXPECT_EQ(after.exchanges, before.exchanges);
}

}  // namespace

namespace {

TEST_F(Window, AMaximisedStartRestoresToTheSavedNormalBounds) {
  {
    std::ofstream ini(folder() / "TMVK.ini", std::ios::binary);
    ini << "[Window]\r\nState=2\r\nTop=60\r\nLeft=70\r\nHeight=500\r\nWidth=700\r\n";
  }
  TFormMain& w = open(QDate(2026, 12, 8));
  w.show();
  tomvik::testing::Settle(w);
  EXPECT_TRUE(w.isMaximized());
  w.showNormal();
  tomvik::testing::Settle(w);
  EXPECT_FALSE(w.isMaximized());
  EXPECT_EQ(w.geometry(), QRect(70, 60, 700, 500));
}

TEST_F(Window, StayOnTopFollowsItsMenuItemAndTheSetting) {
  TFormMain& w = open(QDate(2026, 12, 8));
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  action("MenuOptionTop")->trigger();
  EXPECT_TRUE(action("MenuOptionTop")->isChecked());
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  ASSERT_TRUE(w.close());
  EXPECT_TRUE(tomvik::core::LoadSettings(folder()).settings.stayOnTop);
  TFormMain& again = open(QDate(2026, 12, 8));
  EXPECT_TRUE(again.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

}  // namespace

namespace {

TEST_F(Window, ASplitterMovedByTheUserIsWrittenAtClose) {
  TFormMain& w = open(QDate(2026, 12, 8));
  w.show();
  tomvik::testing::Settle(w);
  auto* splitter = Named<QSplitter>(w, "SplitterDiary");
  QSplitterHandle* handle = splitter->handle(1);
  const int before = splitter->sizes().front();
  const QPoint start(handle->width() / 2, handle->height() / 2);
  auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &event);
  };
  send(QEvent::MouseButtonPress, start, Qt::LeftButton);
  send(QEvent::MouseMove, start + QPoint(0, 30), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, start + QPoint(0, 30), Qt::NoButton);
  ASSERT_EQ(splitter->sizes().front(), before + 30);
  ASSERT_TRUE(w.close());
  EXPECT_EQ(tomvik::core::LoadSettings(folder()).settings.split1, before + 30);
}

}  // namespace

namespace {

TEST_F(Window, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
  // A folder stands where Hold.txt should be: it exists, and cannot be read.
  fs::create_directory(folder() / "Hold.txt");
  fs::create_directory(folder() / "Hold.txt" / "kept");
  TFormMain& w = open(QDate(2026, 12, 8));
  QCoreApplication::processEvents();  // the start-up report comes once the window is up
  ASSERT_EQ(prompter_->errors.size(), 1u);
  EXPECT_TRUE(prompter_->errors[0].startsWith(QStringLiteral("現物保有を読み込めませんでした")));
  w.books().unsaved.holdings = true;
  w.ledgersChanged();
  w.showTab(1);
  action("MainMenuSave2")->trigger();
  ASSERT_EQ(prompter_->errors.size(), 2u);
  EXPECT_TRUE(prompter_->errors[1].contains(QStringLiteral("上書きしません")));
  EXPECT_TRUE(fs::exists(folder() / "Hold.txt" / "kept"));
  // Closing says that the changes cannot be saved: No stays, Yes lets them go.
  script({Answer::No, Answer::Yes});
  EXPECT_FALSE(w.close());
  ASSERT_EQ(prompter_->asked.size(), 1u);
  EXPECT_EQ(prompter_->asked[0], QStringLiteral("現物保有のファイルは読み込めなかったため、変更を保存できません。\n"
                                                "変更を破棄して終了しますか？"));
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(fs::exists(folder() / "Hold.txt" / "kept"));
}

}  // namespace

namespace {

TEST_F(Window, TheSixTabsStandInTheirOrderWithTheirCaptions) {
  TFormMain& w = open(QDate(2026, 12, 8));
  auto* tabs = Named<QTabWidget>(w, "PageControlMain");
  ASSERT_EQ(tabs->count(), 6);
  const char* names[] = {"TabSheetDiary", "TabSheetHold",  "TabSheetLoan",
                         "TabSheetStock", "TabSheetTotal", "TabSheetSim"};
  const QString captions[] = {QStringLiteral("取引日記"), QStringLiteral("現物保有"), QStringLiteral("信用建玉"),
                              QStringLiteral("銘柄管理"), QStringLiteral("期間集計"), QStringLiteral("模擬売買")};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(tabs->widget(i)->objectName(), QLatin1String(names[i]));
    EXPECT_EQ(tabs->tabText(i), captions[i]);
  }
}

}  // namespace
