#include "app/holdings/panel_support.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTreeView>

#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
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
    if (numeric_) {
      const bool minus = minusAllowed_ && minusAllowed_();
      for (const char32_t ch : key->text().toUcs4()) {
        if (!core::IsNumericEntryChar(ch, minus)) return true;
      }
    }
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

void ShowSignColour(QLineEdit* field, core::Amount value) {
  QColor colour = field->style()->standardPalette().color(QPalette::Text);
  switch (core::SignColourOf(value)) {
    case core::SignColour::Red: colour = kRed; break;
    case core::SignColour::Blue: colour = kBlue; break;
    case core::SignColour::WindowText: break;
  }
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, colour);
  field->setPalette(palette);
}

std::string CommentOf(const QPlainTextEdit* box) { return core::NormaliseLineBreaks(ToSjis(box->toPlainText())); }

void ShowComment(QPlainTextEdit* box, const std::string& comment) {
  QString text = ToQString(comment);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box->setPlainText(text);
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

}  // namespace tomvik::app
