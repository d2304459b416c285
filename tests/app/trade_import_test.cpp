// The trade history import driven as a user does: the menu command clicked,
// the file chosen (the file dialog scripted), the preview (ticks changed
// with the keyboard), 取り込み or キャンセル, and the summary. An imported file books
// what typing the same trades books; a second import of it books nothing;
// a repayment without its position is listed and not booked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/import/trade_import.h"
#include "app/import/trade_import_dialog.h"
#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::ImportPreviewModel;
using tomvik::app::LedgerModel;
using tomvik::app::TFormMain;
using tomvik::app::ToQString;
using tomvik::app::ToSjis;
using tomvik::app::TradeImport;
using tomvik::app::TradeImportDialog;
using tomvik::testing::SaveShot;
using tomvik::testing::ScriptedPrompter;
using tomvik::testing::UserDriver;

// Answers the modal windows of a command in turn: each step waits for the
// window it expects to be the active modal one.
class ModalSteps {
 public:
  using Step = std::function<bool(QWidget*)>;  // false: not the window expected
  ModalSteps() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || steps_.empty() || busy_) return;
      busy_ = true;
      if (steps_.front()(modal)) steps_.pop_front();
      busy_ = false;
    });
    timer_.start();
  }
  void then(Step step) { steps_.push_back(std::move(step)); }
  bool done() const { return steps_.empty(); }

 private:
  QTimer timer_;
  std::deque<Step> steps_;
  bool busy_ = false;
};

enum Tab { kDiary = 0, kHoldings = 1, kMargin = 2 };

// Seven trades of a week in SBI's layout, each of which can be typed by hand.
const char16_t* const kWeek =
    u"約定日,銘柄,銘柄コード,市場,取引,期限,預り,課税,約定数量,約定単価,手数料/諸経費等,税額,受渡日,受渡金額/"
    u"決済損益\r\n"
    u"2011/03/01,\"見本電機\",1234,東証,株式現物買,--,特定,申告,1000,\"1,200\",525,0,2011/03/04,\"1,200,525\"\r\n"
    u"2011/03/02,\"ソフトバンク\",9984,東証,信用新規買,6ヶ月,特定,--,300,\"2,000\",0,0,2011/03/07,--\r\n"
    u"2011/03/02,\"東京商事\",5678,東証,信用新規売,6ヶ月,特定,--,1000,500,300,0,2011/03/07,--\r\n"
    u"2011/03/03,\"見本電機\",1234,東証,株式現物売,--,特定,申告,300,\"1,300\",525,0,2011/03/08,\"389,475\"\r\n"
    u"2011/03/04,\"ソフトバンク\",9984,東証,信用返済売,6ヶ月,特定,--,100,\"2,100\",100,0,2011/03/09,\"9,900\"\r\n"
    u"2011/03/04,\"ソフトバンク\",9984,東証,現引,6ヶ月,特定,--,100,\"2,000\",--,--,2011/03/09,\"200,000\"\r\n"
    u"2011/03/07,\"東京商事\",5678,東証,信用返済買,6ヶ月,特定,--,1000,480,300,0,2011/03/10,\"19,400\"\r\n";

class TradeImportWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    fs::create_directories(folder());
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
  }

  // The program's folder, beside the downloaded files.
  fs::path folder() const { return fs::path(dir_.path().toStdString()) / "tomvik"; }
  QString download(const char* name, const QString& text) {
    const fs::path path = fs::path(dir_.path().toStdString()) / name;
    EXPECT_FALSE(tomvik::core::WriteFileAtomically(path, ToSjis(text)));
    return QString::fromStdString(path.string());
  }

  TFormMain& start(QDate today = QDate(2011, 3, 15)) {
    window_ = std::make_unique<TFormMain>(folder(), today);
    auto prompter = std::make_unique<ScriptedPrompter>(std::deque<tomvik::app::Answer>{}, tomvik::app::Answer::Yes);
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    user_ = std::make_unique<UserDriver>(*window_);
    user_->showActive();
    return *window_;
  }
  UserDriver& user() { return *user_; }

  // The file dialog answers with `path` (empty: cancelled).
  void fileChosen(const QString& path) {
    auto* import = window_->findChild<TradeImport*>();
    ASSERT_NE(import, nullptr);
    import->setFileChooser([this, path](QWidget*, const QString& folder) {
      offeredFolders_ << folder;
    return path;
  });
}

  // 取り込み → 取引履歴の取り込み… with the mouse: the menu's title on the
  // menu bar, then the item in the menu it opens.
  void chooseImportCommand() {
  QMenuBar* bar = window_->menuBar();
  auto* menu = window_->findChild<QMenu*>(QStringLiteral("MenuImport"));
  auto* command = window_->findChild<QAction*>(QStringLiteral("MainMenuImport"));
  ASSERT_TRUE(menu && command);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
  const QPoint at = menu->actionGeometry(command).center();
  QMouseEvent move(QEvent::MouseMove, at, menu->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(menu, &move);
  QTest::mouseClick(menu, Qt::LeftButton, {}, at);
  QCoreApplication::processEvents();
}
tomvik::core::Books& books() { return window_->books(); }
LedgerModel* list(const char* name) { return static_cast<LedgerModel*>(user().find<QTreeView>(name)->model()); }

// What the preview showed, and what the summary said.
struct Seen {
  QStringList kinds;
  QStringList notes;
  bool importEnabled = false;
  QString summary;
  QString details;
};

// The menu command with the file chosen in the file dialog; `preview`
// looks at the preview and ends it (true: 取り込み, false: キャンセル).
Seen importFile(const QString& path, std::function<bool(TradeImportDialog&)> preview = {}) {
  Seen seen;
  fileChosen(path);
  ModalSteps steps;
  steps.then([&](QWidget* modal) {
    auto* dialog = qobject_cast<TradeImportDialog*>(modal);
    if (!dialog) return false;
    const bool accept = preview ? preview(*dialog) : true;
    ImportPreviewModel* model = dialog->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      seen.kinds << model->index(row, ImportPreviewModel::kKinds).data().toString();
      seen.notes << model->index(row, ImportPreviewModel::kNotes).data().toString();
    }
    auto* button = dialog->findChild<QPushButton*>(QStringLiteral("ButtonImport"));
    seen.importEnabled = button->isEnabled();
    QTest::mouseClick(accept ? button : dialog->findChild<QPushButton*>(QStringLiteral("ButtonImportCancel")),
                      Qt::LeftButton);
    return true;
  });
  steps.then([&](QWidget* modal) {
    if (modal->objectName() != QLatin1String("ImportSummary")) return false;
    seen.summary = modal->findChild<QLabel*>(QStringLiteral("LabelImportSummary"))->text();
    if (auto* details = modal->findChild<QPlainTextEdit*>(QStringLiteral("MemoImportDetails"))) {
      seen.details = details->toPlainText();
    }
    SaveShot(*modal, "import_summary.png");
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("ButtonImportSummaryOk")), Qt::LeftButton);
    return true;
  });
  chooseImportCommand();
  // A cancelled preview has no summary.
  EXPECT_TRUE(steps.done() || seen.summary.isEmpty());
  return seen;
}

QTemporaryDir dir_;
std::unique_ptr<TFormMain> window_;
std::unique_ptr<UserDriver> user_;
ScriptedPrompter* prompter_ = nullptr;
QStringList offeredFolders_;
};  // namespace

// Every row of a ledger: key and cells.
QStringList Rows(const tomvik::core::LedgerTable& table) {
  QStringList rows;
  for (const auto& row : table) {
    QStringList cells{QString::fromStdString(row.key)};
    for (const std::string& cell : row.cells) cells << ToQString(cell);
    rows << cells.join(QLatin1Char('|'));
  }
  return rows;
}

// The diary rows by key with what they book: price, quantity, amount, cost, result.
QStringList Booked(const tomvik::core::LedgerTable& diary) {
  namespace Col = tomvik::core::DiaryCol;
  QStringList rows;
  for (const auto& row : diary) {
    rows << QString::fromStdString(row.key) + QLatin1Char('|') +
                QStringList{ToQString(row.cell(Col::Price)), ToQString(row.cell(Col::Quantity)),
                            ToQString(row.cell(Col::Amount)), ToQString(row.cell(Col::Cost)),
                            ToQString(row.cell(Col::Profit))}
                    .join(QLatin1Char('|'));
  }
  return rows;
}

struct Ledgers {
  QStringList diary, holdings, positions, stocks;
  QString realised;
};

class ImportAgainstTyping : public TradeImportWindow {
 protected:
  Ledgers snapshot() {
    return Ledgers{Booked(books().diary), Rows(books().holdings), Rows(books().positions), Rows(books().stocks),
                   ToQString(books().figures.realised)};
  }

