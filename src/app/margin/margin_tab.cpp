#include "app/margin/margin_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSizePolicy>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

#include "app/shell/entry_fields.h"
#include "app/shell/keyboard.h"
#include "app/shell/prompter.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/holdings/ledger_edits.h"
#include "core/records/date.h"
#include "core/records/loan_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

// Height of the entry panel until the window restores the saved one.
constexpr int kPanelHeight = 168;

}  // namespace

MarginTab::MarginTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetLoan"));
  createWidgets();
  createLayout();
  createConnections();
}

std::vector<ColumnSpec> MarginTab::Columns() {
  namespace Col = core::LoanCol;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QString(), Cell(Col::Reserved), left, 1, true, true},
      {QStringLiteral("建玉"), Cell(Col::Kind), left, 44, true},
      {QStringLiteral("新規建日"), Cell(Col::OpenDate), left, 72},
      {QStringLiteral("銘柄"), Cell(Col::Stock), left, 100},
      {QStringLiteral("取引所"), Cell(Col::Exchange), left, 56},
      {QStringLiteral("単位"), Cell(Col::Unit), right, 50},
      {QStringLiteral("総額"), Cell(Col::Total), right, 70},
      {QStringLiteral("株数"), Cell(Col::Shares), right, 50},
      {QStringLiteral("単価"), Cell(Col::Price), right, 70},
      {QStringLiteral("時価"), Cell(Col::Market), right, 70},
      {QStringLiteral("騰落率"), Cell(Col::Rate), right, 55},
      {QStringLiteral("損益"), Cell(Col::Profit), right, 70},
      {QStringLiteral("コメント"), Cell(Col::Comment), left, 100},
  };
}

void MarginTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("SplitterL"));
  ui.PanelLoan = new QFrame(ui.Splitter);
  ui.PanelLoan->setObjectName(QStringLiteral("PanelLoan"));

  createStockGroup();
  createAmountGroup();
  createMarketFields();
  // Created after the amount group so that it lies on top of it.
  createSettlementPanel();
  createCommentAndButtons();

  ui.ListViewLoan = MakeListView(QStringLiteral("ListViewLoan"), ui.Splitter);
  ui.Model = new LedgerModel(&books_.positions, Columns(), this);
  ui.ListViewLoan->setModel(ui.Model);
  ApplyColumns(ui.ListViewLoan, ui.Model->columns());
}

void MarginTab::createStockGroup() {
  const auto stock = MakeStockGroup(ui.PanelLoan, QStringLiteral("GroupBoxLa"), QStringLiteral("L"));
  ui.GroupBoxLa = stock.group;
  ui.MaskEditStockCodeL = stock.code;
  ui.EditStockNameL = stock.name;
  ui.ComboBoxStockExchangeL = stock.exchange;
  ui.EditStockUnitL = stock.unit;
}

void MarginTab::createAmountGroup() {
  ui.GroupBoxLb = new QGroupBox(ui.PanelLoan);
  ui.GroupBoxLb->setObjectName(QStringLiteral("GroupBoxLb"));
  ui.GroupBoxLb->setEnabled(false);
  ui.RadioButtonBL = MakeRadio(QStringLiteral("買建"), "RadioButtonBL", ui.GroupBoxLb);
  ui.RadioButtonBL->setChecked(true);
  ui.RadioButtonSL = MakeRadio(QStringLiteral("売建"), "RadioButtonSL", ui.GroupBoxLb);
  ui.EditPriceL = MakeAmountEdit(QStringLiteral("EditPriceL"), ui.GroupBoxLb, QStringLiteral("0"));
  Lock(ui.EditPriceL);
  ui.EditNumL = MakeAmountEdit(QStringLiteral("EditNumL"), ui.GroupBoxLb, QStringLiteral("0"));
  Lock(ui.EditNumL);
  ui.UpDownNumL = new UpDownArrows(QStringLiteral("UpDownNumL"), ui.GroupBoxLb);
  ui.UpDownNumL->setEnabled(false);
  ui.MemoPriceL = MakeMemo(QStringLiteral("MemoPriceL"), ui.GroupBoxLb);
}

void MarginTab::createMarketFields() {
  const auto market = MakeMarketFields(ui.PanelLoan, QStringLiteral("L"), "PanelHoldPerL");
  ui.EditMarketPriceL = market.price;
  ui.UpDownMarketPriceL = market.arrows;
  ui.MemoPML = market.result;
  ui.PanelHoldPerL = market.rate;
}

