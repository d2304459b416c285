#include "core/holdings/account_summary.h"

#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

void RecomputeHoldingTotals(Books& books) {
  // The tables keep these sums as their rows change (see Books).
  Summary& s = books.summary;
  s.holdingsTotal = books.holdings.total(HoldCol::Total);
  s.unrealised = SatAdd(books.holdings.total(HoldCol::Profit), books.positions.total(LoanCol::Profit));
  s.buyPositions = books.positions.total(LoanCol::Total, 1);
  s.sellPositions = books.positions.total(LoanCol::Total, 0);
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
