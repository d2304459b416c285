#include "app/simulation/simulation_tab.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/ledger/panel_support.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/simulation/sim_summary_panel.h"
#include "core/diary/entry_amounts.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

constexpr int kRecentCodesDropDownWidth = 207;
constexpr int kRecentCodesButtonWidth = 20;
constexpr int kAmountWidth = 92;
constexpr int kQuantityWidth = 72;
constexpr int kNameWidth = 320;

// A side choice in its own colour, bold.
void ColourChoice(QRadioButton* radio, const QColor& colour) {
  SetTextColour(radio, colour);
  QFont font = radio->font();
  font.setBold(true);
  radio->setFont(font);
}

// A figure of the position: right-aligned, read-only, "0" until a preview.
QLineEdit* MakeFigure(const char* objectName, QWidget* parent) { return MakeMemo(QLatin1String(objectName), parent); }

}  // namespace

SimulationTab::SimulationTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetSim"));
  createWidgets();
  createLayout();
  createConnections();
}

std::vector<ColumnSpec> SimulationTab::Columns() {
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QString(), ColumnSpec::kKeyCell, left, 0, true, true},
      {QString(), Cell(SimCol::Spacer), left, 1, true},
      {QStringLiteral("取引"), Cell(SimCol::Side), left, 38},
      {QStringLiteral("単価"), Cell(SimCol::Price), right, 50},
      {QStringLiteral("数量"), Cell(SimCol::Quantity), right, 50},
      {QStringLiteral("手数料"), Cell(SimCol::Charge), right, 50},
      {QStringLiteral("売買金額"), Cell(SimCol::Amount), right, 70},
      {QStringLiteral("保有金額"), Cell(SimCol::HeldCost), right, 70},
      {QStringLiteral("売買損益"), Cell(SimCol::Realised), right, 70},
      {QString(), Cell(SimCol::Separator), right, 2, true},
      {QStringLiteral("保有"), Cell(SimCol::Position), left, 38},
      {QStringLiteral("総額"), Cell(SimCol::Total), right, 70},
      {QStringLiteral("株数"), Cell(SimCol::Shares), right, 49},
      {QStringLiteral("平均単価"), Cell(SimCol::Average), right, 60},
      {QStringLiteral("騰落率"), Cell(SimCol::Rate), right, 50},
      {QStringLiteral("含み損益"), Cell(SimCol::Unrealised), right, 60},
      {QString(), Cell(SimCol::EndSeparator), right, 2, true},
  };
}

void SimulationTab::setClosingCaptionsActive(bool active) {
  for (QLabel* label : {ui.LabelBSHold5, ui.LabelBSPM5}) {
    QPalette palette = label->parentWidget()->palette();
    if (!active) palette.setColor(QPalette::WindowText, palette.color(QPalette::Disabled, QPalette::WindowText));
    label->setPalette(palette);
  }
}

void SimulationTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("Splitter5"));
  ui.PanelSim = new QFrame(ui.Splitter);
  ui.PanelSim->setObjectName(QStringLiteral("PanelSim"));
  QWidget* panel = ui.PanelSim;

  ui.MaskEditStockCode5 = MakeCodeEdit(QStringLiteral("MaskEditStockCode5"), panel);
  // Chosen from, never typed into: a digit picks the first line it starts.
  ui.ComboBoxStockCode5 = MakeCombo(QStringLiteral("ComboBoxStockCode5"), panel, false);
  // Only the arrow shows beside the code field; the list opens wide enough
  // for the codes with their names.
  ui.ComboBoxStockCode5->setFixedWidth(kRecentCodesButtonWidth);
  ui.ComboBoxStockCode5->view()->setMinimumWidth(kRecentCodesDropDownWidth);
  ui.EditStockName5 = MakeTextEdit(QStringLiteral("EditStockName5"), panel);
  ui.ComboBoxStockExchange5 = MakeCombo(QStringLiteral("ComboBoxStockExchange5"), panel);
  FillBuiltInExchanges(ui.ComboBoxStockExchange5);
  ui.EditStockUnit5 = MakeAmountEdit(QStringLiteral("EditStockUnit5"), panel);

  ui.RadioButtonB5 = MakeRadio(QStringLiteral("買い"), "RadioButtonB5", panel);
  ui.RadioButtonS5 = MakeRadio(QStringLiteral("売り"), "RadioButtonS5", panel);
  ColourChoice(ui.RadioButtonB5, kRed);
  ColourChoice(ui.RadioButtonS5, kBlue);
  ui.SideGroup5 = new QButtonGroup(this);
  ui.SideGroup5->addButton(ui.RadioButtonB5, 0);
  ui.SideGroup5->addButton(ui.RadioButtonS5, 1);
  ui.RadioButtonB5->setChecked(true);

  ui.EditPrice5 = MakeAmountEdit(QStringLiteral("EditPrice5"), panel, QStringLiteral("0"));
  ui.UpDownPrice5 = new UpDownArrows(QStringLiteral("UpDownPrice5"), panel);
  ui.EditNum5 = MakeAmountEdit(QStringLiteral("EditNum5"), panel, QStringLiteral("0"));
  ui.UpDownNum5 = new UpDownArrows(QStringLiteral("UpDownNum5"), panel);
  // The window gives the charge its list (and text) from the diary's.
  ui.ComboBoxCharge5 = MakeCombo(QStringLiteral("ComboBoxCharge5"), panel);
  ui.ComboBoxCharge5->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  ui.MemoPriceBS5 = MakeFigure("MemoPriceBS5", panel);
  ui.LabelBSHold5 = MakeLabel(QStringLiteral("保有"), panel, QStringLiteral("LabelBSHold5"));
  ui.MemoPriceBSHold5 = MakeFigure("MemoPriceBSHold5", panel);
  ui.MemoPriceBSHold5->clear();
  ui.LabelBSPM5 = MakeLabel(QStringLiteral("損益"), panel, QStringLiteral("LabelBSPM5"));
  ui.MemoPriceBSPM5 = MakeFigure("MemoPriceBSPM5", panel);
  ui.MemoPriceBSPM5->clear();

  ui.PanelHoldPer5 = MakeRatePanel("PanelHoldPer5", panel);

  ui.GroupBoxHold5 = new QGroupBox(QStringLiteral("保有 "), panel);
  ui.GroupBoxHold5->setObjectName(QStringLiteral("GroupBoxHold5"));
  // Ticked only under a position taken over from another tab.
  ui.CheckBoxHold5 = new QCheckBox(ui.GroupBoxHold5);
  ui.CheckBoxHold5->setObjectName(QStringLiteral("CheckBoxHold5"));
  ui.CheckBoxHold5->setToolTip(QStringLiteral("入出金"));
  ui.CheckBoxHold5->setEnabled(false);
  ui.EditPriceHold5 = MakeFigure("EditPriceHold5", ui.GroupBoxHold5);
  ui.EditNumHold5 = MakeFigure("EditNumHold5", ui.GroupBoxHold5);
  ui.MemoPriceHold5 = MakeFigure("MemoPriceHold5", ui.GroupBoxHold5);
  ui.MemoPriceHoldPM5 = MakeFigure("MemoPriceHoldPM5", ui.GroupBoxHold5);
  // The caption's colour is the position's side; what the group holds keeps
  // the usual colours.
  for (QWidget* child : {static_cast<QWidget*>(ui.CheckBoxHold5), static_cast<QWidget*>(ui.EditPriceHold5),
                         static_cast<QWidget*>(ui.EditNumHold5), static_cast<QWidget*>(ui.MemoPriceHold5),
                         static_cast<QWidget*>(ui.MemoPriceHoldPM5)}) {
    SetTextColour(child, child->palette().color(QPalette::Active, QPalette::Text));
  }

  ui.ButtonBS5 = new QPushButton(QStringLiteral("売買取引"), panel);
  ui.ButtonBS5->setObjectName(QStringLiteral("ButtonBS5"));
  ui.ButtonDel5 = new QPushButton(QStringLiteral("取消"), panel);
  ui.ButtonDel5->setObjectName(QStringLiteral("ButtonDel5"));
  ui.ButtonDel5->setEnabled(false);
  ui.ButtonClear5 = new QPushButton(QStringLiteral("クリア"), panel);
  ui.ButtonClear5->setObjectName(QStringLiteral("ButtonClear5"));
  ui.ButtonClear5->setEnabled(false);

  ui.ListViewSim = MakeListView(QStringLiteral("ListViewSim"), ui.Splitter);
  ui.Model = new LedgerModel(&ledger_.rows(), Columns(), this);
  ui.ListViewSim->setModel(ui.Model);
  ApplyColumns(ui.ListViewSim, ui.Model->columns());

  setClosingCaptionsActive(false);
}

