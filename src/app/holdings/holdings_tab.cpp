#include "app/holdings/holdings_tab.h"

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
#include "core/records/hold_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

// Height of the entry panel until the window restores the saved one.
constexpr int kPanelHeight = 168;

}  // namespace

HoldingsTab::HoldingsTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetHold"));
  createWidgets();
  createLayout();
  createConnections();
}

std::vector<ColumnSpec> HoldingsTab::Columns() {
  namespace Col = core::HoldCol;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QString(), Cell(Col::Reserved), left, 1, true, true},
      {QStringLiteral("取引"), Cell(Col::Kind), left, 38, true},
      {QStringLiteral("銘柄"), Cell(Col::Stock), left, 100},
      {QStringLiteral("取引所"), Cell(Col::Exchange), left, 56},
      {QStringLiteral("単位"), Cell(Col::Unit), right, 50},
      {QStringLiteral("総額"), Cell(Col::Total), right, 70},
      {QStringLiteral("株数"), Cell(Col::Shares), right, 50},
      {QStringLiteral("平均単価"), Cell(Col::Average), right, 70},
      {QStringLiteral("時価"), Cell(Col::Market), right, 70},
      {QStringLiteral("騰落率"), Cell(Col::Rate), right, 55},
      {QStringLiteral("損益"), Cell(Col::Profit), right, 70},
      {QStringLiteral("コメント"), Cell(Col::Comment), left, 100},
  };
}

void HoldingsTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("Splitter2"));
  ui.PanelHold = new QFrame(ui.Splitter);
  ui.PanelHold->setObjectName(QStringLiteral("PanelHold"));

  createStockGroup();
  createAmountGroup();
  createMarketFields();
  // Created after the amount group so that it lies on top of it.
  createSellPanel();
  createCommentAndButtons();

  ui.ListViewHold = MakeListView(QStringLiteral("ListViewHold"), ui.Splitter);
  ui.Model = new LedgerModel(&books_.holdings, Columns(), this);
  ui.ListViewHold->setModel(ui.Model);
  ApplyColumns(ui.ListViewHold, ui.Model->columns());
}

void HoldingsTab::createStockGroup() {
  const auto stock = MakeStockGroup(ui.PanelHold, QStringLiteral("GroupBox2a"), QStringLiteral("2"));
  ui.GroupBox2a = stock.group;
  ui.MaskEditStockCode2 = stock.code;
  ui.EditStockName2 = stock.name;
  ui.ComboBoxStockExchange2 = stock.exchange;
  ui.EditStockUnit2 = stock.unit;
}

void HoldingsTab::createAmountGroup() {
  ui.GroupBox2b = new QGroupBox(ui.PanelHold);
  ui.GroupBox2b->setObjectName(QStringLiteral("GroupBox2b"));
  ui.GroupBox2b->setEnabled(false);
  ui.RadioButtonB2 = MakeRadio(QStringLiteral("買い"), "RadioButtonB2", ui.GroupBox2b);
  ui.RadioButtonB2->setChecked(true);
  // A sold holding is only made in the old-version compatibility mode.
  ui.RadioButtonS2 = MakeRadio(QStringLiteral("売り"), "RadioButtonS2", ui.GroupBox2b);
  ui.RadioButtonS2->setEnabled(false);
  ui.EditPrice2 = MakeAmountEdit(QStringLiteral("EditPrice2"), ui.GroupBox2b, QStringLiteral("0"));
  Lock(ui.EditPrice2);
  ui.EditNum2 = MakeAmountEdit(QStringLiteral("EditNum2"), ui.GroupBox2b, QStringLiteral("0"));
  Lock(ui.EditNum2);
  ui.UpDownNum2 = new UpDownArrows(QStringLiteral("UpDownNum2"), ui.GroupBox2b);
  ui.UpDownNum2->setEnabled(false);
  ui.MemoPrice2 = MakeMemo(QStringLiteral("MemoPrice2"), ui.GroupBox2b);
}

void HoldingsTab::createMarketFields() {
  const auto market = MakeMarketFields(ui.PanelHold, QStringLiteral("2"), "PanelHoldPer");
  ui.EditMarketPrice2 = market.price;
  ui.UpDownMarketPrice2 = market.arrows;
  ui.MemoPM2 = market.result;
  ui.PanelHoldPer = market.rate;
}