void MarginTab::createSettlementPanel() {
  // Ticking the settlement box gives the caption and the two choices the
  // side of the opened position; until then they read as for a buy
  // position, the side the panel starts with.
  ui.GroupBoxPriceLx = new QGroupBox(QStringLiteral("買建"), ui.PanelLoan);
  ui.GroupBoxPriceLx->setObjectName(QStringLiteral("GroupBoxPriceLx"));
  // It covers the amount group when shown, and keeps its room when hidden
  // so that showing it does not move the panel around.
  ui.GroupBoxPriceLx->setAutoFillBackground(true);
  QSizePolicy policy = ui.GroupBoxPriceLx->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  ui.GroupBoxPriceLx->setSizePolicy(policy);
  ui.GroupBoxPriceLx->setVisible(false);
  QWidget* box = ui.GroupBoxPriceLx;

  ui.EditPriceLx = MakeAmountEdit(QStringLiteral("EditPriceLx"), box, QStringLiteral("0"));
  ui.UpDownPriceLx = new UpDownArrows(QStringLiteral("UpDownPriceLx"), box);
  ui.EditNumLx = MakeAmountEdit(QStringLiteral("EditNumLx"), box, QStringLiteral("0"));
  ui.UpDownNumLx = new UpDownArrows(QStringLiteral("UpDownNumLx"), box);
  ui.ComboBoxChargeLx = MakeCombo(QStringLiteral("ComboBoxChargeLx"), box);
  ui.ComboBoxChargeLx->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ui.EditTaxLx = MakeAmountEdit(QStringLiteral("EditTaxLx"), box, QStringLiteral("0"));
  ui.MemoPriceLx = MakeMemo(QStringLiteral("MemoPriceLx"), box);
  // The way of settling: delivery or repayment. Neither is chosen before a
  // position is opened.
  ui.RadioButtonBLx = MakeRadio(QStringLiteral("現引き"), "RadioButtonBLx", box);
  ui.RadioButtonSLx = MakeRadio(QStringLiteral("売返済"), "RadioButtonSLx", box);
  ui.ButtonSettlement = MakeButton(QStringLiteral("決済"), "ButtonSettlement", box);
}

void MarginTab::createCommentAndButtons() {
  QWidget* panel = ui.PanelLoan;
  ui.RichEditCommentL = MakeCommentBox(QStringLiteral("RichEditCommentL"), panel);
  ui.CheckBoxClearDL = MakeCheck(QString(), "CheckBoxClearDL", panel);
  ui.CheckBoxClearDL->setToolTip(QStringLiteral("有効"));
  ui.CheckBoxClearDL->setChecked(true);

  // Opening a position enables the settlement; until then there is nothing
  // to settle.
  ui.CheckBoxSettlement = MakeCheck(QStringLiteral("信用建玉決済"), "CheckBoxSettlement", panel);
  ui.CheckBoxSettlement->setEnabled(false);

  ui.DateTimePickerL = MakeDatePicker(QStringLiteral("DateTimePickerL"), panel);
  ui.ButtonHoldDiaryL = MakeButton(QStringLiteral("日記"), "ButtonHoldDiaryL", panel);
  ui.ButtonHoldDiaryL->setEnabled(false);
  // Unchecked: the opened position; checked: every position; greyed: one
  // row per stock and side.
  ui.CheckBoxAllDL = MakeCheck(QString(), "CheckBoxAllDL", panel);
  ui.CheckBoxAllDL->setToolTip(QStringLiteral("一括"));
  ui.CheckBoxAllDL->setTristate(true);

  ui.ButtonAddL = MakeButton(QStringLiteral("追加"), "ButtonAddL", panel);
  ui.ButtonAddL->setVisible(false);
  ui.ButtonUpdL = MakeButton(QStringLiteral("更新"), "ButtonUpdL", panel);
  ui.ButtonUpdL->setEnabled(false);
  ui.ButtonDelL = MakeButton(QStringLiteral("削除"), "ButtonDelL", panel);
  ui.ButtonDelL->setVisible(false);
  ui.ButtonDelL->setEnabled(false);
}