void SimulationTab::createLayout() {
  QWidget* panel = ui.PanelSim;
  auto label = [panel](const char* text) { return MakeLabel(QString::fromUtf8(text), panel); };

  // The stock: code with its recent codes, name, exchange and unit.
  ui.ComboBoxStockExchange5->setFixedWidth(112);
  ui.EditStockUnit5->setFixedWidth(52);
  auto* stock = new QHBoxLayout;
  stock->setSpacing(3);
  stock->addWidget(label("コード"));
  stock->addWidget(ui.MaskEditStockCode5);
  stock->addSpacing(-2);
  stock->addWidget(ui.ComboBoxStockCode5);
  stock->addWidget(ui.EditStockName5, 100);
  stock->addSpacing(6);
  stock->addWidget(label("取引所"));
  stock->addWidget(ui.ComboBoxStockExchange5);
  stock->addSpacing(6);
  stock->addWidget(label("単位"));
  stock->addWidget(ui.EditStockUnit5);
  stock->addStretch(1);
  ui.EditStockName5->setMaximumWidth(kNameWidth);

  // The trade: side and rate, price and quantity, charge and amount, then
  // what a closing takes out and realises. Captions in columns 0 and 3.
  ui.EditPrice5->setFixedWidth(kAmountWidth);
  ui.EditNum5->setFixedWidth(kQuantityWidth);
  ui.ComboBoxCharge5->setFixedWidth(kAmountWidth + 16 + 3);
  for (QWidget* figure : {ui.MemoPriceBS5, ui.MemoPriceBSHold5, ui.MemoPriceBSPM5}) figure->setFixedWidth(kAmountWidth);
  ui.PanelHoldPer5->setFixedWidth(kQuantityWidth);
  ui.PanelHoldPer5->setFixedHeight(ui.EditNum5->sizeHint().height());

  auto withArrows = [](QLineEdit* edit, UpDownArrows* arrows) {
    auto* row = new QHBoxLayout;
    row->setSpacing(3);
    row->addWidget(edit);
    row->addWidget(arrows);
    row->addStretch(1);
    return row;
  };
  auto withYen = [label](QWidget* figure) {
    auto* row = new QHBoxLayout;
    row->setSpacing(3);
    row->addWidget(figure);
    row->addWidget(label("円"));
    row->addStretch(1);
    return row;
  };

  QGroupBox* sideBox = MakeChoiceBox(panel, {ui.RadioButtonB5, ui.RadioButtonS5});
  auto* trade = new QGridLayout;
  trade->setHorizontalSpacing(4);
  trade->setVerticalSpacing(3);
  trade->addWidget(sideBox, 0, 0, 1, 2, Qt::AlignLeft);
  trade->addWidget(ui.PanelHoldPer5, 0, 4, Qt::AlignLeft);
  trade->addWidget(label("時価(単価)"), 1, 0);
  trade->addLayout(withArrows(ui.EditPrice5, ui.UpDownPrice5), 1, 1);
  trade->addWidget(label("数量"), 1, 3);
  trade->addLayout(withArrows(ui.EditNum5, ui.UpDownNum5), 1, 4);
  trade->addWidget(label("手数料"), 2, 0);
  trade->addWidget(ui.ComboBoxCharge5, 2, 1, Qt::AlignLeft);
  trade->addLayout(withYen(ui.MemoPriceBS5), 2, 4);
  trade->addWidget(ui.LabelBSHold5, 3, 0);
  trade->addLayout(withYen(ui.MemoPriceBSHold5), 3, 1);
  trade->addWidget(ui.LabelBSPM5, 3, 3);
  trade->addLayout(withYen(ui.MemoPriceBSPM5), 3, 4);
  trade->setColumnMinimumWidth(2, 6);

  // The position after the trade, with the start-row box at its head.
  for (QWidget* figure : {ui.EditPriceHold5, ui.EditNumHold5, ui.MemoPriceHold5, ui.MemoPriceHoldPM5})
    figure->setFixedWidth(kAmountWidth);
  QWidget* group = ui.GroupBoxHold5;
  auto* hold = new QGridLayout(group);
  hold->setContentsMargins(6, 2, 6, 4);
  hold->setHorizontalSpacing(4);
  hold->setVerticalSpacing(3);
  hold->addWidget(ui.CheckBoxHold5, 0, 0);
  struct Figure {
    const char* caption;
    QLineEdit* field;
  };
  int row = 0;
  for (const Figure& figure : {Figure{"総額", ui.EditPriceHold5}, Figure{"株数", ui.EditNumHold5},
                               Figure{"平均単価", ui.MemoPriceHold5}, Figure{"損益", ui.MemoPriceHoldPM5}}) {
    QLabel* caption = MakeLabel(QString::fromUtf8(figure.caption), group);
    SetTextColour(caption, caption->palette().color(QPalette::Active, QPalette::WindowText));
    hold->addWidget(caption, row, 1, Qt::AlignRight);
    hold->addWidget(figure.field, row, 2);
    ++row;
  }

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(3);
  buttons->addWidget(ui.ButtonBS5);
  buttons->addWidget(ui.ButtonDel5);
  buttons->addWidget(ui.ButtonClear5);
  buttons->addStretch(1);
  ui.ButtonBS5->setMinimumHeight(40);

  auto* lower = new QHBoxLayout;
  lower->setSpacing(6);
  lower->addLayout(trade);
  lower->addWidget(ui.GroupBoxHold5, 0, Qt::AlignTop);
  lower->addLayout(buttons);
  lower->addStretch(1);

  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addLayout(stock);
  layout->addLayout(lower);
  layout->addStretch(1);

  PlacePanelOverList(this, ui.Splitter, panel->sizeHint().height());
}

