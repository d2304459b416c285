#include "app/ledger/ledger_tab.h"

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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSizePolicy>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

#include "app/shell/dates.h"
#include "app/shell/entry_fields.h"
#include "app/shell/keyboard.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/diary/entry_amounts.h"
#include "core/records/date.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

// Height of the entry panel until the window restores the saved one.
constexpr int kPanelHeight = 168;
// Field widths shared by the amount group and the sub-panel, so the
// sub-panel covers the group exactly.
constexpr int kAmountWidth = 90;
constexpr int kSubPanelFieldWidth = 70;

core::Amount One() { return 1; }

}  // namespace

LedgerTab::LedgerTab(core::Books& books, core::LedgerTable& table, LedgerTabTraits traits, QWidget* parent)
    : TabBase(books, parent), table_(table), traits_(std::move(traits)) {
  setObjectName(traits_.sheet);
  createWidgets();
}

// ---------------------------------------------------------------------------
// The controls

void LedgerTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(traits_.splitter);
  ui.Panel = new QFrame(ui.Splitter);
  ui.Panel->setObjectName(traits_.panel);

  createStockGroup();
  createAmountGroup();
  createMarketFields();
  // Created after the amount group so that it lies on top of it.
  createSubPanel();
  createCommentAndButtons();

  ui.List = MakeListView(traits_.list, ui.Splitter);
  ui.Model = new LedgerModel(&table_, traits_.columns, this);
  ui.List->setModel(ui.Model);
  ApplyColumns(ui.List, ui.Model->columns());
}

void LedgerTab::createStockGroup() {
  // The stock fields show the opened row; they are typed only in the
  // initial-setup mode.
  const QString& s = traits_.suffix;
  ui.StockGroup = new QGroupBox(ui.Panel);
  ui.StockGroup->setObjectName(QStringLiteral("GroupBox") + s + QLatin1Char('a'));
  ui.StockGroup->setEnabled(false);
  ui.Code = MakeCodeEdit(QStringLiteral("MaskEditStockCode") + s, ui.StockGroup);
  ui.Name = MakeTextEdit(QStringLiteral("EditStockName") + s, ui.StockGroup);
  ui.Exchange = MakeCombo(QStringLiteral("ComboBoxStockExchange") + s, ui.StockGroup);
  FillBuiltInExchanges(ui.Exchange);
  ui.Unit = MakeAmountEdit(QStringLiteral("EditStockUnit") + s, ui.StockGroup);
  for (QLineEdit* field : {ui.Code, ui.Name, ui.Unit}) Lock(field);
}

void LedgerTab::createAmountGroup() {
  const QString& s = traits_.suffix;
  ui.AmountGroup = new QGroupBox(ui.Panel);
  ui.AmountGroup->setObjectName(QStringLiteral("GroupBox") + s + QLatin1Char('b'));
  ui.AmountGroup->setEnabled(false);
  ui.Buy = new QRadioButton(traits_.buyCaption, ui.AmountGroup);
  ui.Buy->setObjectName(QStringLiteral("RadioButtonB") + s);
  ui.Buy->setChecked(true);
  ui.Sell = new QRadioButton(traits_.sellCaption, ui.AmountGroup);
  ui.Sell->setObjectName(QStringLiteral("RadioButtonS") + s);
  ui.Total = MakeAmountEdit(QStringLiteral("EditPrice") + s, ui.AmountGroup, QStringLiteral("0"));
  ui.Shares = MakeAmountEdit(QStringLiteral("EditNum") + s, ui.AmountGroup, QStringLiteral("0"));
  for (QLineEdit* field : {ui.Total, ui.Shares}) Lock(field);
  ui.SharesArrows = new UpDownArrows(QStringLiteral("UpDownNum") + s, ui.AmountGroup);
  ui.SharesArrows->setEnabled(false);
  ui.Price = MakeMemo(QStringLiteral("MemoPrice") + s, ui.AmountGroup);
}

void LedgerTab::createMarketFields() {
  const QString& s = traits_.suffix;
  ui.Market = MakeAmountEdit(QStringLiteral("EditMarketPrice") + s, ui.Panel, QStringLiteral("0"));
  ui.MarketArrows = new UpDownArrows(QStringLiteral("UpDownMarketPrice") + s, ui.Panel);
  ui.Result = MakeMemo(QStringLiteral("MemoPM") + s, ui.Panel);
  ui.Rate = MakeRatePanel(traits_.rate, ui.Panel);
}

