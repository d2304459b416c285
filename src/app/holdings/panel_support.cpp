#include "app/holdings/panel_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/entry_fields.h"
#include "app/shell/ledger_model.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/diary/entry_amounts.h"
#include "core/records/escape.h"

namespace tomvik::app {

namespace {

// The rate panel's backgrounds: neutral, a gain, a loss.
const QColor kRateNeutral(240, 224, 240);
const QColor kRateGain(255, 224, 224);
const QColor kRateLoss(224, 224, 255);

}  // namespace

FieldEvents::FieldEvents(QWidget* field) : QObject(field) { field->installEventFilter(this); }

void FieldEvents::setNumericFilter(bool on, std::function<bool()> minusAllowed) {
  numeric_ = on;
  minusAllowed_ = std::move(minusAllowed);
}

bool FieldEvents::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    emit left();
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    emit keyDown(key->key());
    if (numeric_ && RefusesNumericKey(*key, minusAllowed_ && minusAllowed_())) return true;
  }
  return QObject::eventFilter(watched, event);
}

void HandlerSet::detach() {
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
  connections_.clear();
}

void ShowRate(QLabel* panel, const core::PanelFigures& figures) {
  const QColor text = panel->style()->standardPalette().color(QPalette::WindowText);
  QColor letters = text;
  QColor background = kRateNeutral;
  switch (core::RateLookOf(figures)) {
    case core::RateLook::Gain:
      letters = kBlue;
      background = kRateGain;
      break;
    case core::RateLook::Loss:
      letters = kRed;
      background = kRateLoss;
      break;
    case core::RateLook::Neutral: break;
  }
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, letters);
  panel->setPalette(palette);
  panel->setText(ToQString(figures.rate));
}

void SelectLedgerRow(QTreeView* view, const LedgerModel* model, std::size_t tableIndex, bool focus) {
  const auto row = model->viewRow(tableIndex);
  if (!row) return;
  const QModelIndex index = model->index(*row, 0);
  view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->scrollTo(index);
  if (focus) view->setFocus();
}

std::optional<std::size_t> CurrentLedgerRow(const QTreeView* view, const LedgerModel* model) {
  const QModelIndex current = view->selectionModel()->currentIndex();
  if (!current.isValid() || !view->selectionModel()->rowIntersectsSelection(current.row(), QModelIndex()))
    return std::nullopt;
  return model->tableIndex(current.row());
}

namespace {

// Field widths shared by the amount group and the sub-panel, so the
// sub-panel covers the group exactly.
constexpr int kAmountWidth = 90;
constexpr int kSubPanelFieldWidth = 70;
constexpr int kRateWidth = 60;
// The rate panel's neutral look (no average yet, or no change).
const QColor kRateNeutralLook(240, 224, 240);

}  // namespace

// A field that only the initial-setup mode opens up.
void Lock(QLineEdit* field) {
  field->setReadOnly(true);
  SetFieldEnabled(field, false);
}

// The coloured rate of change figure, a sunken panel with centred text.
QLabel* MakeRatePanel(const char* objectName, QWidget* parent) {
  auto* panel = new QLabel(QStringLiteral("0.00%"), parent);
  panel->setObjectName(QLatin1String(objectName));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kRateNeutralLook);
  panel->setPalette(palette);
  panel->setFixedWidth(kRateWidth);
  return panel;
}

// Radio buttons side by side without a frame of their own: each set has its
// own parent, so the sets do not exclude one another.
QWidget* MakeRadioRow(QWidget* parent, std::initializer_list<QRadioButton*> choices) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setSpacing(10);
  for (QRadioButton* choice : choices) {
    choice->setParent(row);
    layout->addWidget(choice);
  }
  return row;
}

