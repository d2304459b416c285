// Small pieces of the holdings and margin panel: the leave and key-down
// events of a field as signals, handler sets that a mode attaches and
// detaches as a whole, the coloured rate panel and selecting a row of a
// ledger list.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/shell/entry_fields.h"
#include "core/books.h"
#include "core/holdings/ledger_edits.h"
#include "core/records/amount.h"
#include "core/stocks/stock_lookup.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeView;
class QWidget;

namespace tomvik::app {

class LedgerModel;
class UpDownArrows;
class WindowServices;

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

// Small builders of the two panels.
// A field that only the initial-setup mode opens up.
void Lock(QLineEdit* field);
// The coloured rate of change figure, a sunken panel with centred text.
QLabel* MakeRatePanel(const QString& objectName, QWidget* parent);
// Radio buttons side by side without a frame of their own: each set has its
// own parent, so the sets do not exclude one another.
QWidget* MakeRadioRow(QWidget* parent, std::initializer_list<QRadioButton*> choices);

// Makes the table row current and selected, scrolls to it and, when asked,
// gives the list the focus.
void SelectLedgerRow(QTreeView* view, const LedgerModel* model, std::size_t tableIndex, bool focus);
// The table index of the list's current row, if it has one.
std::optional<std::size_t> CurrentLedgerRow(const QTreeView* view, const LedgerModel* model);

}  // namespace tomvik::app
