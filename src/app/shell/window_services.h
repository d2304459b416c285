// What a tab may ask of the main window: the things that cross tabs.
//
// A tab never reaches into another tab's controls; it changes Books through
// core and then tells the window, which brings the Save items, the summary
// and the other lists up to date.
#pragma once

#include <QDate>
#include <QString>

#include <cstddef>
#include <optional>
#include <string>

#include "core/books.h"

class QDateEdit;
class QWidget;

namespace tomvik::app {

class Prompter;

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  virtual QWidget* window() = 0;
  virtual Prompter& prompter() = 0;
  virtual bool initialSetupMode() const = 0;
  virtual bool oldMode() const = 0;

  // Writes a ledger's file. On failure it shows the error in Japanese and
  // returns false; the ledger stays unsaved.
  virtual bool saveLedger(core::Ledger ledger) = 0;
  // Shows each backup that the writes since the last call could not make
  // (the writes went on; see Books::backups).
  virtual void reportFailedBackups() = 0;
  // After Books changed: the lists, the Save items and the summary follow.
  virtual void ledgersChanged() = 0;
  // A diary trade changed holdings or positions: the other tabs' panels
  // forget the rows loaded into them.
  virtual void resetOtherPanels() = 0;
  // A trade opened or changed the row under `key` of a ledger: its list
  // selects it and scrolls to it, without opening it.
  virtual void showLedgerRow(core::Ledger ledger, const std::string& key) = 0;
  // Taking a trade back re-created a holding: the holdings panel's total
  // and shares start afresh.
  virtual void holdingRestored() = 0;
  // A trade written into the diary from another tab: the picker's month
  // becomes the diary's shown month and its date gets a day header. The
  // date text, or nothing when the shown month could not be saved or the
  // other one read (the user has been told).
  virtual std::optional<std::string> ensureDiaryDay(const QDateEdit* picker) = 0;
  // Then the diary tab comes to the front with the written row selected,
  // loaded into its panel when `load`.
  virtual void showDiaryRow(std::size_t index, bool load) = 0;
  // Makes the tab the active page, as if the user had chosen it.
  virtual void showTab(int index) = 0;
  // The diary moves to the day as if the user had picked it, and is shown.
  virtual void showDiaryDate(QDate day) = 0;
};

}  // namespace tomvik::app
