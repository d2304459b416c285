#include "app/ledger/panel_support.h"

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

// The rate panel's backgrounds: neutral (no average yet, or no change), a
// gain, a loss.
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
  const QColor text = StandardColour(panel, QPalette::WindowText);
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

constexpr int kRateWidth = 60;

}  // namespace

// A field that only the initial-setup mode opens up.
void Lock(QLineEdit* field) {
  field->setReadOnly(true);
  SetFieldEnabled(field, false);
}

// The coloured rate of change figure, a sunken panel with centred text.
QLabel* MakeRatePanel(const QString& objectName, QWidget* parent) {
  auto* panel = new QLabel(QStringLiteral("0.00%"), parent);
  panel->setObjectName(objectName);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kRateNeutral);
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

}  // namespace tomvik::app
