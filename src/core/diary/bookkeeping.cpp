#include "core/diary/bookkeeping.h"

#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

#include "core/diary/trade_kinds.h"
#include "core/holdings/account_summary.h"
#include "core/holdings/valuation.h"
#include "core/records/atomic_file.h"
#include "core/records/code_file.h"
#include "core/records/cp932_literals.h"
#include "core/records/diary_file.h"
#include "core/records/escape.h"
#include "core/records/hold_file.h"
#include "core/records/ini_file.h"
#include "core/records/loan_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::core {
namespace {

__extension__ typedef __int128 Wide;

Amount Read(const LedgerRow& row, std::size_t column) { return ParseAmount(row.cell(column)); }

std::string Negated(const std::string& text) { return FormatAmount(SatNeg(ParseAmount(text))); }

// The stock code at its place in a diary row key.
std::string KeyCodeOf(std::string_view key) {
  if (key.size() <= DiaryKey::Code) return std::string();
  return std::string(key.substr(DiaryKey::Code, 4));
}

std::string KeySuffixOf(std::string_view key) {
  if (key.size() <= DiaryKey::Suffix) return std::string();
  return std::string(key.substr(DiaryKey::Suffix));
}

char SideOfKey(std::string_view key, std::size_t at) { return key.size() > at ? key[at] : '\0'; }

// --- holdings ---------------------------------------------------------------

void RevalueHoldingCells(bool buy, std::vector<std::string>& cells) {
  if (cells.size() < HoldCol::Count) cells.resize(HoldCol::Count);
  const Amount total = ParseAmount(cells[HoldCol::Total]);
  const Amount shares = ParseAmount(cells[HoldCol::Shares]);
  const Amount market = ParseAmount(cells[HoldCol::Market]);
  const Amount average = AverageOf(total, shares);
  cells[HoldCol::Average] = FormatAmount(average);
  cells[HoldCol::Rate] = RateText(buy, average, market);
  cells[HoldCol::Profit] = FormatAmount(ValuationOf(buy, market, shares, total));
}

bool IsBoughtHolding(const LedgerRow& holding) { return SideOfKey(holding.key, kHoldingSideAt) == kBoughtSide; }

void RevalueHoldingAt(LedgerTable& holdings, std::size_t index) {
  const bool buy = IsBoughtHolding(holdings[index]);
  holdings.editCells(index, [buy](std::vector<std::string>& cells) { RevalueHoldingCells(buy, cells); });
}

// A holding row of the code and side with the diary row's stock and
// exchange, the given unit, market price, total and shares.
LedgerRow MakeHoldingRow(const LedgerRow& diaryRow, std::string_view code, bool buy, std::string_view unitText,
                         std::string marketText, Amount total, Amount shares) {
  LedgerRow row;
  row.key = std::string(code) + (buy ? kBoughtSide : kSoldSide);
  row.cells.resize(HoldCol::Count);
  row.cells[HoldCol::Kind] = std::string(buy ? sjis::kBuy : sjis::kSell);
  row.cells[HoldCol::Stock] = diaryRow.cell(DiaryCol::Stock);
  row.cells[HoldCol::Exchange] = diaryRow.cell(DiaryCol::Exchange);
  row.cells[HoldCol::Unit] = std::string(unitText);
  row.cells[HoldCol::Total] = FormatAmount(total);
  row.cells[HoldCol::Shares] = FormatAmount(shares);
  row.cells[HoldCol::Market] = std::move(marketText);
  RevalueHoldingCells(buy, row.cells);
  return row;
}

// Sets a holding's total and shares. A holding left without shares is
// removed, the yen it still carried set aside under its key; otherwise its
// derived figures follow. Returns its index unless it was removed.
std::optional<std::size_t> SetHoldingFigures(Books& books, std::size_t index, Amount total, Amount shares) {
  LedgerTable& holdings = books.holdings;
  if (shares == 0) {
    if (total != 0) {
      // A provisional holding's yen belong to the holding it folds into.
      const LedgerRow& row = holdings[index];
      const bool provisional = row.key.compare(0, kNoStockCode.size(), kNoStockCode) == 0 && row.key.size() > 4;
      const std::string key = provisional ? StockCodeOf(row) + row.key[kHoldingSideAt] : row.key;
      const Amount aside = SatAdd(books.heldAside[key], total);
      if (aside == 0) {
        books.heldAside.erase(key);
      } else {
        books.heldAside[key] = aside;
      }
    }
    holdings.erase(index);
    return std::nullopt;
  }
  holdings.setCell(index, HoldCol::Total, FormatAmount(total));
  holdings.setCell(index, HoldCol::Shares, FormatAmount(shares));
  RevalueHoldingAt(holdings, index);
  return index;
}

// Adds to (or, with negative figures, takes from) a holding.
std::optional<std::size_t> AddToHolding(Books& books, std::size_t index, Amount total, Amount shares) {
  const LedgerRow& holding = books.holdings[index];
  return SetHoldingFigures(books, index, SatAdd(Read(holding, HoldCol::Total), total),
                           SatAdd(Read(holding, HoldCol::Shares), shares));
}

// An undo brings shares of the holding at `index` back: the yen set aside
// when its last shares went join it again.
void RejoinHeldAside(Books& books, std::size_t index) {
  const auto aside = books.heldAside.find(books.holdings[index].key);
  if (aside == books.heldAside.end()) return;
  const Amount total = SatAdd(Read(books.holdings[index], HoldCol::Total), aside->second);
  books.heldAside.erase(aside);
  books.holdings.setCell(index, HoldCol::Total, FormatAmount(total));
  RevalueHoldingAt(books.holdings, index);
}

// Adds to a holding as an undo does: with the yen it had set aside.
std::optional<std::size_t> UndoIntoHolding(Books& books, std::size_t index, Amount total, Amount shares) {
  RejoinHeldAside(books, index);
  return AddToHolding(books, index, total, shares);
}

// A holding the provisional one folds into: the same code and side.
std::optional<std::size_t> HoldingOfProvisional(const LedgerTable& holdings, const LedgerRow& provisional) {
  return holdings.find(StockCodeOf(provisional) + provisional.key[kHoldingSideAt]);
}

void HoldingsChanged(Books& books, Amount realised) {
  RecomputeSummary(books, realised);
  books.unsaved.holdings = true;
}

// --- positions --------------------------------------------------------------

bool IsBuyPosition(const LedgerRow& position) { return SideOfKey(position.key, LoanKey::Side) == kBuyPositionSide; }

void RevaluePositionAt(LedgerTable& positions, std::size_t index) {
  const bool buy = IsBuyPosition(positions[index]);
  positions.editCells(index, [buy](std::vector<std::string>& cells) {
    if (cells.size() < LoanCol::Count) cells.resize(LoanCol::Count);
    const Amount total = ParseAmount(cells[LoanCol::Total]);
    const Amount shares = ParseAmount(cells[LoanCol::Shares]);
    const Amount price = ParseAmount(cells[LoanCol::Price]);
    const Amount market = ParseAmount(cells[LoanCol::Market]);
    cells[LoanCol::Rate] = RateText(buy, price, market);
    cells[LoanCol::Profit] = FormatAmount(ValuationOf(buy, market, shares, total));
  });
}

LedgerRow MakePositionRow(std::string key, bool buy, std::string_view openDate, const LedgerRow& diaryRow,
                          std::string_view unitText) {
  LedgerRow row;
  row.key = std::move(key);
  row.cells.resize(LoanCol::Count);
  row.cells[LoanCol::Kind] = PositionKindText(buy);
  row.cells[LoanCol::OpenDate] = std::string(openDate);
  row.cells[LoanCol::Stock] = diaryRow.cell(DiaryCol::Stock);
  row.cells[LoanCol::Exchange] = diaryRow.cell(DiaryCol::Exchange);
  row.cells[LoanCol::Unit] = std::string(unitText);
  row.cells[LoanCol::Total] = "0";
  row.cells[LoanCol::Shares] = "0";
  row.cells[LoanCol::Rate] = RateText(buy, 0, 0);
  row.cells[LoanCol::Profit] = "0";
  return row;
}

// Sets a position's total and shares; removed when no shares are left,
// else its rate and result follow. Returns its index unless it was removed.
std::optional<std::size_t> SetPositionFigures(LedgerTable& positions, std::size_t index, Amount total, Amount shares) {
  if (shares == 0) {
    positions.erase(index);
    return std::nullopt;
  }
  positions.setCell(index, LoanCol::Total, FormatAmount(total));
  positions.setCell(index, LoanCol::Shares, FormatAmount(shares));
  RevaluePositionAt(positions, index);
  return index;
}

void PositionsChanged(Books& books, Amount realised) {
  HoldingsChanged(books, realised);
  books.unsaved.positions = true;
}

// --- undo of settlements ------------------------------------------------------

// The cash side of a delivery undone: a take gives its shares and amount
// back out of the bought holding, a give returns the handed-over shares at
// their booked cost.
void UndoDeliveryInHolding(Books& books, const LedgerRow& diaryRow, std::string_view code, bool take,
                           std::string_view unitText) {
  const Amount shares = Read(diaryRow, DiaryCol::Quantity);
  const Amount amount = take ? SatNeg(Read(diaryRow, DiaryCol::Amount)) : Read(diaryRow, DiaryCol::Cost);
  const Amount quantity = take ? SatNeg(shares) : shares;
  const std::string key = std::string(code) + kBoughtSide;
  if (const auto index = books.holdings.find(key)) {
    UndoIntoHolding(books, *index, amount, quantity);
    return;
  }
  // A take whose holding was sold off since leaves the shares owed; a give
  // whose holding is gone gets one back, valued at its own average.
  if (amount == 0 && quantity == 0) return;
  std::string market = FormatAmount(take ? Read(diaryRow, DiaryCol::Price) : AverageOf(amount, quantity));
  const std::size_t index =
      books.holdings.insert(MakeHoldingRow(diaryRow, code, true, unitText, std::move(market), amount, quantity));
  UndoIntoHolding(books, index, 0, 0);
}

}  // namespace

