// The cash holdings file "Hold.txt": the account line with the two stored
// account figures, then two lines per holding (record and comment).
//
// A holding row's key is the stock code and "1" (bought) or "2" (sold). The
// rate of change is derived on reading and never written. Reading accepts any
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

namespace HoldCol {
inline constexpr std::size_t Reserved = 0;
inline constexpr std::size_t Kind = 1;      // 取引: "買" or "売"
inline constexpr std::size_t Stock = 2;     // 銘柄: code, blank, name
inline constexpr std::size_t Exchange = 3;  // 取引所
inline constexpr std::size_t Unit = 4;      // 単位
inline constexpr std::size_t Total = 5;     // 総額
inline constexpr std::size_t Shares = 6;    // 株数
inline constexpr std::size_t Average = 7;   // 平均単価
inline constexpr std::size_t Market = 8;    // 時価
inline constexpr std::size_t Rate = 9;      // 騰落率 (derived)
inline constexpr std::size_t Profit = 10;   // 損益
inline constexpr std::size_t Comment = 11;  // コメント
inline constexpr std::size_t Count = 12;
}  // namespace HoldCol

// A holding's key is its stock code and its side: "1" bought, "2" sold.
inline constexpr std::size_t kHoldingSideAt = 4;
inline constexpr char kBoughtSide = '1';
inline constexpr char kSoldSide = '2';

// The two stored figures of the account summary, as their panel texts.
struct AccountFigures {
  std::string totalInvestment;  // 投資総額
  std::string realised;         // 売買損益
};

struct HoldingsData {
  LedgerTable rows;
  // Set when the file had an account line; otherwise the figures shown
  // before stay as they are.
  std::optional<AccountFigures> figures;
};

HoldingsData ParseHoldings(std::string_view bytes);
std::string SerialiseHoldings(const LedgerTable& rows, const AccountFigures& figures);

struct HoldingsLoad {
  HoldingsData data;
  ReadStatus status = ReadStatus::Missing;
  std::optional<FileError> error;
};
inline constexpr std::string_view kHoldingsFileName = "Hold.txt";
HoldingsLoad LoadHoldings(const std::filesystem::path& folder);
std::optional<FileError> SaveHoldings(const std::filesystem::path& folder, const LedgerTable& rows,
                                      const AccountFigures& figures);

}  // namespace tomvik::core
