#include "core/import/trade_booking.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "core/diary/bookkeeping.h"
#include "core/diary/recording.h"
#include "core/diary/trade_kinds.h"
#include "core/margin/settlement.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

__extension__ typedef __int128 Wide;

Amount TradeValue(Amount scaledPrice, Amount quantity) {
  const Wide product = Wide(scaledPrice) * quantity;
  const Wide half = kPriceScale / 2;
  const Wide value = (product >= 0 ? product + half : product - half) / kPriceScale;
  if (value > std::numeric_limits<Amount>::max()) return std::numeric_limits<Amount>::max();
  if (value < std::numeric_limits<Amount>::min()) return std::numeric_limits<Amount>::min();
  return static_cast<Amount>(value);
}

const LedgerTable* ImportSources::month(const std::string& monthKey, std::optional<FileError>* error) {
  auto found = months_.find(monthKey);
  if (found == months_.end()) {
    DiaryLoad load = LoadDiaryMonth(folder_, monthKey);
    MonthFile file;
    if (load.status == ReadStatus::Failed) {
      file.error = load.error;
    } else {
      file.rows = std::move(load.rows);
    }
    found = months_.emplace(monthKey, std::move(file)).first;
  }
  if (found->second.error) {
    if (error) *error = found->second.error;
    return nullptr;
  }
  return &found->second.rows;
}

const StockDetails& ImportSources::stock(const std::string& code) {
  auto found = stocks_.find(code);
  if (found == stocks_.end()) found = stocks_.emplace(code, StockDetailsOf(codeFile_.current(folder_), code)).first;
  return found->second;
}

namespace {

Amount Read(const LedgerRow& row, std::size_t column) { return ParseAmount(row.cell(column)); }

// The trade the kind code of a diary row stands for, where it is one an
// import writes.
std::optional<TradeAction> ActionOfKind(std::string_view kind) {
  if (kind == "21" || kind == "31") return TradeAction::CashBuy;
  if (kind == "22" || kind == "32") return TradeAction::CashSell;
  if (kind == "25") return TradeAction::MarginBuy;
  if (kind == "26") return TradeAction::MarginSell;
  if (kind == "36") return TradeAction::RepaySell;
  if (kind == "35") return TradeAction::RepayBuy;
  if (kind == "27") return TradeAction::DeliveryTake;
  if (kind == "38") return TradeAction::DeliveryGive;
  return std::nullopt;
}

bool IsDeliveryAction(TradeAction action) {
  return action == TradeAction::DeliveryTake || action == TradeAction::DeliveryGive;
}

// What makes a trade and a diary row the same: day, kind, code, price (not
// for deliveries, whose rows carry the position's price) and, except for
// settlements, whose rows are pooled by quantity, the quantity.
std::string RecordKey(const std::string& date, TradeAction action, std::string_view code, Amount price,
                      Amount quantity) {
  std::string key = date;
  key += static_cast<char>('0' + static_cast<int>(action));
  key += code;
  if (!IsDeliveryAction(action)) key += "|" + std::to_string(price);
  if (!IsSettlement(action)) key += "|" + std::to_string(quantity);
  return key;
}

}  // namespace

