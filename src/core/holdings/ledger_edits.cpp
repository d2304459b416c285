#include "core/holdings/ledger_edits.h"

#include <cstdio>
#include <utility>

#include "core/holdings/account_summary.h"
#include "core/holdings/valuation.h"
#include "core/records/cp932_literals.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {
namespace {

std::string StockText(std::string_view code, std::string_view name) {
  std::string stock(code);
  stock += ' ';
  stock += name;
  return stock;
}

bool IsBuyPositionKey(std::string_view key) {
  return key.size() > LoanKey::Side && key[LoanKey::Side] == kBuyPositionSide;
}

// The stock texts of a row: the entry's, unless the stock master has
// nothing for the code and the row already shows that code (Update keeps
// what the row has then).
template <typename Entry>
void FillStockCells(std::vector<std::string>& cells, const Entry& entry, std::size_t stock, std::size_t exchange,
                    std::size_t unit) {
  if (!entry.stockKnown && cells[stock].compare(0, 4, entry.code) == 0 && cells[stock].size() >= 4) return;
  cells[stock] = StockText(entry.code, entry.name);
  cells[exchange] = entry.exchange;
  cells[unit] = entry.unit;
}

// Average (or unit price), result and rate follow from total, shares and
// market price; they are never read off a display.
void FillHoldingCells(std::vector<std::string>& cells, const HoldingEntry& entry) {
  if (cells.size() < HoldCol::Count) cells.resize(HoldCol::Count);
  cells[HoldCol::Kind] = std::string(entry.buy ? sjis::kBuy : sjis::kSell);
  FillStockCells(cells, entry, HoldCol::Stock, HoldCol::Exchange, HoldCol::Unit);
  const PanelFigures figures =
      ComputePanelFigures(entry.buy, ParseAmount(entry.total), ParseAmount(entry.shares), ParseAmount(entry.market));
  cells[HoldCol::Total] = entry.total;
  cells[HoldCol::Shares] = entry.shares;
  cells[HoldCol::Average] = FormatAmount(figures.average);
  cells[HoldCol::Market] = entry.market;
  cells[HoldCol::Rate] = figures.rate;
  cells[HoldCol::Profit] = FormatAmount(figures.profit);
  if (entry.comment) cells[HoldCol::Comment] = *entry.comment;
}

void FillPositionCells(std::vector<std::string>& cells, const PositionEntry& entry) {
  if (cells.size() < LoanCol::Count) cells.resize(LoanCol::Count);
  cells[LoanCol::Kind] = PositionKindText(entry.buy);
  FillStockCells(cells, entry, LoanCol::Stock, LoanCol::Exchange, LoanCol::Unit);
  const PanelFigures figures =
      ComputePanelFigures(entry.buy, ParseAmount(entry.total), ParseAmount(entry.shares), ParseAmount(entry.market));
  cells[LoanCol::Total] = entry.total;
  cells[LoanCol::Shares] = entry.shares;
  cells[LoanCol::Price] = FormatAmount(figures.average);
  cells[LoanCol::Market] = entry.market;
  cells[LoanCol::Rate] = figures.rate;
  cells[LoanCol::Profit] = FormatAmount(figures.profit);
  if (entry.comment) cells[LoanCol::Comment] = *entry.comment;
}

void HoldingsEdited(Books& books) {
  RecomputeSummary(books, 0);
  books.unsaved.holdings = true;
}

void PositionsEdited(Books& books) {
  RecomputeSummary(books, 0);
  books.unsaved.positions = true;
}

}  // namespace

// --- what a panel shows ---------------------------------------------------------

PanelFigures ComputePanelFigures(bool buy, Amount total, Amount shares, Amount market) {
  PanelFigures figures;
  figures.average = AverageOf(total, shares);
  figures.profit = ValuationOf(buy, market, shares, total);
  figures.difference = buy ? SatSub(market, figures.average) : SatSub(figures.average, market);
  figures.rate = RateText(buy, figures.average, market);
  return figures;
}

RateLook RateLookOf(const PanelFigures& figures) {
  if (figures.average < 1 || figures.difference == 0) return RateLook::Neutral;
  return figures.difference > 0 ? RateLook::Gain : RateLook::Loss;
}

Amount AdditionalBuyTotal(Amount baseTotal, Amount baseShares, Amount shares, Amount market) {
  return SatAdd(baseTotal, SatMul(SatSub(shares, baseShares), market));
}

// --- holdings -----------------------------------------------------------------

std::string HoldingKeyOf(std::string_view code, bool buy) {
  std::string key(code);
  key += buy ? kBoughtSide : kSoldSide;
  return key;
}

std::optional<std::size_t> FirstHoldingOf(const Books& books, std::string_view code) {
  return books.holdings.findPrefix(code);
}

