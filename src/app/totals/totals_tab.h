// The period totals tab: the period and the optional stock above the list of
// daily or monthly results, cash movements, balances and the running total.
//
// The tab owns the table its list shows; the list is rebuilt from the saved
// diary files on every "集計" and is never stored.
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
class QDateEdit;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;

namespace tomvik::app {

// Cells of a period totals row.
namespace TotalCol {
inline constexpr std::size_t Date = 0;       // 日付: the day with its weekday, or the month's span
inline constexpr std::size_t Result = 1;     // 売買損益
inline constexpr std::size_t Cash = 2;       // 入出金 (with a stock: its charges and taxes)
inline constexpr std::size_t Balance = 3;    // 収支 = result + cash
inline constexpr std::size_t Separator = 4;  // always empty
inline constexpr std::size_t Running = 5;    // 累計
inline constexpr std::size_t Count = 6;
}  // namespace TotalCol

class TotalsTab : public TabBase {
  Q_OBJECT

 public:
  explicit TotalsTab(core::Books& books, QWidget* parent = nullptr);

  static std::vector<ColumnSpec> Columns();

  // The rows the list shows.
  core::LedgerTable& table() { return table_; }
  const core::LedgerTable& table() const { return table_; }

  struct Ui {
    QSplitter* Splitter = nullptr;
    QFrame* PanelTotal = nullptr;
    QPushButton* ButtonTotal = nullptr;
    QRadioButton* RadioButtonTotalD = nullptr;
    QRadioButton* RadioButtonTotalM = nullptr;
    QButtonGroup* TotalModeGroup = nullptr;  // 日次 / 月次
    QDateEdit* DateTimePickerTotalF = nullptr;
    QDateEdit* DateTimePickerTotalT = nullptr;
    QRadioButton* RadioButtonTotalStartY = nullptr;
    QRadioButton* RadioButtonTotalStartM = nullptr;
    QRadioButton* RadioButtonTotalStartW = nullptr;
    QButtonGroup* TotalStartGroup = nullptr;  // ids 1 年, 2 月, 3 週; none checked is allowed
    QCheckBox* CheckBoxTotalCode = nullptr;
    QLineEdit* MaskEditStockCodeTotal = nullptr;
    QComboBox* ComboBoxStockCodeTotal = nullptr;
    QLineEdit* EditStockNameTotal = nullptr;
    QTreeView* ListViewTotal = nullptr;
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