void MarginTab::createLayout() {
  parts_ = LedgerPanelParts{
      ui.PanelLoan,
      {ui.GroupBoxLa, ui.MaskEditStockCodeL, ui.EditStockNameL, ui.ComboBoxStockExchangeL, ui.EditStockUnitL},
      {ui.EditMarketPriceL, ui.UpDownMarketPriceL, ui.PanelHoldPerL, ui.MemoPML},
      {ui.GroupBoxLb, ui.EditPriceL, ui.EditNumL, ui.UpDownNumL, ui.MemoPriceL, QStringLiteral("単価"),
       ui.RadioButtonBL, ui.RadioButtonSL},
      {ui.GroupBoxPriceLx, ui.EditPriceLx, ui.UpDownPriceLx, ui.ComboBoxChargeLx, ui.EditNumLx, ui.UpDownNumLx,
       ui.EditTaxLx, ui.MemoPriceLx, ui.RadioButtonBLx, ui.RadioButtonSLx, ui.ButtonSettlement},
      ui.CheckBoxClearDL,
      ui.RichEditCommentL,
      {ui.CheckBoxSettlement},
      ui.DateTimePickerL,
      ui.ButtonHoldDiaryL,
      ui.CheckBoxAllDL,
      {ui.ButtonAddL, ui.ButtonUpdL, ui.ButtonDelL}};
  LayOutLedgerPanel(parts_);
  PlacePanelOverList(this, ui.Splitter, kPanelHeight);
}

void MarginTab::createConnections() {
  // Outside the initial-setup mode only the market price, its arrows, the
  // comment and the check boxes react to the user; these stay attached.
  auto* marketEvents = new FieldEvents(ui.EditMarketPriceL);
  marketEvents->setNumericFilter(true, setupModeQuery());
  NormaliseOnExit(ui.EditMarketPriceL);
  connect(ui.EditMarketPriceL, &QLineEdit::textChanged, this, &MarginTab::EditPriceLChange);
  ConnectStepper(ui.UpDownMarketPriceL, ui.EditMarketPriceL, [] { return core::Amount{1}; });
  ConnectStepper(ui.UpDownNumL, ui.EditNumL, [this] { return lotStep_; });
  connect(ui.RadioButtonBL, &QRadioButton::clicked, this, &MarginTab::EditPriceLChange);
  connect(ui.RadioButtonSL, &QRadioButton::clicked, this, &MarginTab::EditPriceLChange);
  connect(ui.RichEditCommentL, &QPlainTextEdit::textChanged, this, &MarginTab::cmnUpdateL);
  connect(ui.ComboBoxStockExchangeL, &QComboBox::currentTextChanged, this, [this] {
    exchangeChanged_ = true;
    cmnUpdateL();
  });
  auto* exchangeEvents = new FieldEvents(ui.ComboBoxStockExchangeL);
  connect(exchangeEvents, &FieldEvents::left, this, &MarginTab::EditStockLExit);

  connect(ui.CheckBoxClearDL, &QCheckBox::clicked, this, &MarginTab::CheckBoxClearDLClick);
  connect(ui.CheckBoxAllDL, &QCheckBox::clicked, this, &MarginTab::CheckBoxAllDLClick);
  connect(ui.ButtonAddL, &QPushButton::clicked, this, &MarginTab::ButtonAddLClick);
  connect(ui.ButtonUpdL, &QPushButton::clicked, this, &MarginTab::ButtonUpdLClick);
  connect(ui.ButtonDelL, &QPushButton::clicked, this, &MarginTab::ButtonDelLClick);

  // A row is opened when the user double-clicks it or makes it the current
  // row; rows the program selects are not opened.
  connect(ui.ListViewLoan, &QTreeView::doubleClicked, this, &MarginTab::ListViewLoanDblClick);
  connect(ui.ListViewLoan->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!selecting_) ListViewLoanDblClick();
  });

  // The fields the initial-setup mode opens up: their events are watched
  // from the start, their handlers attached only while the mode is on.
  codeEvents_ = new FieldEvents(ui.MaskEditStockCodeL);
  nameEvents_ = new FieldEvents(ui.EditStockNameL);
  unitEvents_ = new FieldEvents(ui.EditStockUnitL);
  priceEvents_ = new FieldEvents(ui.EditPriceL);
  numEvents_ = new FieldEvents(ui.EditNumL);
}

