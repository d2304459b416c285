// The margin positions file "Loan.txt": two lines per open position (record
// and comment), no account line.
//
// A position row's key is the stock code, "5" (buy) or "6" (sell), the open
// date and a three-digit sequence number. The open date column is taken from
// the key and the rate of change is derived; neither is written as a field.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/records/atomic_file.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

namespace LoanCol {
inline constexpr std::size_t Reserved = 0;
inline constexpr std::size_t Kind = 1;      // 建玉: "買建" or "売建"
inline constexpr std::size_t OpenDate = 2;  // 新規建日
inline constexpr std::size_t Stock = 3;     // 銘柄
inline constexpr std::size_t Exchange = 4;  // 取引所
inline constexpr std::size_t Unit = 5;      // 単位
inline constexpr std::size_t Total = 6;     // 総額
inline constexpr std::size_t Shares = 7;    // 株数
inline constexpr std::size_t Price = 8;     // 単価
inline constexpr std::size_t Market = 9;    // 時価
inline constexpr std::size_t Rate = 10;     // 騰落率 (derived)
inline constexpr std::size_t Profit = 11;   // 損益
inline constexpr std::size_t Comment = 12;  // コメント
inline constexpr std::size_t Count = 13;
}  // namespace LoanCol

// Offsets in a position key.
namespace LoanKey {
inline constexpr std::size_t Side = 4;       // "5" buy, "6" sell
inline constexpr std::size_t OpenDate = 5;   // ten bytes
inline constexpr std::size_t Sequence = 15;  // three digits
}  // namespace LoanKey
inline constexpr char kBuyPositionSide = '5';
inline constexpr char kSellPositionSide = '6';

// The three-digit label of a day's n-th new position: "001".
std::string PositionSequenceText(int number);
// "買建" or "売建".
std::string PositionKindText(bool buy);

LedgerTable ParsePositions(std::string_view bytes);
std::string SerialisePositions(const LedgerTable& rows);

struct PositionsLoad {
  LedgerTable rows;
  ReadStatus status = ReadStatus::Missing;
  std::optional<FileError> error;
};
inline constexpr std::string_view kPositionsFileName = "Loan.txt";
PositionsLoad LoadPositions(const std::filesystem::path& folder);
std::optional<FileError> SavePositions(const std::filesystem::path& folder, const LedgerTable& rows);

}  // namespace tomvik::core
