// The simulated trading tab: a scratch ledger for rehearsing the buys and
// sells of one stock.
//
// The panel above takes the stock, the side, a unit price, a quantity and a
// charge, and shows what the trade would cost, what part of the position a
// closing trade takes out with its realised result, and the position left
// afterwards (総額, 株数, 平均単価, 損益) with the change rate of the price
// against its average. The list below holds the rehearsed trades in the
// order they were made, each with the position after it. The tab owns the
// table its list shows: the simulation is never saved.
//
// The side of the position is the colour of the GroupBoxHold5 caption:
// window text for none, red for long, blue for short.
//
// The menu item 模擬 opens a simulation here from another tab's panel
// (takeOver), and the simulated summary above the tabs follows the rows
// while this tab is shown.
#pragma once

#include "app/shell/tab_base.h"

#include <optional>
#include <vector>

#include "app/shell/entry_fields.h"
#include "app/shell/ledger_model.h"
#include "core/books.h"
#include "core/simulation/sim_ledger.h"
#include "core/simulation/sim_take_over.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;

namespace tomvik::app {

class SimSummaryPanel;
class UpDownArrows;

// Cells of a simulation row. The list shows the row's key in a hidden first
// column and cell i in column i + 1.
namespace SimCol = core::SimCol;

class SimulationTab : public TabBase {
  Q_OBJECT

 public:
  explicit SimulationTab(core::Books& books, QWidget* parent = nullptr);

  // The hidden key column, the one-pixel column, then the cells from 取引 on.
  static std::vector<ColumnSpec> Columns();

  // The rows the list shows, with the start-row box and 取消/クリア state.
  const core::SimLedger& ledger() const { return ledger_; }

  // The simulated summary this tab keeps up to date (none in a tab on its own).
  void setSummaryPanel(SimSummaryPanel* panel) { summary_ = panel; }

  // 模擬: a new simulation of the source's stock, starting from the trade
  // or the positions it hands over. `shift`: Shift was held.
  void takeOver(const core::SimSource& source, bool shift);

  // The simulated summary starts over from the real one / follows the rows.
  void ResetSimSummary();
  void UpdateSimSummary();

  // The "保有" and "損益" captions of the closing figures are drawn in the
  // inactive-caption colour unless the previewed trade closes.
  void setClosingCaptionsActive(bool active);

  // The panel's handlers.
  void EditPrice5Change();
  void ButtonBS5Click();
  void ButtonDel5Click();
  void ButtonClear5Click();
  void CheckBoxHold5Click(bool checked);
  void ListViewSimDblClick(const QModelIndex& index);
  void ComboBoxCharge5Select();
  void EditStockUnit5Change();
  void MaskEditStockCode5Exit();
  void EditStock5Exit();

  struct Ui {
    QSplitter* Splitter = nullptr;
    QFrame* PanelSim = nullptr;

    QLineEdit* MaskEditStockCode5 = nullptr;
    QComboBox* ComboBoxStockCode5 = nullptr;  // recent codes
    QLineEdit* EditStockName5 = nullptr;
    QComboBox* ComboBoxStockExchange5 = nullptr;
    QLineEdit* EditStockUnit5 = nullptr;

    QRadioButton* RadioButtonB5 = nullptr;
    QRadioButton* RadioButtonS5 = nullptr;
    QButtonGroup* SideGroup5 = nullptr;  // ids 0 買い, 1 売り
    QLineEdit* EditPrice5 = nullptr;
    UpDownArrows* UpDownPrice5 = nullptr;
    QLineEdit* EditNum5 = nullptr;
    UpDownArrows* UpDownNum5 = nullptr;
    QComboBox* ComboBoxCharge5 = nullptr;
    QLineEdit* MemoPriceBS5 = nullptr;
    QLabel* LabelBSHold5 = nullptr;  // "保有" before MemoPriceBSHold5
    QLineEdit* MemoPriceBSHold5 = nullptr;
    QLabel* LabelBSPM5 = nullptr;  // "損益" before MemoPriceBSPM5
    QLineEdit* MemoPriceBSPM5 = nullptr;
    QLabel* PanelHoldPer5 = nullptr;

    QGroupBox* GroupBoxHold5 = nullptr;
    QCheckBox* CheckBoxHold5 = nullptr;
    QLineEdit* EditPriceHold5 = nullptr;
    QLineEdit* EditNumHold5 = nullptr;
    QLineEdit* MemoPriceHold5 = nullptr;
    QLineEdit* MemoPriceHoldPM5 = nullptr;

    QPushButton* ButtonBS5 = nullptr;
    QPushButton* ButtonDel5 = nullptr;
    QPushButton* ButtonClear5 = nullptr;

    QTreeView* ListViewSim = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createWidgets();
  void createLayout();
  void createConnections();

  core::SimTrade tradeOfPanel() const;
  StockFieldSet stockFields() const;
  // The list, the start-row box and 取消/クリア show the ledger's state.
  void showLedger();
  // The position's side as the colour of the group's caption.
  void showSide(core::SimSide side);
  // Looks the code up; a stock found starts the simulation over, empty.
  // False for the code that means no stock.
  bool lookUpStock();
  void startOver();
  void setQuantity(const QString& text);

  core::SimLedger ledger_;
  SimSummaryPanel* summary_ = nullptr;
  core::Amount unitStep_ = 1;
};

}  // namespace tomvik::app
