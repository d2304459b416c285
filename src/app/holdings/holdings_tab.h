// The cash holdings tab: the entry panel PanelHold above the list of
// holdings, one row per stock and side.
//
// Outside the initial-setup mode the panel shows the opened holding: its
// stock group (GroupBox2a) and amount group (GroupBox2b) are locked, and only
// the market price, the comment and the check boxes react to the user. The
// sell sub-panel GroupBoxPrice2x lies at the place of the amount group and
// covers it while "保有銘柄売却" is ticked; it is hidden at first.
// "買い増しチェック" (CheckBoxSimulation) takes the place of "保有銘柄売却" in
// the old-version compatibility mode and is hidden otherwise; 追加 and 削除 are
// shown only in the initial-setup mode.
#pragma once

#include "app/shell/tab_base.h"

#include <optional>
#include <vector>

#include "app/holdings/panel_support.h"
#include "app/shell/ledger_model.h"
#include "core/books.h"
#include "core/records/amount.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;

namespace tomvik::app {

class UpDownArrows;

class HoldingsTab : public TabBase {
  Q_OBJECT

 public:
  explicit HoldingsTab(core::Books& books, QWidget* parent = nullptr);

  // The list's columns: the holding row's cells (the key is not shown; the
  // reserved first cell is kept out of sight).
  static std::vector<ColumnSpec> Columns();

  struct Ui {
    QSplitter* Splitter = nullptr;
    QFrame* PanelHold = nullptr;

    QGroupBox* GroupBox2a = nullptr;
    QLineEdit* MaskEditStockCode2 = nullptr;
    QLineEdit* EditStockName2 = nullptr;
    QComboBox* ComboBoxStockExchange2 = nullptr;
    QLineEdit* EditStockUnit2 = nullptr;

    QGroupBox* GroupBox2b = nullptr;
    QRadioButton* RadioButtonB2 = nullptr;
    QRadioButton* RadioButtonS2 = nullptr;
    QLineEdit* EditPrice2 = nullptr;
    QLineEdit* EditNum2 = nullptr;
    UpDownArrows* UpDownNum2 = nullptr;
    QLineEdit* MemoPrice2 = nullptr;

    QLineEdit* EditMarketPrice2 = nullptr;
    UpDownArrows* UpDownMarketPrice2 = nullptr;
    QLineEdit* MemoPM2 = nullptr;
    QLabel* PanelHoldPer = nullptr;

    QGroupBox* GroupBoxPrice2x = nullptr;
    QLineEdit* EditPrice2x = nullptr;
    UpDownArrows* UpDownPrice2x = nullptr;
    QLineEdit* EditNum2x = nullptr;
    UpDownArrows* UpDownNum2x = nullptr;
    QComboBox* ComboBoxCharge2x = nullptr;
    QLineEdit* EditTax2x = nullptr;
    QLineEdit* MemoPrice2x = nullptr;
    QRadioButton* RadioButtonB2x = nullptr;
    QRadioButton* RadioButtonS2x = nullptr;
    QPushButton* ButtonHoldSel = nullptr;

    QPlainTextEdit* RichEditComment2 = nullptr;
    QCheckBox* CheckBoxClearD2 = nullptr;
    QCheckBox* CheckBoxHoldSell = nullptr;
    QCheckBox* CheckBoxSimulation = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QPushButton* ButtonHoldDiary2 = nullptr;
    QCheckBox* CheckBoxAllD2 = nullptr;
    QPushButton* ButtonAdd2 = nullptr;
    QPushButton* ButtonUpd2 = nullptr;
    QPushButton* ButtonDel2 = nullptr;

    QTreeView* ListViewHold = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

  void syncList() override;
  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;
  void applyInitialSetupMode(bool on) override;
  void applyOldMode(bool on) override;

  // The holding loaded into the panel (Update, Delete and the diary button
  // act on it), -1 when none.
  int selectedRow() const { return selectedRow_; }
  // A diary trade changed the ledgers: the loaded holding is forgotten and
  // the sale waits for the next opening.
  void ResetOtherPanels() override;
  std::optional<core::SimSource> simulationSource() const override;
  void showLedgerRow(const std::string& key) override;
  // A holding re-created by taking a trade back: the total is emptied and
  // the shares start from 0.
  void clearAmountFields();

  // The panel's handlers.
  void ListViewHoldDblClick();
  void MaskEditStockCode2Exit();
  void EditStock2Exit();
  void EditStockUnit2Change();
  void EditPrice2Change();
  void EditNum2Change();
  void cmnUpdate2();
  void ButtonAdd2Click();
  void ButtonUpd2Click();
  void ButtonDel2Click();
  void CheckBoxClearD2Click();
  void CheckBoxAllD2Click();
  void CheckBoxSimulationClick();

 private:
  // The panel's controls as the shared panel code sees them.
  LedgerPanelParts parts_;
  void createWidgets();
  void createStockGroup();
  void createAmountGroup();
  void createMarketFields();
  void createSellPanel();
  void createCommentAndButtons();
  void createLayout();
  void createConnections();
  void attachSetupHandlers();
  void attachBuyCheckHandlers();
  void stepShares(int direction);
  void lockAmountGroup();
  void showPlaceCheckBoxes();
  // The panel as a holding row, with or without its comment.
  core::HoldingEntry entryFromPanel(bool forUpdate) const;
  // The list shows the ledger again; a row made current by the program
  // does not open it.
  void syncAndSelect(std::optional<std::size_t> row);
  bool validSelectedRow() const;

  int selectedRow_ = -1;
  core::Amount baseTotal_ = 0;
  core::Amount baseShares_ = 0;
  core::Amount lotStep_ = 1;
  bool exchangeChanged_ = false;
  bool stockKnown_ = true;  // the stock master has the code shown
  bool loading_ = false;
  bool selecting_ = false;  // the program moves the list's current row
  bool setupMode_ = false;
  bool oldMode_ = false;
  FieldEvents* codeEvents_ = nullptr;
  FieldEvents* nameEvents_ = nullptr;
  FieldEvents* unitEvents_ = nullptr;
  FieldEvents* priceEvents_ = nullptr;
  FieldEvents* numEvents_ = nullptr;
  HandlerSet setupHandlers_;     // attached while the initial-setup mode is on
  HandlerSet buyCheckHandlers_;  // attached while the additional-buy check is on
};

}  // namespace tomvik::app