void HoldingsTab::createSellPanel() {
  ui.GroupBoxPrice2x = new QGroupBox(QStringLiteral("金額"), ui.PanelHold);
  ui.GroupBoxPrice2x->setObjectName(QStringLiteral("GroupBoxPrice2x"));
  // It covers the amount group when shown, and keeps its room when hidden
  // so that showing it does not move the panel around.
  ui.GroupBoxPrice2x->setAutoFillBackground(true);
  QSizePolicy policy = ui.GroupBoxPrice2x->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  ui.GroupBoxPrice2x->setSizePolicy(policy);
  ui.GroupBoxPrice2x->setVisible(false);
  QWidget* box = ui.GroupBoxPrice2x;

  ui.EditPrice2x = MakeAmountEdit(QStringLiteral("EditPrice2x"), box, QStringLiteral("0"));
  ui.UpDownPrice2x = new UpDownArrows(QStringLiteral("UpDownPrice2x"), box);
  ui.EditNum2x = MakeAmountEdit(QStringLiteral("EditNum2x"), box, QStringLiteral("0"));
  ui.UpDownNum2x = new UpDownArrows(QStringLiteral("UpDownNum2x"), box);
  ui.ComboBoxCharge2x = MakeCombo(QStringLiteral("ComboBoxCharge2x"), box);
  ui.ComboBoxCharge2x->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ui.EditTax2x = MakeAmountEdit(QStringLiteral("EditTax2x"), box, QStringLiteral("0"));
  ui.MemoPrice2x = MakeMemo(QStringLiteral("MemoPrice2x"), box);
  // The side only shows that this is a sell.
  ui.RadioButtonB2x = MakeRadio(QStringLiteral("買い"), "RadioButtonB2x", box);
  ui.RadioButtonB2x->setEnabled(false);
  ui.RadioButtonS2x = MakeRadio(QStringLiteral("売り"), "RadioButtonS2x", box);
  ui.RadioButtonS2x->setChecked(true);
  ui.ButtonHoldSel = MakeButton(QStringLiteral("売却"), "ButtonHoldSel", box);
}

void HoldingsTab::createCommentAndButtons() {
  QWidget* panel = ui.PanelHold;
  ui.RichEditComment2 = MakeCommentBox(QStringLiteral("RichEditComment2"), panel);
  ui.CheckBoxClearD2 = MakeCheck(QString(), "CheckBoxClearD2", panel);
  ui.CheckBoxClearD2->setToolTip(QStringLiteral("有効"));
  ui.CheckBoxClearD2->setChecked(true);

  // Opening a holding enables the sale; until then there is nothing to sell.
  ui.CheckBoxHoldSell = MakeCheck(QStringLiteral("保有銘柄売却"), "CheckBoxHoldSell", panel);
  ui.CheckBoxHoldSell->setEnabled(false);
  ui.CheckBoxSimulation = MakeCheck(QStringLiteral("買い増しチェック"), "CheckBoxSimulation", panel);
  ui.CheckBoxSimulation->setVisible(false);

  ui.DateTimePicker2 = MakeDatePicker(QStringLiteral("DateTimePicker2"), panel);
  ui.ButtonHoldDiary2 = MakeButton(QStringLiteral("日記"), "ButtonHoldDiary2", panel);
  ui.ButtonHoldDiary2->setEnabled(false);
  ui.CheckBoxAllD2 = MakeCheck(QString(), "CheckBoxAllD2", panel);
  ui.CheckBoxAllD2->setToolTip(QStringLiteral("一括"));

  ui.ButtonAdd2 = MakeButton(QStringLiteral("追加"), "ButtonAdd2", panel);
  ui.ButtonAdd2->setVisible(false);
  ui.ButtonUpd2 = MakeButton(QStringLiteral("更新"), "ButtonUpd2", panel);
  ui.ButtonUpd2->setEnabled(false);
  ui.ButtonDel2 = MakeButton(QStringLiteral("削除"), "ButtonDel2", panel);
  ui.ButtonDel2->setVisible(false);
  ui.ButtonDel2->setEnabled(false);
}