Amount MulDiv(Amount a, Amount b, Amount c) {
  if (c == 0) return 0;
  const Wide quotient = static_cast<Wide>(a) * static_cast<Wide>(b) / static_cast<Wide>(c);
  if (quotient > static_cast<Wide>(std::numeric_limits<Amount>::max())) return std::numeric_limits<Amount>::max();
  if (quotient < static_cast<Wide>(std::numeric_limits<Amount>::min())) return std::numeric_limits<Amount>::min();
  return static_cast<Amount>(quotient);
}

std::string StockCodeOf(const LedgerRow& diaryRow) { return diaryRow.cell(DiaryCol::Stock).substr(0, 4); }

long FindHolding(const Books& books, char side, std::string_view code) {
  const auto index = books.holdings.findPrefix(code);
  if (!index) return 0;
  const long found = static_cast<long>(*index) + 1;
  return SideOfKey(books.holdings[*index].key, 4) == side ? found : -found;
}

std::size_t OpenHolding(Books& books, const LedgerRow& diaryRow, std::string_view unitText,
                        std::string_view priceText) {
  const char side = KindSideOf(diaryRow.key);
  const bool buy = side == kBoughtSide || side == '7';
  const std::size_t index = books.holdings.insert(
      MakeHoldingRow(diaryRow, StockCodeOf(diaryRow), buy, unitText, NormaliseAmountText(priceText),
                     Read(diaryRow, DiaryCol::Amount), Read(diaryRow, DiaryCol::Quantity)));
  HoldingsChanged(books, 0);
  return index;
}

