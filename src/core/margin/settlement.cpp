#include "core/margin/settlement.h"

#include <algorithm>

#include "core/diary/bookkeeping.h"
#include "core/holdings/valuation.h"
#include "core/records/cp932_literals.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

namespace {

Amount Read(const LedgerRow& row, std::size_t column) { return ParseAmount(row.cell(column)); }

bool IsBuyPosition(const LedgerRow& position) {
  return position.key.size() > LoanKey::Side && position.key[LoanKey::Side] == kBuyPositionSide;
}

// The bought holding a sell position can be covered with.
std::optional<std::size_t> BoughtHoldingOf(const Books& books, std::string_view code) {
  const long found = FindHolding(books, kBoughtSide, code);
  if (found <= 0) return std::nullopt;
  return static_cast<std::size_t>(found - 1);
}

}  // namespace

std::string SettlementKindCode(SettlementMethod method) {
  switch (method) {
    case SettlementMethod::DeliveryTake: return "27";
    case SettlementMethod::SellRepay: return "36";
    case SettlementMethod::BuyRepay: return "35";
    case SettlementMethod::DeliveryGive: break;
  }
  return "38";
}

std::string SettlementKindText(SettlementMethod method) {
  switch (method) {
    case SettlementMethod::DeliveryTake: return sjis::Join(sjis::kDelivery, sjis::kTake);
    case SettlementMethod::SellRepay: return sjis::Join(sjis::kRepay, sjis::kSell);
    case SettlementMethod::BuyRepay: return sjis::Join(sjis::kRepay, sjis::kBuy);
    case SettlementMethod::DeliveryGive: break;
  }
  return sjis::Join(sjis::kDelivery, sjis::kGive);
}

std::optional<SettlementBasis> PrepareSettlement(const Books& books, std::size_t positionIndex) {
  if (positionIndex >= books.positions.size()) return std::nullopt;
  const LedgerRow& position = books.positions[positionIndex];
  SettlementBasis basis;
  basis.buyPosition = IsBuyPosition(position);
  basis.shares = Read(position, LoanCol::Shares);
  basis.total = Read(position, LoanCol::Total);
  if (basis.buyPosition) {
    basis.fixedPrice = Read(position, LoanCol::Price);
    basis.costBasis = basis.total;
    basis.deliveryBase = basis.shares;
    return basis;
  }
  if (const auto holding = BoughtHoldingOf(books, position.key.substr(0, 4))) {
    const LedgerRow& held = books.holdings[*holding];
    const Amount heldShares = Read(held, HoldCol::Shares);
    basis.canGive = heldShares > 0;
    basis.fixedPrice = Read(held, HoldCol::Average);
    basis.deliveryBase = std::max<Amount>(0, std::min(heldShares, basis.shares));
    basis.costBasis = MulDiv(Read(held, HoldCol::Total), basis.deliveryBase, heldShares);
  }
  return basis;
}

SettlementFigures ComputeSettlement(const SettlementBasis& basis, SettlementMethod method, Amount price,
                                    Amount quantity, Amount charge, Amount tax) {
  SettlementFigures figures;
  figures.price = price;
  figures.quantityLimit = basis.shares;
  switch (method) {
    case SettlementMethod::DeliveryTake:
      figures.price = basis.fixedPrice;
      figures.amount = MulDiv(basis.costBasis, quantity, basis.deliveryBase);
      break;
    case SettlementMethod::DeliveryGive:
      figures.price = basis.fixedPrice;
      figures.quantityLimit = basis.deliveryBase;
      if (quantity > basis.deliveryBase) {
        quantity = basis.deliveryBase;
        figures.quantity = quantity;
      }
      figures.amount = MulDiv(basis.costBasis, quantity, basis.deliveryBase);
      break;
    case SettlementMethod::SellRepay: figures.amount = SatSub(SatSub(SatMul(quantity, price), charge), tax); break;
    case SettlementMethod::BuyRepay: figures.amount = SatAdd(SatAdd(SatMul(quantity, price), charge), tax); break;
  }
  return figures;
}

bool CanSettle(const Books& books, std::size_t positionIndex, SettlementMethod method) {
  const auto basis = PrepareSettlement(books, positionIndex);
  if (!basis || basis->shares <= 0) return false;
  const bool buyMethod = method == SettlementMethod::DeliveryTake || method == SettlementMethod::SellRepay;
  if (buyMethod != basis->buyPosition) return false;
  return method != SettlementMethod::DeliveryGive || basis->canGive;
}