void HoldingsTab::createLayout() {
  parts_ = LedgerPanelParts{
      ui.PanelHold,
      {ui.GroupBox2a, ui.MaskEditStockCode2, ui.EditStockName2, ui.ComboBoxStockExchange2, ui.EditStockUnit2},
      {ui.EditMarketPrice2, ui.UpDownMarketPrice2, ui.PanelHoldPer, ui.MemoPM2},
      {ui.GroupBox2b, ui.EditPrice2, ui.EditNum2, ui.UpDownNum2, ui.MemoPrice2, QStringLiteral("平均単価"),
       ui.RadioButtonB2, ui.RadioButtonS2},
      {ui.GroupBoxPrice2x, ui.EditPrice2x, ui.UpDownPrice2x, ui.ComboBoxCharge2x, ui.EditNum2x, ui.UpDownNum2x,
       ui.EditTax2x, ui.MemoPrice2x, ui.RadioButtonB2x, ui.RadioButtonS2x, ui.ButtonHoldSel},
      ui.CheckBoxClearD2,
      ui.RichEditComment2,
      {ui.CheckBoxHoldSell, ui.CheckBoxSimulation},
      ui.DateTimePicker2,
      ui.ButtonHoldDiary2,
      ui.CheckBoxAllD2,
      {ui.ButtonAdd2, ui.ButtonUpd2, ui.ButtonDel2}};
  LayOutLedgerPanel(parts_);
  PlacePanelOverList(this, ui.Splitter, kPanelHeight);
}

void HoldingsTab::createConnections() {
  // Outside the initial-setup mode only the market price, its arrows, the
  // comment and the check boxes react to the user; these stay attached.
  auto* marketEvents = new FieldEvents(ui.EditMarketPrice2);
  marketEvents->setNumericFilter(true, setupModeQuery());
  NormaliseOnExit(ui.EditMarketPrice2);
  connect(ui.EditMarketPrice2, &QLineEdit::textChanged, this, &HoldingsTab::EditPrice2Change);
  ConnectStepper(ui.UpDownMarketPrice2, ui.EditMarketPrice2, [] { return core::Amount{1}; });
  connect(ui.RadioButtonB2, &QRadioButton::clicked, this, &HoldingsTab::EditPrice2Change);
  connect(ui.RadioButtonS2, &QRadioButton::clicked, this, &HoldingsTab::EditPrice2Change);
  connect(ui.RichEditComment2, &QPlainTextEdit::textChanged, this, &HoldingsTab::cmnUpdate2);
  connect(ui.ComboBoxStockExchange2, &QComboBox::currentTextChanged, this, [this] {
    exchangeChanged_ = true;
    cmnUpdate2();
  });
  auto* exchangeEvents = new FieldEvents(ui.ComboBoxStockExchange2);
  connect(exchangeEvents, &FieldEvents::left, this, &HoldingsTab::EditStock2Exit);
  connect(ui.UpDownNum2, &UpDownArrows::up, this, [this] { stepShares(1); });
  connect(ui.UpDownNum2, &UpDownArrows::down, this, [this] { stepShares(-1); });

  connect(ui.CheckBoxClearD2, &QCheckBox::clicked, this, &HoldingsTab::CheckBoxClearD2Click);
  connect(ui.CheckBoxAllD2, &QCheckBox::clicked, this, &HoldingsTab::CheckBoxAllD2Click);
  connect(ui.CheckBoxSimulation, &QCheckBox::clicked, this, &HoldingsTab::CheckBoxSimulationClick);
  connect(ui.ButtonAdd2, &QPushButton::clicked, this, &HoldingsTab::ButtonAdd2Click);
  connect(ui.ButtonUpd2, &QPushButton::clicked, this, &HoldingsTab::ButtonUpd2Click);
  connect(ui.ButtonDel2, &QPushButton::clicked, this, &HoldingsTab::ButtonDel2Click);

  // A row is opened when the user double-clicks it or makes it the current
  // row; rows the program selects are not opened.
  connect(ui.ListViewHold, &QTreeView::doubleClicked, this, &HoldingsTab::ListViewHoldDblClick);
  connect(ui.ListViewHold->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!selecting_) ListViewHoldDblClick();
  });

  // The fields the modes open up: their events are watched from the start,
  // their handlers attached only while a mode needs them.
  codeEvents_ = new FieldEvents(ui.MaskEditStockCode2);
  nameEvents_ = new FieldEvents(ui.EditStockName2);
  unitEvents_ = new FieldEvents(ui.EditStockUnit2);
  priceEvents_ = new FieldEvents(ui.EditPrice2);
  numEvents_ = new FieldEvents(ui.EditNum2);
}