HoldingChange ApplyToHolding(Books& books, std::size_t holdingIndex, const LedgerRow& diaryRow) {
  const LedgerRow& holding = books.holdings[holdingIndex];
  const char holdingSide = SideOfKey(holding.key, kHoldingSideAt);
  const char side = KindSideOf(diaryRow.key);
  const Amount quantity = Read(diaryRow, DiaryCol::Quantity);
  const Amount amount = Read(diaryRow, DiaryCol::Amount);
  Amount held = Read(holding, HoldCol::Shares);
  Amount total = Read(holding, HoldCol::Total);

  HoldingChange change;
  if (side == holdingSide || side == '7') {
    total = SatAdd(total, amount);
    held = SatAdd(held, quantity);
  } else {
    // The shares closed take their proportional part of the cost with them
    // (a changed sale closes them of the shares its undo gave back, at
    // their cost, whatever their number).
    const Amount cost = MulDiv(total, quantity, held);
    total = SatSub(total, cost);
    held = SatSub(held, quantity);
    change.realised = holdingSide == kBoughtSide ? SatSub(amount, cost) : SatSub(cost, amount);
    change.costText = FormatAmount(cost);
  }
  change.index = SetHoldingFigures(books, holdingIndex, total, held);
  HoldingsChanged(books, change.realised);
  return change;
}

