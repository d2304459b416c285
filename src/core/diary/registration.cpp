#include "core/diary/registration.h"

#include "core/diary/bookkeeping.h"
#include "core/records/cp932_literals.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

namespace {

bool KeySideIs(const LedgerRow& row, std::size_t at, char side) { return row.key.size() > at && row.key[at] == side; }

Registration RegistrationOf(const LedgerRow& row, bool buy, std::size_t stock, std::size_t exchange, std::size_t market,
                            std::size_t shares, std::size_t total, std::size_t profit, std::size_t comment,
                            bool withComment) {
  return MakeRegistration(buy, row.cell(stock).substr(0, 4), row.cell(stock), row.cell(exchange), row.cell(market),
                          row.cell(shares), row.cell(total), row.cell(profit),
                          withComment ? row.cell(comment) : std::string());
}

Registration RegistrationOfPosition(const LedgerRow& position, bool withComment) {
  return RegistrationOf(position, KeySideIs(position, LoanKey::Side, kBuyPositionSide), LoanCol::Stock,
                        LoanCol::Exchange, LoanCol::Market, LoanCol::Shares, LoanCol::Total, LoanCol::Profit,
                        LoanCol::Comment, withComment);
}

std::string Summed(const std::string& a, const std::string& b) {
  return FormatAmount(SatAdd(ParseAmount(a), ParseAmount(b)));
}

}  // namespace

Registration MakeRegistration(bool buy, const std::string& code, const std::string& stock, const std::string& exchange,
                              const std::string& market, const std::string& shares, const std::string& total,
                              const std::string& profit, const std::string& comment) {
  Registration r;
  r.buy = buy;
  r.code = code;
  r.stock = stock;
  r.exchange = exchange;
  r.market = market;
  r.shares = shares;
  r.total = total;
  r.profit = profit;
  r.amount = SatMul(ParseAmount(shares), ParseAmount(market));
  r.comment = comment;
  return r;
}

Registration RegistrationOfHolding(const LedgerRow& holding, bool withComment) {
  return RegistrationOf(holding, KeySideIs(holding, kHoldingSideAt, kBoughtSide), HoldCol::Stock, HoldCol::Exchange,
                        HoldCol::Market, HoldCol::Shares, HoldCol::Total, HoldCol::Profit, HoldCol::Comment,
                        withComment);
}

std::vector<Registration> RegistrationsOfPositions(const LedgerTable& positions, bool byStock, bool withComment) {
  std::vector<Registration> registrations;
  std::string runKey;  // code and side of the run being summed
  for (const LedgerRow& position : positions) {
    const std::string key = position.key.substr(0, LoanKey::Side + 1);
    if (byStock && !registrations.empty() && key == runKey) {
      Registration& run = registrations.back();
      run.shares = Summed(run.shares, position.cell(LoanCol::Shares));
      run.total = Summed(run.total, position.cell(LoanCol::Total));
      run.profit = Summed(run.profit, position.cell(LoanCol::Profit));
      run.amount = SatAdd(
          run.amount, SatMul(ParseAmount(position.cell(LoanCol::Shares)), ParseAmount(position.cell(LoanCol::Market))));
      continue;
    }
    runKey = key;
    registrations.push_back(RegistrationOfPosition(position, withComment && !byStock));
    if (byStock) {
      // A run's figures are sums, written in display form even for one row.
      Registration& run = registrations.back();
      run.shares = Summed(run.shares, "");
      run.total = Summed(run.total, "");
      run.profit = Summed(run.profit, "");
    }
  }
  return registrations;
}

std::optional<std::size_t> WriteRegistrations(Books& books, const std::string& date,
                                              const std::vector<Registration>& registrations, bool margin) {
  std::optional<std::size_t> last;
  for (const Registration& r : registrations) {
    LedgerRow row;
    const char side = margin ? (r.buy ? '5' : '6') : (r.buy ? '1' : '2');
    row.key = date + '5' + side + r.code;
    row.cells.assign(DiaryCol::Count, std::string());
    const std::string_view sideText = r.buy ? sjis::kBuy : sjis::kSell;
    row.cells[DiaryCol::Kind] = sjis::Join(sideText, margin ? sjis::kPosition : sjis::kKeep);
    row.cells[DiaryCol::Stock] = r.stock;
    row.cells[DiaryCol::Exchange] = r.exchange;
    row.cells[DiaryCol::Price] = r.market;
    row.cells[DiaryCol::Quantity] = r.shares;
    row.cells[DiaryCol::Amount] = FormatAmount(r.amount);
    row.cells[DiaryCol::Cost] = r.total;
    row.cells[DiaryCol::Profit] = r.profit;
    row.cells[DiaryCol::Comment] = r.comment;
    // Rows of one key keep the order they are written in.
    last = books.diary.insert(std::move(row));
  }
  if (!last) return std::nullopt;
  // The last row written: after the others of its key.
  RecomputeDay(books.diary, *last);
  books.unsaved.diary = true;
  return last;
}

}  // namespace tomvik::core