void LedgerTab::createSubPanel() {
  const QString x = traits_.suffix + QLatin1Char('x');
  ui.SubGroup = new QGroupBox(traits_.subCaption, ui.Panel);
  ui.SubGroup->setObjectName(QStringLiteral("GroupBoxPrice") + x);
  // It covers the amount group when shown, and keeps its room when hidden
  // so that showing it does not move the panel around.
  ui.SubGroup->setAutoFillBackground(true);
  QSizePolicy policy = ui.SubGroup->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  ui.SubGroup->setSizePolicy(policy);
  ui.SubGroup->setVisible(false);
  QWidget* box = ui.SubGroup;

  ui.SubPrice = MakeAmountEdit(QStringLiteral("EditPrice") + x, box, QStringLiteral("0"));
  ui.SubPriceArrows = new UpDownArrows(QStringLiteral("UpDownPrice") + x, box);
  ui.SubQuantity = MakeAmountEdit(QStringLiteral("EditNum") + x, box, QStringLiteral("0"));
  ui.SubQuantityArrows = new UpDownArrows(QStringLiteral("UpDownNum") + x, box);
  ui.SubCharge = MakeCombo(QStringLiteral("ComboBoxCharge") + x, box);
  ui.SubCharge->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ui.SubTax = MakeAmountEdit(QStringLiteral("EditTax") + x, box, QStringLiteral("0"));
  ui.SubAmount = MakeMemo(QStringLiteral("MemoPrice") + x, box);
  ui.SubFirst = new QRadioButton(traits_.subFirstCaption, box);
  ui.SubFirst->setObjectName(QStringLiteral("RadioButtonB") + x);
  ui.SubSecond = new QRadioButton(traits_.subSecondCaption, box);
  ui.SubSecond->setObjectName(QStringLiteral("RadioButtonS") + x);
  ui.SubButton = new QPushButton(traits_.subButtonCaption, box);
  ui.SubButton->setObjectName(traits_.subButton);
}

void LedgerTab::createCommentAndButtons() {
  const QString& s = traits_.suffix;
  QWidget* panel = ui.Panel;
  ui.Comment = MakeCommentBox(QStringLiteral("RichEditComment") + s, panel);
  ui.CommentTaken = new QCheckBox(panel);
  ui.CommentTaken->setObjectName(QStringLiteral("CheckBoxClearD") + s);
  ui.CommentTaken->setToolTip(QStringLiteral("有効"));
  ui.CommentTaken->setChecked(true);

  // Opening a row enables the sub-panel's box; until then there is nothing
  // to sell or settle.
  ui.SubCheck = new QCheckBox(traits_.subCheckCaption, panel);
  ui.SubCheck->setObjectName(traits_.subCheck);
  ui.SubCheck->setEnabled(false);

  ui.Date = MakeDatePicker(QStringLiteral("DateTimePicker") + s, panel);
  ui.DiaryButton = new QPushButton(QStringLiteral("日記"), panel);
  ui.DiaryButton->setObjectName(QStringLiteral("ButtonHoldDiary") + s);
  ui.DiaryButton->setEnabled(false);
  ui.All = new QCheckBox(panel);
  ui.All->setObjectName(QStringLiteral("CheckBoxAllD") + s);
  ui.All->setToolTip(QStringLiteral("一括"));

  ui.Add = new QPushButton(QStringLiteral("追加"), panel);
  ui.Add->setObjectName(QStringLiteral("ButtonAdd") + s);
  ui.Add->setVisible(false);
  ui.Update = new QPushButton(QStringLiteral("更新"), panel);
  ui.Update->setObjectName(QStringLiteral("ButtonUpd") + s);
  ui.Update->setEnabled(false);
  ui.Delete = new QPushButton(QStringLiteral("削除"), panel);
  ui.Delete->setObjectName(QStringLiteral("ButtonDel") + s);
  ui.Delete->setVisible(false);
  ui.Delete->setEnabled(false);
}

void LedgerTab::finishSetUp(const std::vector<QWidget*>& sideBoxes) {
  layOut(sideBoxes);
  PlacePanelOverList(this, ui.Splitter, kPanelHeight);
  connectFields();
  connectSubPanel();
}

