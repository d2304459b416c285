// Booking imported trades into the diary, through the same recording that
// the diary's 追加 and the settlement of positions use, so that an imported
// trade books exactly what the same trade typed by hand would book.
//
// Trades are booked in date order, month by month: the shown month is saved
// before the next is loaded, as the diary's own month switch does. Each
// trade is booked whole or not at all; a trade that cannot be booked (a sale
// without the shares, a repayment without its position) is refused and
// listed, and the others go on. When a month cannot be saved or read,
// booking stops there: what was booked before stays booked, every ledger
// consistent with it. A preview works the same booking out on a copy of the
// ledgers, without changing or writing anything.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/books.h"
#include "core/records/code_file.h"
#include "core/import/trade_history.h"
#include "core/records/ledger_table.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::core {

enum class Refusal {
  None,
  NoHolding,           // a cash sale (or 現渡) without a bought holding of the stock
  NotEnoughHolding,    // the holding it closes has fewer shares
  NoPosition,          // a repayment or delivery with no open position of its code and side
  NotEnoughPositions,  // the open positions it may close hold fewer shares
  NotReached,          // booking stopped at an earlier month
};

enum class NoticeKind {
  AmountDiffers,     // the broker's settled amount is not what price, charge and tax make
  ResultDiffers,     // the broker's net result is not the realised result booked
  OpenDateNotFound,  // no position opened on the day the file names: the oldest were closed
  TextReplaced,      // a character could not be read or kept in CP932
  PriceRounded,      // the price had more decimals than are kept
  StockNotStored,    // the new stock could not be written to Code.txt
};

struct Notice {
  NoticeKind kind;
  Amount broker = 0;   // the broker's figure
  Amount program = 0;  // this program's
};

enum class TradeStatus { Booked, Unticked, Refused };

struct TradeOutcome {
  TradeStatus status = TradeStatus::Unticked;
  Refusal refusal = Refusal::None;
  Amount available = 0;            // the shares there were, for a refusal
  std::vector<std::string> kinds;  // kind codes of the rows written ("21", "36" …)
  Amount amount = 0;               // their 金額
  std::optional<Amount> result;    // their 損益, for trades that realise one
  std::vector<Notice> notices;
};

struct MonthFailure {
  std::string monthKey;
  bool saving = false;  // the month could not be saved; else it could not be read
  FileError error;
};

struct ImportRun {
  std::vector<TradeOutcome> outcomes;  // one per trade, in the trades' order
  std::optional<MonthFailure> failure;
  std::size_t booked = 0;  // trades booked
  std::size_t rows = 0;    // diary rows written
  std::optional<std::string> lastBookedDate;
};

// What booking reads besides Books, read once per import: diary months as
// their files hold them, and the stock master's records of the codes.
class ImportSources {
 public:
  explicit ImportSources(std::filesystem::path folder) : folder_(std::move(folder)) {}
  // The month's rows, or nothing when its file cannot be read.
  const LedgerTable* month(const std::string& monthKey, std::optional<FileError>* error = nullptr);
  const StockDetails& stock(const std::string& code);
  void stockStored(const std::string& code, const StockDetails& details) { stocks_[code] = details; }

 private:
  struct MonthFile {
    LedgerTable rows;
    std::optional<FileError> error;
  };
  std::filesystem::path folder_;
  CodeFileCache codeFile_;
  std::map<std::string, MonthFile> months_;
  std::map<std::string, StockDetails> stocks_;
};

// Which trades the diary holds already: a row of the same day, kind, code,
// quantity and price. Rows are counted, so two identical fills of one day
// stay two when the diary holds one. A close booked over several positions
// is found again through its rows' quantities together.
std::vector<bool> FindRecordedTrades(const Books& books, const std::vector<ImportedTrade>& trades,
                                     ImportSources& sources);

struct BookingOptions {
  // The comment of every row a trade writes (CP932): it names the file.
  std::function<std::string(const ImportedTrade&)> comment;
  // Called after each trade with how many of all are done.
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// The booking of the ticked trades worked out on a copy of the ledgers.
ImportRun PreviewImport(const Books& books, const std::vector<ImportedTrade>& trades, const std::vector<bool>& ticked,
                        ImportSources& sources, const BookingOptions& options);
// Books the ticked trades. New stocks are written to Code.txt at once.
ImportRun BookImport(Books& books, const std::vector<ImportedTrade>& trades, const std::vector<bool>& ticked,
                     ImportSources& sources, const BookingOptions& options);

struct SaveFailure {
  Ledger ledger;
  FileError error;
};
// Saves every ledger with unsaved changes (the diary month shown last, the
// holdings, the positions, the stock master); what could not be saved.
std::vector<SaveFailure> SaveChangedLedgers(Books& books);

// Whole yen of price (scaled) x quantity, halves away from zero.
Amount TradeValue(Amount scaledPrice, Amount quantity);

}  // namespace tomvik::core