PositionOpened OpenPosition(Books& books, const LedgerRow& diaryRow, std::string_view dateText,
                            std::string_view unitText, int& dayCounter) {
  const bool buy = KindSideOf(diaryRow.key) == kBuyPositionSide;
  const Amount amount = Read(diaryRow, DiaryCol::Amount);
  const Amount quantity = Read(diaryRow, DiaryCol::Quantity);
  const Amount price = Read(diaryRow, DiaryCol::Price);

  // The day counter labels the position; a number that a position of the
  // code, side and day (one added in the initial-setup mode, say) or an
  // opening row of the day already has is passed over.
  const char side = buy ? kBuyPositionSide : kSellPositionSide;
  const std::string code = StockCodeOf(diaryRow);
  const std::string date(dateText);
  PositionOpened opened;
  std::string key;
  do {
    ++dayCounter;
    opened.sequence = PositionSequenceText(dayCounter);
    key = code + side + date + opened.sequence;
  } while (books.positions.find(key) || books.diary.find(date + '2' + side + code + opened.sequence));
  if (const auto header = FindDayHeader(books.diary, dateText)) {
    const std::string& headerKey = books.diary[*header].key;
    books.diary.rekey(*header, headerKey.substr(0, DiaryKey::KindSide) + opened.sequence);
    books.unsaved.diary = true;
  }

  LedgerRow row = MakePositionRow(key, buy, dateText, diaryRow, unitText);
  const Amount average = AverageOf(amount, quantity);
  row.cells[LoanCol::Total] = FormatAmount(amount);
  row.cells[LoanCol::Shares] = FormatAmount(quantity);
  row.cells[LoanCol::Price] = FormatAmount(average);
  row.cells[LoanCol::Market] = FormatAmount(price);
  row.cells[LoanCol::Rate] = RateText(buy, average, price);
  row.cells[LoanCol::Profit] = FormatAmount(ValuationOf(buy, price, quantity, amount));
  opened.index = books.positions.insert(std::move(row));
  PositionsChanged(books, 0);
  return opened;
}

std::size_t AddToStockTotals(Books& books, std::string_view code, Amount buy, Amount sell) {
  std::size_t index = 0;
  if (const auto found = books.stocks.find(code)) {
    index = *found;
  } else {
    // A stock first traded since the list was read: its details come from
    // the file as it stands.
    const IniIndex& file = books.stockFile.current(books.folder);
    const auto read = [&](std::string_view key) { return std::string(file.value(code, key).value_or("")); };
    LedgerRow row = MakeStockRow(std::string(code));
    row.cells[StockCol::Name] = read("N");
    row.cells[StockCol::Exchange] = read("E");
    row.cells[StockCol::Unit] = read("U");
    row.cells[StockCol::BuyTotal] = read("B");
    row.cells[StockCol::SellTotal] = read("S");
    row.cells[StockCol::Comment] = UnescapeText(read("C"));
    index = books.stocks.insert(std::move(row));
  }
  const LedgerRow& row = books.stocks[index];
  const Amount buyTotal = SatAdd(Read(row, StockCol::BuyTotal), buy);
  const Amount sellTotal = SatAdd(Read(row, StockCol::SellTotal), sell);
  const Amount result = SatSub(sellTotal, buyTotal);
  books.stocks.setCell(index, StockCol::BuyTotal, FormatAmount(buyTotal));
  books.stocks.setCell(index, StockCol::SellTotal, FormatAmount(sellTotal));
  books.stocks.setCell(index, StockCol::Result, FormatAmount(result));
  books.stocks.setCell(index, StockCol::Rate, ChangeRateText(buyTotal, result));
  books.unsaved.stocks = true;
  return index;
}