void SimulationTab::createConnections() {
  auto preview = [this] { EditPrice5Change(); };
  connect(ui.EditPrice5, &QLineEdit::textChanged, this, preview);
  connect(ui.EditNum5, &QLineEdit::textChanged, this, preview);
  connect(ui.ComboBoxCharge5, &QComboBox::editTextChanged, this, preview);
  connect(ui.RadioButtonB5, &QRadioButton::clicked, this, preview);
  connect(ui.RadioButtonS5, &QRadioButton::clicked, this, preview);
  connect(ui.ComboBoxCharge5, &QComboBox::activated, this, &SimulationTab::ComboBoxCharge5Select);
  for (QLineEdit* field : {ui.EditPrice5, ui.EditNum5, ui.EditStockUnit5})
    InstallNumericKeyFilter(field, setupModeQuery());
  NormaliseOnExit(ui.EditPrice5);
  NormaliseOnExit(ui.EditNum5);
  NormaliseOnExit(ui.ComboBoxCharge5,
                  [this] { PushRecentCharge(ui.ComboBoxCharge5, ui.ComboBoxCharge5->currentText()); });
  ConnectStepper(ui.UpDownPrice5, ui.EditPrice5, [] { return core::Amount{1}; });
  ConnectStepper(ui.UpDownNum5, ui.EditNum5, [this] { return unitStep_; });

  connect(ui.ButtonBS5, &QPushButton::clicked, this, &SimulationTab::ButtonBS5Click);
  connect(ui.ButtonDel5, &QPushButton::clicked, this, &SimulationTab::ButtonDel5Click);
  connect(ui.ButtonClear5, &QPushButton::clicked, this, &SimulationTab::ButtonClear5Click);
  connect(ui.CheckBoxHold5, &QCheckBox::clicked, this, &SimulationTab::CheckBoxHold5Click);
  connect(ui.ListViewSim, &QTreeView::doubleClicked, this, &SimulationTab::ListViewSimDblClick);

  // The stock: looked up on leaving the code or choosing a recent one,
  // written back on leaving the name or the unit.
  connect(ui.EditStockUnit5, &QLineEdit::textChanged, this, &SimulationTab::EditStockUnit5Change);
  ConnectRecentCodes(ui.ComboBoxStockCode5, ui.MaskEditStockCode5, ui.EditStockName5, [this] { lookUpStock(); });
  for (QWidget* watched : {ui.MaskEditStockCode5, ui.EditStockName5, ui.EditStockUnit5})
    watched->installEventFilter(this);
}

bool SimulationTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == ui.MaskEditStockCode5) {
      MaskEditStockCode5Exit();
    } else if (watched == ui.EditStockName5 || watched == ui.EditStockUnit5) {
      EditStock5Exit();
    }
  } else if (event->type() == QEvent::KeyPress && watched == ui.MaskEditStockCode5) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ui.EditStockName5->setFocus();
      return true;
    }
  }
  return TabBase::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// The preview of the trade

