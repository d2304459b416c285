// The panel the cash holdings tab and the margin positions tab share: a
// stock group (code, name, exchange, unit), an amount group (side, total,
// shares and their average or unit price), the market price with the result
// and rate it gives, the comment, the list of rows, the 日記 button with its
// date and 一括 box, and Update, Add and Delete.
//
// Outside the initial-setup mode the stock and amount groups show the
// opened row and are locked; only the market price, the comment and the
// check boxes react to the user. The initial-setup mode opens them up, with
// their change, leave and key handlers attached as one set.
//
// A sub-panel lies over the amount group while its box is ticked: the sale
// of the holdings tab, the settlement of the margin tab. This class keeps
// its fields, spin buttons, charge list and the showing and hiding; what it
// computes and what its button does belongs to each tab.
//
// Controls carry the names of their tab: the suffix ("2", "L") is appended
// to the common part of the name (EditPrice2, EditPriceL), "x" after it for
// the sub-panel (EditNum2x, EditNumLx).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/ledger/panel_support.h"
#include "app/shell/ledger_model.h"
#include "app/shell/tab_base.h"
#include "core/diary/recording.h"
#include "core/diary/registration.h"
#include "core/holdings/ledger_edits.h"
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

// What tells the two tabs apart besides their own behaviour.
struct LedgerTabTraits {
  core::Ledger ledger = core::Ledger::Holdings;
  QString suffix;      // "2", "L"
  QString sheet;       // the tab's own name
  QString panel;       // "PanelHold", "PanelLoan"
  QString splitter;    // "Splitter2", "SplitterL"
  QString list;        // "ListViewHold", "ListViewLoan"
  QString rate;        // "PanelHoldPer", "PanelHoldPerL"
  QString buyCaption;  // the amount group's sides: "買い"/"売り", "買建"/"売建"
  QString sellCaption;
  QString priceCaption;  // "平均単価", "単価"
  QString subCheck;      // the box that opens the sub-panel, and its caption
  QString subCheckCaption;
  QString subButton;  // the sub-panel's button, and its caption
  QString subButtonCaption;
  QString subCaption;       // the sub-panel's caption at first
  QString subFirstCaption;  // its two choices at first
  QString subSecondCaption;
  std::vector<ColumnSpec> columns;
  // Where the ledger's rows keep what the panel shows.
  struct {
    std::size_t stock, exchange, unit, total, shares, market, profit, comment;
  } cells;
  // A looked-up code that has a row takes Add away (one holding per stock
  // and side); positions can be added for any stock.
  bool oneRowPerCode = false;
  // The sub-panel's box keeps Update off while ticked.
  bool subPanelBlocksUpdate = false;
};

class LedgerTab : public TabBase {
  Q_OBJECT

 public:
  LedgerTab(core::Books& books, core::LedgerTable& table, LedgerTabTraits traits, QWidget* parent);

  struct Ui {
    QSplitter* Splitter = nullptr;
    QFrame* Panel = nullptr;

    QGroupBox* StockGroup = nullptr;
    QLineEdit* Code = nullptr;
    QLineEdit* Name = nullptr;
    QComboBox* Exchange = nullptr;
    QLineEdit* Unit = nullptr;

    QGroupBox* AmountGroup = nullptr;
    QRadioButton* Buy = nullptr;
    QRadioButton* Sell = nullptr;
    QLineEdit* Total = nullptr;
    QLineEdit* Shares = nullptr;
    UpDownArrows* SharesArrows = nullptr;
    QLineEdit* Price = nullptr;  // average or unit price, worked out

    QLineEdit* Market = nullptr;
    UpDownArrows* MarketArrows = nullptr;
    QLineEdit* Result = nullptr;
    QLabel* Rate = nullptr;

    QGroupBox* SubGroup = nullptr;
    QLineEdit* SubPrice = nullptr;
    UpDownArrows* SubPriceArrows = nullptr;
    QLineEdit* SubQuantity = nullptr;
    UpDownArrows* SubQuantityArrows = nullptr;
    QComboBox* SubCharge = nullptr;
    QLineEdit* SubTax = nullptr;
    QLineEdit* SubAmount = nullptr;
    QRadioButton* SubFirst = nullptr;
    QRadioButton* SubSecond = nullptr;
    QPushButton* SubButton = nullptr;

    QPlainTextEdit* Comment = nullptr;
    QCheckBox* CommentTaken = nullptr;  // CheckBoxClearD…: the comment is taken and stored
    QCheckBox* SubCheck = nullptr;
    QDateEdit* Date = nullptr;
    QPushButton* DiaryButton = nullptr;
    QCheckBox* All = nullptr;  // 一括
    QPushButton* Add = nullptr;
    QPushButton* Update = nullptr;
    QPushButton* Delete = nullptr;

    QTreeView* List = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

