#include "core/simulation/sim_take_over.h"

#include "core/records/loan_file.h"

namespace tomvik::core {

namespace {

// A position typed into a holdings or margin panel: priced as bought with
// the simulation's charge.
SimTrade PanelPosition(const SimSource& source, std::string_view chargeText) {
  const Amount total = ParseAmount(source.total);
  const Amount shares = ParseAmount(source.quantity);
  SimTrade trade;
  trade.buy = source.buy;
  trade.price = shares != 0 ? FormatAmount(SafeDiv(SatSub(total, ParseAmount(chargeText)), shares)) : "0";
  trade.quantity = source.quantity;
  trade.charge = std::string(chargeText);
  trade.heldTotal = total;
  return trade;
}

// Every margin position of the code on the source's side, in ledger order.
std::vector<SimTrade> LedgerPositions(const SimSource& source, const LedgerTable& positions) {
  const char side = source.buy ? kBuyPositionSide : kSellPositionSide;
  std::vector<SimTrade> trades;
  for (const LedgerRow& row : positions) {
    if (row.key.size() <= LoanKey::Side || row.key.compare(0, LoanKey::Side, source.code) != 0 ||
        row.key[LoanKey::Side] != side) {
      continue;
    }
    const Amount total = ParseAmount(row.cell(LoanCol::Total));
    const Amount shares = ParseAmount(row.cell(LoanCol::Shares));
    SimTrade trade;
    trade.buy = source.buy;
    trade.price = shares != 0 ? FormatAmount(SafeDiv(total, shares)) : "0";
    trade.quantity = row.cell(LoanCol::Shares);
    trade.charge = "0";
    trade.heldTotal = total;
    trades.push_back(std::move(trade));
  }
  return trades;
}

}  // namespace

SimTakeOverPlan PlanSimTakeOver(const SimSource& source, const LedgerTable& positions, std::string_view chargeText,
                                bool shift) {
  SimTakeOverPlan plan;
  switch (source.kind) {
    case SimSource::Kind::Stock: return plan;
    case SimSource::Kind::Trade:
      plan.setsSide = true;
      plan.buy = source.buy;
      plan.price = source.price;
      plan.quantity = source.quantity;
      return plan;
    case SimSource::Kind::Holding:
      plan.positions.push_back(PanelPosition(source, chargeText));
      if (shift) {
        for (SimTrade& trade : LedgerPositions(source, positions)) plan.positions.push_back(std::move(trade));
      }
      break;
    case SimSource::Kind::Position:
      if (shift) {
        plan.positions = LedgerPositions(source, positions);
      } else {
        plan.positions.push_back(PanelPosition(source, chargeText));
      }
      break;
  }
  plan.setsSide = true;
  plan.buy = source.buy;
  plan.price = source.price;
  plan.quantity = "0";
  return plan;
}

}  // namespace tomvik::core