std::size_t AddHoldingRow(Books& books, const HoldingEntry& entry) {
  LedgerRow row;
  row.key = HoldingKeyOf(entry.code, entry.buy);
  row.cells.resize(HoldCol::Count);
  HoldingEntry added = entry;
  if (!added.comment) added.comment = std::string();
  FillHoldingCells(row.cells, added);
  const std::size_t index = books.holdings.insert(std::move(row));
  HoldingsEdited(books);
  return index;
}

std::size_t UpdateHoldingRow(Books& books, std::size_t index, const HoldingEntry& entry) {
  books.holdings.editCells(index, [&](std::vector<std::string>& cells) { FillHoldingCells(cells, entry); });
  const std::string key = HoldingKeyOf(entry.code, entry.buy);
  if (books.holdings[index].key != key) index = books.holdings.rekey(index, key);
  HoldingsEdited(books);
  return index;
}

void DeleteHoldingRow(Books& books, std::size_t index) {
  books.holdings.erase(index);
  HoldingsEdited(books);
}

// --- margin positions -----------------------------------------------------------

std::string PositionBaseKey(std::string_view code, bool buy, std::string_view openDate) {
  std::string key(code);
  key += buy ? kBuyPositionSide : kSellPositionSide;
  key += openDate;
  return key;
}

std::string FreePositionKey(const LedgerTable& positions, std::string_view baseKey) {
  for (int number = 1;; ++number) {
    std::string key(baseKey);
    key += PositionSequenceText(number);
    if (!positions.find(key)) return key;
  }
}

std::optional<std::size_t> FirstPositionOf(const Books& books, std::string_view code) {
  return books.positions.findPrefix(code);
}

std::size_t AddPositionRow(Books& books, const PositionEntry& entry) {
  LedgerRow row;
  row.key = FreePositionKey(books.positions, PositionBaseKey(entry.code, entry.buy, entry.openDate));
  row.cells.resize(LoanCol::Count);
  row.cells[LoanCol::OpenDate] = entry.openDate;
  PositionEntry added = entry;
  if (!added.comment) added.comment = std::string();
  FillPositionCells(row.cells, added);
  const std::size_t index = books.positions.insert(std::move(row));
  PositionsEdited(books);
  return index;
}

std::size_t UpdatePositionRow(Books& books, std::size_t index, const PositionEntry& entry) {
  books.positions.editCells(index, [&](std::vector<std::string>& cells) { FillPositionCells(cells, entry); });
  const std::string& key = books.positions[index].key;
  const std::string openDate =
      key.size() > LoanKey::OpenDate ? key.substr(LoanKey::OpenDate, LoanKey::Sequence - LoanKey::OpenDate) : "";
  const std::string base = PositionBaseKey(entry.code, entry.buy, openDate);
  if (key.compare(0, base.size(), base) != 0 || key.size() != base.size() + 3) {
    index = books.positions.rekey(index, FreePositionKey(books.positions, base));
  }
  PositionsEdited(books);
  books.unsaved.holdings = true;
  return index;
}

void ApplyMarketPriceToCode(Books& books, std::string_view code, std::string_view marketText) {
  const Amount market = ParseAmount(marketText);
  for (std::size_t i = 0; i < books.positions.size(); ++i) {
    const LedgerRow& row = books.positions[i];
    if (row.key.compare(0, code.size(), code) != 0) continue;
    const bool buy = IsBuyPositionKey(row.key);
    const Amount total = ParseAmount(row.cell(LoanCol::Total));
    const Amount shares = ParseAmount(row.cell(LoanCol::Shares));
    const Amount price = ParseAmount(row.cell(LoanCol::Price));
    const Amount value = SatMul(market, shares);
    books.positions.editCells(i, [&](std::vector<std::string>& cells) {
      if (cells.size() < LoanCol::Count) cells.resize(LoanCol::Count);
      cells[LoanCol::Market] = std::string(marketText);
      cells[LoanCol::Profit] = FormatAmount(buy ? SatSub(value, total) : SatSub(total, value));
      cells[LoanCol::Rate] = RateText(buy, price, market);
    });
  }
  PositionsEdited(books);
  books.unsaved.holdings = true;
}

void DeletePositionRow(Books& books, std::size_t index) {
  books.positions.erase(index);
  PositionsEdited(books);
}

// --- either ---------------------------------------------------------------------

std::size_t AddLedgerRow(Books& books, Ledger ledger, const LedgerEntry& entry) {
  return ledger == Ledger::Positions ? AddPositionRow(books, entry) : AddHoldingRow(books, entry);
}

std::size_t UpdateLedgerRow(Books& books, Ledger ledger, std::size_t index, const LedgerEntry& entry) {
  return ledger == Ledger::Positions ? UpdatePositionRow(books, index, entry) : UpdateHoldingRow(books, index, entry);
}

void DeleteLedgerRow(Books& books, Ledger ledger, std::size_t index) {
  if (ledger == Ledger::Positions) {
    DeletePositionRow(books, index);
  } else {
    DeleteHoldingRow(books, index);
  }
}

}  // namespace tomvik::core
