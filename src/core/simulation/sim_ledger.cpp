#include "core/simulation/sim_ledger.h"

#include "core/holdings/valuation.h"
#include "core/records/cp932_literals.h"

namespace tomvik::core {

namespace {

const LedgerRow& LastRow(const LedgerTable& rows) { return rows[rows.size() - 1]; }

// The rate of the price against the average, and how it looks: a side
// that is not yet known shows no direction.
void ShowRateOf(SimPreview& p, SimSide side, Amount price) {
  const bool isLong = side == SimSide::Long;
  p.rate = RateText(isLong, p.average, price);
  if (side == SimSide::None) {
    p.look = RateLook::Neutral;
    return;
  }
  p.difference = isLong ? SatSub(price, p.average) : SatSub(p.average, price);
  p.look = RateLookOf(PanelFigures{p.average, p.unrealised, p.difference, p.rate});
}

Amount RealisedSum(const LedgerTable& rows, Amount latest) {
  Amount sum = latest;
  for (const LedgerRow& row : rows) {
    if (!row.cell(SimCol::Realised).empty()) sum = SatAdd(sum, ParseAmount(row.cell(SimCol::Realised)));
  }
  return sum;
}

// The row a recorded trade appends to `rows`.
LedgerRow RowOf(const LedgerTable& rows, const SimTrade& trade, const SimPreview& p) {
  LedgerRow row;
  row.cells.assign(SimCol::Count, std::string());
  auto& c = row.cells;
  c[SimCol::Side] = trade.buy ? sjis::kBuy : sjis::kSell;
  c[SimCol::Price] = trade.price;
  c[SimCol::Quantity] = p.quantityCut ? FormatAmount(p.quantity) : trade.quantity;
  c[SimCol::Charge] = trade.charge;
  // The first row opens the position: its amount is the position's total.
  c[SimCol::Amount] = FormatAmount(rows.empty() ? p.total : p.amount);
  if (p.closing) {
    c[SimCol::HeldCost] = FormatAmount(p.heldCost.value_or(0));
    c[SimCol::Realised] = FormatAmount(p.realised.value_or(0));
  }
  if (p.shares == 0) {
    c[SimCol::Position] = kSimClosedMark;
    c[SimCol::Total] = FormatAmount(RealisedSum(rows, p.realised.value_or(0)));
    return row;
  }
  const bool isLong = p.side == SimSide::None ? trade.buy : p.side == SimSide::Long;
  c[SimCol::Position] = isLong ? sjis::kBuy : sjis::kSell;
  c[SimCol::Total] = FormatAmount(p.total);
  c[SimCol::Shares] = FormatAmount(p.shares);
  c[SimCol::Average] = FormatAmount(p.average);
  c[SimCol::Rate] = RateText(isLong, p.average, ParseAmount(trade.price));
  c[SimCol::Unrealised] = FormatAmount(p.unrealised);
  return row;
}

}  // namespace

SimSide SideOf(const LedgerTable& rows) {
  if (rows.empty()) return SimSide::None;
  const LedgerRow& last = LastRow(rows);
  if (ParseAmount(last.cell(SimCol::Shares)) == 0) return SimSide::None;
  return last.cell(SimCol::Position) == sjis::kBuy ? SimSide::Long : SimSide::Short;
}

SimPreview PreviewSimTrade(const LedgerTable& rows, const SimTrade& trade) {
  SimPreview p;
  const Amount price = ParseAmount(trade.price);
  const Amount charge = ParseAmount(trade.charge);
  Amount quantity = ParseAmount(trade.quantity);

  p.side = SideOf(rows);
  Amount shares = 0;
  Amount total = 0;
  if (p.side != SimSide::None) {
    shares = ParseAmount(LastRow(rows).cell(SimCol::Shares));
    total = ParseAmount(LastRow(rows).cell(SimCol::Total));
  }
  p.closing = trade.buy ? p.side == SimSide::Short : p.side == SimSide::Long;
  if (p.closing && quantity > shares) {
    quantity = shares;
    p.quantityCut = true;
  }
  p.quantity = quantity;

  Amount amount = SatMul(price, quantity);
  if (quantity > 0) amount = trade.buy ? SatAdd(amount, charge) : SatSub(amount, charge);
  if (trade.heldTotal && !p.closing) amount = *trade.heldTotal;
  p.amount = amount;

  if (p.closing) {
    const Amount cost = shares > 0 ? SafeDiv(SatMul(total, quantity), shares) : 0;
    p.heldCost = cost;
    p.realised = p.side == SimSide::Long ? SatSub(amount, cost) : SatSub(cost, amount);
    total = SatSub(total, cost);
    shares = SatSub(shares, quantity);
  } else {
    total = SatAdd(total, amount);
    shares = SatAdd(shares, quantity);
  }
  p.total = total;
  p.shares = shares;

  if (shares > 0) {
    p.average = AverageOf(total, shares);
    if (p.side == SimSide::None) {
      // The trade opens the position: it has no direction yet.
      p.unrealised = ValuationOf(trade.buy, price, shares, total);
    } else {
      p.unrealised = ValuationOf(p.side == SimSide::Long, price, shares, total);
      ShowRateOf(p, p.side, price);
    }
  } else if (quantity > 0) {
    // Nothing is left: the rate compares the price with the average cost of
    // the shares that were closed.
    p.average = SafeDiv(p.heldCost.value_or(0), quantity);
    ShowRateOf(p, p.side, price);
  }
  return p;
}

bool SimLedger::record(const SimTrade& trade) {
  const SimPreview p = preview(trade);
  if (ParseAmount(trade.price) == 0 || p.quantity <= 0) return false;
  if (p.side == SimSide::None) {
    if (!startRowTicked_ && rows_.empty()) undoEnabled_ = true;
  } else if (startRowTicked_ && rows_.size() == 1) {
    undoEnabled_ = true;
  }
  rows_.insert(RowOf(rows_, trade, p));
  return true;
}

SimTakeBack SimLedger::takeBack() {
  if (rows_.empty() || (rows_.size() == 1 && startRowTicked_)) return SimTakeBack::Nothing;
  rows_.erase(rows_.size() - 1);
  if (rows_.empty()) {
    undoEnabled_ = false;
    return SimTakeBack::Emptied;
  }
  if (rows_.size() == 1 && startRowTicked_) undoEnabled_ = false;
  return SimTakeBack::RowsRemain;
}

void SimLedger::clear() {
  if (startRowTicked_) {
    while (rows_.size() > 1) rows_.erase(rows_.size() - 1);
  } else {
    rows_.clear();
  }
  undoEnabled_ = false;
}

void SimLedger::empty() {
  rows_.clear();
  startRowTicked_ = false;
  startRowEnabled_ = false;
  undoEnabled_ = false;
}

void SimLedger::untickStartRow() {
  if (!startRowTicked_ || !startRowEnabled_) return;
  startRowTicked_ = false;
  startRowEnabled_ = false;
  undoEnabled_ = !rows_.empty();
}

bool SimLedger::recordTakenOver(const SimTrade& trade) {
  startRowEnabled_ = true;
  startRowTicked_ = true;
  return record(trade);
}

void SimLedger::endTakeOver() {
  if (!rows_.empty()) return;
  startRowTicked_ = false;
  startRowEnabled_ = false;
}

}  // namespace tomvik::core
