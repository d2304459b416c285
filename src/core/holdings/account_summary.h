// The account summary: what was put in, what was realised, what is held,
// what is still free, and the result of open positions.
//
// The two stored figures (total investment and realised result) are texts
// kept in Books::figures, as the panel shows them; the computed figures are
// taken after every change from the sums that the holdings and positions
// tables keep as their rows change, so recomputing them costs the same
// whatever is held. The holdings totals are always recomputed before the
// account figures, which read them.
#pragma once

#include "core/books.h"
#include "core/records/amount.h"

namespace tomvik::core {

// Holdings total, unrealised result and the buy and sell position totals.
void RecomputeHoldingTotals(Books& books);
// Adds `realised` to the realised result (its text is rewritten only when
// it is not 0), then the balance and the amount available to invest.
void RecomputeAccountFigures(Books& books, Amount realised);
// Both, in their order.
void RecomputeSummary(Books& books, Amount realised = 0);

}  // namespace tomvik::core