  void typeAndLeave(const char* field, const QString& value) {
    user().typeInto(field, value);
    user().tab();
  }
  void diaryDay(QDate day, const QString& note) {
    user().chooseTab("PageControlMain", kDiary);
    user().find<QDateEdit>("DateTimePicker")->setDate(day);
    user().typeInto("RichEditDiary", note);
    user().press("ButtonDiaryAdd");
  }
  void diaryTrade(const char* code, const QString& price, const QString& quantity, const QString& charge) {
    typeAndLeave("MaskEditStockCode", QString::fromLatin1(code));
    typeAndLeave("EditPrice", price);
    typeAndLeave("EditNum", quantity);
    typeAndLeave("ComboBoxCharge", charge);
    typeAndLeave("EditTax", QStringLiteral("0"));
    user().press("ButtonDiaryAdd");
  }
  void settle(QDate day, int row, bool delivery, const QString& price, const QString& quantity, const QString& charge) {
    user().chooseTab("PageControlMain", kMargin);
    user().find<QDateEdit>("DateTimePickerL")->setDate(day);
    user().clickRow("ListViewLoan", row, true);
    user().click("CheckBoxSettlement");
    if (delivery) {
      user().click("RadioButtonBLx");
    } else {
      typeAndLeave("EditPriceLx", price);
      typeAndLeave("ComboBoxChargeLx", charge);
      typeAndLeave("EditTaxLx", QStringLiteral("0"));
    }
    typeAndLeave("EditNumLx", quantity);
    user().press("ButtonSettlement");
  }
};

TEST_F(ImportAgainstTyping, AnImportedWeekBooksWhatTypingItBooks) {
  // Typed: buys and new positions in the diary, the sale on the holdings
  // tab, the settlements on the margin tab.
  start(QDate(2011, 3, 1));
  diaryDay(QDate(2011, 3, 1), QStringLiteral("買い"));
  diaryTrade("1234", QStringLiteral("1200"), QStringLiteral("1000"), QStringLiteral("525"));
  diaryDay(QDate(2011, 3, 2), QStringLiteral("信用"));
  user().choose("ComboBoxPlan", QStringLiteral("信用"));
  user().click("RadioButtonB");
  diaryTrade("9984", QStringLiteral("2000"), QStringLiteral("300"), QStringLiteral("0"));
  user().click("RadioButtonS");
  diaryTrade("5678", QStringLiteral("500"), QStringLiteral("1000"), QStringLiteral("300"));
  ASSERT_EQ(books().positions.size(), 2u);

  user().chooseTab("PageControlMain", kHoldings);
  user().find<QDateEdit>("DateTimePicker2")->setDate(QDate(2011, 3, 3));
  user().clickRow("ListViewHold", 0, true);
  user().click("CheckBoxHoldSell");
  typeAndLeave("EditPrice2x", QStringLiteral("1300"));
  typeAndLeave("EditNum2x", QStringLiteral("300"));
  typeAndLeave("ComboBoxCharge2x", QStringLiteral("525"));
  typeAndLeave("EditTax2x", QStringLiteral("0"));
  user().press("ButtonHoldSel");

  // Positions: 5678 sold (row 0), 9984 bought (row 1).
  settle(QDate(2011, 3, 4), 1, false, QStringLiteral("2100"), QStringLiteral("100"), QStringLiteral("100"));
  settle(QDate(2011, 3, 4), 1, true, QString(), QStringLiteral("100"), QString());
  settle(QDate(2011, 3, 7), 0, false, QStringLiteral("480"), QStringLiteral("1000"), QStringLiteral("300"));
  const Ledgers typed = snapshot();
  ASSERT_EQ(typed.realised, QStringLiteral("58,618"));  // 29,318 + 9,900 + 19,400
  window_->close();
  window_.reset();

  // Imported into a fresh folder.
  fs::remove_all(folder());
  SetUp();
  start(QDate(2011, 3, 15));
  const Seen seen = importFile(download("SBI_week.csv", QString::fromUtf16(kWeek)));
  EXPECT_EQ(seen.kinds,
            (QStringList{QStringLiteral("買"), QStringLiteral("信買"), QStringLiteral("信売"), QStringLiteral("売"),
                         QStringLiteral("返売"), QStringLiteral("現引"), QStringLiteral("返買")}));
  EXPECT_EQ(seen.notes, QStringList(7, QString()));
  EXPECT_TRUE(seen.summary.startsWith(QStringLiteral("7 件の取引を取引日記に記録しました（日記の行 7 行）。")))
      << seen.summary.toStdString();
  const Ledgers imported = snapshot();
  EXPECT_EQ(imported.holdings, typed.holdings);
  EXPECT_EQ(imported.positions, typed.positions);
  EXPECT_EQ(imported.stocks, typed.stocks);
  EXPECT_EQ(imported.realised, typed.realised);
  EXPECT_EQ(imported.diary, typed.diary);

  // Everything is saved; the diary shows the last day booked with its row
  // commented with the file and line.
  for (const char* save : {"MainMenuSave", "MainMenuSave2", "MainMenuSaveL", "MainMenuSave3"}) {
    EXPECT_FALSE(window_->findChild<QAction*>(QLatin1String(save))->isEnabled()) << save;
  }
  EXPECT_EQ(user().find<QDateEdit>("DateTimePicker")->date(), QDate(2011, 3, 7));
  QStringList comments;
  for (int row = 0; row < list("ListViewDiary")->rowCount(); ++row) comments << list("ListViewDiary")->text(row, 11);
  EXPECT_TRUE(comments.contains(QStringLiteral("取込 SBI_week.csv 8行目"))) << comments.join(u'/').toStdString();
  const QModelIndex current = user().find<QTreeView>("ListViewDiary")->currentIndex();
  EXPECT_TRUE(list("ListViewDiary")->text(current.row(), 0).startsWith(QStringLiteral("2011/03/07")))
      << list("ListViewDiary")->text(current.row(), 0).toStdString();
  EXPECT_EQ(tomvik::core::LoadHoldings(folder()).data.rows.size(), 2u);
}