UndoResult UndoCashRow(Books& books, const LedgerRow& diaryRow, std::string_view unitText) {
  UndoResult result;
  const char kindClass = KindClassOf(diaryRow.key);
  const char side = KindSideOf(diaryRow.key);

  if (kindClass == '0') {
    // The day's flat charge was taken off the realised result.
    const std::string& charge = diaryRow.cell(DiaryCol::Charge);
    if (!charge.empty()) HoldingsChanged(books, ParseAmount(charge));
    return result;
  }
  if (kindClass == '7') {
    HoldingsChanged(books, SatNeg(Read(diaryRow, DiaryCol::Profit)));
    return result;
  }
  if (!IsCashSide(side)) return result;

  if (kindClass == '2') {
    // The opening trade's shares and amount come out of its holding; when
    // that holding was sold off since, the shares are owed.
    LedgerRow negated = diaryRow;
    negated.setCell(DiaryCol::Quantity, Negated(diaryRow.cell(DiaryCol::Quantity)));
    negated.setCell(DiaryCol::Amount, Negated(diaryRow.cell(DiaryCol::Amount)));
    const std::string code = StockCodeOf(diaryRow);
    if (const auto index = books.holdings.find(code + side)) {
      RejoinHeldAside(books, *index);
      ApplyToHolding(books, *index, negated);
    } else {
      RestoreHolding(books, negated, code, unitText);
      result.holdingRestored = true;
    }
    return result;
  }

  if (kindClass == '3') {
    // The closed shares come back at the cost they left with, under the
    // provisional code, and the realised result and stock totals lose what
    // the trade booked (worked out again from 金額 and 保有 in 64 bits).
    const Amount amount = Read(diaryRow, DiaryCol::Amount);
    const Amount cost = Read(diaryRow, DiaryCol::Cost);
    const bool closingBuy = side == kBoughtSide;
    const Amount profit = closingBuy ? SatSub(cost, amount) : SatSub(amount, cost);

    LedgerRow mirror = diaryRow;
    mirror.key[DiaryKey::KindSide] = closingBuy ? kSoldSide : kBoughtSide;
    mirror.setCell(DiaryCol::Amount, FormatAmount(cost));
    mirror.setCell(DiaryCol::Profit, FormatAmount(profit));

    const std::string code = KeyCodeOf(diaryRow.key);
    if (closingBuy) {
      AddToStockTotals(books, code, SatNeg(amount), SatNeg(cost));
    } else {
      AddToStockTotals(books, code, SatNeg(cost), SatNeg(amount));
    }
    RestoreHolding(books, mirror, kNoStockCode, unitText);
    result.provisionalHolding = true;
    result.stockTotalsChanged = true;
  }
  return result;
}

std::size_t RestoreHolding(Books& books, const LedgerRow& diaryRow, std::string_view code, std::string_view unitText) {
  const bool buy = KindSideOf(diaryRow.key) == kBoughtSide;
  const std::size_t index =
      books.holdings.insert(MakeHoldingRow(diaryRow, code, buy, unitText, FormatAmount(Read(diaryRow, DiaryCol::Price)),
                                           Read(diaryRow, DiaryCol::Amount), Read(diaryRow, DiaryCol::Quantity)));
  RejoinHeldAside(books, index);
  HoldingsChanged(books, SatNeg(Read(diaryRow, DiaryCol::Profit)));
  return index;
}

void MergeProvisionalHolding(Books& books) {
  LedgerTable& holdings = books.holdings;
  if (holdings.empty()) return;
  const LedgerRow& provisional = holdings[0];
  if (provisional.key.size() < 5 || provisional.key.compare(0, 4, kNoStockCode) != 0) return;
  const std::string code = StockCodeOf(provisional);
  if (code.size() != 4 || code == kNoStockCode) return;

  // The holding of the same side is looked up by its key: with a sold
  // holding to merge, the first holding of the code may be the bought one.
  if (const auto target = HoldingOfProvisional(holdings, provisional)) {
    const Amount total = Read(provisional, HoldCol::Total);
    const Amount shares = Read(provisional, HoldCol::Shares);
    holdings.erase(0);
    UndoIntoHolding(books, *target - 1, total, shares);
  } else {
    const std::size_t index = holdings.rekey(0, code + provisional.key[kHoldingSideAt]);
    UndoIntoHolding(books, index, 0, 0);
  }
  HoldingsChanged(books, 0);
}

