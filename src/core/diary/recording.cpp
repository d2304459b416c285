#include "core/diary/recording.h"

#include "core/diary/bookkeeping.h"
#include "core/diary/trade_kinds.h"
#include "core/holdings/account_summary.h"
#include "core/records/amount.h"
#include "core/records/cp932_literals.h"
#include "core/records/diary_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::core {

namespace {

// A charge or tax takes its place in a trade row only when it is not 0.
std::string NonZero(const std::string& text) { return ParseAmount(text) != 0 ? text : std::string(); }

std::string FlatCharge(const DiaryEntry& entry) { return entry.chargeEnabled ? NonZero(entry.chargeText) : ""; }

// The realised result moves by `amount`; the stored figures are saved with the holdings.
void BookToRealised(Books& books, Amount amount) {
  if (amount == 0) return;
  RecomputeAccountFigures(books, amount);
  books.unsaved.holdings = true;
}

void WriteCashMovement(Books& books, LedgerRow& row, const DiaryEntry& entry) {
  row.key = entry.date + (entry.deposit ? "71" : "72");
  row.cells.assign(DiaryCol::Count, std::string());
  row.cells[DiaryCol::Kind] = std::string(entry.deposit ? sjis::kIn : sjis::kOut);
  row.cells[DiaryCol::Charge] = entry.chargeText;
  row.cells[DiaryCol::Tax] = entry.taxText;
  row.cells[DiaryCol::Amount] = entry.inOutText;
  row.cells[DiaryCol::Profit] = entry.amountText;
  row.cells[DiaryCol::Comment] = entry.comment;
  BookToRealised(books, ParseAmount(entry.amountText));
}

std::string KindCode(const DiaryEntry& entry, bool closing) {
  if (entry.registration) {
    const bool margin = entry.type == DiaryEntry::Type::Margin;
    return std::string("5") + (margin ? (entry.registrationBuy ? '5' : '6') : (entry.registrationBuy ? '1' : '2'));
  }
  switch (entry.type) {
    case DiaryEntry::Type::Plan: return entry.buy ? "11" : "12";
    case DiaryEntry::Type::Margin: return entry.buy ? "25" : "26";
    case DiaryEntry::Type::Cash: break;
  }
  return std::string(closing ? "3" : "2") + (entry.buy ? '1' : '2');
}

// The trade row's cells without the cost and result, under its key.
LedgerRow TradeRow(const DiaryEntry& entry, const std::string& kind) {
  LedgerRow row;
  row.key = entry.date + kind + entry.code;
  row.cells.assign(DiaryCol::Count, std::string());
  row.cells[DiaryCol::Kind] = KindText(kind);
  row.cells[DiaryCol::Stock] = entry.code + " " + entry.name;
  row.cells[DiaryCol::Exchange] = entry.exchange;
  row.cells[DiaryCol::Price] = entry.priceText;
  row.cells[DiaryCol::Quantity] = entry.quantityText;
  row.cells[DiaryCol::Charge] = FlatCharge(entry);
  row.cells[DiaryCol::Tax] = NonZero(entry.taxText);
  row.cells[DiaryCol::Amount] = entry.amountText;
  row.cells[DiaryCol::Comment] = entry.comment;
  return row;
}

// Writes a trade and books it. `lookupCode` is the code whose holding a
// cash trade meets (a changed sale meets the holding its undo gave back).
// Returns the row's index.
std::size_t RecordTrade(Books& books, const DiaryEntry& entry, const std::string& lookupCode, int& dayCounter,
                        Recorded& recorded) {
  if (entry.registration) {
    LedgerRow row = TradeRow(entry, KindCode(entry, false));
    const Amount amount = ParseAmount(entry.amountText);
    const Amount registered = ParseAmount(entry.registrationText);
    row.cells[DiaryCol::Cost] = entry.registrationText;
    row.cells[DiaryCol::Profit] =
        FormatAmount(entry.registrationBuy ? SatSub(amount, registered) : SatSub(registered, amount));
    return books.diary.insert(std::move(row));
  }
  if (entry.type == DiaryEntry::Type::Plan) return books.diary.insert(TradeRow(entry, KindCode(entry, false)));
  if (entry.type == DiaryEntry::Type::Margin) {
    LedgerRow row = TradeRow(entry, KindCode(entry, false));
    const PositionOpened opened = OpenPosition(books, row, entry.date, entry.unitText, dayCounter);
    row.key += opened.sequence;
    recorded.otherLedgers = true;
    recorded.positionKey = books.positions[opened.index].key;
    return books.diary.insert(std::move(row));
  }

  recorded.otherLedgers = true;
  recorded.holdingKey = entry.code + (entry.buy ? kBoughtSide : kSoldSide);
  const char side = entry.buy ? '1' : '2';
  const long found = FindHolding(books, side, lookupCode);
  if (found >= 0) {
    LedgerRow row = TradeRow(entry, KindCode(entry, false));
    if (found == 0) {
      OpenHolding(books, row, entry.unitText, entry.priceText);
    } else {
      ApplyToHolding(books, static_cast<std::size_t>(found - 1), row);
    }
    return books.diary.insert(std::move(row));
  }
  // The other side's holding: the trade closes shares of it.
  LedgerRow row = TradeRow(entry, KindCode(entry, true));
  const std::size_t closed = static_cast<std::size_t>(-found - 1);
  recorded.holdingKey = books.holdings[closed].key;
  const HoldingChange change = ApplyToHolding(books, closed, row);
  const Amount amount = ParseAmount(entry.amountText);
  const Amount cost = ParseAmount(change.costText);
  row.cells[DiaryCol::Cost] = change.costText;
  row.cells[DiaryCol::Profit] = FormatAmount(entry.buy ? SatSub(cost, amount) : SatSub(amount, cost));
  if (entry.buy) {
    AddToStockTotals(books, entry.code, amount, cost);
  } else {
    AddToStockTotals(books, entry.code, cost, amount);
  }
  recorded.stockCode = entry.code;
  return books.diary.insert(std::move(row));
}

UndoResult UndoRow(Books& books, const LedgerRow& row, const std::string& unitText) {
  const char side = KindSideOf(row.key);
  if (side == '0' || side == '1' || side == '2') return UndoCashRow(books, row, unitText);
  return UndoMarginRow(books, row, unitText);
}

}  // namespace

