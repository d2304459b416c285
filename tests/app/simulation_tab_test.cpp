// The simulated trading tab in a whole window, driven as a user drives it:
// rehearsing trades with their live preview, taking a simulation over from
// the other tabs with 模擬 (with and without Shift), the recent codes and
// the charge, and the simulated summary compared with the real one. Nothing
// of it ever reaches a file.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/layout_support.h"
#include "app/window/form_main.h"
#include "app/shell/keyboard.h"
#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/simulation/simulation_tab.h"
#include "app/user_driver.h"
#include "app/window_support.h"
#include "core/records/amount.h"
#include "core/records/atomic_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::SimulationTab;
using tomvik::app::TFormMain;
using tomvik::app::ToSjis;
using tomvik::testing::Named;
using tomvik::testing::ScriptedPrompter;
namespace SimCol = tomvik::app::SimCol;

enum Tab { kDiary = 0, kHoldings = 1, kMargin = 2, kStocks = 3, kTotals = 4, kSimulation = 5 };

// A bought holding of 1234 (1,000 shares for 501,050, market 520) and one of
// 4321; two bought margin positions of 1234 and a sold one.
const char16_t kHoldFile[] =
    u"=1000000,-50000\r\n"
    u"-買,1234 見本電機,東証１部,100,501050,1000,501,520,18950\r\n \r\n"
    u"-買,4321 見本化学,ジャスダック,1000,200000,1000,200,190,-10000\r\n \r\n";
const char16_t kLoanFile[] =
    u"-買,123452011/03/01001,1234 見本電機,東証１部,100,300000,500,600,620,10000\r\n \r\n"
    u"-買,123452011/03/02001,1234 見本電機,東証１部,100,250100,300,833,620,-64100\r\n \r\n"
    u"+売,123462011/03/03001,1234 見本電機,東証１部,100,900000,1000,900,880,20000\r\n \r\n";

std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = tomvik::core::ReadWholeFile(entry.path()).bytes;
  }
  return files;
}

class SimulationTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / "Code.txt", folder() / "Code.txt");
    ASSERT_FALSE(tomvik::core::WriteFileAtomically(folder() / "Hold.txt", ToSjis(QString::fromUtf16(kHoldFile))));
    ASSERT_FALSE(tomvik::core::WriteFileAtomically(folder() / "Loan.txt", ToSjis(QString::fromUtf16(kLoanFile))));
    filesBefore_ = FilesIn(folder());

    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 15));
    window_->setPrompter(std::make_unique<ScriptedPrompter>());
    tab_ = window_->findChild<SimulationTab*>();
    user_ = std::make_unique<tomvik::testing::UserDriver>(*window_);
    user_->showActive();
    tomvik::testing::Settle(*window_);
  }
  void TearDown() override {
    tomvik::app::OverrideModifiers(std::nullopt);
    // Nothing of the simulation is ever written.
    window_.reset();
    EXPECT_EQ(FilesIn(folder()), filesBefore_);
  }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }
  SimulationTab::Ui& ui() { return tab_->ui; }
  template <typename T>
  T* w(const char* name) {
    return Named<T>(*window_, name);
  }
  QString text(const char* name) { return w<QLineEdit>(name)->text(); }
  tomvik::core::Amount figure(const char* name) { return tomvik::core::ParseAmount(ToSjis(text(name))); }
  int current() { return w<QTabWidget>("PageControlMain")->currentIndex(); }
  QString cell(int row, std::size_t column) { return ui().Model->text(row, static_cast<int>(column) + 1); }
  int rows() { return ui().Model->rowCount(); }

  // Typing replaces the field's text; Tab then moves the focus on.
  void type(QWidget* field, const QString& typed) {
    user_->typeInto(field, typed);
    if (typed.isEmpty()) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    user_->tab();
  }
  void click(QWidget* widget) { user_->click(widget); }
  // Double-clicks a row of a list, as a user opens it.
  void open(QTreeView* list, int row) { user_->clickRow(list, row, true); }
  // Chooses 模擬 on the menu bar, with Shift held or not.
  void chooseSim(bool shift) {
    tomvik::app::OverrideModifiers(tomvik::core::KeyModifiers{shift, false, false});
    QMenuBar* bar = window_->menuBar();
    QAction* sim = window_->findChild<QAction*>(QStringLiteral("MainMenuSim"));
    ASSERT_TRUE(sim->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier,
                      bar->actionGeometry(sim).center());
    tomvik::app::OverrideModifiers(std::nullopt);
  }
  void setSimCharge(const QString& charge) {
    const int back = current();
    window_->showTab(kSimulation);
    type(ui().ComboBoxCharge5->lineEdit(), charge);
    window_->showTab(back);
  }
  void trade(QRadioButton* side, const QString& price, const QString& quantity) {
    click(side);
    type(ui().EditPrice5, price);
    type(ui().EditNum5, quantity);
    click(ui().ButtonBS5);
  }

  QTemporaryDir dir_;
  std::map<std::string, std::string> filesBefore_;
  std::unique_ptr<TFormMain> window_;
  std::unique_ptr<tomvik::testing::UserDriver> user_;
  SimulationTab* tab_ = nullptr;
};