std::vector<bool> FindRecordedTrades(const Books& books, const std::vector<ImportedTrade>& trades,
                                     ImportSources& sources) {
  // Per key: the rows still unmatched (settlements: their shares).
  std::map<std::string, Amount> pool;
  std::map<std::string, bool> monthsRead;
  auto readMonth = [&](const std::string& monthKey) {
    if (monthsRead[monthKey]) return;
    monthsRead[monthKey] = true;
    const LedgerTable* rows = monthKey == books.monthKey ? &books.diary : sources.month(monthKey);
    if (!rows) return;
    for (const LedgerRow& row : *rows) {
      if (row.key.size() < DiaryKey::Suffix) continue;
      const auto action = ActionOfKind(std::string_view(row.key).substr(DiaryKey::KindClass, 2));
      if (!action) continue;
      const Amount quantity = Read(row, DiaryCol::Quantity);
      const std::string key =
          RecordKey(row.key.substr(0, DiaryKey::DateLength), *action,
                    std::string_view(row.key).substr(DiaryKey::Code, 4), Read(row, DiaryCol::Price), quantity);
      pool[key] += IsSettlement(*action) ? quantity : 1;
    }
  };
  std::vector<bool> recorded(trades.size(), false);
  for (std::size_t i = 0; i < trades.size(); ++i) {
    const ImportedTrade& t = trades[i];
    readMonth(MonthKeyOf(t.date));
    const auto found = pool.find(RecordKey(t.date, t.action, t.code, TradeValue(t.price, 1), t.quantity));
    if (found == pool.end()) continue;
    const Amount needed = IsSettlement(t.action) ? t.quantity : 1;
    if (found->second < needed) continue;
    found->second -= needed;
    recorded[i] = true;
  }
  return recorded;
}

namespace {

// The stock fields a trade is booked with, as a panel would show them.
struct StockFields {
  std::string name;
  std::string exchange;
  std::string unit;
};

class Booker {
 public:
  Booker(Books& books, ImportSources& sources, const BookingOptions& options, bool dryRun)
      : books_(books), sources_(sources), options_(options), dryRun_(dryRun) {}

  ImportRun run(const std::vector<ImportedTrade>& trades, const std::vector<bool>& ticked) {
    ImportRun run;
    run.outcomes.resize(trades.size());
    for (std::size_t i = 0; i < trades.size(); ++i) {
      TradeOutcome& outcome = run.outcomes[i];
      if (i < ticked.size() && ticked[i]) {
        if (run.failure) {
          Refuse(outcome, Refusal::NotReached, 0);
        } else if (switchMonth(MonthKeyOf(trades[i].date), run)) {
          book(trades[i], outcome);
          if (outcome.status == TradeStatus::Booked) {
            ++run.booked;
            run.rows += outcome.kinds.size();
            run.lastBookedDate = trades[i].date;
          }
        } else {
          Refuse(outcome, Refusal::NotReached, 0);
        }
      }
      if (options_.progress) options_.progress(i + 1, trades.size());
    }
    return run;
  }

 private:
  static void Refuse(TradeOutcome& outcome, Refusal refusal, Amount available) {
    outcome.status = TradeStatus::Refused;
    outcome.refusal = refusal;
    outcome.available = available;
  }

  // The month switch of the diary: the shown month is saved before another
  // is loaded. A dry run keeps the months it left in memory instead.
  bool switchMonth(const std::string& monthKey, ImportRun& run) {
    if (monthKey == books_.monthKey) return true;
    if (dryRun_) {
      if (books_.unsaved.diary && books_.unreadable.diary) {
        run.failure = MonthFailure{books_.monthKey, true, FileError{books_.folder, "unreadable"}};
        return false;
      }
      auto left = monthsLeft_.find(monthKey);
      LedgerTable rows;
      if (left != monthsLeft_.end()) {
        rows = std::move(left->second);
      } else {
        std::optional<FileError> error;
        const LedgerTable* file = sources_.month(monthKey, &error);
        if (!file) {
          run.failure = MonthFailure{monthKey, false, error.value_or(FileError{})};
          return false;
        }
        rows = *file;
      }
      monthsLeft_[books_.monthKey] = std::move(books_.diary);
      books_.diary = std::move(rows);
      books_.monthKey = monthKey;
      books_.unsaved.diary = false;
      books_.unreadable.diary = false;
      return true;
    }
    if (books_.unsaved.diary) {
      if (auto error = SaveLedger(books_, Ledger::Diary)) {
        run.failure = MonthFailure{books_.monthKey, true, *error};
        return false;
      }
    }
    if (auto error = LoadDiaryInto(books_, monthKey)) {
      run.failure = MonthFailure{monthKey, false, *error};
      return false;
    }
    return true;
  }