void LedgerTab::layOut(const std::vector<QWidget*>& sideBoxes) {
  QWidget* panel = ui.Panel;

  // Stock group: code and name, then exchange and unit. The name takes
  // whatever width the other fields leave.
  ui.Exchange->setFixedWidth(104);
  ui.Unit->setFixedWidth(52);
  ui.Name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  auto* stock = new QGridLayout(ui.StockGroup);
  stock->setContentsMargins(6, 4, 6, 4);
  stock->setHorizontalSpacing(3);
  stock->setVerticalSpacing(3);
  stock->addWidget(MakeLabel(QStringLiteral("コード"), ui.StockGroup), 0, 0);
  auto* codeRow = new QHBoxLayout;
  codeRow->setSpacing(3);
  codeRow->addWidget(ui.Code);
  codeRow->addSpacing(4);
  codeRow->addWidget(MakeLabel(QStringLiteral("銘柄"), ui.StockGroup));
  codeRow->addWidget(ui.Name, 1);
  stock->addLayout(codeRow, 0, 1, 1, 3);
  stock->addWidget(MakeLabel(QStringLiteral("取引所"), ui.StockGroup), 1, 0);
  stock->addWidget(ui.Exchange, 1, 1);
  stock->addWidget(MakeLabel(QStringLiteral("単位"), ui.StockGroup), 1, 2, Qt::AlignRight);
  stock->addWidget(ui.Unit, 1, 3);
  stock->setColumnStretch(2, 1);

  // Market price, result and rate: what the user looks at and types.
  ui.Market->setFixedWidth(kAmountWidth);
  ui.Result->setFixedWidth(kAmountWidth);
  auto* market = new QGridLayout;
  market->setContentsMargins(6, 0, 2, 0);
  market->setHorizontalSpacing(3);
  market->setVerticalSpacing(3);
  market->addWidget(MakeLabel(QStringLiteral("時価"), panel), 0, 0);
  market->addWidget(ui.Market, 0, 1);
  market->addWidget(ui.MarketArrows, 0, 2);
  market->addWidget(MakeLabel(QStringLiteral("騰落率"), panel), 0, 4, Qt::AlignRight);
  market->addWidget(ui.Rate, 0, 5);
  market->addWidget(MakeLabel(QStringLiteral("損益"), panel), 1, 0);
  market->addWidget(ui.Result, 1, 1);
  market->addWidget(MakeLabel(QStringLiteral("円"), panel), 1, 2, 1, 2);
  market->setColumnStretch(3, 1);

  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  left->addWidget(ui.StockGroup);
  left->addStretch(1);
  left->addLayout(market);
  left->addStretch(1);

  // Amount group: total, shares, average and the side.
  for (QLineEdit* field : {ui.Total, ui.Shares, ui.Price}) field->setFixedWidth(kAmountWidth);
  auto* amount = new QGridLayout(ui.AmountGroup);
  amount->setContentsMargins(6, 4, 6, 4);
  amount->setHorizontalSpacing(3);
  amount->setVerticalSpacing(3);
  amount->addWidget(MakeLabel(QStringLiteral("総額"), ui.AmountGroup), 0, 0);
  amount->addWidget(ui.Total, 0, 1);
  amount->addWidget(MakeLabel(QStringLiteral("円"), ui.AmountGroup), 0, 2);
  amount->addWidget(MakeLabel(QStringLiteral("株数"), ui.AmountGroup), 1, 0);
  amount->addWidget(ui.Shares, 1, 1);
  amount->addWidget(ui.SharesArrows, 1, 2);
  amount->addWidget(MakeLabel(traits_.priceCaption, ui.AmountGroup), 2, 0);
  amount->addWidget(ui.Price, 2, 1);
  amount->addWidget(MakeLabel(QStringLiteral("円"), ui.AmountGroup), 2, 2);
  amount->addWidget(MakeRadioRow(ui.AmountGroup, {ui.Buy, ui.Sell}), 3, 0, 1, 3, Qt::AlignLeft);
  amount->setColumnStretch(3, 1);

  // The sub-panel: price and charge, quantity and tax, the choices and the amount.
  QWidget* box = ui.SubGroup;
  for (QWidget* field : {static_cast<QWidget*>(ui.SubPrice), static_cast<QWidget*>(ui.SubQuantity),
                         static_cast<QWidget*>(ui.SubCharge), static_cast<QWidget*>(ui.SubTax)}) {
    field->setFixedWidth(kSubPanelFieldWidth);
  }
  ui.SubAmount->setFixedWidth(kAmountWidth);
  auto* sub = new QGridLayout(box);
  sub->setContentsMargins(6, 2, 6, 4);
  sub->setHorizontalSpacing(3);
  sub->setVerticalSpacing(3);
  sub->addWidget(MakeLabel(QStringLiteral("単価"), box), 0, 0);
  sub->addWidget(ui.SubPrice, 0, 1);
  sub->addWidget(ui.SubPriceArrows, 0, 2);
  sub->addWidget(MakeLabel(QStringLiteral("手数料"), box), 0, 3, Qt::AlignRight);
  sub->addWidget(ui.SubCharge, 0, 4);
  sub->addWidget(MakeLabel(QStringLiteral("数量"), box), 1, 0);
  sub->addWidget(ui.SubQuantity, 1, 1);
  sub->addWidget(ui.SubQuantityArrows, 1, 2);
  sub->addWidget(MakeLabel(QStringLiteral("税"), box), 1, 3, Qt::AlignRight);
  sub->addWidget(ui.SubTax, 1, 4);
  sub->addWidget(ui.SubAmount, 2, 3, 1, 2, Qt::AlignRight);
  sub->addWidget(MakeLabel(QStringLiteral("円"), box), 2, 5);
  sub->addWidget(MakeRadioRow(box, {ui.SubFirst, ui.SubSecond}), 3, 0, 1, 4, Qt::AlignLeft);
  sub->addWidget(ui.SubButton, 3, 4, 1, 2, Qt::AlignRight);
  sub->setColumnMinimumWidth(3, 44);
  sub->setColumnStretch(3, 1);

  // Comment with the box that decides whether it is taken and stored.
  auto* commentHead = new QHBoxLayout;
  commentHead->setSpacing(2);
  commentHead->addWidget(ui.CommentTaken);
  commentHead->addWidget(MakeLabel(QStringLiteral("コメント"), panel));
  commentHead->addStretch(1);
  // The comment takes the width the fields leave.
  ui.Comment->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
  auto* comment = new QVBoxLayout;
  comment->setSpacing(1);
  comment->addLayout(commentHead);
  comment->addWidget(ui.Comment, 1);

  // Bottom row: the sub-panel's box, the diary copy with its date, the buttons.
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(3);
  bottom->addWidget(ui.SubCheck);
  for (QWidget* sideBox : sideBoxes) bottom->addWidget(sideBox);
  bottom->addSpacing(16);
  bottom->addWidget(ui.Date);
  bottom->addWidget(ui.DiaryButton);
  bottom->addSpacing(2);
  bottom->addWidget(ui.All);
  bottom->addWidget(MakeLabel(QStringLiteral("一括"), panel));
  bottom->addStretch(1);
  for (QPushButton* button : {ui.Add, ui.Update, ui.Delete}) bottom->addWidget(button);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(4);
  grid->addLayout(left, 0, 0);
  // The sub-panel shares the amount group's cell and lies over it.
  grid->addWidget(ui.AmountGroup, 0, 1);
  grid->addWidget(ui.SubGroup, 0, 1);
  grid->addLayout(comment, 0, 2);
  grid->addLayout(bottom, 1, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(0, 1);
}

void LedgerTab::connectFields() {
  // Outside the initial-setup mode only the market price, its arrows, the
  // comment and the check boxes react to the user; these stay attached.
  auto* marketEvents = new FieldEvents(ui.Market);
  marketEvents->setNumericFilter(true, setupModeQuery());
  NormaliseOnExit(ui.Market);
  connect(ui.Market, &QLineEdit::textChanged, this, &LedgerTab::EditPriceChange);
  ConnectStepper(ui.MarketArrows, ui.Market, One);
  connect(ui.Buy, &QRadioButton::clicked, this, &LedgerTab::EditPriceChange);
  connect(ui.Sell, &QRadioButton::clicked, this, &LedgerTab::EditPriceChange);
  connect(ui.Comment, &QPlainTextEdit::textChanged, this, &LedgerTab::cmnUpdate);
  connect(ui.Exchange, &QComboBox::currentTextChanged, this, [this] {
    exchangeChanged_ = true;
    cmnUpdate();
  });
  auto* exchangeEvents = new FieldEvents(ui.Exchange);
  connect(exchangeEvents, &FieldEvents::left, this, &LedgerTab::EditStockExit);
  connect(ui.SharesArrows, &UpDownArrows::up, this, [this] { stepShares(1); });
  connect(ui.SharesArrows, &UpDownArrows::down, this, [this] { stepShares(-1); });

  connect(ui.CommentTaken, &QCheckBox::clicked, this, &LedgerTab::CheckBoxClearDClick);
  connect(ui.All, &QCheckBox::clicked, this, &LedgerTab::CheckBoxAllDClick);
  connect(ui.Add, &QPushButton::clicked, this, &LedgerTab::ButtonAddClick);
  connect(ui.Update, &QPushButton::clicked, this, &LedgerTab::ButtonUpdClick);
  connect(ui.Delete, &QPushButton::clicked, this, &LedgerTab::ButtonDelClick);
  connect(ui.DiaryButton, &QPushButton::clicked, this, &LedgerTab::ButtonHoldDiaryClick);

  // A row is opened when the user double-clicks it or makes it the current
  // row; rows the program selects are not opened.
  connect(ui.List, &QTreeView::doubleClicked, this, &LedgerTab::ListViewDblClick);
  connect(ui.List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!selecting_) ListViewDblClick();
  });

  // The fields the initial-setup mode opens up: their events are watched
  // from the start, their handlers attached only while the mode is on.
  codeEvents_ = new FieldEvents(ui.Code);
  nameEvents_ = new FieldEvents(ui.Name);
  unitEvents_ = new FieldEvents(ui.Unit);
  totalEvents_ = new FieldEvents(ui.Total);
  numEvents_ = new FieldEvents(ui.Shares);
}

