// What the holdings and margin panels share besides the common entry
// fields: the leave and key-down events of a field as signals, handler sets
// that a mode attaches and detaches as a whole, the coloured rate panel,
// sign colours, comment texts and selecting a row of a ledger list.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/holdings/ledger_edits.h"
#include "core/records/amount.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeView;
class QWidget;

namespace tomvik::app {

class LedgerModel;

// The leave and key-down events of one widget, and the numeric key filter
// of the amount fields. Installed once; what reacts to them is connected
// and disconnected, and the filter switched on and off, as the modes
// require. The filter asks at each key whether "-" may pass, so it follows
// the initial-setup mode as it is at that moment.
class FieldEvents : public QObject {
  Q_OBJECT

 public:
  explicit FieldEvents(QWidget* field);

  void setNumericFilter(bool on, std::function<bool()> minusAllowed = {});

 signals:
  void left();
  void keyDown(int key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool numeric_ = false;
  std::function<bool()> minusAllowed_;
};

// Connections that are attached together and detached together.
class HandlerSet {
 public:
  HandlerSet() = default;
  HandlerSet(const HandlerSet&) = delete;
  HandlerSet& operator=(const HandlerSet&) = delete;
  ~HandlerSet() { detach(); }

  void add(QMetaObject::Connection connection) { connections_.push_back(std::move(connection)); }
  void detach();
  bool attached() const { return !connections_.empty(); }

 private:
  std::vector<QMetaObject::Connection> connections_;
};

// The rate of change panel: its text and the look of the figures behind it.
void ShowRate(QLabel* panel, const core::PanelFigures& figures);
// A figure's letters in the colour of its sign.
void ShowSignColour(QLineEdit* field, core::Amount value);

// A comment box's text with CR LF line breaks, as core keeps comments.
std::string CommentOf(const QPlainTextEdit* box);
void ShowComment(QPlainTextEdit* box, const std::string& comment);

// Makes the table row current and selected, scrolls to it and, when asked,
// gives the list the focus.
void SelectLedgerRow(QTreeView* view, const LedgerModel* model, std::size_t tableIndex, bool focus);
// The table index of the list's current row, if it has one.
std::optional<std::size_t> CurrentLedgerRow(const QTreeView* view, const LedgerModel* model);

}  // namespace tomvik::app
