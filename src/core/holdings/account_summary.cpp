#include "core/holdings/account_summary.h"

#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

void RecomputeHoldingTotals(Books& books) {
  Summary& s = books.summary;
  s.holdingsTotal = 0;
  s.unrealised = 0;
  s.buyPositions = 0;
  s.sellPositions = 0;
  for (const LedgerRow& row : books.holdings) {
    s.holdingsTotal = SatAdd(s.holdingsTotal, ParseAmount(row.cell(HoldCol::Total)));
    s.unrealised = SatAdd(s.unrealised, ParseAmount(row.cell(HoldCol::Profit)));
  }
  for (const LedgerRow& row : books.positions) {
    s.unrealised = SatAdd(s.unrealised, ParseAmount(row.cell(LoanCol::Profit)));
    const Amount total = ParseAmount(row.cell(LoanCol::Total));
    const bool buy = row.key.size() > LoanKey::Side && row.key[LoanKey::Side] == kBuyPositionSide;
    if (buy) {
      s.buyPositions = SatAdd(s.buyPositions, total);
    } else {
      s.sellPositions = SatAdd(s.sellPositions, total);
    }
  }
}

void RecomputeAccountFigures(Books& books, Amount realised) {
  Summary& s = books.summary;
  const Amount invested = ParseAmount(books.figures.totalInvestment);
  Amount result = ParseAmount(books.figures.realised);
  if (realised != 0) {
    result = SatAdd(result, realised);
    books.figures.realised = FormatAmount(result);
  }
  s.balance = SatAdd(invested, result);
  s.available = SatSub(s.balance, s.holdingsTotal);
  if (books.includeUnrealised) s.balance = SatAdd(s.balance, s.unrealised);
}

void RecomputeSummary(Books& books, Amount realised) {
  RecomputeHoldingTotals(books);
  RecomputeAccountFigures(books, realised);
}

}  // namespace tomvik::core