void LedgerTab::connectSubPanel() {
  connect(ui.SubCheck, &QCheckBox::clicked, this, &LedgerTab::SubCheckClick);
  for (QLineEdit* field : {ui.SubPrice, ui.SubQuantity, ui.SubTax}) {
    InstallNumericKeyFilter(field, setupModeQuery());
    NormaliseOnExit(field);
    connect(field, &QLineEdit::textChanged, this, &LedgerTab::subPanelChanged);
  }
  connect(ui.SubCharge, &QComboBox::editTextChanged, this, &LedgerTab::subPanelChanged);
  // Choosing a charge puts it first in the list; leaving the field tidies it
  // and does the same.
  connect(ui.SubCharge, &QComboBox::activated, this, [this] {
    PushRecentCharge(ui.SubCharge, ui.SubCharge->currentText());
    subPanelChanged();
  });
  NormaliseOnExit(ui.SubCharge, [this] { PushRecentCharge(ui.SubCharge, ui.SubCharge->currentText()); });
  connect(ui.SubFirst, &QRadioButton::clicked, this, &LedgerTab::subPanelChanged);
  connect(ui.SubSecond, &QRadioButton::clicked, this, &LedgerTab::subPanelChanged);
  ConnectStepper(ui.SubPriceArrows, ui.SubPrice, One);
  connect(ui.SubQuantityArrows, &UpDownArrows::up, this, [this] { stepSubQuantity(1); });
  connect(ui.SubQuantityArrows, &UpDownArrows::down, this, [this] { stepSubQuantity(-1); });
  connect(ui.SubButton, &QPushButton::clicked, this, &LedgerTab::subButtonClicked);
}

