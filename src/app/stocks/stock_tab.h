// The stock master tab: an entry panel over the list of known stocks.
//
// The list shows every entry of the stock master with its code (and the
// entry's check mark as the code's check box) followed by name, exchange,
// unit, buy and sell totals, result, rate and comment. The panel above it
// shows one entry; outside the initial-setup mode only the comment can be
// changed there, so the stock group is disabled and its fields read-only.
#pragma once

#include "app/shell/tab_base.h"

#include <vector>

#include "app/shell/ledger_model.h"
#include "core/books.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeView;

namespace tomvik::app {

class StockTab : public TabBase {
  Q_OBJECT

 public:
  explicit StockTab(core::Books& books, QWidget* parent = nullptr);

  // The list's columns: "コード" (the key, with the mark as its check box)
  // and then the entry's cells.
  static std::vector<ColumnSpec> Columns();

  struct Ui {
    QSplitter* Splitter = nullptr;
    QFrame* PanelStock = nullptr;
    QGroupBox* GroupBox3a = nullptr;
    QLineEdit* MaskEditStockCode3 = nullptr;
    QLineEdit* EditStockName3 = nullptr;
    QComboBox* ComboBoxStockExchange3 = nullptr;
    QLineEdit* EditStockUnit3 = nullptr;
    QLineEdit* EditPrice3B = nullptr;
    QLineEdit* EditPrice3S = nullptr;
    QLineEdit* MemoPM3 = nullptr;
    QPlainTextEdit* RichEditComment3 = nullptr;
    QPushButton* ButtonAdd3 = nullptr;
    QPushButton* ButtonUpd3 = nullptr;
    QPushButton* ButtonDel3 = nullptr;
    QCheckBox* CheckBoxFilter3 = nullptr;
    QTreeView* ListViewStock = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

  void syncList() override;
  // 読込: reads Code.txt again (asking first when the list has unsaved
  // changes and the user asked for it).
  void MainMenuLoad3Click(bool fromUser);
  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;

 private:
  void createWidgets();
  void createLayout();
  void createConnections();
};

}  // namespace tomvik::app