TEST_F(SimulationTabTest, TradesArePreviewedRecordedTakenBackAndCleared) {
  window_->showTab(kSimulation);
  type(ui().ComboBoxCharge5->lineEdit(), QStringLiteral("1050"));
  EXPECT_EQ(ui().ComboBoxCharge5->currentText(), QStringLiteral("1,050"));
  EXPECT_EQ(ui().ComboBoxCharge5->itemText(0), QStringLiteral("1,050"));

  // The preview follows the typing; the stock's unit rounds the quantity.
  type(ui().EditPrice5, QStringLiteral("500"));
  type(ui().EditNum5, QStringLiteral("1050"));
  EXPECT_EQ(ui().EditNum5->text(), QStringLiteral("1,050"));
  type(ui().MaskEditStockCode5, QStringLiteral("4321"));
  EXPECT_EQ(ui().EditStockName5->text(), QStringLiteral("見本化学"));
  EXPECT_EQ(ui().EditStockUnit5->text(), QStringLiteral("1000"));
  EXPECT_EQ(ui().EditNum5->text(), QStringLiteral("1000"));
  EXPECT_EQ(text("MemoPriceBS5"), QStringLiteral("501,050"));
  EXPECT_EQ(text("EditPriceHold5"), QStringLiteral("501,050"));
  EXPECT_EQ(text("MemoPriceHold5"), QStringLiteral("501"));
  EXPECT_EQ(text("MemoPriceHoldPM5"), QStringLiteral("-1,050"));
  EXPECT_EQ(ui().MemoPriceHoldPM5->palette().color(QPalette::Text), tomvik::app::kRed);
  click(ui().ButtonBS5);
  ASSERT_EQ(rows(), 1);
  EXPECT_EQ(cell(0, SimCol::Total), QStringLiteral("501,050"));
  EXPECT_EQ(ui().EditNum5->text(), QStringLiteral("0"));
  EXPECT_TRUE(ui().ButtonDel5->isEnabled());
  EXPECT_TRUE(ui().ButtonClear5->isEnabled());
  // A long position: the caption turns red.
  EXPECT_EQ(ui().GroupBoxHold5->palette().color(QPalette::WindowText), tomvik::app::kRed);
  // What the group holds keeps its usual colours.
  for (QWidget* inside : {static_cast<QWidget*>(ui().EditPriceHold5), static_cast<QWidget*>(ui().CheckBoxHold5)}) {
    EXPECT_EQ(inside->palette().color(QPalette::Active, QPalette::Text),
              tab_->palette().color(QPalette::Active, QPalette::Text));
  }

  // A sale is previewed as a closing: the captions come alive, the rate shows the gain.
  click(ui().RadioButtonS5);
  type(ui().EditPrice5, QStringLiteral("600"));
  type(ui().EditNum5, QStringLiteral("400"));
  EXPECT_EQ(text("MemoPriceBSHold5"), QStringLiteral("200,420"));
  EXPECT_EQ(text("MemoPriceBSPM5"), QStringLiteral("38,530"));
  EXPECT_EQ(ui().MemoPriceBSPM5->palette().color(QPalette::Text), tomvik::app::kBlue);
  EXPECT_EQ(ui().LabelBSHold5->palette().color(QPalette::WindowText), tab_->palette().color(QPalette::WindowText));
  EXPECT_EQ(ui().PanelHoldPer5->text(), QStringLiteral("+19.76%"));
  EXPECT_EQ(ui().PanelHoldPer5->palette().color(QPalette::Window), QColor(255, 224, 224));
  EXPECT_EQ(ui().PanelHoldPer5->palette().color(QPalette::WindowText), tomvik::app::kBlue);
  click(ui().ButtonBS5);
  // Selling more than is held is cut to the position and closes it.
  type(ui().EditNum5, QStringLiteral("1000"));
  EXPECT_EQ(ui().EditNum5->text(), QStringLiteral("600"));
  click(ui().ButtonBS5);
  ASSERT_EQ(rows(), 3);
  EXPECT_EQ(cell(2, SimCol::Position), QStringLiteral("計"));
  EXPECT_EQ(cell(2, SimCol::Total), QStringLiteral("96,850"));
  EXPECT_EQ(ui().GroupBoxHold5->palette().color(QPalette::WindowText), tab_->palette().color(QPalette::WindowText));

  // A double-click takes a row's price back into the panel.
  open(ui().ListViewSim, 0);
  EXPECT_EQ(ui().EditPrice5->text(), QStringLiteral("500"));
  click(ui().ButtonDel5);
  EXPECT_EQ(rows(), 2);
  EXPECT_EQ(text("EditNumHold5"), QStringLiteral("600"));
  click(ui().ButtonClear5);
  EXPECT_EQ(rows(), 0);
  EXPECT_FALSE(ui().ButtonDel5->isEnabled());
  EXPECT_FALSE(ui().ButtonClear5->isEnabled());
  // A price of nothing records nothing.
  type(ui().EditPrice5, QString());
  type(ui().EditNum5, QStringLiteral("100"));
  click(ui().ButtonBS5);
  EXPECT_EQ(rows(), 0);
}