void HoldingsTab::attachSetupHandlers() {
  HandlerSet& h = setupHandlers_;
  const auto minus = setupModeQuery();
  h.add(connect(ui.MaskEditStockCode2, &QLineEdit::textChanged, this, &HoldingsTab::cmnUpdate2));
  h.add(connect(codeEvents_, &FieldEvents::left, this, &HoldingsTab::MaskEditStockCode2Exit));
  h.add(connect(codeEvents_, &FieldEvents::keyDown, this, [this](int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) ui.EditStockName2->setFocus();
  }));
  h.add(connect(ui.EditStockUnit2, &QLineEdit::textChanged, this, &HoldingsTab::EditStockUnit2Change));
  h.add(connect(unitEvents_, &FieldEvents::left, this, &HoldingsTab::EditStock2Exit));
  unitEvents_->setNumericFilter(true, minus);
  h.add(connect(ui.EditStockName2, &QLineEdit::textChanged, this, &HoldingsTab::cmnUpdate2));
  h.add(connect(nameEvents_, &FieldEvents::left, this, &HoldingsTab::EditStock2Exit));
  h.add(connect(ui.EditPrice2, &QLineEdit::textChanged, this, &HoldingsTab::EditPrice2Change));
  h.add(connect(ui.EditNum2, &QLineEdit::textChanged, this, &HoldingsTab::EditNum2Change));
  for (auto [field, events] : {std::pair{ui.EditPrice2, priceEvents_}, std::pair{ui.EditNum2, numEvents_}}) {
    events->setNumericFilter(true, minus);
    h.add(connect(events, &FieldEvents::left, field, [field] {
      const QString text = ToQString(core::NormaliseAmountText(ToSjis(field->text())));
      if (text != field->text()) field->setText(text);
    }));
  }
}

void HoldingsTab::attachBuyCheckHandlers() {
  // Only the shares are typed while the additional buy is tried out.
  HandlerSet& h = buyCheckHandlers_;
  h.add(connect(ui.EditNum2, &QLineEdit::textChanged, this, &HoldingsTab::EditNum2Change));
  numEvents_->setNumericFilter(true, setupModeQuery());
  h.add(connect(numEvents_, &FieldEvents::left, ui.EditNum2, [this] {
    const QString text = ToQString(core::NormaliseAmountText(ToSjis(ui.EditNum2->text())));
    if (text != ui.EditNum2->text()) ui.EditNum2->setText(text);
  }));
}

// ---------------------------------------------------------------------------
// The list and the modes

void HoldingsTab::syncList() {
  {
    const QScopedValueRollback<bool> programmatic(selecting_, true);
    ui.Model->sync();
  }
  // The diary button follows the rows that it could copy.
  CheckBoxAllD2Click();
}

void HoldingsTab::syncAndSelect(std::optional<std::size_t> row) {
  if (services_) {
    services_->ledgersChanged();
  } else {
    syncList();
  }
  if (!row) return;
  const QScopedValueRollback<bool> programmatic(selecting_, true);
  SelectLedgerRow(ui.ListViewHold, ui.Model, *row, true);
}

bool HoldingsTab::validSelectedRow() const {
  return selectedRow_ >= 0 && static_cast<std::size_t>(selectedRow_) < books_.holdings.size();
}

void HoldingsTab::applySettings(const core::Settings& settings) {
  ApplySplit(ui.Splitter, settings.split2);
  ApplyWidths(ui.ListViewHold, settings.holdColumns, 2);
  ApplyExchanges(ui.ComboBoxStockExchange2, settings.exchanges);
  SetComboItems(ui.ComboBoxCharge2x, settings.recentCharges);
  ui.CheckBoxClearD2->setChecked(settings.clearD);
  ui.CheckBoxAllD2->setChecked(settings.allD);
}

