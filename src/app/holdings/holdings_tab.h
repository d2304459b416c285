// The cash holdings tab: the shared ledger panel over the list of holdings,
// one row per stock and side, with the sale of a bought holding as its
// sub-panel (GroupBoxPrice2x, opened by "保有銘柄売却").
//
// In the old-version compatibility mode "買い増しチェック" (CheckBoxSimulation)
// takes the place of "保有銘柄売却": it opens the shares for trying out an
// additional buy at the market price. "売り" is offered only in that mode.
#pragma once

#include "app/ledger/ledger_tab.h"

namespace tomvik::app {

class HoldingsTab : public LedgerTab {
  Q_OBJECT

 public:
  explicit HoldingsTab(core::Books& books, QWidget* parent = nullptr);

  QCheckBox* CheckBoxSimulation = nullptr;

  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;
  void applyInitialSetupMode(bool on) override;
  void applyOldMode(bool on) override;

  // A holding re-created by taking a trade back: the total is emptied and
  // the shares start from 0.
  void clearAmountFields();

  // The sale and the additional-buy check.
  void EditPrice2xChange();
  void ButtonHoldSelClick();
  void CheckBoxSimulationClick();

 protected:
  // Opening a holding readies the sale (or, in the old version's mode,
  // leaves the additional-buy check).
  void rowOpening() override;
  void rowOpened(const core::LedgerRow& row) override;
  void subPanelChanged() override { EditPrice2xChange(); }
  void subButtonClicked() override { ButtonHoldSelClick(); }
  bool sharesFloorAtOpened() const override { return !setupMode(); }
  // 日記: every holding with 一括, else the opened one (loaded into the diary).
  bool allChosen() const override;
  std::vector<core::Registration> registrations() const override;
  bool loadRegistrationRow() const override;

 private:
  void showPlaceCheckBoxes();
  void lockAmountGroup();
  void attachBuyCheckHandlers();
  void EditNum2Change();

  bool oldMode_ = false;
  HandlerSet buyCheckHandlers_;  // attached while the additional-buy check is on
};

}  // namespace tomvik::app
