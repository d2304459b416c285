// The period totals tab driven as a user drives it: presets, 日次/月次, the
// stock and its recent codes, "集計" read back from the list by its
// captions, the chart and the calendar against the list, a broken month
// file, and the choices kept between runs.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <filesystem>
#include <map>
#include <memory>

#include "app/layout_support.h"
#include "app/window/form_main.h"
#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/totals/running_total_chart.h"
#include "app/totals/totals_calendar.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"
#include "core/records/ini_file.h"

namespace {

namespace fs = std::filesystem;
}  // namespace

QT_BEGIN_NAMESPACE
// Failures print texts, not bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }
QT_END_NAMESPACE

namespace {

using tomvik::app::TFormMain;
using tomvik::testing::Named;
using tomvik::testing::ScriptedPrompter;

// A month file from UTF-8 lines, in CP932 with CR LF.
void WriteMonth(const fs::path& path, const QStringList& lines) {
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(
      path, tomvik::app::ToSjis(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))));
}

// February and March 2011. The 14th of March has only a plan; the 15th a
// deposit of 100,000 under a day charge of 500 and a closing sell of 1234
// (1,050,000 against 1,000,000, charge 1,000); the 16th a loss on 5678.
void WriteDiary(const fs::path& folder) {
  WriteMonth(folder / "201102.txt", {"[2011/02/10(木)]", " ", "*入,,,,,,,300000,", " "});
  WriteMonth(folder / "201103.txt",
             {"[2011/03/14(月)]", " ", "-予,1234 見本電機,東証１部,1000,100,,,100000,", " ", "", "[2011/03/15(火)] 500",
              " ", "*入,,,,,,,100000,", " ", "+〆,1234 見本電機,東証１部,10510,100,1000,0,1050000,1000000", " ", "",
              "[2011/03/16(水)]", " ", "+〆,5678 東京商事,東証２部,480,1000,800,0,479200,500000", " "});
}

class TotalsTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
    WriteDiary(folder());
  }

  // Opens the window on 2011/03/20, a Sunday, and brings the totals tab up
  // by clicking its tab.
  void open() {
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 20));
    auto prompter = std::make_unique<ScriptedPrompter>(std::deque<tomvik::app::Answer>{}, tomvik::app::Answer::No);
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTabBar* tabs = w<QTabWidget>("PageControlMain")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(4).center());
    ASSERT_EQ(w<QTabWidget>("PageControlMain")->currentIndex(), 4);
  }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }
  template <typename T>
  T* w(const char* name) {
    return Named<T>(*window_, name);
  }
  void click(const char* name) {
    auto* button = w<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  QDate from() { return w<QDateEdit>("DateTimePickerTotalF")->date(); }
  QDate to() { return w<QDateEdit>("DateTimePickerTotalT")->date(); }

  // The list as rows of caption -> text.
  std::vector<std::map<QString, QString>> listed() {
    auto* model = w<QTreeView>("ListViewTotal")->model();
    std::vector<std::map<QString, QString>> rows;
    for (int r = 0; r < model->rowCount(); ++r) {
      std::map<QString, QString> row;
      for (int c = 0; c < model->columnCount(); ++c) {
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        if (!caption.isEmpty()) row[caption] = model->index(r, c).data().toString();
      }
      rows.push_back(row);
    }
    return rows;
  }
  static std::map<QString, QString> Row(const char* date, const char* result, const char* cash, const char* balance,
                                        const char* running) {
    return {{QStringLiteral("日付"), QString::fromUtf8(date)},
            {QStringLiteral("売買損益"), QString::fromUtf8(result)},
            {QStringLiteral("入出金"), QString::fromUtf8(cash)},
            {QStringLiteral("収支"), QString::fromUtf8(balance)},
            {QStringLiteral("累計"), QString::fromUtf8(running)}};
  }

  // Chooses a line of the recent-codes drop-down with the mouse.
  void chooseRecent(int row) {
    auto* combo = w<QComboBox>("ComboBoxStockCodeTotal");
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    // A release right after the list opened is not taken as a choice.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY_WITH_TIMEOUT(!view->window()->isVisible(), 2000);
    QTest::qWait(20);
  }

  QTemporaryDir dir_;
  std::unique_ptr<TFormMain> window_;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(TotalsTabTest, TotalsRunThroughTheButtonOverThePresetPeriodAndFollowTheMode) {
  open();
  // The end is the diary's date; the default preset 月 starts the month.
  EXPECT_TRUE(w<QRadioButton>("RadioButtonTotalStartM")->isChecked());
  EXPECT_EQ(from(), QDate(2011, 3, 1));
  EXPECT_EQ(to(), QDate(2011, 3, 20));
  click("ButtonTotal");
  // The plan-only 14th is not listed; the deposit under the day charge is
  // 99,500; the loss on 5678 is 500,000 - 479,200.
  EXPECT_EQ(listed(),
            (std::vector<std::map<QString, QString>>{Row("2011/03/15(火)", "50,000", "99,500", "149,500", "149,500"),
                                                     Row("2011/03/16(水)", "-20,800", "0", "-20,800", "128,700")}));

  // 週 on a Sunday goes back to its Monday; the list waits for the next 集計.
  click("RadioButtonTotalStartW");
  EXPECT_EQ(from(), QDate(2011, 3, 14));
  EXPECT_EQ(to(), QDate(2011, 3, 20));
  EXPECT_EQ(listed().size(), 2u);
  click("RadioButtonTotalStartY");
  EXPECT_EQ(from(), QDate(2011, 1, 1));
  click("ButtonTotal");
  ASSERT_EQ(listed().size(), 3u);
  EXPECT_EQ(listed()[0], Row("2011/02/10(木)", "0", "300,000", "300,000", "300,000"));
  EXPECT_EQ(listed()[2][QStringLiteral("累計")], QStringLiteral("428,700"));

  // 月次 takes whole months; the preset set by the program stays chosen.
  click("RadioButtonTotalM");
  EXPECT_EQ(from(), QDate(2011, 1, 1));
  EXPECT_EQ(to(), QDate(2011, 3, 31));
  EXPECT_TRUE(w<QRadioButton>("RadioButtonTotalStartY")->isChecked());
  click("ButtonTotal");
  EXPECT_EQ(listed(),
            (std::vector<std::map<QString, QString>>{Row("2011/02/01～28", "0", "300,000", "300,000", "300,000"),
                                                     Row("2011/03/01～31", "29,200", "99,500", "128,700", "428,700")}));

  // A date the user changes snaps to its month in 月次 and drops the preset.
  auto* end = w<QDateEdit>("DateTimePickerTotalT");
  end->setFocus();
  QTest::keyClick(end, Qt::Key_Down);  // the year, one back
  EXPECT_EQ(to(), QDate(2010, 3, 31));
  for (const char* preset : {"RadioButtonTotalStartY", "RadioButtonTotalStartM", "RadioButtonTotalStartW"})
    EXPECT_FALSE(w<QRadioButton>(preset)->isChecked()) << preset;
  // A start after the end lists nothing and says nothing.
  click("ButtonTotal");
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(prompter_->errors.empty());
}

TEST_F(TotalsTabTest, AChosenStockIsLookedUpAndPickedAgainFromTheRecentCodes) {
  open();
  auto* code = w<QLineEdit>("MaskEditStockCodeTotal");
  auto* name = w<QLineEdit>("EditStockNameTotal");
  EXPECT_FALSE(code->isEnabled());
  click("CheckBoxTotalCode");
  ASSERT_TRUE(code->isEnabled());

  QTest::mouseClick(code, Qt::LeftButton, {}, QPoint(3, code->height() / 2));
  QTest::keyClicks(code, QStringLiteral("5678"));
  QTest::keyClick(code, Qt::Key_Return);  // on to the name, which looks the stock up
  EXPECT_TRUE(name->hasFocus());
  EXPECT_EQ(name->text(), QStringLiteral("東京商事"));
  code->setFocus();
  code->selectAll();
  QTest::keyClicks(code, QStringLiteral("1234"));
  QTest::keyClick(code, Qt::Key_Tab);
  EXPECT_EQ(name->text(), QStringLiteral("見本電機"));
  auto* recent = w<QComboBox>("ComboBoxStockCodeTotal");
  ASSERT_EQ(recent->count(), 2);
  EXPECT_EQ(recent->itemText(0), QStringLiteral("1234 見本電機"));

  // Only the stock's closing sell and its charge count.
  click("ButtonTotal");
  EXPECT_EQ(listed(),
            (std::vector<std::map<QString, QString>>{Row("2011/03/15(火)", "50,000", "1,000", "51,000", "51,000")}));

  // Chosen from the drop-down, the other code is looked up at once and the
  // name field takes the focus.
  chooseRecent(1);
  EXPECT_EQ(code->displayText(), QStringLiteral("5678"));
  EXPECT_EQ(name->text(), QStringLiteral("東京商事"));
  EXPECT_TRUE(name->hasFocus());
  EXPECT_EQ(recent->itemText(0), QStringLiteral("5678 東京商事"));
  click("ButtonTotal");
  EXPECT_EQ(listed(),
            (std::vector<std::map<QString, QString>>{Row("2011/03/16(水)", "-20,800", "800", "-20,000", "-20,000")}));

  // A digit typed on the drop-down picks the line it starts.
  recent->setFocus();
  QTest::keyClick(recent, Qt::Key_1);
  EXPECT_EQ(code->displayText(), QStringLiteral("1234"));
  EXPECT_EQ(name->text(), QStringLiteral("見本電機"));
  EXPECT_TRUE(name->hasFocus());

  // Unticked, the stock no longer restricts the totals.
  click("CheckBoxTotalCode");
  EXPECT_FALSE(code->isEnabled());
  click("ButtonTotal");
  EXPECT_EQ(listed().size(), 2u);
}

TEST_F(TotalsTabTest, TheChartAndTheCalendarShowWhatTheListShows) {
  open();
  click("RadioButtonTotalStartY");
  click("ButtonTotal");
  const auto rows = listed();
  ASSERT_EQ(rows.size(), 3u);

  // One point per row, at the row's day, as high as its running total.
  auto* chart = window_->findChild<tomvik::app::RunningTotalChart*>(QStringLiteral("ChartTotal"));
  ASSERT_NE(chart, nullptr);
  const QList<QPointF> points = chart->series()->points();
  ASSERT_EQ(points.size(), static_cast<qsizetype>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const QDate day = QDate::fromString(rows[i].at(QStringLiteral("日付")).left(10), QStringLiteral("yyyy/MM/dd"));
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(points[i].x())).date(), day) << i;
    EXPECT_EQ(QLocale(QLocale::Japanese).toString(static_cast<qint64>(points[i].y())),
              rows[i].at(QStringLiteral("累計")))
        << i;
  }

  // The calendar opens on the period's last month: a gain is blue, a loss
  // red, a day of cash alone and a day without entries plain, days after
  // the period grey.
  auto* calendar = window_->findChild<tomvik::app::TotalsCalendar*>(QStringLiteral("CalendarTotal"));
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(calendar->shownMonth(), QDate(2011, 3, 1));
  const QColor gain = calendar->dayColour(QDate(2011, 3, 15));
  const QColor loss = calendar->dayColour(QDate(2011, 3, 16));
  const QColor plain = calendar->palette().color(QPalette::Base);
  EXPECT_GT(gain.blue(), gain.red());
  EXPECT_GT(loss.red(), loss.blue());
  // The larger result shows deeper.
  EXPECT_LT(gain.lightness(), loss.lightness());
  EXPECT_EQ(calendar->dayColour(QDate(2011, 3, 14)), plain);
  EXPECT_NE(calendar->dayColour(QDate(2011, 3, 21)), plain);
  EXPECT_NE(calendar->dayColour(QDate(2011, 3, 21)), gain);

  // Hovering a day shows its figures.
  const QRect lossDay = calendar->dayRect(QDate(2011, 3, 16));
  QHelpEvent hover(QEvent::ToolTip, lossDay.center(), calendar->mapToGlobal(lossDay.center()));
  QCoreApplication::sendEvent(calendar, &hover);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("2011/03/16(水)\n売買損益  -20,800\n入出金  0\n収支  -20,800"));

  // Back a month, February's deposit is plain (it is no trading result);
  // clicking it takes the diary to that day.
  QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->previousArrowRect().center());
  EXPECT_EQ(calendar->shownMonth(), QDate(2011, 2, 1));
  EXPECT_EQ(calendar->dayColour(QDate(2011, 2, 10)), plain);
  QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->dayRect(QDate(2011, 2, 10)).center());
  EXPECT_EQ(w<QTabWidget>("PageControlMain")->currentIndex(), 0);
  EXPECT_EQ(w<QDateEdit>("DateTimePicker")->date(), QDate(2011, 2, 10));
  auto* diary = w<QTreeView>("ListViewDiary")->model();
  ASSERT_GE(diary->rowCount(), 1);
  EXPECT_EQ(diary->index(0, 0).data().toString(), QStringLiteral("2011/02/10(木)"));
}