TEST_F(SimulationTabTest, AHoldingIsTakenOverAndTheSummaryReplacesItByTheSimulation) {
  setSimCharge(QStringLiteral("1050"));
  window_->showTab(kHoldings);
  open(w<QTreeView>("ListViewHold"), 0);
  const auto realRealised = figure("MemoBSPM2");
  const auto realUnrealised = figure("MemoInPM2");
  const auto realHoldings = figure("MemoHold2");
  const QString realBalance = text("MemoRemain2");
  chooseSim(false);

  EXPECT_EQ(current(), kSimulation);
  EXPECT_TRUE(w<QWidget>("PanelTopS")->isVisible());
  EXPECT_FALSE(w<QWidget>("PanelTop")->isVisible());
  EXPECT_FALSE(window_->findChild<QAction*>(QStringLiteral("MainMenuSim"))->isVisible());
  EXPECT_EQ(ui().MaskEditStockCode5->text(), QStringLiteral("1234"));
  EXPECT_EQ(ui().EditStockName5->text(), QStringLiteral("見本電機"));
  ASSERT_EQ(rows(), 1);
  EXPECT_EQ(cell(0, SimCol::Price), QStringLiteral("500"));
  EXPECT_EQ(cell(0, SimCol::Quantity), QStringLiteral("1,000"));
  EXPECT_EQ(cell(0, SimCol::Amount), QStringLiteral("501,050"));
  EXPECT_EQ(cell(0, SimCol::Total), QStringLiteral("501,050"));
  EXPECT_TRUE(ui().CheckBoxHold5->isChecked());
  EXPECT_TRUE(ui().CheckBoxHold5->isEnabled());
  EXPECT_FALSE(ui().ButtonDel5->isEnabled());
  // The panel values the position at the holding's market price.
  EXPECT_EQ(ui().EditPrice5->text(), QStringLiteral("520"));
  EXPECT_EQ(ui().EditNum5->text(), QStringLiteral("0"));
  EXPECT_EQ(text("MemoPriceHoldPM5"), QStringLiteral("18,950"));
  EXPECT_EQ(ui().PanelHoldPer5->text(), QStringLiteral("+3.79%"));

  // Starting over: the real figures, the unrealised result without the holding.
  EXPECT_EQ(text("MemoTotal2S"), text("MemoTotal2"));
  EXPECT_EQ(text("MemoRemain2S"), realBalance);
  EXPECT_EQ(figure("MemoBSPM2S"), realRealised);
  EXPECT_EQ(figure("MemoHold2S"), realHoldings);
  EXPECT_EQ(figure("MemoInPM2S"), realUnrealised - 18950);

  trade(ui().RadioButtonS5, QStringLiteral("600"), QStringLiteral("400"));
  ASSERT_EQ(rows(), 2);
  EXPECT_EQ(figure("MemoBSPM2S"), realRealised + 38530);
  EXPECT_EQ(w<QLineEdit>("MemoBSPM2S")->palette().color(QPalette::Text), tomvik::app::kRed);  // still a loss
  EXPECT_EQ(figure("MemoInPM2S"), realUnrealised - 18950 + 59370);
  EXPECT_EQ(figure("MemoHold2S"), realHoldings - 501050 + 300630);
  const auto balance = figure("MemoTotal2") + realRealised + 38530;
  EXPECT_EQ(figure("MemoEnable2S"), balance - (realHoldings - 501050 + 300630));
  ASSERT_TRUE(w<QCheckBox>("CheckBoxInPM2S")->isChecked());
  EXPECT_EQ(figure("MemoRemain2S"), balance + realUnrealised - 18950 + 59370);
  tomvik::testing::Settle(*window_);
  tomvik::testing::SaveShot(*window_, "sim_window_after_sale.png");

  // Taking the sale back: the taken-over holding alone, which cannot go.
  EXPECT_TRUE(ui().ButtonDel5->isEnabled());
  click(ui().ButtonDel5);
  ASSERT_EQ(rows(), 1);
  EXPECT_FALSE(ui().ButtonDel5->isEnabled());
  EXPECT_EQ(figure("MemoBSPM2S"), realRealised);
  EXPECT_EQ(figure("MemoInPM2S"), realUnrealised - 18950 - 1050);
  EXPECT_EQ(figure("MemoHold2S"), realHoldings);

  // "加算" of the simulated summary also sets the real one.
  const auto simBalance = figure("MemoRemain2S");
  click(w<QCheckBox>("CheckBoxInPM2S"));
  EXPECT_FALSE(w<QCheckBox>("CheckBoxInPM2")->isChecked());
  EXPECT_EQ(figure("MemoRemain2S"), simBalance - figure("MemoInPM2S"));
  EXPECT_EQ(figure("MemoRemain2"), figure("MemoTotal2") + realRealised);
  // And the real one hands its state back.
  window_->showTab(kHoldings);
  click(w<QCheckBox>("CheckBoxInPM2"));
  EXPECT_TRUE(w<QCheckBox>("CheckBoxInPM2S")->isChecked());
  EXPECT_EQ(figure("MemoRemain2S"), simBalance);
  window_->showTab(kSimulation);

  // Unticking the start row makes the holding an ordinary first row.
  click(ui().CheckBoxHold5);
  EXPECT_FALSE(ui().CheckBoxHold5->isEnabled());
  EXPECT_TRUE(ui().ButtonDel5->isEnabled());
  click(ui().ButtonDel5);
  EXPECT_EQ(rows(), 0);
}

