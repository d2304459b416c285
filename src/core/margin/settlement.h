// Settling a margin position from the margin tab, in one of four ways: a
// buy position is sold back (売返済, kind 36) or taken into the cash
// holdings by paying its cost (現引き, 27); a sell position is bought back
// (買返済, 35) or covered with shares of the bought cash holding (現渡し, 38).
//
// The figures the settlement panel shows are worked out here from what the
// position (and for 現渡し the bought holding) held when it was opened; the
// diary row that settling writes books the position's settled share of its
// opening total as the cost, and deleting the row from the diary takes
// exactly this back out of every ledger.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/books.h"
#include "core/diary/recording.h"
#include "core/records/amount.h"

namespace tomvik::core {

enum class SettlementMethod {
  DeliveryTake,  // 現引き: a buy position's shares paid for and held
  SellRepay,     // 売返済
  BuyRepay,      // 買返済
  DeliveryGive,  // 現渡し: a sell position covered with held shares
};

// The kind code and text a method writes ("27" 現引, "36" 返売, "35" 返買, "38" 現渡).
std::string SettlementKindCode(SettlementMethod method);
std::string SettlementKindText(SettlementMethod method);
// Deliveries take no charge or tax and have a fixed price.
inline bool IsDelivery(SettlementMethod method) {
  return method == SettlementMethod::DeliveryTake || method == SettlementMethod::DeliveryGive;
}

// What a position offers for settling, read when it is opened.
struct SettlementBasis {
  bool buyPosition = true;
  Amount shares = 0;  // the position's
  Amount total = 0;   // the position's opening total
  // 現引き: the position's unit price, its total and its shares.
  // 現渡し: the bought holding's average, its cost of the deliverable shares
  // and the smaller of its shares and the position's.
  Amount fixedPrice = 0;
  Amount costBasis = 0;
  Amount deliveryBase = 0;
  bool canGive = false;  // a sell position with a bought holding of the stock
};
// Nothing when there is no position at the index.
std::optional<SettlementBasis> PrepareSettlement(const Books& books, std::size_t positionIndex);

struct SettlementFigures {
  Amount price = 0;                // the fixed price of a delivery, else the typed one
  Amount amount = 0;               // the settlement amount
  Amount quantityLimit = 0;        // how far the quantity's arrows go up
  std::optional<Amount> quantity;  // a delivery's quantity cut back to what can be delivered
};
// The amount for a method: a repayment is quantity x price less (sell) or
// plus (buy) charge and tax; a delivery is the cost basis x quantity / the
// delivery base.
SettlementFigures ComputeSettlement(const SettlementBasis& basis, SettlementMethod method, Amount price,
                                    Amount quantity, Amount charge, Amount tax);

// Whether the position can be settled at all: it has shares (and for
// 現渡し the stock has a bought holding with shares).
bool CanSettle(const Books& books, std::size_t positionIndex, SettlementMethod method);

// Writes the settlement into the diary and books it (a holding 現引き opens
// takes the trade's unit and market price). Nothing, with nothing changed,
// when the position cannot be settled this way. A repayment's `amount`, when
// given, is booked instead of what price, quantity, charge and tax make: an
// imported execution's price may have decimals the whole-yen price text
// cannot carry.
std::optional<Recorded> SettlePosition(Books& books, std::size_t positionIndex, SettlementMethod method,
                                       const ClosingTrade& entry, std::optional<Amount> amount = std::nullopt);

}  // namespace tomvik::core
