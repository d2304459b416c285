// What sets the cash holdings tab and the margin positions tab apart on the
// screen, side by side: the names of their controls, their captions and the
// columns of their lists.
#pragma once

#include <vector>

#include "app/ledger/ledger_tab.h"
#include "app/shell/ledger_model.h"

namespace tomvik::app {

// The lists' columns: a holding's or a position's cells (the key is not
// shown; the reserved first cell is kept out of sight).
std::vector<ColumnSpec> HoldingsColumns();
std::vector<ColumnSpec> PositionColumns();

LedgerTabTraits HoldingsTabTraits();
LedgerTabTraits MarginTabTraits();

}  // namespace tomvik::app