TEST_F(SimulationTabTest, ShiftOnTheHoldingsTabAddsTheMarginPositionsOfTheStockAndSide) {
  setSimCharge(QStringLiteral("1050"));
  window_->showTab(kHoldings);
  open(w<QTreeView>("ListViewHold"), 0);
  chooseSim(true);
  ASSERT_EQ(rows(), 3);
  EXPECT_EQ(cell(1, SimCol::Price), QStringLiteral("600"));
  EXPECT_EQ(cell(1, SimCol::Amount), QStringLiteral("300,000"));
  EXPECT_EQ(cell(2, SimCol::Price), QStringLiteral("833"));
  EXPECT_EQ(cell(2, SimCol::Total), QStringLiteral("1,051,150"));
  EXPECT_EQ(cell(2, SimCol::Shares), QStringLiteral("1,800"));
  EXPECT_TRUE(ui().ButtonDel5->isEnabled());
  EXPECT_EQ(ui().EditPrice5->text(), QStringLiteral("520"));
  // Taking back stops at the holding.
  click(ui().ButtonDel5);
  click(ui().ButtonDel5);
  click(ui().ButtonDel5);
  EXPECT_EQ(rows(), 1);
}

TEST_F(SimulationTabTest, TheMarginTabHandsOverItsPositionOrWithShiftAllOfTheSide) {
  setSimCharge(QStringLiteral("1050"));
  window_->showTab(kMargin);
  open(w<QTreeView>("ListViewLoan"), 0);
  chooseSim(false);
  EXPECT_EQ(current(), kSimulation);
  ASSERT_EQ(rows(), 1);
  EXPECT_EQ(cell(0, SimCol::Price), QStringLiteral("597"));
  EXPECT_EQ(cell(0, SimCol::Total), QStringLiteral("300,000"));
  EXPECT_EQ(ui().EditPrice5->text(), QStringLiteral("620"));
  EXPECT_TRUE(ui().RadioButtonB5->isChecked());

  window_->showTab(kMargin);
  open(w<QTreeView>("ListViewLoan"), 2);  // the sold position
  chooseSim(true);
  ASSERT_EQ(rows(), 1);
  EXPECT_TRUE(ui().RadioButtonS5->isChecked());
  EXPECT_EQ(cell(0, SimCol::Price), QStringLiteral("900"));
  EXPECT_EQ(cell(0, SimCol::Position), QStringLiteral("売"));
  EXPECT_EQ(ui().GroupBoxHold5->palette().color(QPalette::WindowText), tomvik::app::kBlue);
  EXPECT_EQ(ui().EditPrice5->text(), QStringLiteral("880"));

  window_->showTab(kMargin);
  open(w<QTreeView>("ListViewLoan"), 0);
  chooseSim(true);
  EXPECT_EQ(rows(), 2);
}

