// The trade diary of one month: its rows and its file "<yyyymm>.txt".
//
// A diary row has a key (date, kind code, stock code, position label) and
// twelve cells. Each day is one block in key order: the day header (key
// date + "0" + day counter), the trade rows, and the day end marker (key
// date + "9"), which has no cells and is never written. Reading accepts any
// bytes; a well-formed file written back unchanged is byte-for-byte the same.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/records/atomic_file.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

namespace DiaryCol {
inline constexpr std::size_t Date = 0;      // 日付: header only, "2011/03/15(火)"
inline constexpr std::size_t Kind = 1;      // 取引: kind text; header: count of trade rows
inline constexpr std::size_t Stock = 2;     // 銘柄: code, blank, name
inline constexpr std::size_t Exchange = 3;  // 取引所
inline constexpr std::size_t Price = 4;     // 単価
inline constexpr std::size_t Quantity = 5;  // 数量
inline constexpr std::size_t Charge = 6;    // 手数料; header: the day's flat charge
inline constexpr std::size_t Tax = 7;       // 税
inline constexpr std::size_t Amount = 8;    // 金額; header: the day's turnover
inline constexpr std::size_t Cost = 9;      // 保有
inline constexpr std::size_t Profit = 10;   // 損益; header: the day's result
inline constexpr std::size_t Comment = 11;  // コメント
inline constexpr std::size_t Count = 12;
}  // namespace DiaryCol

// Positions inside a diary row key (0-based byte offsets).
namespace DiaryKey {
inline constexpr std::size_t DateLength = 10;
inline constexpr std::size_t KindClass = 10;  // first kind digit; "0" header, "9" end marker
inline constexpr std::size_t KindSide = 11;   // second kind digit
inline constexpr std::size_t Code = 12;       // four bytes of stock code
inline constexpr std::size_t Suffix = 16;     // position label of margin rows
}  // namespace DiaryKey

// "2011/03" -> "201103.txt".
std::string DiaryFileName(std::string_view monthKey);
// The month key of a date text: its first seven characters.
std::string MonthKeyOf(std::string_view dateText);

bool IsDayHeaderKey(std::string_view key);
bool IsDayEndKey(std::string_view key);
// The day counter text of a header key ("0", "003", ...).
std::string DayCounterText(std::string_view headerKey);
// The day counter as a number; 0 when it is not a number.
int DayCounterValue(std::string_view headerKey);

// Parses a month file. Profits of trade rows are derived, and every day's
// header is summed.
LedgerTable ParseDiaryMonth(std::string_view bytes);
// The file contents of a month; "" for a month without rows.
std::string SerialiseDiaryMonth(const LedgerTable& rows);

struct DiaryLoad {
  LedgerTable rows;
  ReadStatus status = ReadStatus::Missing;
  std::optional<FileError> error;
};
DiaryLoad LoadDiaryMonth(const std::filesystem::path& folder, std::string_view monthKey);
// Writes the month's file, or removes it when the month has no rows.
std::optional<FileError> SaveDiaryMonth(const std::filesystem::path& folder, std::string_view monthKey,
                                        const LedgerTable& rows);

// Index of the first row whose key is dateText + "0", or nothing.
std::optional<std::size_t> FindDayHeader(const LedgerTable& rows, std::string_view dateText);

// The day summary of the day holding row `index`: the header's count of
// trade rows, turnover of opening and closing trades (deliveries excluded)
// and result (closing results and cash movements less the flat charge).
void RecomputeDay(LedgerTable& rows, std::size_t index);
// RecomputeDay for every day of the list.
void RecomputeAllDays(LedgerTable& rows);

// A new day's header row (counter "0") and end marker for a "yyyy/mm/dd".
LedgerRow MakeDayHeader(std::string_view dateText);
LedgerRow MakeDayEnd(std::string_view dateText);

// The token written for a kind code and kind text ("-買", "+返", "*入").
std::string DiaryToken(char kindClass, char kindSide, std::string_view kindText);

}  // namespace tomvik::core