void LedgerTab::attachSetupHandlers() {
  HandlerSet& h = setupHandlers_;
  const auto minus = setupModeQuery();
  h.add(connect(ui.Code, &QLineEdit::textChanged, this, &LedgerTab::cmnUpdate));
  h.add(connect(codeEvents_, &FieldEvents::left, this, &LedgerTab::MaskEditStockCodeExit));
  h.add(connect(codeEvents_, &FieldEvents::keyDown, this, [this](int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) ui.Name->setFocus();
  }));
  h.add(connect(ui.Unit, &QLineEdit::textChanged, this, &LedgerTab::EditStockUnitChange));
  h.add(connect(unitEvents_, &FieldEvents::left, this, &LedgerTab::EditStockExit));
  unitEvents_->setNumericFilter(true, minus);
  h.add(connect(ui.Name, &QLineEdit::textChanged, this, &LedgerTab::cmnUpdate));
  h.add(connect(nameEvents_, &FieldEvents::left, this, &LedgerTab::EditStockExit));
  h.add(connect(ui.Total, &QLineEdit::textChanged, this, &LedgerTab::EditPriceChange));
  h.add(connect(ui.Shares, &QLineEdit::textChanged, this, &LedgerTab::EditPriceChange));
  for (auto [field, events] : {std::pair{ui.Total, totalEvents_}, std::pair{ui.Shares, numEvents_}}) {
    events->setNumericFilter(true, minus);
    h.add(connect(events, &FieldEvents::left, field, [field] {
      const QString text = ToQString(core::NormaliseAmountText(ToSjis(field->text())));
      if (text != field->text()) field->setText(text);
    }));
  }
}

// ---------------------------------------------------------------------------
// The list and the modes

void LedgerTab::syncList() {
  {
    const QScopedValueRollback<bool> programmatic(selecting_, true);
    ui.Model->sync();
  }
  // The diary button follows the rows that it could copy.
  CheckBoxAllDClick();
}

void LedgerTab::syncAndSelect(std::optional<std::size_t> row) {
  if (services_) {
    services_->ledgersChanged();
  } else {
    syncList();
  }
  if (!row) return;
  const QScopedValueRollback<bool> programmatic(selecting_, true);
  SelectLedgerRow(ui.List, ui.Model, *row, true);
}