void MarginTab::attachSetupHandlers() {
  HandlerSet& h = setupHandlers_;
  const auto minus = setupModeQuery();
  h.add(connect(ui.MaskEditStockCodeL, &QLineEdit::textChanged, this, &MarginTab::cmnUpdateL));
  h.add(connect(codeEvents_, &FieldEvents::left, this, &MarginTab::MaskEditStockCodeLExit));
  h.add(connect(codeEvents_, &FieldEvents::keyDown, this, [this](int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) ui.EditStockNameL->setFocus();
  }));
  h.add(connect(ui.EditStockUnitL, &QLineEdit::textChanged, this, &MarginTab::EditStockUnitLChange));
  h.add(connect(unitEvents_, &FieldEvents::left, this, &MarginTab::EditStockLExit));
  unitEvents_->setNumericFilter(true, minus);
  h.add(connect(ui.EditStockNameL, &QLineEdit::textChanged, this, &MarginTab::cmnUpdateL));
  h.add(connect(nameEvents_, &FieldEvents::left, this, &MarginTab::EditStockLExit));
  h.add(connect(ui.EditPriceL, &QLineEdit::textChanged, this, &MarginTab::EditPriceLChange));
  h.add(connect(ui.EditNumL, &QLineEdit::textChanged, this, &MarginTab::EditNumLChange));
  for (auto [field, events] : {std::pair{ui.EditPriceL, priceEvents_}, std::pair{ui.EditNumL, numEvents_}}) {
    events->setNumericFilter(true, minus);
    h.add(connect(events, &FieldEvents::left, field, [field] {
      const QString text = ToQString(core::NormaliseAmountText(ToSjis(field->text())));
      if (text != field->text()) field->setText(text);
    }));
  }
}

// ---------------------------------------------------------------------------
// The list and the mode

void MarginTab::syncList() {
  {
    const QScopedValueRollback<bool> programmatic(selecting_, true);
    ui.Model->sync();
  }
  // The diary button follows the rows that it could copy.
  CheckBoxAllDLClick();
}

void MarginTab::syncAndSelect(std::optional<std::size_t> row) {
  if (services_) {
    services_->ledgersChanged();
  } else {
    syncList();
  }
  if (!row) return;
  const QScopedValueRollback<bool> programmatic(selecting_, true);
  SelectLedgerRow(ui.ListViewLoan, ui.Model, *row, true);
}

bool MarginTab::validSelectedRow() const {
  return selectedRow_ >= 0 && static_cast<std::size_t>(selectedRow_) < books_.positions.size();
}

void MarginTab::applyInitialSetupMode(bool on) {
  setupMode_ = on;
  ui.GroupBoxLa->setEnabled(on);
  ui.GroupBoxLb->setEnabled(on);
  for (QLineEdit* field : {ui.MaskEditStockCodeL, ui.EditStockUnitL, ui.EditStockNameL, ui.EditPriceL, ui.EditNumL}) {
    field->setReadOnly(!on);
    SetFieldEnabled(field, on);
  }
  ui.UpDownNumL->setEnabled(on);
  ui.ButtonAddL->setVisible(on);
  ui.ButtonDelL->setVisible(on);
  // Positions typed in are not settled; the settlement waits for the mode's end.
  ui.CheckBoxSettlement->setChecked(false);
  ui.GroupBoxPriceLx->setVisible(false);
  ui.CheckBoxSettlement->setVisible(!on);

  setupHandlers_.detach();
  for (FieldEvents* events : {unitEvents_, priceEvents_, numEvents_}) events->setNumericFilter(false);
  if (on) {
    attachSetupHandlers();
  } else if (isVisible()) {
    ui.ListViewLoan->setFocus();
  }
}

void MarginTab::showLedgerRow(const std::string& key) {
  const auto row = books_.positions.find(key);
  if (!row) return;
  const QScopedValueRollback<bool> programmatic(selecting_, true);
  SelectLedgerRow(ui.ListViewLoan, ui.Model, *row, false);
}

void MarginTab::ResetOtherPanels() {
  ui.ButtonUpdL->setEnabled(false);
  selectedRow_ = -1;
  ui.CheckBoxSettlement->setChecked(false);
  ui.GroupBoxPriceLx->setVisible(false);
  ui.CheckBoxSettlement->setEnabled(false);
}

// ---------------------------------------------------------------------------
// Opening a position and looking up a code

