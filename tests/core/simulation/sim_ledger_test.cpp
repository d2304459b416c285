// The simulated ledger: the preview of a trade, the rows recorded trades
// append, take-back and start-over, with the figures of the worked examples.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/simulation/sim_ledger.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Sjis;
using test::Utf8Cells;

SimTrade Buy(const char* price, const char* quantity, const char* charge) { return {true, price, quantity, charge}; }
SimTrade Sell(const char* price, const char* quantity, const char* charge) { return {false, price, quantity, charge}; }

// The visible cells from 取引 on, as UTF-8 (the spacer and separators left out).
std::vector<std::string> Shown(const LedgerTable& rows, std::size_t index) {
  std::vector<std::string> cells = Utf8Cells(rows[index].cells);
  std::vector<std::string> shown;
  for (std::size_t c = SimCol::Side; c < SimCol::EndSeparator; ++c) {
    if (c != SimCol::Separator) shown.push_back(cells[c]);
  }
  return shown;
}

TEST(SimLedger, ABuyOpensAPositionAtItsAmountWithTheChargeAsItsLoss) {
  SimLedger ledger;
  const SimPreview p = ledger.preview(Buy("500", "1,000", "1,050"));
  EXPECT_EQ(p.side, SimSide::None);
  EXPECT_FALSE(p.closing);
  EXPECT_EQ(p.amount, 501050);
  EXPECT_FALSE(p.heldCost);
  EXPECT_FALSE(p.realised);
  EXPECT_EQ(p.total, 501050);
  EXPECT_EQ(p.shares, 1000);
  EXPECT_EQ(p.average, 501);
  EXPECT_EQ(p.unrealised, -1050);
  // An opening trade has no direction yet.
  EXPECT_EQ(p.rate, "0.00%");
  EXPECT_EQ(p.look, RateLook::Neutral);

  ASSERT_TRUE(ledger.record(Buy("500", "1,000", "1,050")));
  ASSERT_EQ(ledger.rows().size(), 1u);
  EXPECT_EQ(Shown(ledger.rows(), 0), (std::vector<std::string>{"買", "500", "1,000", "1,050", "501,050", "", "", "買",
                                                               "501,050", "1,000", "501", "-0.20%", "-1,050"}));
  EXPECT_EQ(ledger.side(), SimSide::Long);
  EXPECT_TRUE(ledger.undoEnabled());
  EXPECT_FALSE(ledger.startRowTicked());
}

TEST(SimLedger, SellingPartTakesOutItsShareOfTheCostAndRealisesTheRest) {
  SimLedger ledger;
  ledger.record(Buy("500", "1,000", "1,050"));
  const SimPreview p = ledger.preview(Sell("600", "400", "1,050"));
  EXPECT_TRUE(p.closing);
  EXPECT_EQ(p.side, SimSide::Long);
  EXPECT_EQ(p.amount, 238950);
  EXPECT_EQ(p.heldCost, 200420);
  EXPECT_EQ(p.realised, 38530);
  EXPECT_EQ(p.total, 300630);
  EXPECT_EQ(p.shares, 600);
  EXPECT_EQ(p.average, 501);
  EXPECT_EQ(p.unrealised, 600 * 600 - 300630);
  EXPECT_EQ(p.rate, "+19.76%");
  EXPECT_EQ(p.look, RateLook::Gain);
  // A buy at a price below the average shows a loss.
  EXPECT_EQ(ledger.preview(Buy("450", "0", "")).look, RateLook::Loss);

  ASSERT_TRUE(ledger.record(Sell("600", "400", "1,050")));
  EXPECT_EQ(Shown(ledger.rows(), 1),
            (std::vector<std::string>{"売", "600", "400", "1,050", "238,950", "200,420", "38,530", "買", "300,630",
                                      "600", "501", "+19.76%", "59,370"}));
  EXPECT_EQ(ledger.side(), SimSide::Long);
}

