// The stock master tab: an entry panel over the list of known stocks.
//
// The list shows every entry of the stock master with its code (and the
// entry's check mark as the code's check box) followed by name, exchange,
// unit, buy and sell totals, result, rate and comment. The panel above it
// shows one entry; outside the initial-setup mode only the comment can be
// changed there, so the stock group is disabled and its fields read-only.
#pragma once

#include "app/shell/tab_base.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <QRect>

#include "app/shell/ledger_model.h"
#include "core/books.h"
#include "core/stocks/stock_master.h"

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

  // Also forgets the loaded row when someone else changed it (trade
  // recording, another panel's lookup), and lets the filter box follow the
  // unsaved state.
  void syncList() override;
  // 読込: reads Code.txt again (asking first when the list has unsaved
  // changes and the user asked for it).
  void MainMenuLoad3Click(bool fromUser);
  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;
  void applyInitialSetupMode(bool on) override;
  std::optional<core::SimSource> simulationSource() const override;
  // A trade added to the totals of the stock: the panel forgets its entry.
  void showLedgerRow(const std::string& key) override;

  // A press at a point of the list's viewport: on a row's check box it
  // flips that entry's mark.
  void ListViewStockMouseDown(const QPoint& position);
  void ListViewStockDblClick();
  void EditPrice3Change();
  void cmnUpdate3();
  void ButtonAdd3Click();
  void ButtonUpd3Click();
  void ButtonDel3Click();
  void CheckBoxFilter3Click(bool checked);

  // The table index of the entry shown in the panel, if any.
  std::optional<std::size_t> loadedRow() const;
  // Where a list row's check box is drawn, in viewport coordinates.
  QRect checkBoxRect(int viewRow) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The row the panel was loaded from, as it was then.
  struct Loaded {
    std::size_t index;
    std::string key;
    std::vector<std::string> cells;
  };

  void createWidgets();
  void createLayout();
  void createConnections();
  core::StockFields panelFields() const;
  std::optional<std::size_t> selectedRow() const;
  void rememberLoaded(std::size_t index);
  void forgetLoaded();
  bool loadedRowStands() const;
  // After an add or update: the list follows, the row is selected, focused
  // and scrolled into view.
  void finishEdit(std::size_t index);
  void changed();
  void codeEdited();

  std::optional<Loaded> loaded_;
  bool filling_ = false;    // the panel is being filled: no change handling
  bool codeTyped_ = false;  // the user typed into the code since the last load
};

}  // namespace tomvik::app