bool LedgerTab::validSelectedRow() const {
  return selectedRow_ >= 0 && static_cast<std::size_t>(selectedRow_) < table_.size();
}

void LedgerTab::applyPanelSettings(int split, bool commentTaken, const std::vector<std::string>& exchanges,
                                   const std::vector<std::string>& charges) {
  ApplySplit(ui.Splitter, split);
  ApplyExchanges(ui.Exchange, exchanges);
  SetComboItems(ui.SubCharge, charges);
  ui.CommentTaken->setChecked(commentTaken);
}

void LedgerTab::applyInitialSetupMode(bool on) {
  setupMode_ = on;
  // Rows typed in are not sold or settled; the sub-panel waits for the mode's end.
  ui.SubCheck->setChecked(false);
  ui.SubGroup->setVisible(false);
  ui.SubCheck->setVisible(!on);
  ui.StockGroup->setEnabled(on);
  ui.AmountGroup->setEnabled(on);
  for (QLineEdit* field : {ui.Code, ui.Unit, ui.Name, ui.Total, ui.Shares}) {
    field->setReadOnly(!on);
    SetFieldEnabled(field, on);
  }
  ui.SharesArrows->setEnabled(on);
  ui.Add->setVisible(on);
  ui.Delete->setVisible(on);
  ui.Update->setEnabled(false);

  setupHandlers_.detach();
  for (FieldEvents* events : {unitEvents_, totalEvents_, numEvents_}) events->setNumericFilter(false);
  if (on) {
    attachSetupHandlers();
  } else if (isVisible()) {
    ui.List->setFocus();
  }
}

void LedgerTab::ResetOtherPanels() {
  ui.Update->setEnabled(false);
  selectedRow_ = -1;
  ui.SubCheck->setChecked(false);
  ui.SubGroup->setVisible(false);
  ui.SubCheck->setEnabled(false);
}

void LedgerTab::showLedgerRow(const std::string& key) {
  const auto row = table_.find(key);
  if (!row) return;
  const QScopedValueRollback<bool> programmatic(selecting_, true);
  SelectLedgerRow(ui.List, ui.Model, *row, false);
}

std::optional<core::SimSource> LedgerTab::simulationSource() const {
  const auto kind =
      traits_.ledger == core::Ledger::Positions ? core::SimSource::Kind::Position : core::SimSource::Kind::Holding;
  return core::SimSource{kind,
                         StockCodeOf(ui.Code),
                         ui.Buy->isChecked(),
                         ToSjis(ui.Market->text()),
                         ToSjis(ui.Shares->text()),
                         ToSjis(ui.Total->text())};
}

// ---------------------------------------------------------------------------
// Opening a row and looking up a code

void LedgerTab::ListViewDblClick() {
  const auto at = CurrentLedgerRow(ui.List, ui.Model);
  if (!at) return;
  // Copied: the panel's own handlers run while it is filled.
  const core::LedgerRow row = table_[*at];
  const auto& c = traits_.cells;

  loading_ = true;
  ui.SubCheck->setChecked(false);
  ui.SubGroup->setVisible(false);
  ui.Delete->setEnabled(true);
  rowOpening();

  // The side is the key's fifth character: "1" or "5" buy, "2" or "6" sell.
  const bool buy = row.key.size() > 4 && (row.key[4] == '1' || row.key[4] == '5');
  (buy ? ui.Buy : ui.Sell)->setChecked(true);
  ui.Code->setText(ToQString(row.cell(c.stock).substr(0, 4)));
  MaskEditStockCodeExit();

  ui.Total->setText(ToQString(row.cell(c.total)));
  baseTotal_ = core::ParseAmount(row.cell(c.total));
  ui.Shares->setText(ToQString(row.cell(c.shares)));
  baseShares_ = core::ParseAmount(row.cell(c.shares));
  {
    const QSignalBlocker blocker(ui.Market);
    ui.Market->setText(ToQString(row.cell(c.market)));
  }
  EditPriceChange();
  // The sub-panel starts from the whole row.
  ui.SubQuantity->setText(ToQString(row.cell(c.shares)));
  rowOpened(row);

  if (ui.CommentTaken->isChecked()) ShowComment(ui.Comment, row.cell(c.comment));

  ui.Update->setEnabled(false);
  selectedRow_ = static_cast<int>(*at);
  ui.DiaryButton->setEnabled(true);
  loading_ = false;
}