TEST(SimLedger, ASaleBeyondThePositionIsCutAndClosesItWithTheRealisedSum) {
  SimLedger ledger;
  ledger.record(Buy("500", "1,000", "1,050"));
  ledger.record(Sell("600", "400", "1,050"));
  const SimPreview p = ledger.preview(Sell("600", "1,000", "1,050"));
  EXPECT_TRUE(p.quantityCut);
  EXPECT_EQ(p.quantity, 600);
  EXPECT_EQ(p.heldCost, 300630);
  EXPECT_EQ(p.amount, 358950);
  EXPECT_EQ(p.realised, 58320);
  EXPECT_EQ(p.shares, 0);
  // Nothing is left: the average is that of the shares sold.
  EXPECT_EQ(p.average, 501);
  EXPECT_EQ(p.rate, "+19.76%");
  EXPECT_EQ(p.unrealised, 0);

  ASSERT_TRUE(ledger.record(Sell("600", "1,000", "1,050")));
  EXPECT_EQ(Shown(ledger.rows(), 2), (std::vector<std::string>{"売", "600", "600", "1,050", "358,950", "300,630",
                                                               "58,320", "計", "96,850", "", "", "", ""}));
  EXPECT_EQ(ledger.side(), SimSide::None);
  // The next trade opens a new position from nothing.
  const SimPreview next = ledger.preview(Buy("700", "100", ""));
  EXPECT_FALSE(next.closing);
  EXPECT_EQ(next.total, 70000);
  EXPECT_EQ(next.shares, 100);
}

TEST(SimLedger, AShortIsOpenedByASellAndClosedByABuy) {
  SimLedger ledger;
  const SimPreview open = ledger.preview(Sell("500", "1,000", "1,050"));
  EXPECT_EQ(open.amount, 498950);
  EXPECT_EQ(open.unrealised, -1050);
  ASSERT_TRUE(ledger.record(Sell("500", "1,000", "1,050")));
  EXPECT_EQ(ledger.side(), SimSide::Short);
  EXPECT_EQ(Shown(ledger.rows(), 0), (std::vector<std::string>{"売", "500", "1,000", "1,050", "498,950", "", "", "売",
                                                               "498,950", "1,000", "498", "-0.40%", "-1,050"}));
  // Falling prices are a gain for the short side.
  const SimPreview lower = ledger.preview(Sell("450", "0", ""));
  EXPECT_EQ(lower.unrealised, 498950 - 450000);
  EXPECT_EQ(lower.look, RateLook::Gain);

  const SimPreview close = ledger.preview(Buy("450", "1,000", "1,050"));
  EXPECT_TRUE(close.closing);
  EXPECT_EQ(close.amount, 451050);
  EXPECT_EQ(close.heldCost, 498950);
  EXPECT_EQ(close.realised, 498950 - 451050);
  ASSERT_TRUE(ledger.record(Buy("450", "1,000", "1,050")));
  EXPECT_EQ(Shown(ledger.rows(), 1), (std::vector<std::string>{"買", "450", "1,000", "1,050", "451,050", "498,950",
                                                               "47,900", "計", "47,900", "", "", "", ""}));
}

TEST(SimLedger, NothingIsRecordedWithoutAPriceOrShares) {
  SimLedger ledger;
  EXPECT_FALSE(ledger.record(Buy("0", "100", "")));
  EXPECT_FALSE(ledger.record(Buy("", "100", "")));
  EXPECT_FALSE(ledger.record(Buy("500", "0", "")));
  EXPECT_FALSE(ledger.record(Buy("500", "abc", "")));
  EXPECT_TRUE(ledger.rows().empty());
  EXPECT_FALSE(ledger.undoEnabled());
  // The charge is only added when shares change hands.
  EXPECT_EQ(ledger.preview(Buy("500", "0", "1,050")).amount, 0);
}

