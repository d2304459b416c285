// The account summary across the top of the window: what was put in, what
// was realised, what is held, what is still free, and the result of open
// positions. The buy and sell position totals lie over the holdings total
// and the amount available; the margin tab shows them instead.
#pragma once

#include <QFrame>

#include "core/books.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace tomvik::app {

class SummaryPanel : public QFrame {
  Q_OBJECT

 public:
  explicit SummaryPanel(QWidget* parent = nullptr);

  // Shows the stored figures as they are and the computed ones with their
  // separators, coloured by sign.
  void showSummary(const core::Books& books);
  // The margin tab's view: the position totals over the holdings total and
  // the amount available.
  void showPositionTotals(bool shown);
  // Initial-setup mode: the two stored figures can be typed.
  void setStoredFiguresEditable(bool editable);

  struct Ui {
    QLineEdit* MemoTotal2 = nullptr;
    QLineEdit* MemoBSPM2 = nullptr;
    QLineEdit* MemoInPM2 = nullptr;
    QLineEdit* MemoHold2 = nullptr;
    QLineEdit* MemoEnable2 = nullptr;
    QLineEdit* MemoRemain2 = nullptr;
    QLineEdit* MemoHoldLB = nullptr;
    QLineEdit* MemoHoldLS = nullptr;
    QLabel* LabelHold2 = nullptr;
    QLabel* LabelEnable2 = nullptr;
    QLabel* LabelHoldLB = nullptr;
    QLabel* LabelHoldLS = nullptr;
    QCheckBox* CheckBoxInPM2 = nullptr;
  };
  Ui ui;
};

}  // namespace tomvik::app
