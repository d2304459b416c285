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
#pragma once

#include "app/shell/tab_base.h"

#include <cstddef>
#include <vector>

#include "app/shell/ledger_model.h"
#include "core/books.h"
#include "core/records/ledger_table.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;

namespace tomvik::app {

class UpDownArrows;

// Cells of a simulation row. The list shows the row's key in a hidden first
// column and cell i in column i + 1.
namespace SimCol {
inline constexpr std::size_t Spacer = 0;         // one pixel wide, always empty
inline constexpr std::size_t Side = 1;           // 取引: "買" or "売"
inline constexpr std::size_t Price = 2;          // 単価, as entered
inline constexpr std::size_t Quantity = 3;       // 数量, as entered
inline constexpr std::size_t Charge = 4;         // 手数料, as entered
inline constexpr std::size_t Amount = 5;         // 売買金額
inline constexpr std::size_t HeldCost = 6;       // 保有金額: cost a closing takes out
inline constexpr std::size_t Realised = 7;       // 売買損益 of a closing
inline constexpr std::size_t Separator = 8;      // always empty
inline constexpr std::size_t Position = 9;       // 保有: "買", "売" or "計"
inline constexpr std::size_t Total = 10;         // 総額 (on "計": the realised sum)
inline constexpr std::size_t Shares = 11;        // 株数
inline constexpr std::size_t Average = 12;       // 平均単価
inline constexpr std::size_t Rate = 13;          // 騰落率
inline constexpr std::size_t Unrealised = 14;    // 含み損益
inline constexpr std::size_t EndSeparator = 15;  // always empty
inline constexpr std::size_t Count = 16;
}  // namespace SimCol

class SimulationTab : public TabBase {
  Q_OBJECT

 public:
  explicit SimulationTab(core::Books& books, QWidget* parent = nullptr);

  // The hidden key column, the one-pixel column, then the cells from 取引 on.
  static std::vector<ColumnSpec> Columns();

  // The rows the list shows.
  core::LedgerTable& table() { return table_; }
  const core::LedgerTable& table() const { return table_; }

  // The "保有" and "損益" captions of the closing figures are drawn in the
  // inactive-caption colour unless the previewed trade closes.
  void setClosingCaptionsActive(bool active);

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

 private:
  void createWidgets();
  void createLayout();
  void createConnections();

  core::LedgerTable table_;
};

}  // namespace tomvik::app