TEST(SimLedger, TakeBackAndStartOverFollowTheList) {
  SimLedger ledger;
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::Nothing);
  ledger.record(Buy("500", "1,000", ""));
  ledger.record(Sell("600", "500", ""));
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::RowsRemain);
  EXPECT_TRUE(ledger.undoEnabled());
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::Emptied);
  EXPECT_FALSE(ledger.undoEnabled());
  EXPECT_EQ(ledger.side(), SimSide::None);

  ledger.record(Sell("500", "1,000", ""));
  ledger.record(Buy("400", "1,000", ""));
  ledger.record(Buy("300", "100", ""));
  ASSERT_EQ(ledger.rows().size(), 3u);
  EXPECT_EQ(ledger.side(), SimSide::Long);
  // Back over the closing row: the short position is current again.
  ledger.takeBack();
  EXPECT_EQ(ledger.side(), SimSide::None);
  ledger.takeBack();
  EXPECT_EQ(ledger.side(), SimSide::Short);
  ledger.clear();
  EXPECT_TRUE(ledger.rows().empty());
  EXPECT_FALSE(ledger.undoEnabled());
}

TEST(SimLedger, ATakenOverFirstRowStaysThroughTakeBackAndStartOver) {
  SimLedger ledger;
  SimTrade held = Buy("500", "1,000", "1,050");
  held.heldTotal = 501051;  // its own total, not price x quantity + charge
  ASSERT_TRUE(ledger.recordTakenOver(held));
  ledger.endTakeOver();
  EXPECT_TRUE(ledger.startRowTicked());
  EXPECT_TRUE(ledger.startRowEnabled());
  EXPECT_FALSE(ledger.undoEnabled());
  EXPECT_EQ(Shown(ledger.rows(), 0), (std::vector<std::string>{"買", "500", "1,000", "1,050", "501,051", "", "", "買",
                                                               "501,051", "1,000", "501", "-0.20%", "-1,051"}));

  ledger.record(Sell("600", "400", "1,050"));
  EXPECT_TRUE(ledger.undoEnabled());
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::RowsRemain);
  EXPECT_FALSE(ledger.undoEnabled());
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::Nothing);
  ASSERT_EQ(ledger.rows().size(), 1u);

  ledger.record(Buy("600", "100", ""));
  ledger.record(Buy("600", "100", ""));
  ledger.clear();
  ASSERT_EQ(ledger.rows().size(), 1u);
  EXPECT_EQ(ledger.side(), SimSide::Long);
  EXPECT_FALSE(ledger.undoEnabled());

  // Unticked by the user: an ordinary first row that can go too.
  ledger.untickStartRow();
  EXPECT_FALSE(ledger.startRowTicked());
  EXPECT_FALSE(ledger.startRowEnabled());
  EXPECT_TRUE(ledger.undoEnabled());
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::Emptied);
}

TEST(SimLedger, ATakeOverThatRecordedNothingLeavesNoStartRow) {
  SimLedger ledger;
  EXPECT_FALSE(ledger.recordTakenOver({true, "0", "0", "1,050", Amount{0}}));
  ledger.endTakeOver();
  EXPECT_FALSE(ledger.startRowTicked());
  EXPECT_FALSE(ledger.startRowEnabled());
  // The first trade the user records is an ordinary one.
  ledger.record(Buy("500", "100", ""));
  EXPECT_TRUE(ledger.undoEnabled());
  EXPECT_EQ(ledger.takeBack(), SimTakeBack::Emptied);
}

TEST(SimLedger, AbsurdFiguresSaturateInsteadOfOverflowing) {
  SimLedger ledger;
  const std::string huge = std::to_string(std::numeric_limits<Amount>::max());
  const SimPreview p = ledger.preview({true, huge, huge, huge});
  EXPECT_EQ(p.amount, std::numeric_limits<Amount>::max());
  ASSERT_TRUE(ledger.record({true, huge, huge, huge}));
  const SimPreview sell = ledger.preview({false, "-" + huge, huge, huge});
  EXPECT_TRUE(sell.closing);
  EXPECT_EQ(sell.shares, 0);
  // Rows whose cells cannot be read count as an empty position.
  LedgerTable rows;
  LedgerRow odd;
  odd.cells = {"", Sjis("買")};
  rows.insert(odd);
  EXPECT_EQ(SideOf(rows), SimSide::None);
  EXPECT_EQ(PreviewSimTrade(rows, Sell("100", "10", "")).shares, 10);
}

}  // namespace
}  // namespace tomvik::core
