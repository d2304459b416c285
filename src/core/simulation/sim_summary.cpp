#include "core/simulation/sim_summary.h"

#include "core/holdings/ledger_edits.h"
#include "core/records/hold_file.h"
#include "core/simulation/sim_ledger.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::core {

SimSummaryReset ResetSimSummary(const Books& books, std::string_view code) {
  const Summary& s = books.summary;
  SimSummaryReset r;
  SimSummaryBase& base = r.base;
  base.investedText = books.figures.totalInvestment;
  base.invested = ParseAmount(base.investedText);
  base.realised = ParseAmount(books.figures.realised);
  base.holdings = s.holdingsTotal;
  if (code != kNoStockCode) {
    if (const auto held = FirstHoldingOf(books, code)) {
      const LedgerRow& row = books.holdings[*held];
      base.unrealised = SatNeg(ParseAmount(row.cell(HoldCol::Profit)));
      base.holdings = SatSub(base.holdings, ParseAmount(row.cell(HoldCol::Total)));
    }
  }
  base.unrealised = SatAdd(base.unrealised, s.unrealised);

  SimSummaryFigures& f = r.figures;
  f.invested = books.figures.totalInvestment;
  f.balance = FormatAmount(s.balance);
  f.realised = books.figures.realised;
  f.realisedValue = base.realised;
  f.unrealised = FormatAmount(base.unrealised);
  f.unrealisedValue = base.unrealised;
  f.holdings = FormatAmount(s.holdingsTotal);
  f.available = FormatAmount(s.available);
  f.availableValue = s.available;
  return r;
}

SimSummaryFigures UpdateSimSummary(const SimSummaryBase& base, const LedgerTable& rows, bool includeUnrealised) {
  Amount realised = base.realised;
  for (const LedgerRow& row : rows) realised = SatAdd(realised, ParseAmount(row.cell(SimCol::Realised)));
  Amount unrealised = base.unrealised;
  Amount holdings = base.holdings;
  if (!rows.empty()) {
    const LedgerRow& last = rows[rows.size() - 1];
    unrealised = SatAdd(unrealised, ParseAmount(last.cell(SimCol::Unrealised)));
    if (last.cell(SimCol::Position) != kSimClosedMark) {
      holdings = SatAdd(holdings, ParseAmount(last.cell(SimCol::Total)));
    }
  }
  const Amount balance = SatAdd(base.invested, realised);
  const Amount available = SatSub(balance, holdings);

  SimSummaryFigures f;
  f.invested = base.investedText;
  f.balance = FormatAmount(includeUnrealised ? SatAdd(balance, unrealised) : balance);
  f.realised = FormatAmount(realised);
  f.realisedValue = realised;
  f.unrealised = FormatAmount(unrealised);
  f.unrealisedValue = unrealised;
  f.holdings = FormatAmount(holdings);
  f.available = FormatAmount(available);
  f.availableValue = available;
  return f;
}

Amount BalanceWithUnrealised(Amount balance, Amount unrealised, bool ticked) {
  return ticked ? SatAdd(balance, unrealised) : SatSub(balance, unrealised);
}

}  // namespace tomvik::core