void MarginTab::ListViewLoanDblClick() {
  const auto row = CurrentLedgerRow(ui.ListViewLoan, ui.Model);
  if (!row) return;
  // Copied: the panel's own handlers run while it is filled.
  const core::LedgerRow position = books_.positions[*row];

  loading_ = true;
  ui.CheckBoxSettlement->setChecked(false);
  ui.GroupBoxPriceLx->setVisible(false);
  ui.CheckBoxSettlement->setEnabled(true);
  ui.ButtonAddL->setEnabled(true);
  ui.ButtonDelL->setEnabled(true);
  // Neither way of settling is chosen yet; the second is open to both sides.
  for (QRadioButton* choice : {ui.RadioButtonBLx, ui.RadioButtonSLx}) {
    choice->setAutoExclusive(false);
    choice->setChecked(false);
    choice->setAutoExclusive(true);
  }
  ui.RadioButtonSLx->setEnabled(true);

  ui.MaskEditStockCodeL->setText(ToQString(position.cell(core::LoanCol::Stock).substr(0, 4)));
  MaskEditStockCodeLExit();

  ui.EditPriceL->setText(ToQString(position.cell(core::LoanCol::Total)));
  baseTotal_ = core::ParseAmount(position.cell(core::LoanCol::Total));
  ui.EditNumL->setText(ToQString(position.cell(core::LoanCol::Shares)));
  baseShares_ = core::ParseAmount(position.cell(core::LoanCol::Shares));
  {
    const QSignalBlocker blocker(ui.EditMarketPriceL);
    ui.EditMarketPriceL->setText(ToQString(position.cell(core::LoanCol::Market)));
  }
  const bool buy =
      position.key.size() > core::LoanKey::Side && position.key[core::LoanKey::Side] == core::kBuyPositionSide;
  (buy ? ui.RadioButtonBL : ui.RadioButtonSL)->setChecked(true);
  // Once, with the side of this position.
  EditPriceLChange();

  // The settlement starts from the whole position.
  ui.EditNumLx->setText(ToQString(position.cell(core::LoanCol::Shares)));

  if (ui.CheckBoxClearDL->isChecked()) ShowComment(ui.RichEditCommentL, position.cell(core::LoanCol::Comment));

  ui.ButtonUpdL->setEnabled(false);
  selectedRow_ = static_cast<int>(*row);
  ui.ButtonHoldDiaryL->setEnabled(true);
  loading_ = false;
}

void MarginTab::MaskEditStockCodeLExit() {
  const std::string code = StockCodeOf(ui.MaskEditStockCodeL);
  const core::StockDetails details = core::LookUpStock(books_.folder, code);
  ShowStockDetails(FieldsOf(parts_.stock), details);
  stockKnown_ = details.found;
  exchangeChanged_ = false;
  EditStockUnitLChange();

  // A stock may have several positions: Add stays as it is.
  if (const auto first = core::FirstPositionOf(books_, code)) {
    ui.ButtonUpdL->setEnabled(true);
    selectedRow_ = static_cast<int>(*first);
  } else {
    ui.ButtonUpdL->setEnabled(false);
    selectedRow_ = -1;
  }
}

void MarginTab::EditStockLExit() {
  if (!ui.EditStockNameL->isModified() && !ui.EditStockUnitL->isModified() && !exchangeChanged_) return;
  if (StoreTypedStockDetails(FieldsOf(parts_.stock), books_, services_)) stockKnown_ = true;
}

void MarginTab::EditStockUnitLChange() {
  ApplyUnitToShares(parts_, lotStep_, baseShares_);
  cmnUpdateL();
}

// ---------------------------------------------------------------------------
// The figures

void MarginTab::EditPriceLChange() {
  ShowPanelFigures(parts_);
  cmnUpdateL();
}

void MarginTab::EditNumLChange() { EditPriceLChange(); }

void MarginTab::cmnUpdateL() {
  if (loading_ || selectedRow_ < 0) return;
  ui.ButtonUpdL->setEnabled(!ui.CheckBoxSettlement->isChecked() && !books_.positions.empty());
}

// ---------------------------------------------------------------------------
// Add, Update, Delete