void HoldingsTab::collectSettings(core::Settings& settings) const {
  settings.split2 = CollectSplit(ui.Splitter);
  CollectWidths(ui.ListViewHold, settings.holdColumns, 2);
  settings.clearD = ui.CheckBoxClearD2->isChecked();
  settings.allD = ui.CheckBoxAllD2->isChecked();
}

void HoldingsTab::showPlaceCheckBoxes() {
  // The old version bought more through the holdings tab and sold through
  // the diary; this one sells from the holdings. The initial-setup mode
  // shows neither.
  ui.CheckBoxSimulation->setVisible(oldMode_ && !setupMode_);
  ui.CheckBoxHoldSell->setVisible(!oldMode_ && !setupMode_);
}

void HoldingsTab::applyOldMode(bool on) {
  oldMode_ = on;
  if (ui.CheckBoxSimulation->isChecked()) {
    ui.CheckBoxSimulation->setChecked(false);
    CheckBoxSimulationClick();
  }
  ui.CheckBoxHoldSell->setChecked(false);
  ui.GroupBoxPrice2x->setVisible(false);
  showPlaceCheckBoxes();
  ui.RadioButtonS2->setEnabled(on);
}

void HoldingsTab::applyInitialSetupMode(bool on) {
  if (ui.CheckBoxSimulation->isChecked()) {
    ui.CheckBoxSimulation->setChecked(false);
    CheckBoxSimulationClick();
  }
  setupMode_ = on;
  ui.CheckBoxHoldSell->setChecked(false);
  ui.GroupBoxPrice2x->setVisible(false);
  showPlaceCheckBoxes();

  ui.GroupBox2a->setEnabled(on);
  ui.GroupBox2b->setEnabled(on);
  for (QLineEdit* field : {ui.MaskEditStockCode2, ui.EditStockUnit2, ui.EditStockName2, ui.EditPrice2, ui.EditNum2}) {
    field->setReadOnly(!on);
    SetFieldEnabled(field, on);
  }
  ui.UpDownNum2->setEnabled(on);
  ui.ButtonAdd2->setVisible(on);
  ui.ButtonDel2->setVisible(on);
  ui.ButtonUpd2->setEnabled(false);

  setupHandlers_.detach();
  for (FieldEvents* events : {unitEvents_, priceEvents_, numEvents_}) events->setNumericFilter(false);
  if (on) {
    attachSetupHandlers();
  } else if (isVisible()) {
    ui.ListViewHold->setFocus();
  }
}

void HoldingsTab::ResetOtherPanels() {
  ui.ButtonUpd2->setEnabled(false);
  selectedRow_ = -1;
  ui.CheckBoxHoldSell->setChecked(false);
  ui.GroupBoxPrice2x->setVisible(false);
  ui.CheckBoxHoldSell->setEnabled(false);
}

void HoldingsTab::showLedgerRow(const std::string& key) {
  const auto row = books_.holdings.find(key);
  if (!row) return;
  const QScopedValueRollback<bool> programmatic(selecting_, true);
  SelectLedgerRow(ui.ListViewHold, ui.Model, *row, false);
}

void HoldingsTab::clearAmountFields() {
  const QScopedValueRollback<bool> quiet(loading_, true);
  ui.EditPrice2->setText(QString());
  ui.EditNum2->setText(QStringLiteral("0"));
}

// ---------------------------------------------------------------------------
// Opening a holding and looking up a code