UndoResult UndoMarginRow(Books& books, const LedgerRow& diaryRow, std::string_view unitText) {
  UndoResult result;
  const char kindClass = KindClassOf(diaryRow.key);
  const char side = KindSideOf(diaryRow.key);
  const std::string code = KeyCodeOf(diaryRow.key);
  const Amount amount = Read(diaryRow, DiaryCol::Amount);
  const Amount cost = Read(diaryRow, DiaryCol::Cost);
  const Amount quantity = Read(diaryRow, DiaryCol::Quantity);

  if (kindClass == '2' && (side == kBuyPositionSide || side == kSellPositionSide)) {
    // The position the row opened is deleted with it (it can be deleted only
    // while the position holds all of the row's shares).
    const std::string date = diaryRow.key.substr(0, DiaryKey::DateLength);
    const std::string key = code + side + date + KeySuffixOf(diaryRow.key).substr(0, 3);
    if (const auto index = books.positions.find(key)) books.positions.erase(*index);
    PositionsChanged(books, 0);
    return result;
  }

  const int kind = (kindClass - '0') * 10 + (side - '0');
  if (kind != 27 && kind != 35 && kind != 36 && kind != 38) return result;

  // The settled part goes back into the position, re-created when the
  // settlement closed it.
  const bool buyPosition = kind == 27 || kind == 36;
  const std::string suffix = KeySuffixOf(diaryRow.key);
  // Without the opening date and sequence there is no position to name.
  if (suffix.size() < 13) return result;
  const std::string key = code + (buyPosition ? kBuyPositionSide : kSellPositionSide) + suffix;
  auto index = books.positions.find(key);
  const bool recreated = !index;
  if (recreated) {
    index = books.positions.insert(MakePositionRow(key, buyPosition, suffix.substr(0, 10), diaryRow, unitText));
  }
  const Amount putBack = (kind == 27 || kind == 38) ? amount : cost;
  const LedgerRow& position = books.positions[*index];
  const Amount total = SatAdd(Read(position, LoanCol::Total), putBack);
  const Amount shares = SatAdd(Read(position, LoanCol::Shares), quantity);
  if (recreated) {
    // Its unit price is that of what was put back, and it is valued at it.
    const std::string price = FormatAmount(AverageOf(total, shares));
    books.positions.setCell(*index, LoanCol::Price, price);
    books.positions.setCell(*index, LoanCol::Market, price);
  }
  result.positionIndex = SetPositionFigures(books.positions, *index, total, shares);

  // The stock totals and the realised result lose what the settlement booked.
  Amount buyBooked = 0;
  Amount sellBooked = 0;
  if (kind == 35) {
    buyBooked = amount;
    sellBooked = cost;
  } else if (kind == 36 || kind == 38) {
    buyBooked = cost;
    sellBooked = amount;
  }
  if (kind != 27) {
    AddToStockTotals(books, code, SatNeg(buyBooked), SatNeg(sellBooked));
    result.stockTotalsChanged = true;
  }
  if (kind == 27 || kind == 38) UndoDeliveryInHolding(books, diaryRow, code, kind == 27, unitText);

  PositionsChanged(books, SatSub(buyBooked, sellBooked));
  return result;
}

void ReducePosition(Books& books, std::size_t positionIndex, Amount n, Amount cost, Amount profit) {
  const LedgerRow& position = books.positions[positionIndex];
  SetPositionFigures(books.positions, positionIndex, SatSub(Read(position, LoanCol::Total), cost),
                     SatSub(Read(position, LoanCol::Shares), n));
  PositionsChanged(books, profit);
}

HoldingChange TakeDelivery(Books& books, const LedgerRow& diaryRow27, std::string_view code, std::string_view unitText,
                           std::string_view marketText) {
  if (const auto index = books.holdings.find(std::string(code) + kBoughtSide)) {
    return ApplyToHolding(books, *index, diaryRow27);
  }
  HoldingChange change;
  change.index =
      books.holdings.insert(MakeHoldingRow(diaryRow27, code, true, unitText, NormaliseAmountText(marketText),
                                           Read(diaryRow27, DiaryCol::Amount), Read(diaryRow27, DiaryCol::Quantity)));
  HoldingsChanged(books, 0);
  return change;
}

bool GiveDelivery(Books& books, std::string_view code, Amount n, Amount cost) {
  const auto index = books.holdings.find(std::string(code) + kBoughtSide);
  if (!index) return false;
  AddToHolding(books, *index, SatNeg(cost), SatNeg(n));
  books.unsaved.holdings = true;
  return true;
}

void RevalueHolding(Books& books, std::size_t index) {
  RevalueHoldingAt(books.holdings, index);
  HoldingsChanged(books, 0);
}

void RevaluePosition(Books& books, std::size_t index) {
  RevaluePositionAt(books.positions, index);
  PositionsChanged(books, 0);
}

}  // namespace tomvik::core