  // The diary panel's stock fields: looked up in Code.txt; a stock it does
  // not know is added there with the file's name and market.
  StockFields lookUp(const ImportedTrade& t, TradeOutcome& outcome) {
    const StockDetails& known = sources_.stock(t.code);
    if (known.found) return StockFields{known.name, known.exchange, known.unit};
    const StockDetails added{t.name, t.market, "", true};
    if (!dryRun_) {
      if (StoreStockFields(books_, t.code, added)) {
        outcome.notices.push_back(Notice{NoticeKind::StockNotStored});
      } else {
        sources_.stockStored(t.code, added);
      }
    }
    return StockFields{added.name, added.exchange, added.unit};
  }

  DiaryEntry tradeEntry(const ImportedTrade& t, const StockFields& stock, Amount amount) const {
    DiaryEntry entry;
    entry.mode = DiaryEntry::Mode::Trade;
    entry.date = t.date;
    entry.comment = options_.comment ? options_.comment(t) : std::string();
    entry.chargeText = FormatAmount(t.charge);
    entry.chargeEnabled = true;
    entry.taxText = FormatAmount(t.tax);
    entry.amountText = FormatAmount(amount);
    entry.buy = IsBuyAction(t.action);
    entry.code = t.code;
    entry.name = stock.name;
    entry.exchange = stock.exchange;
    entry.unitText = stock.unit;
    entry.priceText = FormatAmount(TradeValue(t.price, 1));
    entry.quantityText = FormatAmount(t.quantity);
    return entry;
  }

  void took(const Recorded& recorded, TradeOutcome& outcome, bool realises) {
    const LedgerRow& row = books_.diary[recorded.index];
    outcome.kinds.push_back(row.key.substr(DiaryKey::KindClass, 2));
    outcome.amount = SatAdd(outcome.amount, Read(row, DiaryCol::Amount));
    if (realises) outcome.result = SatAdd(outcome.result.value_or(0), Read(row, DiaryCol::Profit));
  }

  void book(const ImportedTrade& t, TradeOutcome& outcome) {
    if (t.textReplaced) outcome.notices.push_back(Notice{NoticeKind::TextReplaced});
    if (t.priceRounded) outcome.notices.push_back(Notice{NoticeKind::PriceRounded});
    switch (t.action) {
      case TradeAction::CashBuy:
      case TradeAction::CashSell: return bookCash(t, outcome);
      case TradeAction::MarginBuy:
      case TradeAction::MarginSell: return bookNewPosition(t, outcome);
      default: return bookSettlement(t, outcome);
    }
  }

  // 21 or 31 for a buy, 32 for a sale: the diary's rules choose by the
  // holding the trade meets. A sale needs a bought holding with the shares,
  // as the panel allows no more than is held.
  void bookCash(const ImportedTrade& t, TradeOutcome& outcome) {
    const bool buy = t.action == TradeAction::CashBuy;
    const long found = FindHolding(books_, buy ? kBoughtSide : kSoldSide, t.code);
    if (found < 0) {
      const Amount held = Read(books_.holdings[static_cast<std::size_t>(-found - 1)], HoldCol::Shares);
      if (held < t.quantity) return Refuse(outcome, Refusal::NotEnoughHolding, held);
    } else if (!buy) {
      return Refuse(outcome, Refusal::NoHolding, 0);
    }
    const Amount gross = TradeValue(t.price, t.quantity);
    const Amount costs = SatAdd(t.charge, t.tax);
    const Amount computed = buy ? SatAdd(gross, costs) : SatSub(gross, costs);
    Amount amount = computed;
    if (t.brokerAmount && *t.brokerAmount != 0) {
      amount = std::abs(*t.brokerAmount);
      if (amount != computed) outcome.notices.push_back(Notice{NoticeKind::AmountDiffers, amount, computed});
    }
    const StockFields stock = lookUp(t, outcome);
    EnsureDayHeader(books_, t.date);
    int dayCounter = 0;
    const auto recorded = AddDiaryRow(books_, tradeEntry(t, stock, amount), dayCounter);
    outcome.status = TradeStatus::Booked;
    const bool closing = KindClassOf(books_.diary[recorded->index].key) == '3';
    took(*recorded, outcome, closing);
  }

