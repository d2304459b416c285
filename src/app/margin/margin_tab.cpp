#include "app/margin/margin_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "app/ledger/ledger_tab_traits.h"
#include "app/shell/entry_fields.h"
#include "app/shell/keyboard.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/records/loan_file.h"

namespace tomvik::app {

MarginTab::MarginTab(core::Books& books, QWidget* parent) : LedgerTab(books, books.positions, MarginTabTraits(), parent) {
  // Unchecked: the opened position; checked: every position; greyed: one
  // row per stock and side.
  ui.All->setTristate(true);
  finishSetUp({});
}

void MarginTab::applySettings(const core::Settings& settings) {
  applyPanelSettings(settings.splitL, settings.clearDL, settings.exchanges, settings.recentCharges);
  ApplyWidths(ui.List, settings.loanColumns, 2);
  const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
  ui.All->setCheckState(settings.allDL >= 0 && settings.allDL <= 2 ? states[settings.allDL] : Qt::Unchecked);
}

void MarginTab::collectSettings(core::Settings& settings) const {
  settings.splitL = CollectSplit(ui.Splitter);
  CollectWidths(ui.List, settings.loanColumns, 2);
  settings.clearDL = ui.CommentTaken->isChecked();
  switch (ui.All->checkState()) {
    case Qt::Checked: settings.allDL = 1; break;
    case Qt::PartiallyChecked: settings.allDL = 2; break;
    case Qt::Unchecked: settings.allDL = 0; break;
  }
}

// ---------------------------------------------------------------------------
// The ledger

std::optional<std::size_t> MarginTab::updateRow(std::size_t index, const core::LedgerEntry& entry) {
  if (CurrentModifiers().shift) {
    // Shift: the market price goes to every position of the stock, both
    // sides; nothing else of the panel is stored.
    core::ApplyMarketPriceToCode(books_, entry.code, entry.market);
    return std::nullopt;
  }
  return LedgerTab::updateRow(index, entry);
}

void MarginTab::rowOpening() {
  ui.SubCheck->setEnabled(true);
  ui.Add->setEnabled(true);
  // Neither way of settling is chosen yet; the second is open to both sides.
  for (QRadioButton* choice : {ui.SubFirst, ui.SubSecond}) {
    choice->setAutoExclusive(false);
    choice->setChecked(false);
    choice->setAutoExclusive(true);
  }
  ui.SubSecond->setEnabled(true);
}

void MarginTab::rowOpened(const core::LedgerRow& row) {
  const auto index = books_.positions.find(row.key);
  basis_ = index ? core::PrepareSettlement(books_, *index) : std::nullopt;
  subQuantityLimit_ = baseShares_;
  // A position without shares cannot be settled (nothing to divide by).
  ui.SubButton->setEnabled(basis_ && basis_->shares > 0);
}

// ---------------------------------------------------------------------------
// The settlement

void MarginTab::subPanelOpened() {
  const bool buy = ui.Buy->isChecked();
  ui.SubGroup->setTitle(buy ? QStringLiteral("買建") : QStringLiteral("売建"));
  SetTextColour(ui.SubGroup, buy ? kRed : kBlue);
  ui.SubFirst->setText(buy ? QStringLiteral("現引き") : QStringLiteral("買返済"));
  ui.SubSecond->setText(buy ? QStringLiteral("売返済") : QStringLiteral("現渡し"));
  // The first choice settles in cash for either side and is the default of
  // a sell position; 現渡し needs a bought holding of the stock.
  (buy ? ui.SubSecond : ui.SubFirst)->setChecked(true);
  ui.SubFirst->setEnabled(true);
  ui.SubSecond->setEnabled(buy || (basis_ && basis_->canGive));
}

core::SettlementMethod MarginTab::settlementMethod() const {
  const bool first = ui.SubFirst->isChecked();
  if (ui.Buy->isChecked()) return first ? core::SettlementMethod::DeliveryTake : core::SettlementMethod::SellRepay;
  return first ? core::SettlementMethod::BuyRepay : core::SettlementMethod::DeliveryGive;
}

void MarginTab::EditPriceLxChange() {
  if (!basis_) return;
  const core::SettlementMethod method = settlementMethod();
  const bool delivery = core::IsDelivery(method);
  const core::SettlementFigures figures =
      core::ComputeSettlement(*basis_, method, AmountOf(ui.SubPrice), AmountOf(ui.SubQuantity),
                              delivery ? 0 : AmountOf(ui.SubCharge), delivery ? 0 : AmountOf(ui.SubTax));
  if (delivery) {
    const QSignalBlocker blocker(ui.SubPrice);
    ui.SubPrice->setText(AmountText(figures.price));
  }
  if (figures.quantity) {
    const QSignalBlocker blocker(ui.SubQuantity);
    ui.SubQuantity->setText(AmountText(*figures.quantity));
  }
  subQuantityLimit_ = figures.quantityLimit;
  SetFieldEnabled(ui.SubCharge, !delivery);
  SetFieldEnabled(ui.SubTax, !delivery);
  ui.SubAmount->setText(AmountText(figures.amount));
  cmnUpdate();
}

void MarginTab::ButtonSettlementClick() {
  if (!validSelectedRow() || !services_) return;
  const auto position = static_cast<std::size_t>(selectedRow_);
  const core::SettlementMethod method = settlementMethod();
  if (!core::CanSettle(books_, position, method)) return;
  const auto date = services_->ensureDiaryDay(ui.Date);
  if (!date) return;
  if (const auto settled = core::SettlePosition(books_, position, method, closingTrade(*date))) showRecorded(*settled);
}

// ---------------------------------------------------------------------------
// The diary

std::vector<core::Registration> MarginTab::registrations() const {
  switch (ui.All->checkState()) {
    case Qt::Checked: return core::RegistrationsOfPositions(books_.positions, false, ui.CommentTaken->isChecked());
    case Qt::PartiallyChecked: return core::RegistrationsOfPositions(books_.positions, true, false);
    case Qt::Unchecked: break;
  }
  if (selectedRow_ < 0) return {};
  return {panelRegistration()};
}

bool MarginTab::loadRegistrationRow() const { return ui.All->checkState() == Qt::Unchecked; }

bool MarginTab::allChosen() const { return ui.All->checkState() != Qt::Unchecked; }

}  // namespace tomvik::app
