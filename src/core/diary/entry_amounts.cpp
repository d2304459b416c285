#include "core/diary/entry_amounts.h"

#include <algorithm>
#include <charconv>

#include "core/records/hold_file.h"

namespace tomvik::core {

Amount TradeAmount(Amount price, Amount quantity, Amount charge, Amount tax, bool buy, bool chargeCounts) {
  Amount amount = SatMul(price, quantity);
  const Amount extras = SatAdd(chargeCounts ? charge : 0, tax);
  return buy ? SatAdd(amount, extras) : SatSub(amount, extras);
}

Amount CashMovementAmount(Amount charge, Amount tax, Amount amount, bool withdrawal) {
  const Amount net = SatAdd(SatAdd(charge, tax), amount);
  return withdrawal ? SatNeg(net) : net;
}

Amount UnitStep(std::string_view unitText) {
  Amount unit = 0;
  const auto [end, ec] = std::from_chars(unitText.data(), unitText.data() + unitText.size(), unit);
  if (unitText.empty() || ec != std::errc() || end != unitText.data() + unitText.size() || unit <= 0) return 1;
  return unit;
}

Amount RoundDownToStep(Amount quantity, Amount step) {
  if (step < 1) step = 1;
  return quantity / step * step;
}

std::string RoundQuantityToStep(std::string_view quantityText, Amount step) {
  return std::to_string(RoundDownToStep(ParseAmount(quantityText), step));
}

HoldingLimit CheckHoldingLimit(const LedgerTable& holdings, std::string_view code, char side, Amount quantity,
                               bool loading, bool rowSelected, Amount selectedClosingShares) {
  HoldingLimit limit;
  const auto found = holdings.findPrefix(code);
  if (!found) return limit;
  const std::string& key = holdings[*found].key;
  if (key.size() > kHoldingSideAt && key[kHoldingSideAt] == side) return limit;
  // A holding with negative shares (an opening trade deleted after its sale)
  // holds nothing that could be closed.
  const Amount shares = ParseAmount(holdings[*found].cell(HoldCol::Shares));
  const Amount held = std::max<Amount>(0, shares);
  if (!loading) {
    // Changing a closing row first gives its shares back.
    const Amount available = rowSelected ? std::max<Amount>(0, SatAdd(shares, selectedClosingShares)) : held;
    if (quantity > available || quantity < 0) {
      limit.quantity = std::clamp<Amount>(quantity, 0, available);
      quantity = *limit.quantity;
    }
  }
  limit.addEnabled = held > 0 && quantity <= held;
  return limit;
}

}  // namespace tomvik::core