  // 25 or 26: a new position, labelled by the day's counter.
  void bookNewPosition(const ImportedTrade& t, TradeOutcome& outcome) {
    const bool buy = t.action == TradeAction::MarginBuy;
    const Amount gross = TradeValue(t.price, t.quantity);
    const Amount costs = SatAdd(t.charge, t.tax);
    const StockFields stock = lookUp(t, outcome);
    EnsureDayHeader(books_, t.date);
    int dayCounter = DayCounterValue(books_.diary[*FindDayHeader(books_.diary, t.date)].key);
    DiaryEntry entry = tradeEntry(t, stock, buy ? SatAdd(gross, costs) : SatSub(gross, costs));
    entry.type = DiaryEntry::Type::Margin;
    const auto recorded = AddDiaryRow(books_, entry, dayCounter);
    outcome.status = TradeStatus::Booked;
    took(*recorded, outcome, false);
  }

  struct Candidate {
    std::string key;
    Amount shares;
    Amount average;  // the position's unit price, with its opening charge
  };

  // The open positions a settlement may close, in the order they are
  // closed: those opened on the day the file names (nearest opening price
  // first), else all of the code and side, oldest first.
  std::vector<Candidate> positionsFor(const ImportedTrade& t, char side, TradeOutcome& outcome) const {
    const std::string prefix = t.code + side;
    std::vector<Candidate> all;
    std::vector<Candidate> dated;
    for (const LedgerRow& position : books_.positions) {
      if (!position.key.starts_with(prefix)) continue;
      const Amount shares = Read(position, LoanCol::Shares);
      if (shares <= 0) continue;
      Candidate candidate{position.key, shares, Read(position, LoanCol::Price)};
      if (!t.openDate.empty() && position.key.compare(LoanKey::OpenDate, 10, t.openDate) == 0) {
        dated.push_back(candidate);
      }
      all.push_back(std::move(candidate));
    }
    if (t.openDate.empty()) return all;
    if (dated.empty()) {
      if (!all.empty()) outcome.notices.push_back(Notice{NoticeKind::OpenDateNotFound});
      return all;
    }
    if (t.openPrice) {
      const Amount open = *t.openPrice;
      std::stable_sort(dated.begin(), dated.end(), [open](const Candidate& a, const Candidate& b) {
        auto distance = [open](const Candidate& c) {
          const Wide d = Wide(c.average) * kPriceScale - open;
          return d < 0 ? -d : d;
        };
        return distance(a) < distance(b);
      });
    }
    return dated;
  }