TEST_F(SimulationTabTest, TheDiaryHandsOverItsTradeAndTheStockMasterItsStock) {
  window_->showTab(kSimulation);
  trade(ui().RadioButtonB5, QStringLiteral("100"), QStringLiteral("100"));
  ASSERT_EQ(rows(), 1);

  window_->showTab(kStocks);
  open(w<QTreeView>("ListViewStock"), 1);  // 4321
  chooseSim(false);
  EXPECT_EQ(current(), kSimulation);
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(ui().MaskEditStockCode5->text(), QStringLiteral("4321"));
  EXPECT_EQ(ui().EditStockName5->text(), QStringLiteral("見本化学"));
  EXPECT_EQ(ui().EditStockUnit5->text(), QStringLiteral("1000"));
  EXPECT_FALSE(ui().CheckBoxHold5->isEnabled());

  click(ui().RadioButtonS5);
  window_->showTab(kDiary);
  w<QPlainTextEdit>("RichEditDiary")->setFocus();
  QTest::keyClicks(w<QPlainTextEdit>("RichEditDiary"), QStringLiteral("note"));
  click(w<QPushButton>("ButtonDiaryAdd"));
  type(w<QLineEdit>("MaskEditStockCode"), QStringLiteral("1234"));
  type(w<QLineEdit>("EditPrice"), QStringLiteral("530"));
  type(w<QLineEdit>("EditNum"), QStringLiteral("200"));
  ASSERT_TRUE(w<QRadioButton>("RadioButtonB")->isChecked());
  chooseSim(true);
  EXPECT_EQ(current(), kSimulation);
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(ui().MaskEditStockCode5->text(), QStringLiteral("1234"));
  EXPECT_TRUE(ui().RadioButtonB5->isChecked());
  EXPECT_EQ(ui().EditPrice5->text(), QStringLiteral("530"));
  EXPECT_EQ(ui().EditNum5->text(), QStringLiteral("200"));
  EXPECT_FALSE(ui().CheckBoxHold5->isChecked());
  EXPECT_FALSE(ui().CheckBoxHold5->isEnabled());
  const auto charge = tomvik::core::ParseAmount(ToSjis(ui().ComboBoxCharge5->currentText()));
  EXPECT_EQ(figure("MemoPriceBS5"), 530 * 200 + charge);
}