void HoldingsTab::ListViewHoldDblClick() {
  const auto row = CurrentLedgerRow(ui.ListViewHold, ui.Model);
  if (!row) return;
  // Copied: the panel's own handlers run while it is filled.
  const core::LedgerRow holding = books_.holdings[*row];

  loading_ = true;
  if (oldMode_) {
    if (ui.CheckBoxSimulation->isChecked()) {
      ui.CheckBoxSimulation->setChecked(false);
      CheckBoxSimulationClick();
    }
  } else {
    ui.CheckBoxHoldSell->setChecked(false);
    ui.GroupBoxPrice2x->setVisible(false);
    ui.CheckBoxHoldSell->setEnabled(true);
  }
  ui.ButtonAdd2->setEnabled(false);
  ui.ButtonDel2->setEnabled(true);

  const bool bought = !holding.key.empty() && holding.key.back() == '1';
  (bought ? ui.RadioButtonB2 : ui.RadioButtonS2)->setChecked(true);

  ui.MaskEditStockCode2->setText(ToQString(holding.cell(core::HoldCol::Stock).substr(0, 4)));
  MaskEditStockCode2Exit();

  ui.EditPrice2->setText(ToQString(holding.cell(core::HoldCol::Total)));
  baseTotal_ = core::ParseAmount(holding.cell(core::HoldCol::Total));
  ui.EditNum2->setText(ToQString(holding.cell(core::HoldCol::Shares)));
  baseShares_ = core::ParseAmount(holding.cell(core::HoldCol::Shares));
  {
    const QSignalBlocker blocker(ui.EditMarketPrice2);
    ui.EditMarketPrice2->setText(ToQString(holding.cell(core::HoldCol::Market)));
  }
  EditPrice2Change();

  // The sale starts from the whole holding.
  ui.EditNum2x->setText(ToQString(holding.cell(core::HoldCol::Shares)));

  if (ui.CheckBoxClearD2->isChecked()) ShowComment(ui.RichEditComment2, holding.cell(core::HoldCol::Comment));

  ui.ButtonUpd2->setEnabled(false);
  selectedRow_ = static_cast<int>(*row);
  ui.ButtonHoldDiary2->setEnabled(true);
  loading_ = false;
}

void HoldingsTab::MaskEditStockCode2Exit() {
  const std::string code = StockCodeOf(ui.MaskEditStockCode2);
  const core::StockDetails details = core::LookUpStock(books_.folder, code);
  ShowStockDetails(FieldsOf(parts_.stock), details);
  stockKnown_ = details.found;
  exchangeChanged_ = false;
  EditStockUnit2Change();

  if (const auto first = core::FirstHoldingOf(books_, code)) {
    ui.ButtonAdd2->setEnabled(false);
    ui.ButtonUpd2->setEnabled(true);
    selectedRow_ = static_cast<int>(*first);
  } else {
    ui.ButtonAdd2->setEnabled(true);
    ui.ButtonUpd2->setEnabled(false);
    selectedRow_ = -1;
  }
}

void HoldingsTab::EditStock2Exit() {
  if (!ui.EditStockName2->isModified() && !ui.EditStockUnit2->isModified() && !exchangeChanged_) return;
  if (StoreTypedStockDetails(FieldsOf(parts_.stock), books_, services_)) stockKnown_ = true;
}

void HoldingsTab::EditStockUnit2Change() {
  ApplyUnitToShares(parts_, lotStep_, baseShares_);
  cmnUpdate2();
}

// ---------------------------------------------------------------------------
// The figures

void HoldingsTab::EditPrice2Change() {
  ShowPanelFigures(parts_);
  cmnUpdate2();
}

void HoldingsTab::EditNum2Change() {
  if (ui.CheckBoxSimulation->isChecked()) {
    const core::Amount total =
        core::AdditionalBuyTotal(baseTotal_, baseShares_, AmountOf(ui.EditNum2), AmountOf(ui.EditMarketPrice2));
    const QSignalBlocker blocker(ui.EditPrice2);
    ui.EditPrice2->setText(AmountText(total));
  }
  EditPrice2Change();
}

void HoldingsTab::cmnUpdate2() {
  if (loading_ || selectedRow_ < 0) return;
  ui.ButtonUpd2->setEnabled(!books_.holdings.empty());
}

void HoldingsTab::stepShares(int direction) {
  const core::KeyModifiers modifiers = CurrentModifiers();
  const core::Amount shares = AmountOf(ui.EditNum2);
  // Trying out an additional buy never goes below the opened holding.
  const bool floorAtBase = !setupMode_;
  if (direction < 0 && floorAtBase && shares <= baseShares_) return;
  const core::Amount step = direction > 0 ? lotStep_ : core::SatNeg(lotStep_);
  std::string text = core::StepAmountText(ToSjis(ui.EditNum2->text()), step, modifiers);
  if (floorAtBase && core::ParseAmount(text) < baseShares_) text = core::FormatAmount(baseShares_);
  ui.EditNum2->setText(ToQString(text));
}

// ---------------------------------------------------------------------------
// Add, Update, Delete