TEST_F(TotalsTabTest, ABrokenDayHeaderStopsTheTotalsAndSaysWhere) {
  WriteMonth(folder() / "201103.txt",
             {"[2011/03/15(火)]", " ", "*入,,,,,,,1000,", " ", "", "[2011/O3/16(水)]", " ", "*入,,,,,,,2000,", " "});
  open();
  click("ButtonTotal");
  EXPECT_EQ(listed(), (std::vector<std::map<QString, QString>>{Row("2011/03/15(火)", "0", "1,000", "1,000", "1,000")}));
  ASSERT_EQ(prompter_->errors.size(), 1u);
  EXPECT_EQ(prompter_->errors[0],
            QStringLiteral("取引日記 201103.txt の 6 行目の日付を読み取れないため、集計をそこで止めました。\n"
                           "[2011/O3/16(水)]\nそれまでの結果を表示しています。"));
}

TEST_F(TotalsTabTest, TheChoicesOfTheTabAreKeptBetweenRuns) {
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(folder() / "TMVK.ini",
                                                 "[Window]\r\nStartYMW=3\r\nTotalM=1\r\n[PresetCDT]\r\nCount=1\r\n"
                                                 "1=1234 \x8C\xA9\x96\x7B\r\n"));
  open();
  // 週 from the Sunday's Monday, then whole months, as if both were clicked.
  EXPECT_TRUE(w<QRadioButton>("RadioButtonTotalStartW")->isChecked());
  EXPECT_TRUE(w<QRadioButton>("RadioButtonTotalM")->isChecked());
  EXPECT_EQ(from(), QDate(2011, 3, 1));
  EXPECT_EQ(to(), QDate(2011, 3, 31));
  EXPECT_EQ(w<QComboBox>("ComboBoxStockCodeTotal")->count(), 1);

  // The views are the program's own choice, kept beside the settings.
  click("CheckBoxTotalChart");
  EXPECT_FALSE(w<QWidget>("ChartTotal")->isVisible());
  click("RadioButtonTotalD");
  click("RadioButtonTotalStartY");
  EXPECT_TRUE(window_->close());
  window_.reset();

  const auto ini = tomvik::core::IniFile::Parse(tomvik::core::ReadWholeFile(folder() / "TMVK.ini").bytes);
  EXPECT_EQ(ini.readInt("Window", "StartYMW", 0), 1);
  EXPECT_EQ(ini.readInt("Window", "TotalM", -1), 0);
  EXPECT_FALSE(ini.hasSection("Totals"));
  EXPECT_TRUE(fs::exists(folder() / "Tomvik-view.ini"));

  open();
  EXPECT_TRUE(w<QRadioButton>("RadioButtonTotalStartY")->isChecked());
  EXPECT_TRUE(w<QRadioButton>("RadioButtonTotalD")->isChecked());
  EXPECT_EQ(from(), QDate(2011, 1, 1));
  EXPECT_FALSE(w<QCheckBox>("CheckBoxTotalChart")->isChecked());
  EXPECT_FALSE(w<QWidget>("ChartTotal")->isVisible());
  EXPECT_TRUE(w<QWidget>("CalendarTotal")->isVisible());
}

}  // namespace
