// What the numeric and stock fields of every entry panel share: the key
// filter, the normalisation on leaving a field, the up-down stepping, the
// recently-used lists and the stock code lookup.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "core/books.h"
#include "core/records/amount.h"
#include "core/stocks/stock_lookup.h"

class QComboBox;
class QWidget;
class QKeyEvent;
class QLineEdit;

namespace tomvik::app {

class UpDownArrows;
class WindowServices;

// Whether a key press is kept out of a numeric field: anything but digits
// and control keys ("-" too while the initial-setup mode is on); keys
// without text (arrows, Delete), commands with Ctrl or Alt and double-byte
// input pass.
bool RefusesNumericKey(const QKeyEvent& key, bool initialSetupMode);
// Lets only digits and control keys into the field ("-" too while the
// initial-setup mode is on); double-byte input passes unfiltered.
void InstallNumericKeyFilter(QLineEdit* field, std::function<bool()> initialSetupMode);
// Leaving the field rewrites it in display form ("" stays ""); leaving a
// combo then runs `afterwards` (a charge goes onto its recent list).
void NormaliseOnExit(QLineEdit* field);
void NormaliseOnExit(QComboBox* field, std::function<void()> afterwards = {});
// A recent-codes drop-down beside a code field: choosing a line puts its
// code into the field, looks it up and moves on to the name field; closing
// the list without a choice puts the focus into the code field.
void ConnectRecentCodes(QComboBox* recent, QLineEdit* codeField, QWidget* nameField, std::function<void()> lookUp);
// The arrows step the field by step() (Shift x10, Ctrl x100, Alt x5),
// never below 0; the field's own change handlers then run.
void ConnectStepper(UpDownArrows* arrows, QLineEdit* field, std::function<core::Amount()> step);

// The field's amount; an empty or unreadable text counts 0.
core::Amount AmountOf(const QLineEdit* field);
core::Amount AmountOf(const QComboBox* field);
QString AmountText(core::Amount value);

// The code of a four-digit code field, blanks read as "0".
std::string StockCodeOf(const QLineEdit* codeField);

// The stock fields of a panel: code, name, exchange and unit.
struct StockFieldSet {
  QLineEdit* code;
  QLineEdit* name;
  QComboBox* exchange;
  QLineEdit* unit;
};
// The stock's details as the stock master gives them; not counted as typed.
void ShowStockDetails(const StockFieldSet& fields, const core::StockDetails& details);
// Writes the typed details of the fields' stock to Code.txt at once (a
// failure is shown) and tells the window. True when they were written.
bool StoreTypedStockDetails(const StockFieldSet& fields, core::Books& books, WindowServices* services);

// Puts a value first in a recently-used combo (charges); keeps the text.
void PushRecentCharge(QComboBox* combo, const QString& text);
// Puts "code name" first in a recent-codes combo and clears its selection.
void PushRecentStockLine(QComboBox* combo, const std::string& code, const std::string& name);

}  // namespace tomvik::app