core::HoldingEntry HoldingsTab::entryFromPanel(bool forUpdate) const {
  core::HoldingEntry entry;
  entry.code = StockCodeOf(ui.MaskEditStockCode2);
  entry.buy = ui.RadioButtonB2->isChecked();
  entry.name = ToSjis(ui.EditStockName2->text());
  entry.exchange = ToSjis(ui.ComboBoxStockExchange2->currentText());
  entry.unit = ToSjis(ui.EditStockUnit2->text());
  entry.stockKnown = stockKnown_;
  entry.total = ToSjis(ui.EditPrice2->text());
  entry.shares = ToSjis(ui.EditNum2->text());
  entry.market = ToSjis(ui.EditMarketPrice2->text());
  if (ui.CheckBoxClearD2->isChecked()) {
    entry.comment = CommentOf(ui.RichEditComment2);
  } else if (!forUpdate) {
    entry.comment = std::string();
  }
  return entry;
}

void HoldingsTab::ButtonAdd2Click() {
  const std::size_t row = core::AddHoldingRow(books_, entryFromPanel(false));
  ui.ButtonDel2->setEnabled(true);
  syncAndSelect(row);
  ui.ButtonUpd2->setEnabled(false);
  selectedRow_ = static_cast<int>(row);
}

void HoldingsTab::ButtonUpd2Click() {
  if (!validSelectedRow()) return;
  const std::size_t row = core::UpdateHoldingRow(books_, static_cast<std::size_t>(selectedRow_), entryFromPanel(true));
  selectedRow_ = static_cast<int>(row);
  syncAndSelect(row);
  ui.ButtonUpd2->setEnabled(false);
}

void HoldingsTab::ButtonDel2Click() {
  if (!validSelectedRow()) return;
  if (!confirmDelete()) return;
  core::DeleteHoldingRow(books_, static_cast<std::size_t>(selectedRow_));
  ui.ButtonUpd2->setEnabled(false);
  selectedRow_ = -1;
  ui.ButtonDel2->setEnabled(false);
  syncAndSelect(std::nullopt);
}

// ---------------------------------------------------------------------------
// The check boxes

void HoldingsTab::CheckBoxClearD2Click() {
  if (!ui.CheckBoxClearD2->isChecked()) ui.RichEditComment2->clear();
}

void HoldingsTab::CheckBoxAllD2Click() {
  const bool enabled = ui.CheckBoxAllD2->isChecked() ? !books_.holdings.empty() : selectedRow_ >= 0;
  ui.ButtonHoldDiary2->setEnabled(enabled);
}

void HoldingsTab::lockAmountGroup() {
  Lock(ui.EditNum2);
  ui.UpDownNum2->setEnabled(setupMode_);
  ui.GroupBox2b->setEnabled(setupMode_);
  ui.RadioButtonB2->setEnabled(true);
  ui.RadioButtonS2->setEnabled(oldMode_);
}

void HoldingsTab::CheckBoxSimulationClick() {
  buyCheckHandlers_.detach();
  if (ui.CheckBoxSimulation->isChecked()) {
    // The amount group opens for the shares alone: total and side stay
    // as the opened holding has them.
    ui.GroupBox2b->setEnabled(true);
    ui.RadioButtonB2->setEnabled(false);
    ui.RadioButtonS2->setEnabled(false);
    Lock(ui.EditPrice2);
    ui.EditNum2->setReadOnly(false);
    SetFieldEnabled(ui.EditNum2, true);
    ui.UpDownNum2->setEnabled(true);
    attachBuyCheckHandlers();
  } else {
    numEvents_->setNumericFilter(false);
    lockAmountGroup();
  }
  ui.ButtonUpd2->setEnabled(false);
  selectedRow_ = -1;
}

// 模擬 takes the holding shown in the panel, at its market price.
std::optional<core::SimSource> HoldingsTab::simulationSource() const {
  return core::SimSource{core::SimSource::Kind::Holding, StockCodeOf(ui.MaskEditStockCode2),
                         ui.RadioButtonB2->isChecked(),  ToSjis(ui.EditMarketPrice2->text()),
                         ToSjis(ui.EditNum2->text()),    ToSjis(ui.EditPrice2->text())};
}

}  // namespace tomvik::app