void LedgerTab::MaskEditStockCodeExit() {
  const std::string code = StockCodeOf(ui.Code);
  const core::StockDetails details = core::LookUpStock(books_, code);
  ShowStockDetails({ui.Code, ui.Name, ui.Exchange, ui.Unit}, details);
  stockKnown_ = details.found;
  exchangeChanged_ = false;
  EditStockUnitChange();

  const auto first = table_.findPrefix(code);
  if (traits_.oneRowPerCode) ui.Add->setEnabled(!first);
  ui.Update->setEnabled(first.has_value());
  selectedRow_ = first ? static_cast<int>(*first) : -1;
}

void LedgerTab::EditStockExit() {
  if (!ui.Name->isModified() && !ui.Unit->isModified() && !exchangeChanged_) return;
  if (StoreTypedStockDetails({ui.Code, ui.Name, ui.Exchange, ui.Unit}, books_, services_)) stockKnown_ = true;
}

void LedgerTab::EditStockUnitChange() {
  applyUnit();
  cmnUpdate();
}

void LedgerTab::applyUnit() {
  // A unit sets the share step and rounds the shares down to whole lots.
  const std::string unit = ToSjis(ui.Unit->text());
  if (unit.empty()) {
    lotStep_ = 1;
    return;
  }
  lotStep_ = core::UnitStep(unit);
  baseShares_ = core::RoundDownToStep(AmountOf(ui.Shares), lotStep_);
  ui.Shares->setText(AmountText(baseShares_));
}

// ---------------------------------------------------------------------------
// The figures

void LedgerTab::EditPriceChange() {
  showFigures();
  cmnUpdate();
}

void LedgerTab::showFigures() {
  const core::PanelFigures figures =
      core::ComputePanelFigures(ui.Buy->isChecked(), AmountOf(ui.Total), AmountOf(ui.Shares), AmountOf(ui.Market));
  ui.Price->setText(AmountText(figures.average));
  ui.Result->setText(AmountText(figures.profit));
  ShowSignColour(ui.Result, figures.profit);
  ShowRate(ui.Rate, figures);
}

void LedgerTab::cmnUpdate() {
  if (loading_ || selectedRow_ < 0) return;
  const bool blocked = traits_.subPanelBlocksUpdate && ui.SubCheck->isChecked();
  ui.Update->setEnabled(!blocked && !table_.empty());
}

void LedgerTab::stepShares(int direction) {
  const core::Amount shares = AmountOf(ui.Shares);
  const bool floorAtBase = sharesFloorAtOpened();
  if (direction < 0 && floorAtBase && shares <= baseShares_) return;
  const core::Amount step = direction > 0 ? lotStep_ : core::SatNeg(lotStep_);
  std::string text = core::StepAmountText(ToSjis(ui.Shares->text()), step, CurrentModifiers());
  if (floorAtBase && core::ParseAmount(text) < baseShares_) text = core::FormatAmount(baseShares_);
  ui.Shares->setText(ToQString(text));
}

void LedgerTab::stepSubQuantity(int direction) {
  // Up only while below the limit, down always (never below 0).
  if (direction > 0 && AmountOf(ui.SubQuantity) >= subQuantityLimit_) return;
  const core::Amount step = direction > 0 ? lotStep_ : core::SatNeg(lotStep_);
  ui.SubQuantity->setText(ToQString(core::StepAmountText(ToSjis(ui.SubQuantity->text()), step, CurrentModifiers())));
}

// ---------------------------------------------------------------------------
// Add, Update, Delete

core::LedgerEntry LedgerTab::entryFromPanel(bool forUpdate) const {
  const QDate date = ui.Date->date();
  core::LedgerEntry entry;
  entry.code = StockCodeOf(ui.Code);
  entry.buy = ui.Buy->isChecked();
  entry.openDate = core::DateText(CoreDate(date));
  entry.name = ToSjis(ui.Name->text());
  entry.exchange = ToSjis(ui.Exchange->currentText());
  entry.unit = ToSjis(ui.Unit->text());
  entry.stockKnown = stockKnown_;
  entry.total = ToSjis(ui.Total->text());
  entry.shares = ToSjis(ui.Shares->text());
  entry.market = ToSjis(ui.Market->text());
  if (ui.CommentTaken->isChecked()) {
    entry.comment = CommentOf(ui.Comment);
  } else if (!forUpdate) {
    entry.comment = std::string();
  }
  return entry;
}

void LedgerTab::ButtonAddClick() {
  const std::size_t row = core::AddLedgerRow(books_, traits_.ledger, entryFromPanel(false));
  ui.Delete->setEnabled(true);
  syncAndSelect(row);
  ui.Update->setEnabled(false);
  selectedRow_ = static_cast<int>(row);
}