TEST_F(TradeImportWindow, ImportingTheSameFileTwiceBooksNothingTheSecondTime) {
  start();
  const QString path = download("SBI_week.csv", QString::fromUtf16(kWeek));
  importFile(path);
  const std::string march = tomvik::core::ReadWholeFile(folder() / "201103.txt").bytes;
  const QStringList holdings = Rows(books().holdings);
  const QString realised = ToQString(books().figures.realised);

  const Seen again = importFile(path, [](TradeImportDialog&) { return false; });
  // The file dialog opened again where the file was found.
  EXPECT_EQ(offeredFolders_.value(1), QString::fromStdString(dir_.path().toStdString()));
  EXPECT_EQ(again.kinds, QStringList(7, QStringLiteral("記録済み")));
  EXPECT_FALSE(again.importEnabled);
  EXPECT_TRUE(again.summary.isEmpty());
  EXPECT_EQ(tomvik::core::ReadWholeFile(folder() / "201103.txt").bytes, march);
  EXPECT_EQ(Rows(books().holdings), holdings);
  EXPECT_EQ(ToQString(books().figures.realised), realised);
}

TEST_F(TradeImportWindow, ARepaymentWithoutItsPositionIsListedNotBooked) {
  start();
  const QString path = download(
      "tradehistory(JP)_20110310.csv",
      QStringLiteral(
          "\"約定日\",\"受渡日\",\"銘柄コード\",\"銘柄名\",\"市場名称\",\"口座区分\",\"取引区分\",\"売買区分\","
          "\"信用区分\",\"弁済期限\",\"数量［株］\",\"単価［円］\",\"手数料［円］\",\"税金等［円］\","
          "\"諸費用［円］\",\"税区分\",\"受渡金額［円］\",\"建約定日\",\"建単価［円］\"\r\n"
          "\"2011/3/8\",\"2011/3/11\",\"1234\",\"見本電機\",\"東証\",\"特定\",\"現物\",\"買付\",\"-\",\"-\","
          "\"100\",\"1,000\",\"0\",\"0\",\"0\",\"-\",\"100,000\",\"-\",\"-\"\r\n"
          "\"2011/3/9\",\"2011/3/14\",\"9984\",\"ソフトバンク\",\"東証\",\"特定\",\"信用返済\",\"売埋\","
          "\"制度\",\"6ヶ月\",\"100\",\"2,100\",\"0\",\"0\",\"0\",\"-\",\"9,900\",\"2011/3/2\",\"2,000\"\r\n"
          "\"2011/3/10\",\"2011/3/15\",\"1234\",\"見本電機\",\"東証\",\"特定\",\"現物\",\"売付\",\"-\","
          "\"-\",\"100\",\"1,100\",\"0\",\"0\",\"0\",\"-\",\"109,500\",\"-\",\"-\"\r\n"));

  // The buy unticked with the keyboard: the sale that needs it cannot be booked either.
  const Seen unticked = importFile(path, [](TradeImportDialog& dialog) {
    // The list has the focus on the first trade's tick.
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("ListViewImport"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->hasFocus(); }));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(dialog.ticked(), (std::vector<bool>{false, true, true}));
    return false;
  });
  EXPECT_EQ(unticked.kinds, (QStringList{QStringLiteral("取り込まない"), QStringLiteral("記録できない"),
                                         QStringLiteral("記録できない")}));
  EXPECT_TRUE(unticked.notes[2].startsWith(QStringLiteral("現物の買い保有がない"))) << unticked.notes[2].toStdString();
  EXPECT_FALSE(fs::exists(folder() / "201103.txt"));

  const Seen seen = importFile(path, [](TradeImportDialog& dialog) {
    SaveShot(dialog, "import_preview.png");
    return true;
  });
  EXPECT_EQ(seen.kinds, (QStringList{QStringLiteral("買"), QStringLiteral("記録できない"), QStringLiteral("売")}));
  EXPECT_EQ(seen.notes[1], QStringLiteral("決済する建玉がないため記録できません"));
  // The sale books the broker's amount, and says that it is not what price and charges make.
  EXPECT_EQ(seen.notes[2], QStringLiteral("受渡金額が違います（証券会社 109,500 円、記録 110,000 円）"));
  EXPECT_TRUE(seen.summary.contains(QStringLiteral("1 件の取引は記録できませんでした"))) << seen.summary.toStdString();
  EXPECT_TRUE(
      seen.details.contains(QStringLiteral("3行目 2011/03/09 信用返済売 9984 ソフトバンク 100株：決済する建玉")))
      << seen.details.toStdString();
  EXPECT_TRUE(books().positions.empty());
  EXPECT_EQ(ToQString(books().figures.realised), QStringLiteral("9,500"));
  EXPECT_FALSE(tomvik::core::FindDayHeader(books().diary, "2011/03/09"));
}

