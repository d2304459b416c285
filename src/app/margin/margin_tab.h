// The margin positions tab: the shared ledger panel over the list of open
// positions, one row per stock, side, open date and sequence number, with
// the settlement of a position as its sub-panel (GroupBoxPriceLx, opened by
// "信用建玉決済"). Ticking it gives the sub-panel the side of the opened
// position: "買建" in red with 現引き and 売返済, or "売建" in blue with 買返済
// and 現渡し. The 一括 box has three states: unchecked (the opened
// position), checked (every position) and greyed (one row per stock and side).
#pragma once

#include <optional>

#include "app/ledger/ledger_tab.h"
#include "core/margin/settlement.h"

namespace tomvik::app {

class MarginTab : public LedgerTab {
  Q_OBJECT

 public:
  explicit MarginTab(core::Books& books, QWidget* parent = nullptr);

  // Split, widths, comment box and the three states of 一括.
  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;

  // The opened position's shares and the panel's share step, which the
  // settlement starts from.
  core::Amount baseShares() const { return baseShares_; }
  core::Amount lotStep() const { return lotStep_; }

  // The settlement: the way chosen, its amount, and settling.
  core::SettlementMethod settlementMethod() const;
  void EditPriceLxChange();
  void ButtonSettlementClick();

 protected:
  // Update with Shift gives every position of the stock the market price.
  std::optional<std::size_t> updateRow(std::size_t index, const core::LedgerEntry& entry) override;
  // Opening a position readies its settlement figures.
  void rowOpening() override;
  void rowOpened(const core::LedgerRow& row) override;
  void subPanelOpened() override;
  void subPanelChanged() override { EditPriceLxChange(); }
  void subButtonClicked() override { ButtonSettlementClick(); }
  // 日記 by the 一括 box's three states; only the opened position is loaded.
  std::vector<core::Registration> registrations() const override;
  bool allChosen() const override;
  bool loadRegistrationRow() const override;

 private:
  std::optional<core::SettlementBasis> basis_;  // what the opened position offers
};

}  // namespace tomvik::app