core::SimTrade SimulationTab::tradeOfPanel() const {
  core::SimTrade trade;
  trade.buy = ui.RadioButtonB5->isChecked();
  trade.price = ToSjis(ui.EditPrice5->text());
  trade.quantity = ToSjis(ui.EditNum5->text());
  trade.charge = ToSjis(ui.ComboBoxCharge5->currentText());
  return trade;
}

void SimulationTab::EditPrice5Change() {
  const core::SimPreview p = ledger_.preview(tradeOfPanel());
  if (p.quantityCut) {
    // A closing trade cannot sell or buy back more than is held.
    const QSignalBlocker blocker(ui.EditNum5);
    ui.EditNum5->setText(AmountText(p.quantity));
  }
  ui.MemoPriceBS5->setText(AmountText(p.amount));
  setClosingCaptionsActive(p.closing);
  if (p.closing) {
    ui.MemoPriceBSHold5->setText(AmountText(p.heldCost.value_or(0)));
    ui.MemoPriceBSPM5->setText(AmountText(p.realised.value_or(0)));
    ShowSignColour(ui.MemoPriceBSPM5, p.realised.value_or(0));
  } else {
    ui.MemoPriceBSHold5->clear();
    ui.MemoPriceBSPM5->clear();
  }
  ui.EditPriceHold5->setText(AmountText(p.total));
  ui.EditNumHold5->setText(AmountText(p.shares));
  ui.MemoPriceHold5->setText(AmountText(p.average));
  ui.MemoPriceHoldPM5->setText(AmountText(p.unrealised));
  ShowSignColour(ui.MemoPriceHoldPM5, p.unrealised);
  ShowRate(ui.PanelHoldPer5, core::PanelFigures{p.average, p.unrealised, p.difference, p.rate});
  showSide(ledger_.side());
}

void SimulationTab::showSide(core::SimSide side) {
  QColor colour = StandardColour(this, QPalette::WindowText);
  if (side == core::SimSide::Long) colour = kRed;
  if (side == core::SimSide::Short) colour = kBlue;
  SetTextColour(ui.GroupBoxHold5, colour);
}

void SimulationTab::setQuantity(const QString& text) {
  if (ui.EditNum5->text() == text) {
    EditPrice5Change();
  } else {
    ui.EditNum5->setText(text);  // the preview follows
  }
}

// ---------------------------------------------------------------------------
// Recording, taking back, starting over

void SimulationTab::showLedger() {
  ui.Model->sync();
  if (!ledger_.rows().empty()) ui.ListViewSim->scrollToBottom();
  {
    const QSignalBlocker blocker(ui.CheckBoxHold5);
    ui.CheckBoxHold5->setChecked(ledger_.startRowTicked());
  }
  ui.CheckBoxHold5->setEnabled(ledger_.startRowEnabled());
  ui.ButtonDel5->setEnabled(ledger_.undoEnabled());
  ui.ButtonClear5->setEnabled(ledger_.undoEnabled());
}

void SimulationTab::ButtonBS5Click() {
  if (!ledger_.record(tradeOfPanel())) return;
  showLedger();
  setQuantity(QStringLiteral("0"));
  UpdateSimSummary();
}

void SimulationTab::ButtonDel5Click() {
  switch (ledger_.takeBack()) {
    case core::SimTakeBack::Nothing: return;
    case core::SimTakeBack::RowsRemain:
      showLedger();
      UpdateSimSummary();
      break;
    case core::SimTakeBack::Emptied:
      showLedger();
      ResetSimSummary();
      break;
  }
  EditPrice5Change();
}

void SimulationTab::ButtonClear5Click() {
  ledger_.clear();
  showLedger();
  EditPrice5Change();
  ResetSimSummary();
}

void SimulationTab::CheckBoxHold5Click(bool checked) {
  if (!checked) ledger_.untickStartRow();
  showLedger();
}

void SimulationTab::ListViewSimDblClick(const QModelIndex& index) {
  const auto row = ui.Model->tableIndex(index.row());
  if (!row) return;
  ui.EditPrice5->setText(ToQString(ledger_.rows()[*row].cell(SimCol::Price)));
}