void LayOutLedgerPanel(const LedgerPanelParts& p) {
  QWidget* panel = p.panel;

  // Stock group: code and name, then exchange and unit. The name takes
  // whatever width the other fields leave.
  p.stock.exchange->setFixedWidth(104);
  p.stock.unit->setFixedWidth(52);
  p.stock.name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  auto* stock = new QGridLayout(p.stock.group);
  stock->setContentsMargins(6, 4, 6, 4);
  stock->setHorizontalSpacing(3);
  stock->setVerticalSpacing(3);
  stock->addWidget(MakeLabel(QStringLiteral("コード"), p.stock.group), 0, 0);
  auto* codeRow = new QHBoxLayout;
  codeRow->setSpacing(3);
  codeRow->addWidget(p.stock.code);
  codeRow->addSpacing(4);
  codeRow->addWidget(MakeLabel(QStringLiteral("銘柄"), p.stock.group));
  codeRow->addWidget(p.stock.name, 1);
  stock->addLayout(codeRow, 0, 1, 1, 3);
  stock->addWidget(MakeLabel(QStringLiteral("取引所"), p.stock.group), 1, 0);
  stock->addWidget(p.stock.exchange, 1, 1);
  stock->addWidget(MakeLabel(QStringLiteral("単位"), p.stock.group), 1, 2, Qt::AlignRight);
  stock->addWidget(p.stock.unit, 1, 3);
  stock->setColumnStretch(2, 1);

  // Market price, result and rate: what the user looks at and types.
  p.market.price->setFixedWidth(kAmountWidth);
  p.market.result->setFixedWidth(kAmountWidth);
  auto* market = new QGridLayout;
  market->setContentsMargins(6, 0, 2, 0);
  market->setHorizontalSpacing(3);
  market->setVerticalSpacing(3);
  market->addWidget(MakeLabel(QStringLiteral("時価"), panel), 0, 0);
  market->addWidget(p.market.price, 0, 1);
  market->addWidget(p.market.arrows, 0, 2);
  market->addWidget(MakeLabel(QStringLiteral("騰落率"), panel), 0, 4, Qt::AlignRight);
  market->addWidget(p.market.rate, 0, 5);
  market->addWidget(MakeLabel(QStringLiteral("損益"), panel), 1, 0);
  market->addWidget(p.market.result, 1, 1);
  market->addWidget(MakeLabel(QStringLiteral("円"), panel), 1, 2, 1, 2);
  market->setColumnStretch(3, 1);

  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  left->addWidget(p.stock.group);
  left->addStretch(1);
  left->addLayout(market);
  left->addStretch(1);

  // Amount group: total, shares, average and the side.
  for (QLineEdit* field : {p.amount.total, p.amount.shares, p.amount.price}) field->setFixedWidth(kAmountWidth);
  auto* amount = new QGridLayout(p.amount.group);
  amount->setContentsMargins(6, 4, 6, 4);
  amount->setHorizontalSpacing(3);
  amount->setVerticalSpacing(3);
  amount->addWidget(MakeLabel(QStringLiteral("総額"), p.amount.group), 0, 0);
  amount->addWidget(p.amount.total, 0, 1);
  amount->addWidget(MakeLabel(QStringLiteral("円"), p.amount.group), 0, 2);
  amount->addWidget(MakeLabel(QStringLiteral("株数"), p.amount.group), 1, 0);
  amount->addWidget(p.amount.shares, 1, 1);
  amount->addWidget(p.amount.sharesArrows, 1, 2);
  amount->addWidget(MakeLabel(p.amount.priceCaption, p.amount.group), 2, 0);
  amount->addWidget(p.amount.price, 2, 1);
  amount->addWidget(MakeLabel(QStringLiteral("円"), p.amount.group), 2, 2);
  amount->addWidget(MakeRadioRow(p.amount.group, {p.amount.buy, p.amount.sell}), 3, 0, 1, 3, Qt::AlignLeft);
  amount->setColumnStretch(3, 1);

  // The sub-panel (a sale, a settlement): price and charge, quantity and tax,
  // the side and the amount.
  QWidget* box = p.sub.group;
  for (QWidget* field : {static_cast<QWidget*>(p.sub.price), static_cast<QWidget*>(p.sub.quantity),
                         static_cast<QWidget*>(p.sub.charge), static_cast<QWidget*>(p.sub.tax)}) {
    field->setFixedWidth(kSubPanelFieldWidth);
  }
  p.sub.amount->setFixedWidth(kAmountWidth);
  auto* sell = new QGridLayout(box);
  sell->setContentsMargins(6, 2, 6, 4);
  sell->setHorizontalSpacing(3);
  sell->setVerticalSpacing(3);
  sell->addWidget(MakeLabel(QStringLiteral("単価"), box), 0, 0);
  sell->addWidget(p.sub.price, 0, 1);
  sell->addWidget(p.sub.priceArrows, 0, 2);
  sell->addWidget(MakeLabel(QStringLiteral("手数料"), box), 0, 3, Qt::AlignRight);
  sell->addWidget(p.sub.charge, 0, 4);
  sell->addWidget(MakeLabel(QStringLiteral("数量"), box), 1, 0);
  sell->addWidget(p.sub.quantity, 1, 1);
  sell->addWidget(p.sub.quantityArrows, 1, 2);
  sell->addWidget(MakeLabel(QStringLiteral("税"), box), 1, 3, Qt::AlignRight);
  sell->addWidget(p.sub.tax, 1, 4);
  sell->addWidget(p.sub.amount, 2, 3, 1, 2, Qt::AlignRight);
  sell->addWidget(MakeLabel(QStringLiteral("円"), box), 2, 5);
  sell->addWidget(MakeRadioRow(box, {p.sub.buy, p.sub.sell}), 3, 0, 1, 4, Qt::AlignLeft);
  sell->addWidget(p.sub.button, 3, 4, 1, 2, Qt::AlignRight);
  sell->setColumnMinimumWidth(3, 44);
  sell->setColumnStretch(3, 1);

  // Comment with the box that decides whether it is taken and stored.
  auto* commentHead = new QHBoxLayout;
  commentHead->setSpacing(2);
  commentHead->addWidget(p.commentTaken);
  commentHead->addWidget(MakeLabel(QStringLiteral("コメント"), panel));
  commentHead->addStretch(1);
  // The comment takes the width the fields leave.
  p.comment->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
  auto* comment = new QVBoxLayout;
  comment->setSpacing(1);
  comment->addLayout(commentHead);
  comment->addWidget(p.comment, 1);

  // Bottom row: the sub-panel's box, the diary copy with its date, the buttons.
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(3);
  for (QWidget* sideBox : p.sideBoxes) bottom->addWidget(sideBox);
  bottom->addSpacing(16);
  bottom->addWidget(p.date);
  bottom->addWidget(p.diaryButton);
  bottom->addSpacing(2);
  bottom->addWidget(p.all);
  bottom->addWidget(MakeLabel(QStringLiteral("一括"), panel));
  bottom->addStretch(1);
  bottom->addWidget(p.buttons[0]);
  bottom->addWidget(p.buttons[1]);
  bottom->addWidget(p.buttons[2]);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(4);
  grid->addLayout(left, 0, 0);
  // The sub-panel shares the amount group's cell and lies over it.
  grid->addWidget(p.amount.group, 0, 1);
  grid->addWidget(p.sub.group, 0, 1);
  grid->addLayout(comment, 0, 2);
  grid->addLayout(bottom, 1, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(0, 1);
}

void ShowPanelFigures(const LedgerPanelParts& p) {
  const core::PanelFigures figures = core::ComputePanelFigures(p.amount.buy->isChecked(), AmountOf(p.amount.total),
                                                               AmountOf(p.amount.shares), AmountOf(p.market.price));
  p.amount.price->setText(AmountText(figures.average));
  p.market.result->setText(AmountText(figures.profit));
  ShowSignColour(p.market.result, figures.profit);
  ShowRate(p.market.rate, figures);
}

void ApplyUnitToShares(const LedgerPanelParts& p, core::Amount& lotStep, core::Amount& roundedShares) {
  const std::string unit = ToSjis(p.stock.unit->text());
  if (unit.empty()) {
    lotStep = 1;
    return;
  }
  lotStep = core::UnitStep(unit);
  roundedShares = core::RoundDownToStep(AmountOf(p.amount.shares), lotStep);
  p.amount.shares->setText(AmountText(roundedShares));
}

LedgerPanelParts::StockFields MakeStockGroup(QWidget* panel, const QString& groupName, const QString& suffix) {
  // The stock fields show the opened row; they are typed only in the
  // initial-setup mode.
  LedgerPanelParts::StockFields f{};
  f.group = new QGroupBox(panel);
  f.group->setObjectName(groupName);
  f.group->setEnabled(false);
  f.code = MakeCodeEdit(QStringLiteral("MaskEditStockCode") + suffix, f.group);
  Lock(f.code);
  f.name = MakeTextEdit(QStringLiteral("EditStockName") + suffix, f.group);
  Lock(f.name);
  f.exchange = MakeCombo(QStringLiteral("ComboBoxStockExchange") + suffix, f.group);
  FillBuiltInExchanges(f.exchange);
  f.unit = MakeAmountEdit(QStringLiteral("EditStockUnit") + suffix, f.group);
  Lock(f.unit);
  return f;
}

LedgerPanelParts::MarketFields MakeMarketFields(QWidget* panel, const QString& suffix, const char* rateName) {
  LedgerPanelParts::MarketFields f{};
  f.price = MakeAmountEdit(QStringLiteral("EditMarketPrice") + suffix, panel, QStringLiteral("0"));
  f.arrows = new UpDownArrows(QStringLiteral("UpDownMarketPrice") + suffix, panel);
  f.result = MakeMemo(QStringLiteral("MemoPM") + suffix, panel);
  f.rate = MakeRatePanel(rateName, panel);
  return f;
}

}  // namespace tomvik::app
