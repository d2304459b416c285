// The margin positions tab: the entry panel PanelLoan above the list of open
// positions, one row per stock, side, open date and sequence number.
//
// Outside the initial-setup mode the panel shows the opened position: its
// stock group (GroupBoxLa) and amount group (GroupBoxLb) are locked, and only
// the market price, the comment and the check boxes react to the user. The
// settlement sub-panel GroupBoxPriceLx lies at the place of the amount group
// and covers it while "信用建玉決済" is ticked; it is hidden at first, and its
// caption and the captions of its two choices follow the side of the
// position. 追加 and 削除 are shown only in the initial-setup mode.
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

class MarginTab : public TabBase {
  Q_OBJECT

 public:
  explicit MarginTab(core::Books& books, QWidget* parent = nullptr);

  // The list's columns: the position row's cells (the key is not shown; the
  // reserved first cell is kept out of sight).
  static std::vector<ColumnSpec> Columns();

  struct Ui {
    QSplitter* Splitter = nullptr;
    QFrame* PanelLoan = nullptr;

    QGroupBox* GroupBoxLa = nullptr;
    QLineEdit* MaskEditStockCodeL = nullptr;
    QLineEdit* EditStockNameL = nullptr;
    QComboBox* ComboBoxStockExchangeL = nullptr;
    QLineEdit* EditStockUnitL = nullptr;

    QGroupBox* GroupBoxLb = nullptr;
    QRadioButton* RadioButtonBL = nullptr;
    QRadioButton* RadioButtonSL = nullptr;
    QLineEdit* EditPriceL = nullptr;
    QLineEdit* EditNumL = nullptr;
    UpDownArrows* UpDownNumL = nullptr;
    QLineEdit* MemoPriceL = nullptr;

    QLineEdit* EditMarketPriceL = nullptr;
    UpDownArrows* UpDownMarketPriceL = nullptr;
    QLineEdit* MemoPML = nullptr;
    QLabel* PanelHoldPerL = nullptr;

    QGroupBox* GroupBoxPriceLx = nullptr;
    QLineEdit* EditPriceLx = nullptr;
    UpDownArrows* UpDownPriceLx = nullptr;
    QLineEdit* EditNumLx = nullptr;
    UpDownArrows* UpDownNumLx = nullptr;
    QComboBox* ComboBoxChargeLx = nullptr;
    QLineEdit* EditTaxLx = nullptr;
    QLineEdit* MemoPriceLx = nullptr;
    QRadioButton* RadioButtonBLx = nullptr;
    QRadioButton* RadioButtonSLx = nullptr;
    QPushButton* ButtonSettlement = nullptr;

    QPlainTextEdit* RichEditCommentL = nullptr;
    QCheckBox* CheckBoxClearDL = nullptr;
    QCheckBox* CheckBoxSettlement = nullptr;
    QDateEdit* DateTimePickerL = nullptr;
    QPushButton* ButtonHoldDiaryL = nullptr;
    QCheckBox* CheckBoxAllDL = nullptr;
    QPushButton* ButtonAddL = nullptr;
    QPushButton* ButtonUpdL = nullptr;
    QPushButton* ButtonDelL = nullptr;

    QTreeView* ListViewLoan = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

  void syncList() override;
  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;
  void applyInitialSetupMode(bool on) override;

  // The position loaded into the panel (Update, Delete, settlement and the
  // diary button act on it), -1 when none.
  int selectedRow() const { return selectedRow_; }
  // The opened position's shares and the panel's share step, which the
  // settlement starts from.
  core::Amount baseShares() const { return baseShares_; }
  core::Amount lotStep() const { return lotStep_; }
  // A diary trade changed the ledgers: the loaded position is forgotten and
  // the settlement waits for the next opening.
  void ResetOtherPanels() override;
  std::optional<core::SimSource> simulationSource() const override;
  void showLedgerRow(const std::string& key) override;

  // The panel's handlers.
  void ListViewLoanDblClick();
  void MaskEditStockCodeLExit();
  void EditStockLExit();
  void EditStockUnitLChange();
  void EditPriceLChange();
  void EditNumLChange();
  void cmnUpdateL();
  void ButtonAddLClick();
  void ButtonUpdLClick();
  void ButtonDelLClick();
  void CheckBoxClearDLClick();
  void CheckBoxAllDLClick();

 private:
  // The panel's controls as the shared panel code sees them.
  LedgerPanelParts parts_;
  void createWidgets();
  void createStockGroup();
  void createAmountGroup();
  void createMarketFields();
  void createSettlementPanel();
  void createCommentAndButtons();
  void createLayout();
  void createConnections();
  void attachSetupHandlers();
  // The panel as a position row, with or without its comment.
  core::PositionEntry entryFromPanel(bool forUpdate) const;
  // The lists and the summary follow the ledgers; a row made current by
  // the program does not open it.
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
  FieldEvents* codeEvents_ = nullptr;
  FieldEvents* nameEvents_ = nullptr;
  FieldEvents* unitEvents_ = nullptr;
  FieldEvents* priceEvents_ = nullptr;
  FieldEvents* numEvents_ = nullptr;
  HandlerSet setupHandlers_;  // attached while the initial-setup mode is on
};

}  // namespace tomvik::app