void SimulationTab::startOver() {
  ledger_.empty();
  showLedger();
  EditPrice5Change();
  ResetSimSummary();
}

void SimulationTab::ResetSimSummary() {
  if (summary_) summary_->ResetSimSummary(books_, StockCodeOf(ui.MaskEditStockCode5));
}

void SimulationTab::UpdateSimSummary() {
  if (summary_) summary_->UpdateSimSummary(ledger_.rows());
}

// ---------------------------------------------------------------------------
// The charge, the unit and the stock

void SimulationTab::ComboBoxCharge5Select() {
  PushRecentCharge(ui.ComboBoxCharge5, ui.ComboBoxCharge5->currentText());
  EditPrice5Change();
}

void SimulationTab::EditStockUnit5Change() {
  const std::string unit = ToSjis(ui.EditStockUnit5->text());
  // A unit of 0 (or none) steps by single shares.
  unitStep_ = core::UnitStep(unit);
  if (unit.empty()) return;
  const QString rounded = ToQString(core::RoundQuantityToStep(ToSjis(ui.EditNum5->text()), unitStep_));
  if (rounded != ui.EditNum5->text()) ui.EditNum5->setText(rounded);
}

StockFieldSet SimulationTab::stockFields() const {
  return {ui.MaskEditStockCode5, ui.EditStockName5, ui.ComboBoxStockExchange5, ui.EditStockUnit5};
}

bool SimulationTab::lookUpStock() {
  ui.MaskEditStockCode5->setModified(false);
  const std::string code = StockCodeOf(ui.MaskEditStockCode5);
  if (code == core::kNoStockCode) return false;
  const core::StockDetails details = core::LookUpStock(books_, code);
  {
    const QSignalBlocker blocker(ui.EditStockUnit5);
    ShowStockDetails(stockFields(), details);
  }
  EditStockUnit5Change();
  startOver();
  PushRecentStockLine(ui.ComboBoxStockCode5, code, details.name);
  return true;
}

void SimulationTab::MaskEditStockCode5Exit() {
  // Only a code the user changed starts the simulation over.
  if (ui.MaskEditStockCode5->isModified()) lookUpStock();
}

void SimulationTab::EditStock5Exit() {
  // A changed exchange alone is not written back.
  if (!ui.EditStockName5->isModified() && !ui.EditStockUnit5->isModified()) return;
  if (StockCodeOf(ui.MaskEditStockCode5) == core::kNoStockCode) return;
  StoreTypedStockDetails(stockFields(), books_, services_);
}

// ---------------------------------------------------------------------------
// Taking a simulation over from another tab

void SimulationTab::takeOver(const core::SimSource& source, bool shift) {
  ledger_.empty();
  ui.MaskEditStockCode5->setText(source.code == core::kNoStockCode ? QString() : ToQString(source.code));
  if (!lookUpStock()) startOver();

  const core::SimTakeOverPlan plan =
      core::PlanSimTakeOver(source, books_.positions, ToSjis(ui.ComboBoxCharge5->currentText()), shift);
  if (plan.setsSide) (plan.buy ? ui.RadioButtonB5 : ui.RadioButtonS5)->setChecked(true);
  for (const core::SimTrade& position : plan.positions) {
    if (ledger_.recordTakenOver(position)) UpdateSimSummary();
  }
  ledger_.endTakeOver();
  showLedger();
  if (plan.price) {
    const QSignalBlocker blocker(ui.EditPrice5);
    ui.EditPrice5->setText(ToQString(*plan.price));
  }
  if (plan.quantity) {
    const QSignalBlocker blocker(ui.EditNum5);
    ui.EditNum5->setText(ToQString(*plan.quantity));
  }
  EditPrice5Change();
}

void SimulationTab::applySettings(const core::Settings& settings) {
  ApplyWidths(ui.ListViewSim, settings.simColumns, 3);
  ApplyExchanges(ui.ComboBoxStockExchange5, settings.exchanges);
  SetComboItems(ui.ComboBoxStockCode5, settings.recentSimStocks);
  SetComboItems(ui.ComboBoxCharge5, settings.recentCharges);
}

void SimulationTab::collectSettings(core::Settings& settings) const {
  CollectWidths(ui.ListViewSim, settings.simColumns, 3);
  settings.recentSimStocks = ComboItems(ui.ComboBoxStockCode5);
}

}  // namespace tomvik::app