std::optional<std::size_t> LedgerTab::updateRow(std::size_t index, const core::LedgerEntry& entry) {
  return core::UpdateLedgerRow(books_, traits_.ledger, index, entry);
}

void LedgerTab::ButtonUpdClick() {
  if (!validSelectedRow()) return;
  const auto row = updateRow(static_cast<std::size_t>(selectedRow_), entryFromPanel(true));
  if (row) selectedRow_ = static_cast<int>(*row);
  syncAndSelect(row);
  ui.Update->setEnabled(false);
}

void LedgerTab::ButtonDelClick() {
  if (!validSelectedRow()) return;
  if (!confirmDelete()) return;
  core::DeleteLedgerRow(books_, traits_.ledger, static_cast<std::size_t>(selectedRow_));
  ui.Update->setEnabled(false);
  selectedRow_ = -1;
  ui.Delete->setEnabled(false);
  syncAndSelect(std::nullopt);
}

// ---------------------------------------------------------------------------
// The check boxes, the sub-panel and the diary

void LedgerTab::CheckBoxClearDClick() {
  if (!ui.CommentTaken->isChecked()) ui.Comment->clear();
}

void LedgerTab::CheckBoxAllDClick() { ui.DiaryButton->setEnabled(allChosen() ? !table_.empty() : selectedRow_ >= 0); }

void LedgerTab::SubCheckClick() {
  const bool on = ui.SubCheck->isChecked();
  ui.SubGroup->setVisible(on);
  if (!on) {
    // The row has to be opened again.
    selectedRow_ = -1;
    ui.SubCheck->setEnabled(false);
    return;
  }
  {
    const QSignalBlocker blocker(ui.SubPrice);
    ui.SubPrice->setText(ui.Market->text());
  }
  subPanelOpened();
  subPanelChanged();
  ui.Update->setEnabled(false);
}

void LedgerTab::showRecorded(const core::Recorded& recorded) {
  if (!services_) return;
  services_->resetOtherPanels();
  services_->ledgersChanged();
  if (recorded.holdingKey) services_->showLedgerRow(core::Ledger::Holdings, *recorded.holdingKey);
  if (recorded.positionKey) services_->showLedgerRow(core::Ledger::Positions, *recorded.positionKey);
  if (recorded.stockCode) services_->showLedgerRow(core::Ledger::Stocks, *recorded.stockCode);
  services_->showDiaryRow(recorded.index, true);
}

core::ClosingTrade LedgerTab::closingTrade(const std::string& date) const {
  core::ClosingTrade trade;
  trade.date = date;
  trade.code = StockCodeOf(ui.Code);
  trade.name = ToSjis(ui.Name->text());
  trade.exchange = ToSjis(ui.Exchange->currentText());
  trade.unitText = ToSjis(ui.Unit->text());
  trade.marketText = ToSjis(ui.Market->text());
  trade.priceText = ToSjis(ui.SubPrice->text());
  trade.quantityText = ToSjis(ui.SubQuantity->text());
  trade.chargeText = ToSjis(ui.SubCharge->currentText());
  trade.taxText = ToSjis(ui.SubTax->text());
  trade.comment = CommentOf(ui.Comment);
  return trade;
}

core::Registration LedgerTab::panelRegistration() const {
  const std::string code = StockCodeOf(ui.Code);
  const core::PanelFigures figures =
      core::ComputePanelFigures(ui.Buy->isChecked(), AmountOf(ui.Total), AmountOf(ui.Shares), AmountOf(ui.Market));
  return core::MakeRegistration(ui.Buy->isChecked(), code, code + " " + ToSjis(ui.Name->text()),
                                ToSjis(ui.Exchange->currentText()), ToSjis(ui.Market->text()),
                                ToSjis(ui.Shares->text()), ToSjis(ui.Total->text()), core::FormatAmount(figures.profit),
                                CommentOf(ui.Comment));
}

void LedgerTab::ButtonHoldDiaryClick() {
  if (!services_) return;
  const std::vector<core::Registration> rows = registrations();
  if (rows.empty()) return;  // nothing to write
  const auto date = services_->ensureDiaryDay(ui.Date);
  if (!date) return;
  const auto last = core::WriteRegistrations(books_, *date, rows, traits_.ledger == core::Ledger::Positions);
  services_->ledgersChanged();
  if (last) services_->showDiaryRow(*last, loadRegistrationRow());
}

}  // namespace tomvik::app