  // 36, 35, 27 or 38 through the settlement of positions, one row per
  // position closed; charge, tax and amount shared out by quantity so that
  // the rows add up to the trade.
  void bookSettlement(const ImportedTrade& t, TradeOutcome& outcome) {
    const bool closesBuy = t.action == TradeAction::RepaySell || t.action == TradeAction::DeliveryTake;
    const std::vector<Candidate> candidates =
        positionsFor(t, closesBuy ? kBuyPositionSide : kSellPositionSide, outcome);
    Amount available = 0;
    for (const Candidate& c : candidates) available = SatAdd(available, c.shares);
    if (candidates.empty()) return Refuse(outcome, Refusal::NoPosition, 0);
    if (available < t.quantity) return Refuse(outcome, Refusal::NotEnoughPositions, available);
    if (t.action == TradeAction::DeliveryGive) {
      const long holding = FindHolding(books_, kBoughtSide, t.code);
      if (holding <= 0) return Refuse(outcome, Refusal::NoHolding, 0);
      const Amount held = Read(books_.holdings[static_cast<std::size_t>(holding - 1)], HoldCol::Shares);
      if (held < t.quantity) return Refuse(outcome, Refusal::NotEnoughHolding, held);
    }

    SettlementMethod method = SettlementMethod::SellRepay;
    switch (t.action) {
      case TradeAction::RepayBuy: method = SettlementMethod::BuyRepay; break;
      case TradeAction::DeliveryTake: method = SettlementMethod::DeliveryTake; break;
      case TradeAction::DeliveryGive: method = SettlementMethod::DeliveryGive; break;
      default: break;
    }
    const bool delivery = IsDeliveryAction(t.action);
    const bool realises = t.action != TradeAction::DeliveryTake;
    const StockFields stock = lookUp(t, outcome);
    EnsureDayHeader(books_, t.date);

    Amount done = 0;
    Amount grossDone = 0;
    Amount chargeDone = 0;
    Amount taxDone = 0;
    for (const Candidate& candidate : candidates) {
      if (done >= t.quantity) break;
      const Amount part = std::min(candidate.shares, t.quantity - done);
      done += part;
      const Amount gross = TradeValue(t.price, done) - grossDone;
      const Amount charge = MulDiv(t.charge, done, t.quantity) - chargeDone;
      const Amount tax = MulDiv(t.tax, done, t.quantity) - taxDone;
      grossDone += gross;
      chargeDone += charge;
      taxDone += tax;

      const std::size_t index = *books_.positions.find(candidate.key);
      const LedgerRow& position = books_.positions[index];
      // The margin panel looks the position's code up and shows its market price.
      ClosingTrade entry;
      entry.date = t.date;
      entry.code = t.code;
      entry.name = stock.name;
      entry.exchange = stock.exchange;
      entry.unitText = stock.unit;
      entry.marketText = position.cell(LoanCol::Market);
      entry.quantityText = FormatAmount(part);
      entry.comment = options_.comment ? options_.comment(t) : std::string();
      std::optional<Amount> amount;
      if (delivery) {
        entry.priceText = FormatAmount(PrepareSettlement(books_, index)->fixedPrice);
      } else {
        entry.priceText = FormatAmount(TradeValue(t.price, 1));
        entry.chargeText = FormatAmount(charge);
        entry.taxText = FormatAmount(tax);
        const Amount costs = SatAdd(charge, tax);
        amount = method == SettlementMethod::SellRepay ? SatSub(gross, costs) : SatAdd(gross, costs);
      }
      const auto recorded = SettlePosition(books_, index, method, entry, amount);
      if (!recorded) break;  // checked above: the position and the holding have the shares
      outcome.status = TradeStatus::Booked;
      took(*recorded, outcome, realises);
    }

    if (t.brokerResult && outcome.result && *t.brokerResult != *outcome.result) {
      outcome.notices.push_back(Notice{NoticeKind::ResultDiffers, *t.brokerResult, *outcome.result});
    }
    if (delivery && t.brokerAmount && *t.brokerAmount != 0 && std::abs(*t.brokerAmount) != outcome.amount) {
      outcome.notices.push_back(Notice{NoticeKind::AmountDiffers, std::abs(*t.brokerAmount), outcome.amount});
    }
  }

  Books& books_;
  ImportSources& sources_;
  const BookingOptions& options_;
  bool dryRun_;
  std::map<std::string, LedgerTable> monthsLeft_;
};

}  // namespace

ImportRun PreviewImport(const Books& books, const std::vector<ImportedTrade>& trades, const std::vector<bool>& ticked,
                        ImportSources& sources, const BookingOptions& options) {
  Books copy = books;
  return Booker(copy, sources, options, true).run(trades, ticked);
}

ImportRun BookImport(Books& books, const std::vector<ImportedTrade>& trades, const std::vector<bool>& ticked,
                     ImportSources& sources, const BookingOptions& options) {
  return Booker(books, sources, options, false).run(trades, ticked);
}

std::vector<SaveFailure> SaveChangedLedgers(Books& books) {
  std::vector<SaveFailure> failures;
  for (Ledger ledger : {Ledger::Diary, Ledger::Holdings, Ledger::Positions, Ledger::Stocks}) {
    if (!books.unsaved.of(ledger)) continue;
    if (auto error = SaveLedger(books, ledger)) failures.push_back(SaveFailure{ledger, *error});
  }
  return failures;
}

}  // namespace tomvik::core