TEST_F(SimulationTabTest, NothingIsTakenOverOnTheTotalsAndSimulationTabs) {
  window_->showTab(kSimulation);
  trade(ui().RadioButtonB5, QStringLiteral("100"), QStringLiteral("100"));
  QAction* sim = window_->findChild<QAction*>(QStringLiteral("MainMenuSim"));
  EXPECT_FALSE(sim->isVisible());
  sim->trigger();
  EXPECT_EQ(rows(), 1);
  window_->showTab(kTotals);
  EXPECT_FALSE(sim->isVisible());
  EXPECT_FALSE(w<QWidget>("PanelTopS")->isVisible());
  sim->trigger();
  EXPECT_EQ(current(), kTotals);
  EXPECT_EQ(rows(), 1);
}

TEST_F(SimulationTabTest, ARecentCodeChosenByMouseOrDigitStartsOverWithTheFocusInTheName) {
  window_->showTab(kSimulation);
  type(ui().MaskEditStockCode5, QStringLiteral("4321"));
  type(ui().MaskEditStockCode5, QStringLiteral("1234"));
  QComboBox* recent = ui().ComboBoxStockCode5;
  ASSERT_EQ(recent->count(), 2);
  EXPECT_EQ(recent->itemText(0), QStringLiteral("1234 見本電機"));
  trade(ui().RadioButtonB5, QStringLiteral("100"), QStringLiteral("100"));
  ASSERT_EQ(rows(), 1);
  // Passing through the code field changes nothing.
  ui().MaskEditStockCode5->setFocus();
  QTest::keyClick(ui().MaskEditStockCode5, Qt::Key_Tab);
  EXPECT_EQ(rows(), 1);

  user_->choose(recent, QStringLiteral("4321"));
  EXPECT_EQ(ui().MaskEditStockCode5->text(), QStringLiteral("4321"));
  EXPECT_EQ(ui().EditStockName5->text(), QStringLiteral("見本化学"));
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(QApplication::focusWidget(), ui().EditStockName5);

  trade(ui().RadioButtonB5, QStringLiteral("100"), QStringLiteral("1000"));
  ASSERT_EQ(rows(), 1);
  recent->setFocus();
  QTest::keyClick(recent, Qt::Key_1);
  QCoreApplication::processEvents();
  EXPECT_EQ(ui().MaskEditStockCode5->text(), QStringLiteral("1234"));
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(QApplication::focusWidget(), ui().EditStockName5);
}

}  // namespace
