// Opening a simulation from another tab's panel: which stock it is about,
// which side, and which held positions become its first rows.
//
// A taken-over position enters with its own total, so the simulation
// starts from exactly what is held; its unit price is derived for display
// (and for the rate): from a panel, the amount less the simulation's charge
// over the shares; from a margin position of the ledger, its total over its
// shares (its charge is inside that total, so the row shows none).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/ledger_table.h"
#include "core/simulation/sim_ledger.h"

namespace tomvik::core {

// What a tab's panel hands to the simulation.
struct SimSource {
  enum class Kind {
    Stock,     // the stock only (stock master)
    Trade,     // a trade being entered (diary): side, price and quantity
    Holding,   // the opened holding; Shift adds the margin positions of its stock and side
    Position,  // the opened margin position; with Shift all of its stock and side instead
  };
  Kind kind = Kind::Stock;
  std::string code;  // four characters, blanks read as "0"
  bool buy = true;
  std::string price;     // Trade: the price; Holding, Position: the market price
  std::string quantity;  // Trade: the quantity; Holding, Position: the shares
  std::string total;     // Holding, Position: the amount (総額)
};

struct SimTakeOverPlan {
  bool setsSide = false;  // the panel's side becomes the source's
  bool buy = true;
  // Recorded in order as taken-over rows.
  std::vector<SimTrade> positions;
  // The panel's price and quantity afterwards, when they change.
  std::optional<std::string> price;
  std::optional<std::string> quantity;
};

// `chargeText` is the simulation's current charge; `positions` the margin
// positions ledger; `shift` whether Shift was held when 模擬 was chosen.
SimTakeOverPlan PlanSimTakeOver(const SimSource& source, const LedgerTable& positions, std::string_view chargeText,
                                bool shift);

}  // namespace tomvik::core
