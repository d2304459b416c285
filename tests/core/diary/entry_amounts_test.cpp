#include "core/diary/entry_amounts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/records/hold_file.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {
namespace {

LedgerTable HoldingOf(const std::string& key, const std::string& shares) {
  LedgerTable holdings;
  LedgerRow row;
  row.key = key;
  row.cells.resize(HoldCol::Count);
  row.cells[HoldCol::Shares] = shares;
  holdings.insert(std::move(row));
  return holdings;
}

TEST(HoldingLimit, AClosingTradeNeverExceedsTheSharesHeld) {
  const LedgerTable bought = HoldingOf("12341", "1,000");
  // Buys of a bought holding, and trades of other stocks, are not limited.
  EXPECT_FALSE(CheckHoldingLimit(bought, "1234", '1', 5'000, false, false, 0).quantity);
  EXPECT_FALSE(CheckHoldingLimit(bought, "5678", '2', 5'000, false, false, 0).quantity);

  // A sale of 1,500 becomes 1,000.
  HoldingLimit limit = CheckHoldingLimit(bought, "1234", '2', 1'500, false, false, 0);
  EXPECT_EQ(limit.quantity, std::optional<Amount>(1'000));
  EXPECT_TRUE(limit.addEnabled);

  // With a selected sale of 300 of it: up to 1,300 stays, 追加 only up to 1,000.
  limit = CheckHoldingLimit(bought, "1234", '2', 1'300, false, true, 300);
  EXPECT_FALSE(limit.quantity);
  EXPECT_FALSE(limit.addEnabled);
  limit = CheckHoldingLimit(bought, "1234", '2', 2'000, false, true, 300);
  EXPECT_EQ(limit.quantity, std::optional<Amount>(1'300));

  // While a row is loaded nothing is clamped; 追加 waits for a fitting quantity.
  limit = CheckHoldingLimit(bought, "1234", '2', 1'500, true, false, 0);
  EXPECT_FALSE(limit.quantity);
  EXPECT_FALSE(limit.addEnabled);
}

TEST(HoldingLimit, NothingHeldMeansNoSaleAndNeverANegativeQuantity) {
  // A holding left with negative shares (its opening buy deleted after a sale).
  const LedgerTable owed = HoldingOf("12341", "-1,000");
  HoldingLimit limit = CheckHoldingLimit(owed, "1234", '2', 5, false, false, 0);
  EXPECT_EQ(limit.quantity, std::optional<Amount>(0));
  EXPECT_FALSE(limit.addEnabled);
  limit = CheckHoldingLimit(owed, "1234", '2', 0, false, false, 0);
  EXPECT_FALSE(limit.quantity);
  EXPECT_FALSE(limit.addEnabled);
  // A selected sale of 300 gives back less than is owed: still nothing.
  limit = CheckHoldingLimit(owed, "1234", '2', 200, false, true, 300);
  EXPECT_EQ(limit.quantity, std::optional<Amount>(0));
  EXPECT_FALSE(limit.addEnabled);
  // No shares at all.
  EXPECT_FALSE(CheckHoldingLimit(HoldingOf("12341", "0"), "1234", '2', 0, false, false, 0).addEnabled);
}

}  // namespace
}  // namespace tomvik::core
