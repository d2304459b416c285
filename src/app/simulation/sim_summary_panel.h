// The simulated account summary shown above the tabs while the simulation
// tab is current: the account as it would stand after the simulated trades,
// with the real holding of the simulated stock replaced by the simulated
// position.
//
// It looks like the real summary: two rows of three figures, 投資総額,
// 売買損益 and 保有総額 over 現在残高, 含み損益 (with "加算") and 投資可能,
// each figure followed by "円". Every figure is read-only and shows "0"
// until the simulation fills it.
#pragma once

#include <QFrame>

#include <string_view>

#include "core/books.h"
#include "core/records/ledger_table.h"
#include "core/simulation/sim_summary.h"

class QCheckBox;
class QLineEdit;

namespace tomvik::app {

class SimSummaryPanel : public QFrame {
  Q_OBJECT

 public:
  explicit SimSummaryPanel(QWidget* parent = nullptr);

  // Starts over from the real summary of the books for the simulated stock
  // `code`; "加算" takes the real one's state.
  void ResetSimSummary(const core::Books& books, std::string_view code);
  // The simulation's rows changed.
  void UpdateSimSummary(const core::LedgerTable& rows);
  // The real summary's "加算" was clicked: this one takes its state, and the
  // balance follows.
  void followIncludeUnrealised(bool ticked);

  struct Ui {
    QLineEdit* MemoTotal2S = nullptr;     // 投資総額
    QLineEdit* MemoBSPM2S = nullptr;      // 売買損益
    QLineEdit* MemoHold2S = nullptr;      // 保有総額
    QLineEdit* MemoRemain2S = nullptr;    // 現在残高
    QLineEdit* MemoInPM2S = nullptr;      // 含み損益
    QCheckBox* CheckBoxInPM2S = nullptr;  // 加算: the balance includes 含み損益
    QLineEdit* MemoEnable2S = nullptr;    // 投資可能
  };
  Ui ui;

 signals:
  // The user clicked "加算" here; the real summary takes the same state.
  void includeUnrealisedClicked(bool ticked);

 private:
  void createWidgets();
  void createLayout();
  void createConnections();
  void showFigures(const core::SimSummaryFigures& figures);
  void CheckBoxInPM2SClick(bool ticked);
  void addUnrealisedToBalance(bool ticked);

  core::SimSummaryBase base_;
};

}  // namespace tomvik::app