  // The row loaded into the panel (Update, Delete, the sub-panel and the
  // diary button act on it), -1 when none.
  int selectedRow() const { return selectedRow_; }

  void syncList() override;
  void applyInitialSetupMode(bool on) override;
  // A trade changed the ledgers: the loaded row is forgotten and the
  // sub-panel waits for the next opening.
  void ResetOtherPanels() override;
  void showLedgerRow(const std::string& key) override;
  // 模擬 takes the stock, the side, the market price and the shares and
  // total of the row the panel shows.
  std::optional<core::SimSource> simulationSource() const override;

  // The panel's handlers (ListViewHoldDblClick and ListViewLoanDblClick, and
  // so on: one of each for both tabs).
  void ListViewDblClick();
  void MaskEditStockCodeExit();
  void EditStockExit();
  void EditStockUnitChange();
  void EditPriceChange();  // market price, total, either side
  void cmnUpdate();
  void ButtonAddClick();
  void ButtonUpdClick();
  void ButtonDelClick();
  void CheckBoxClearDClick();
  void CheckBoxAllDClick();
  void SubCheckClick();
  void ButtonHoldDiaryClick();

 protected:
  // Called at the end of the tab's constructor, once its own controls
  // exist: lays the panel out (with `sideBoxes` in front of the sub-panel's
  // box) and connects everything.
  void finishSetUp(const std::vector<QWidget*>& sideBoxes);

  // What each tab does its own way.
  // Update: the row's new index, or nothing when no row is to be selected after.
  virtual std::optional<std::size_t> updateRow(std::size_t index, const core::LedgerEntry& entry);
  // A row is opened: before the panel is filled, and after.
  virtual void rowOpening() = 0;
  virtual void rowOpened(const core::LedgerRow& row) = 0;
  // The sub-panel's box was ticked (the price field shows the market price).
  virtual void subPanelOpened() {}
  // A figure of the sub-panel changed: the amount follows.
  virtual void subPanelChanged() = 0;
  virtual void subButtonClicked() = 0;
  // The rows 日記 writes, and whether the last is loaded into the diary.
  virtual std::vector<core::Registration> registrations() const = 0;
  virtual bool loadRegistrationRow() const = 0;
  virtual bool allChosen() const = 0;  // 一括 asks for every row
  // Whether a step down of the shares stops at the opened row's shares.
  virtual bool sharesFloorAtOpened() const { return false; }

  // The panel as a row of the ledger; the comment only when it is taken
  // (for an added row an empty one otherwise).
  core::LedgerEntry entryFromPanel(bool forUpdate) const;
  // The sale or settlement the panel and its sub-panel give, for the date.
  core::ClosingTrade closingTrade(const std::string& date) const;
  // A registration of the row the panel shows.
  core::Registration panelRegistration() const;
  // After a sale or settlement: every panel forgets its row, the lists
  // show the ledgers, the rows the trade touched are selected and the
  // diary comes to the front with the new row loaded.
  void showRecorded(const core::Recorded& recorded);
  // The lists, the Save items and the summary follow the ledgers; a row
  // made current by the program does not open it.
  void syncAndSelect(std::optional<std::size_t> row);
  bool validSelectedRow() const;
  bool setupMode() const { return setupMode_; }
  // The settings every panel of this kind has.
  void applyPanelSettings(int split, bool commentTaken, const std::vector<std::string>& exchanges,
                          const std::vector<std::string>& charges);

  core::LedgerTable& table_;
  LedgerTabTraits traits_;
  int selectedRow_ = -1;
  core::Amount baseTotal_ = 0;
  core::Amount baseShares_ = 0;
  core::Amount lotStep_ = 1;
  core::Amount subQuantityLimit_ = 0;  // how far the sub-panel's quantity steps up
  bool loading_ = false;
  bool setupMode_ = false;
  FieldEvents* numEvents_ = nullptr;

 private:
  void createWidgets();
  void createStockGroup();
  void createAmountGroup();
  void createMarketFields();
  void createSubPanel();
  void createCommentAndButtons();
  void layOut(const std::vector<QWidget*>& sideBoxes);
  void connectFields();
  void connectSubPanel();
  void attachSetupHandlers();
  void stepShares(int direction);
  void stepSubQuantity(int direction);
  void showFigures();
  void applyUnit();

  bool exchangeChanged_ = false;
  bool stockKnown_ = true;  // the stock master has the code shown
  bool selecting_ = false;  // the program moves the list's current row
  FieldEvents* codeEvents_ = nullptr;
  FieldEvents* nameEvents_ = nullptr;
  FieldEvents* unitEvents_ = nullptr;
  FieldEvents* totalEvents_ = nullptr;
  HandlerSet setupHandlers_;  // attached while the initial-setup mode is on
};

}  // namespace tomvik::app
