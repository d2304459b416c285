// What every tab shares: the ledgers it works on, the window it lives in,
// and its part of the settings.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>

#include "app/shell/prompter.h"
#include "app/shell/window_services.h"
#include "core/books.h"
#include "core/records/settings.h"
#include "core/simulation/sim_take_over.h"

namespace tomvik::app {

class TabBase : public QWidget {
  Q_OBJECT

 public:
  TabBase(core::Books& books, QWidget* parent) : QWidget(parent), books_(books) {}

  void setServices(WindowServices* services) { services_ = services; }
  // Brings the tab's list up to date with its ledger.
  virtual void syncList() {}
  // Start-up: the tab takes its splitter, column widths, check boxes and
  // lists from the settings. Shut-down: it gives them back.
  virtual void applySettings(const core::Settings& /*settings*/) {}
  virtual void collectSettings(core::Settings& /*settings*/) const {}
  // The initial-setup mode and the old-version mode changed.
  virtual void applyInitialSetupMode(bool /*on*/) {}
  virtual void applyOldMode(bool /*on*/) {}
  // A trade recorded in the diary changed holdings or positions: a row
  // loaded into this tab's panel is no longer what it shows.
  virtual void ResetOtherPanels() {}
  // What 模擬 takes over from the tab's panel: its stock, and the trade or
  // the position it shows. Nothing on tabs that have none to offer.
  virtual std::optional<core::SimSource> simulationSource() const { return std::nullopt; }
  // The row under `key` of this tab's ledger was opened or changed by a
  // trade: the list selects it and scrolls to it, without opening it.
  virtual void showLedgerRow(const std::string& /*key*/) {}

 protected:
  bool initialSetupMode() const { return services_ && services_->initialSetupMode(); }
  // "削除しますか？", asked before a row is deleted (yes without a window).
  bool confirmDelete() const {
    return !services_ || services_->prompter().askYesNo(services_->window(), QStringLiteral("削除しますか？"));
  }
  // For key filters made before the window is known.
  std::function<bool()> setupModeQuery() const {
    return [this] { return initialSetupMode(); };
  }

  core::Books& books_;
  WindowServices* services_ = nullptr;
};

}  // namespace tomvik::app
