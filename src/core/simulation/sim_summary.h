// The simulated account summary: the account as it would stand after the
// simulated trades, with the real holding of the simulated stock replaced
// by the simulated position.
//
// Starting over takes the base from the real summary: its realised result,
// its unrealised result without the holding of the simulated stock, and its
// holdings total (the holding still in it until the first simulated trade
// replaces it). Each recorded trade or take-back then adds the simulation's
// realised results and its last position to that base.
#pragma once

#include <string>
#include <string_view>

#include "core/books.h"
#include "core/records/amount.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

struct SimSummaryBase {
  std::string investedText;  // 投資総額 as copied
  Amount invested = 0;
  Amount realised = 0;    // the real realised result
  Amount unrealised = 0;  // the real unrealised result without the stock's holding
  Amount holdings = 0;    // the real holdings total without the stock's holding
};

// The six figures as shown, with the values their colours follow.
struct SimSummaryFigures {
  std::string invested;    // 投資総額
  std::string balance;     // 現在残高
  std::string realised;    // 売買損益
  std::string unrealised;  // 含み損益
  std::string holdings;    // 保有総額
  std::string available;   // 投資可能
  Amount realisedValue = 0;
  Amount unrealisedValue = 0;
  Amount availableValue = 0;
};

struct SimSummaryReset {
  SimSummaryBase base;
  SimSummaryFigures figures;
};
// Starting over for the stock `code` ("0000": no stock) from the real
// summary held in the books.
SimSummaryReset ResetSimSummary(const Books& books, std::string_view code);

// After a recorded trade or a take-back that leaves rows. `includeUnrealised`
// is the simulated summary's "加算".
SimSummaryFigures UpdateSimSummary(const SimSummaryBase& base, const LedgerTable& rows, bool includeUnrealised);

// "加算" ticked adds the unrealised result to the balance shown; unticked
// takes it out again.
Amount BalanceWithUnrealised(Amount balance, Amount unrealised, bool ticked);

}  // namespace tomvik::core
