// The figures the diary entry panel computes while the user types: the
// trade amount, the cash movement amount, the quantity step of a trading
// unit and the limit a holding sets on a closing trade.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/records/amount.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

// price x quantity, plus charge (when the charge field counts) and tax for
// a buy, minus them for a sell.
Amount TradeAmount(Amount price, Amount quantity, Amount charge, Amount tax, bool buy, bool chargeCounts);
// charge + tax + amount, negative for a withdrawal.
Amount CashMovementAmount(Amount charge, Amount tax, Amount amount, bool withdrawal);

// The quantity step of a trading unit: the unit read as a whole number
// (separators not allowed); 1 for an empty, unreadable or non-positive unit.
Amount UnitStep(std::string_view unitText);
// The quantity rounded down (toward zero) to a multiple of the step; a step
// below 1 counts as 1.
Amount RoundDownToStep(Amount quantity, Amount step);
// The same for a quantity text, as plain digits.
std::string RoundQuantityToStep(std::string_view quantityText, Amount step);

// What the holding of a stock means for a cash trade being entered.
struct HoldingLimit {
  std::optional<Amount> quantity;  // the quantity field must become this
  bool addEnabled = true;          // 追加 may be pressed
};
// side is '1' for a buy, '2' for a sell. A trade against the first holding
// of the code on the other side closes it and may not exceed its shares,
// nor go below none: a holding without shares (or with a negative count)
// gives 0 and no 追加. While a row is being loaded nothing is clamped. With a
// selected row that closes shares of this holding, its shares count as
// available too (changing it gives them back first), but 追加 needs the
// holding alone to suffice.
HoldingLimit CheckHoldingLimit(const LedgerTable& holdings, std::string_view code, char side, Amount quantity,
                               bool loading, bool rowSelected, Amount selectedClosingShares);

}  // namespace tomvik::core
