// The period totals tab: the period and the optional stock above the list of
// daily or monthly results, cash movements, balances and the running total,
// with a chart of the running total and a calendar of the daily results
// below it.
//
// The list, the chart and the calendar show what the last "集計" computed
// from the saved diary files; nothing of it is stored. Changing the dates,
// the mode or the stock leaves them as they are until the next "集計".
#pragma once

#include "app/shell/tab_base.h"

#include <QDate>

#include <vector>

#include "app/shell/ledger_model.h"
#include "core/books.h"
#include "core/records/ledger_table.h"
#include "core/totals/period_totals.h"
#include "core/totals/totals_view.h"

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

class RunningTotalChart;
class TotalsCalendar;

namespace TotalCol = core::TotalsCol;

class TotalsTab : public TabBase {
  Q_OBJECT

 public:
  explicit TotalsTab(core::Books& books, QWidget* parent = nullptr);

  static std::vector<ColumnSpec> Columns();

  // The rows the list shows.
  core::LedgerTable& table() { return table_; }
  const core::LedgerTable& table() const { return table_; }
  // What the last "集計" computed.
  const core::PeriodTotals& lastTotals() const { return totals_; }

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
    QCheckBox* CheckBoxTotalChart = nullptr;
    QCheckBox* CheckBoxTotalCalendar = nullptr;
    QTreeView* ListViewTotal = nullptr;
    LedgerModel* Model = nullptr;
    QSplitter* SplitterTotalViews = nullptr;  // the chart beside the calendar, under the list
    RunningTotalChart* ChartTotal = nullptr;
    TotalsCalendar* CalendarTotal = nullptr;
  };
  Ui ui;

  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;
  // Start-up: the end date becomes the diary's date, then the saved preset
  // and the saved daily/monthly choice apply as if clicked.
  void startAt(QDate endDate);

  // Handlers.
  void ButtonTotalClick();
  void RadioButtonTotalStartClick(int preset);
  void RadioButtonTotalMClick();
  void DateTimePickerTotalChange();
  void CheckBoxTotalCodeClick();
  void MaskEditStockCodeTotalExit();
  void ComboBoxStockCodeTotalSelect(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createWidgets();
  void createLayout();
  void createConnections();
  // Dates set by the program are no user change: the presets stay.
  void setPeriod(QDate from, QDate to);
  void deselectPresets();
  void showViews(const core::TotalsViews& views);
  void viewChoiceClicked();
  void reportStop(const core::TotalsStop& stop);

  core::LedgerTable table_;
  core::PeriodTotals totals_;
  core::TotalsViews views_;
  int savedPreset_ = 2;
  bool savedMonthly_ = false;
  bool settingDates_ = false;
};

}  // namespace tomvik::app
