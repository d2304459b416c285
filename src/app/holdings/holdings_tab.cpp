#include "app/holdings/holdings_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include "app/ledger/ledger_tab_traits.h"
#include "app/shell/entry_fields.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/holdings/sale.h"
#include "core/records/hold_file.h"

namespace tomvik::app {

HoldingsTab::HoldingsTab(core::Books& books, QWidget* parent)
    : LedgerTab(books, books.holdings, HoldingsTabTraits(), parent) {
  // A sold holding is only made in the old-version compatibility mode.
  ui.Sell->setEnabled(false);
  // The sale only shows that it is one.
  ui.SubFirst->setEnabled(false);
  ui.SubSecond->setChecked(true);
  CheckBoxSimulation = MakeCheck(QStringLiteral("買い増しチェック"), "CheckBoxSimulation", ui.Panel);
  CheckBoxSimulation->setVisible(false);
  finishSetUp({CheckBoxSimulation});
  connect(CheckBoxSimulation, &QCheckBox::clicked, this, &HoldingsTab::CheckBoxSimulationClick);
}

// ---------------------------------------------------------------------------
// Settings and modes

void HoldingsTab::applySettings(const core::Settings& settings) {
  applyPanelSettings(settings.split2, settings.clearD, settings.exchanges, settings.recentCharges);
  ApplyWidths(ui.List, settings.holdColumns, 2);
  ui.All->setChecked(settings.allD);
}

void HoldingsTab::collectSettings(core::Settings& settings) const {
  settings.split2 = CollectSplit(ui.Splitter);
  CollectWidths(ui.List, settings.holdColumns, 2);
  settings.clearD = ui.CommentTaken->isChecked();
  settings.allD = ui.All->isChecked();
}

void HoldingsTab::showPlaceCheckBoxes() {
  // The old version bought more through the holdings tab and sold through
  // the diary; this one sells from the holdings. The initial-setup mode
  // shows neither.
  CheckBoxSimulation->setVisible(oldMode_ && !setupMode());
  ui.SubCheck->setVisible(!oldMode_ && !setupMode());
}

void HoldingsTab::applyOldMode(bool on) {
  oldMode_ = on;
  if (CheckBoxSimulation->isChecked()) {
    CheckBoxSimulation->setChecked(false);
    CheckBoxSimulationClick();
  }
  ui.SubCheck->setChecked(false);
  ui.SubGroup->setVisible(false);
  showPlaceCheckBoxes();
  ui.Sell->setEnabled(on);
}

void HoldingsTab::applyInitialSetupMode(bool on) {
  if (CheckBoxSimulation->isChecked()) {
    CheckBoxSimulation->setChecked(false);
    CheckBoxSimulationClick();
  }
  LedgerTab::applyInitialSetupMode(on);
  showPlaceCheckBoxes();
}

void HoldingsTab::clearAmountFields() {
  const QScopedValueRollback<bool> quiet(loading_, true);
  ui.Total->setText(QString());
  ui.Shares->setText(QStringLiteral("0"));
}

// ---------------------------------------------------------------------------
// The ledger

void HoldingsTab::rowOpening() {
  if (oldMode_) {
    if (CheckBoxSimulation->isChecked()) {
      CheckBoxSimulation->setChecked(false);
      CheckBoxSimulationClick();
    }
  } else {
    ui.SubCheck->setEnabled(true);
  }
  ui.Add->setEnabled(false);
}

void HoldingsTab::rowOpened(const core::LedgerRow& row) {
  // The sale goes as far as the holding's shares; a holding without shares
  // (or a sold one) has nothing to sell.
  subQuantityLimit_ = baseShares_;
  const auto index = books_.holdings.find(row.key);
  ui.SubButton->setEnabled(index && core::CanSell(books_, *index));
}

// ---------------------------------------------------------------------------
// The sale

void HoldingsTab::EditPrice2xChange() {
  const core::Amount proceeds =
      core::SaleProceeds(AmountOf(ui.SubPrice), AmountOf(ui.SubQuantity), AmountOf(ui.SubCharge), AmountOf(ui.SubTax));
  ui.SubAmount->setText(AmountText(proceeds));
  cmnUpdate();
}

void HoldingsTab::ButtonHoldSelClick() {
  if (!validSelectedRow() || !services_) return;
  const auto holding = static_cast<std::size_t>(selectedRow_);
  if (!core::CanSell(books_, holding)) return;
  const auto date = services_->ensureDiaryDay(ui.Date);
  if (!date) return;
  if (const auto sold = core::SellHolding(books_, holding, closingTrade(*date))) showRecorded(*sold);
}

// ---------------------------------------------------------------------------
// The diary

std::vector<core::Registration> HoldingsTab::registrations() const {
  if (!allChosen()) {
    if (selectedRow_ < 0) return {};
    return {panelRegistration()};
  }
  std::vector<core::Registration> rows;
  for (const core::LedgerRow& holding : books_.holdings) {
    rows.push_back(core::RegistrationOfHolding(holding, ui.CommentTaken->isChecked()));
  }
  return rows;
}

bool HoldingsTab::loadRegistrationRow() const { return !allChosen(); }

bool HoldingsTab::allChosen() const { return ui.All->isChecked(); }

// ---------------------------------------------------------------------------
// The additional-buy check

void HoldingsTab::attachBuyCheckHandlers() {
  // Only the shares are typed while the additional buy is tried out.
  HandlerSet& h = buyCheckHandlers_;
  h.add(connect(ui.Shares, &QLineEdit::textChanged, this, &HoldingsTab::EditNum2Change));
  numEvents_->setNumericFilter(true, setupModeQuery());
  h.add(connect(numEvents_, &FieldEvents::left, ui.Shares, [this] {
    const QString text = ToQString(core::NormaliseAmountText(ToSjis(ui.Shares->text())));
    if (text != ui.Shares->text()) ui.Shares->setText(text);
  }));
}

void HoldingsTab::EditNum2Change() {
  const core::Amount total =
      core::AdditionalBuyTotal(baseTotal_, baseShares_, AmountOf(ui.Shares), AmountOf(ui.Market));
  {
    const QSignalBlocker blocker(ui.Total);
    ui.Total->setText(AmountText(total));
  }
  EditPriceChange();
}

void HoldingsTab::lockAmountGroup() {
  Lock(ui.Shares);
  ui.SharesArrows->setEnabled(setupMode());
  ui.AmountGroup->setEnabled(setupMode());
  ui.Buy->setEnabled(true);
  ui.Sell->setEnabled(oldMode_);
}

void HoldingsTab::CheckBoxSimulationClick() {
  buyCheckHandlers_.detach();
  if (CheckBoxSimulation->isChecked()) {
    // The amount group opens for the shares alone: total and side stay
    // as the opened holding has them.
    ui.AmountGroup->setEnabled(true);
    ui.Buy->setEnabled(false);
    ui.Sell->setEnabled(false);
    Lock(ui.Total);
    ui.Shares->setReadOnly(false);
    SetFieldEnabled(ui.Shares, true);
    ui.SharesArrows->setEnabled(true);
    attachBuyCheckHandlers();
  } else {
    numEvents_->setNumericFilter(false);
    lockAmountGroup();
  }
  ui.Update->setEnabled(false);
  selectedRow_ = -1;
}

}  // namespace tomvik::app