std::optional<Recorded> SettlePosition(Books& books, std::size_t positionIndex, SettlementMethod method,
                                       const ClosingTrade& entry, std::optional<Amount> amount) {
  if (!CanSettle(books, positionIndex, method)) return std::nullopt;
  const SettlementBasis basis = *PrepareSettlement(books, positionIndex);
  const LedgerRow& position = books.positions[positionIndex];
  const bool delivery = IsDelivery(method);
  SettlementFigures figures =
      ComputeSettlement(basis, method, ParseAmount(entry.priceText), ParseAmount(entry.quantityText),
                        delivery ? 0 : ParseAmount(entry.chargeText), delivery ? 0 : ParseAmount(entry.taxText));
  if (!delivery && amount) figures.amount = *amount;
  // A delivery of more than can be delivered is cut back to it.
  const Amount quantity = figures.quantity.value_or(ParseAmount(entry.quantityText));
  // The settled share of the position's opening total.
  const Amount cost = MulDiv(basis.total, quantity, basis.shares);

  LedgerRow row;
  row.key = entry.date + SettlementKindCode(method) + entry.code + position.key.substr(LoanKey::OpenDate);
  row.cells.assign(DiaryCol::Count, std::string());
  row.cells[DiaryCol::Kind] = SettlementKindText(method);
  row.cells[DiaryCol::Stock] = entry.code + " " + entry.name;
  row.cells[DiaryCol::Exchange] = entry.exchange;
  // 現渡し writes the position's unit price, not the holding's average.
  row.cells[DiaryCol::Price] =
      method == SettlementMethod::DeliveryGive ? position.cell(LoanCol::Price) : entry.priceText;
  row.cells[DiaryCol::Quantity] = figures.quantity ? FormatAmount(quantity) : entry.quantityText;
  if (!delivery) {
    row.cells[DiaryCol::Charge] = entry.chargeText;
    row.cells[DiaryCol::Tax] = entry.taxText;
  }
  row.cells[DiaryCol::Comment] = entry.comment;

  Recorded recorded;
  recorded.otherLedgers = true;
  recorded.positionKey = position.key;
  Amount buy = 0;
  Amount sell = 0;
  Amount taken = cost;  // what the position gives up of its total
  switch (method) {
    case SettlementMethod::DeliveryTake: {
      row.cells[DiaryCol::Amount] = FormatAmount(figures.amount);
      taken = figures.amount;
      TakeDelivery(books, row, entry.code, entry.unitText, entry.marketText);
      recorded.holdingKey = entry.code + kBoughtSide;
      ReducePosition(books, positionIndex, quantity, taken, 0);
      break;
    }
    case SettlementMethod::SellRepay:
      row.cells[DiaryCol::Amount] = FormatAmount(figures.amount);
      row.cells[DiaryCol::Cost] = FormatAmount(cost);
      buy = cost;
      sell = figures.amount;
      break;
    case SettlementMethod::BuyRepay:
      row.cells[DiaryCol::Amount] = FormatAmount(figures.amount);
      row.cells[DiaryCol::Cost] = FormatAmount(cost);
      buy = figures.amount;
      sell = cost;
      break;
    case SettlementMethod::DeliveryGive:
      row.cells[DiaryCol::Amount] = FormatAmount(cost);
      row.cells[DiaryCol::Cost] = FormatAmount(figures.amount);
      buy = figures.amount;
      sell = cost;
      GiveDelivery(books, entry.code, quantity, figures.amount);
      recorded.holdingKey = entry.code + kBoughtSide;
      break;
  }
  if (method != SettlementMethod::DeliveryTake) {
    const Amount profit = SatSub(sell, buy);
    row.cells[DiaryCol::Profit] = FormatAmount(profit);
    ReducePosition(books, positionIndex, quantity, taken, profit);
    AddToStockTotals(books, entry.code, buy, sell);
    recorded.stockCode = entry.code;
  }
  recorded.index = books.diary.insert(std::move(row));
  RecomputeDay(books.diary, recorded.index);
  books.unsaved.diary = true;
  return recorded;
}

}  // namespace tomvik::core