core::PositionEntry MarginTab::entryFromPanel(bool forUpdate) const {
  const QDate date = ui.DateTimePickerL->date();
  core::PositionEntry entry;
  entry.code = StockCodeOf(ui.MaskEditStockCodeL);
  entry.buy = ui.RadioButtonBL->isChecked();
  entry.openDate = core::DateText(core::Date{date.year(), date.month(), date.day()});
  entry.name = ToSjis(ui.EditStockNameL->text());
  entry.exchange = ToSjis(ui.ComboBoxStockExchangeL->currentText());
  entry.unit = ToSjis(ui.EditStockUnitL->text());
  entry.stockKnown = stockKnown_;
  entry.total = ToSjis(ui.EditPriceL->text());
  entry.shares = ToSjis(ui.EditNumL->text());
  entry.market = ToSjis(ui.EditMarketPriceL->text());
  if (ui.CheckBoxClearDL->isChecked()) {
    entry.comment = CommentOf(ui.RichEditCommentL);
  } else if (!forUpdate) {
    entry.comment = std::string();
  }
  return entry;
}

void MarginTab::ButtonAddLClick() {
  const std::size_t row = core::AddPositionRow(books_, entryFromPanel(false));
  ui.ButtonDelL->setEnabled(true);
  syncAndSelect(row);
  ui.ButtonUpdL->setEnabled(false);
  selectedRow_ = static_cast<int>(row);
}

void MarginTab::ButtonUpdLClick() {
  if (!validSelectedRow()) return;
  if (CurrentModifiers().shift) {
    // Shift: the market price goes to every position of the stock, both
    // sides; nothing else of the panel is stored.
    core::ApplyMarketPriceToCode(books_, StockCodeOf(ui.MaskEditStockCodeL), ToSjis(ui.EditMarketPriceL->text()));
    syncAndSelect(std::nullopt);
  } else {
    const std::size_t row =
        core::UpdatePositionRow(books_, static_cast<std::size_t>(selectedRow_), entryFromPanel(true));
    selectedRow_ = static_cast<int>(row);
    syncAndSelect(row);
  }
  ui.ButtonUpdL->setEnabled(false);
}

void MarginTab::ButtonDelLClick() {
  if (!validSelectedRow()) return;
  if (!confirmDelete()) return;
  core::DeletePositionRow(books_, static_cast<std::size_t>(selectedRow_));
  ui.ButtonUpdL->setEnabled(false);
  selectedRow_ = -1;
  ui.ButtonDelL->setEnabled(false);
  syncAndSelect(std::nullopt);
}

// ---------------------------------------------------------------------------
// The check boxes

void MarginTab::CheckBoxClearDLClick() {
  if (!ui.CheckBoxClearDL->isChecked()) ui.RichEditCommentL->clear();
}

void MarginTab::CheckBoxAllDLClick() {
  const bool enabled = ui.CheckBoxAllDL->checkState() != Qt::Unchecked ? !books_.positions.empty() : selectedRow_ >= 0;
  ui.ButtonHoldDiaryL->setEnabled(enabled);
}

void MarginTab::applySettings(const core::Settings& settings) {
  ApplySplit(ui.Splitter, settings.splitL);
  ApplyWidths(ui.ListViewLoan, settings.loanColumns, 2);
  ApplyExchanges(ui.ComboBoxStockExchangeL, settings.exchanges);
  SetComboItems(ui.ComboBoxChargeLx, settings.recentCharges);
  ui.CheckBoxClearDL->setChecked(settings.clearDL);
  const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
  ui.CheckBoxAllDL->setCheckState(settings.allDL >= 0 && settings.allDL <= 2 ? states[settings.allDL] : Qt::Unchecked);
}

void MarginTab::collectSettings(core::Settings& settings) const {
  settings.splitL = CollectSplit(ui.Splitter);
  CollectWidths(ui.ListViewLoan, settings.loanColumns, 2);
  settings.clearDL = ui.CheckBoxClearDL->isChecked();
  switch (ui.CheckBoxAllDL->checkState()) {
    case Qt::Checked: settings.allDL = 1; break;
    case Qt::PartiallyChecked: settings.allDL = 2; break;
    case Qt::Unchecked: settings.allDL = 0; break;
  }
}

// 模擬 takes the position shown in the panel, at its market price.
std::optional<core::SimSource> MarginTab::simulationSource() const {
  return core::SimSource{core::SimSource::Kind::Position, StockCodeOf(ui.MaskEditStockCodeL),
                         ui.RadioButtonBL->isChecked(),   ToSjis(ui.EditMarketPriceL->text()),
                         ToSjis(ui.EditNumL->text()),     ToSjis(ui.EditPriceL->text())};
}

}  // namespace tomvik::app