bool EnsureDayHeader(Books& books, const std::string& dateText) {
  if (FindDayHeader(books.diary, dateText)) return false;
  books.diary.insert(MakeDayHeader(dateText));
  books.diary.insert(MakeDayEnd(dateText));
  books.unsaved.diary = true;
  return true;
}

std::optional<Recorded> AddDiaryRow(Books& books, const DiaryEntry& entry, int& dayCounter) {
  Recorded recorded;
  switch (entry.mode) {
    case DiaryEntry::Mode::Note: {
      if (FindDayHeader(books.diary, entry.date)) return std::nullopt;
      LedgerRow header = MakeDayHeader(entry.date);
      header.cells[DiaryCol::Charge] = FlatCharge(entry);
      header.cells[DiaryCol::Comment] = entry.comment;
      BookToRealised(books, SatNeg(ParseAmount(header.cells[DiaryCol::Charge])));
      books.diary.insert(std::move(header));
      books.diary.insert(MakeDayEnd(entry.date));
      recorded.index = *FindDayHeader(books.diary, entry.date);
      break;
    }
    case DiaryEntry::Mode::CashMovement: {
      LedgerRow row;
      WriteCashMovement(books, row, entry);
      recorded.index = books.diary.insert(std::move(row));
      break;
    }
    case DiaryEntry::Mode::Trade:
      recorded.index = RecordTrade(books, entry, entry.code, dayCounter, recorded);
      recorded.tradeBranch = true;
      break;
  }
  RecomputeDay(books.diary, recorded.index);
  books.unsaved.diary = true;
  return recorded;
}

std::optional<Recorded> UpdateDiaryRow(Books& books, std::size_t index, const DiaryEntry& entry, bool tradeFieldsEdited,
                                       int& dayCounter) {
  if (index >= books.diary.size()) return std::nullopt;
  Recorded recorded;
  recorded.index = index;
  if (!tradeFieldsEdited) {
    books.diary.setCell(index, DiaryCol::Comment, entry.comment);
    books.unsaved.diary = true;
    return recorded;
  }
  if (entry.mode == DiaryEntry::Mode::Trade && entry.code == kNoStockCode) return std::nullopt;

  const LedgerRow old = books.diary[index];
  const UndoResult undo = UndoRow(books, old, entry.unitText);
  recorded.otherLedgers = true;
  recorded.holdingRestored = undo.holdingRestored;
  switch (entry.mode) {
    case DiaryEntry::Mode::Note: {
      const std::string charge = FlatCharge(entry);
      books.diary.setCell(index, DiaryCol::Charge, charge);
      books.diary.setCell(index, DiaryCol::Comment, entry.comment);
      BookToRealised(books, SatNeg(ParseAmount(charge)));
      break;
    }
    case DiaryEntry::Mode::CashMovement: {
      LedgerRow row = old;
      WriteCashMovement(books, row, entry);
      books.diary.erase(index);
      recorded.index = books.diary.insert(std::move(row));
      break;
    }
    case DiaryEntry::Mode::Trade: {
      books.diary.erase(index);
      // A changed sale of the same stock meets the shares its undo gave
      // back; a sale moved to another stock meets that stock's holding.
      std::string lookupCode = entry.code;
      if (undo.provisionalHolding) {
        if (StockCodeOf(old) == entry.code) {
          lookupCode = std::string(kNoStockCode);
        } else {
          MergeProvisionalHolding(books);
        }
      }
      recorded.index = RecordTrade(books, entry, lookupCode, dayCounter, recorded);
      MergeProvisionalHolding(books);
      // A changed sale was matched against the provisional holding: it shows
      // in the holding of its code.
      if (recorded.holdingKey && recorded.holdingKey->compare(0, kNoStockCode.size(), kNoStockCode) == 0) {
        recorded.holdingKey = entry.code + recorded.holdingKey->substr(kNoStockCode.size());
      }
      recorded.tradeBranch = true;
      break;
    }
  }
  RecomputeDay(books.diary, recorded.index);
  books.unsaved.diary = true;
  return recorded;
}

UndoResult DeleteDiaryRow(Books& books, std::size_t index, const std::string& unitText) {
  if (index >= books.diary.size()) return {};
  const LedgerRow row = books.diary[index];
  const UndoResult undo = UndoRow(books, row, unitText);
  MergeProvisionalHolding(books);
  const bool header = IsDayHeaderKey(row.key);
  if (header && index + 1 < books.diary.size() && IsDayEndKey(books.diary[index + 1].key)) books.diary.erase(index + 1);
  books.diary.erase(index);
  if (!header && index > 0) RecomputeDay(books.diary, index - 1);
  books.unsaved.diary = true;
  return undo;
}

}  // namespace tomvik::core