TEST_F(TradeImportWindow, ALongFileShowsItsProgressAndIsBookedMonthByMonth) {
  // Five months of buys, two a day.
  QString text = QStringLiteral(
      "約定日,銘柄,銘柄コード,市場,取引,期限,預り,課税,約定数量,約定単価,手数料/諸経費等,税額,受渡日,受渡金額/"
      "決済損益\r\n");
  constexpr int kTrades = 250;
  for (int i = 0; i < kTrades; ++i) {
    const QString day = QDate(2011, 1 + i / 50, 1 + (i % 50) / 2).toString(QStringLiteral("yyyy/MM/dd"));
    text += QStringLiteral("%1,見本電機,1234,東証,株式現物買,--,特定,申告,100,%2,0,0,%1,%3\r\n")
                .arg(day)
                .arg(1000 + i)
                .arg((1000 + i) * 100);
  }
  start(QDate(2011, 6, 1));
  // The progress as it is shown while booking.
  int shownUpTo = -1;
  int shownOf = -1;
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* progress = window_->findChild<QProgressDialog*>(QStringLiteral("ProgressImport"))) {
      if (progress->isVisible()) {
        shownUpTo = std::max(shownUpTo, progress->value());
        shownOf = progress->maximum();
      }
    }
  });
  watch.start();
  const Seen seen = importFile(download("SBI_year.csv", text));
  watch.stop();
  EXPECT_EQ(shownOf, kTrades);
  EXPECT_GT(shownUpTo, 0);
  EXPECT_TRUE(seen.summary.startsWith(QStringLiteral("250 件の取引を取引日記に記録しました")))
      << seen.summary.toStdString();
  for (const char* month : {"201101.txt", "201102.txt", "201103.txt", "201104.txt", "201105.txt"}) {
    EXPECT_TRUE(fs::exists(folder() / month)) << month;
  }
  ASSERT_EQ(books().holdings.size(), 1u);
  EXPECT_EQ(books().holdings[0].cell(tomvik::core::HoldCol::Shares), "25,000");
  EXPECT_EQ(user().find<QDateEdit>("DateTimePicker")->date(), QDate(2011, 5, 25));
}

TEST_F(TradeImportWindow, AFileOfNoKnownBrokerIsRefusedWithAMessage) {
  start();
  const QString path = download("notes.csv", QStringLiteral("日付,内容\r\n2011/03/01,入金\r\n"));
  fileChosen(path);
  chooseImportCommand();
  ASSERT_EQ(prompter_->errors.size(), 1u);
  EXPECT_TRUE(prompter_->errors[0].startsWith(QStringLiteral("取引履歴の見出し行が見つかりませんでした。")));
  EXPECT_TRUE(books().diary.empty());
}

}  // namespace
