// The trade diary tab: the entry panel PanelDiary above the month's list.
//
// The panel writes one of three things for the picked date: the day's note
// (日記 mode), a trade or a registration (取引 mode), or a cash movement
// (取引 mode with 入出金 ticked). This class lays the panel out with every
// control in its initial state; the handlers come on top of it.
//
// Controls that lie over others: GroupBoxKind2 (the registration amount)
// shares its place with GroupBoxKind1 and covers it when shown. The 入/出 row
// of GroupBoxPrice (RadioButtonIn, RadioButtonOut, EditInOut) is hidden until
// the cash movement box is ticked; showing the three makes the group grow
// by one row, which the panel's height allows for.
#pragma once

#include <QWidget>

#include <vector>

#include "app/shell/ledger_model.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;

namespace tomvik::core {
struct Books;
}

namespace tomvik::app {

class UpDownArrows;

class DiaryTab : public QWidget {
  Q_OBJECT

 public:
  explicit DiaryTab(core::Books& books, QWidget* parent = nullptr);

  // The list's columns: the diary row's cells from 日付 on (the key is not shown).
  static std::vector<ColumnSpec> Columns();

  struct Ui {
    QWidget* PanelDiary = nullptr;
    QDateEdit* DateTimePicker = nullptr;
    QRadioButton* RadioButtonMode0 = nullptr;
    QRadioButton* RadioButtonMode1 = nullptr;

    QGroupBox* GroupBoxKind1 = nullptr;
    QRadioButton* RadioButtonB = nullptr;
    QRadioButton* RadioButtonS = nullptr;
    QComboBox* ComboBoxPlan = nullptr;
    QGroupBox* GroupBoxKind2 = nullptr;
    QLineEdit* MemoHoldPrice = nullptr;
    QLabel* LabelHoldKind = nullptr;
    QCheckBox* CheckBoxKeep = nullptr;
    QCheckBox* CheckBoxInOut = nullptr;

    QLineEdit* MaskEditStockCode = nullptr;
    QComboBox* ComboBoxStockCode = nullptr;
    QLineEdit* EditStockName = nullptr;
    QComboBox* ComboBoxStockExchange = nullptr;
    QLineEdit* EditStockUnit = nullptr;

    QGroupBox* GroupBoxPrice = nullptr;
    QLineEdit* EditPrice = nullptr;
    UpDownArrows* UpDownPrice = nullptr;
    QLineEdit* EditNum = nullptr;
    UpDownArrows* UpDownNum = nullptr;
    QComboBox* ComboBoxCharge = nullptr;
    QCheckBox* CheckBoxChargeFix = nullptr;
    QLineEdit* EditTax = nullptr;
    QLineEdit* MemoPrice = nullptr;
    QRadioButton* RadioButtonIn = nullptr;
    QRadioButton* RadioButtonOut = nullptr;
    QLineEdit* EditInOut = nullptr;

    QPlainTextEdit* RichEditDiary = nullptr;
    QPushButton* ButtonDiaryAdd = nullptr;
    QPushButton* ButtonDiaryUpd = nullptr;
    QPushButton* ButtonDiaryDel = nullptr;

    QTreeView* ListViewDiary = nullptr;
    QSplitter* Splitter = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

 private:
  void createWidgets();
  void createLayout();
  void createConnections();

  core::Books& books_;
};

}  // namespace tomvik::app
