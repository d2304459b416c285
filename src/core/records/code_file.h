// The stock master file "Code.txt": one INI-style section per stock code
// with the keys N (name), E (exchange), U (unit), B (buy total), S (sell
// total), C (escaped comment) and F=0 (check mark off).
//
// The stock master tab reads and writes the file whole (or, with its filter
// on, rewrites only the sections of the entries it shows); every other panel
// reads and writes single keys of one section at once, leaving every other
// line of the file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/records/atomic_file.h"
#include "core/records/ini_file.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

// Cells of a stock master row; the row's key is its code.
namespace StockCol {
inline constexpr std::size_t Name = 0;       // 銘柄名
inline constexpr std::size_t Exchange = 1;   // 取引所
inline constexpr std::size_t Unit = 2;       // 単位
inline constexpr std::size_t BuyTotal = 3;   // 買い総額
inline constexpr std::size_t SellTotal = 4;  // 売り総額
inline constexpr std::size_t Result = 5;     // 売買損益 (derived)
inline constexpr std::size_t Rate = 6;       // 利率 (derived)
inline constexpr std::size_t Comment = 7;    // コメント
inline constexpr std::size_t Count = 8;
}  // namespace StockCol

inline constexpr std::string_view kStockMasterFileName = "Code.txt";

// A new entry for a code: totals "0", mark on, other texts empty.
LedgerRow MakeStockRow(std::string code);
// Result = sell total - buy total; rate of the result against the buy total.
void RecomputeStockDerived(LedgerRow& row);

// Reads the whole file; with `filter` only the marked entries are kept.
LedgerTable ParseStockMaster(std::string_view bytes, bool filter);
// The whole file for these entries, in list order.
std::string SerialiseStockMaster(const LedgerTable& rows);
// The whole file for these entries, followed by every section of the file
// as it stands (`existing`) that no entry covers and whose code is not one
// of `dropped`: such sections (a stock another panel's lookup wrote for a
// code without an entry) keep their lines byte for byte and their order.
// A section's code is read as the list reads it: the four bytes after "[".
// Lines before the first section belong to no entry and are not kept.
std::string SerialiseStockMasterKeeping(const LedgerTable& rows, std::string_view existing,
                                        const std::set<std::string>& dropped);
// Rewrites the sections of these entries in place; other sections stay.
void ApplyStockMasterInPlace(IniFile& ini, const LedgerTable& rows);

// Code.txt as last read from disk, for the lookups of every panel.
//
// The file is read again only when it may not be the one that was read:
// another folder, or the file's identity, size, modification or change time
// differ (an edit by hand or by another program while the program runs), or
// the program itself is about to write it (forget()).
//
// File systems keep times in ticks (a few milliseconds, up to two seconds),
// so an edit of the same size made within the tick of the last read could
// leave every stamp as it was. What was read therefore counts as settled
// only when the file's change time lay well before the read (the change time
// cannot be set back by hand, so any later edit moves it); until then every
// look reads the file again, and an index whose bytes are unchanged is kept.
// Every read of a value answers from what the file held when it was last
// read.
class CodeFileCache {
 public:
  // What tells one state of the file from another without reading it.
  struct Stamp {
    bool exists = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0, changed = 0;  // nanoseconds since the epoch
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  using StampReader = Stamp (*)(const std::string& path);
  // The file's stamp as the file system keeps it.
  static Stamp StampOf(const std::string& path);

  // How long before a read the file's last change must lie for what was read
  // to stand for the file until its stamp changes.
  static constexpr std::int64_t kSettleNanoseconds = 2'000'000'000;

  explicit CodeFileCache(StampReader stampOf = &StampOf) : stampOf_(stampOf) {}

  // The file in `folder` as it stands now. A missing file reads as empty, and
  // so does one that cannot be read (status() and error() tell which).
  const IniIndex& current(const std::filesystem::path& folder);
  // The same file's bytes, without indexing bytes the program wrote.
  const std::string& currentBytes(const std::filesystem::path& folder);
  ReadStatus status() const { return status_; }
  const std::optional<FileError>& error() const { return error_; }
  // What was read no longer stands for the file: the program writes it.
  void forget() { known_ = false; }
  // The program has just written these bytes to the file in the folder: the
  // next look compares them with the file instead of indexing a fresh read.
  void remember(const std::filesystem::path& folder, std::string bytes);

 private:
  static std::int64_t Now();

  void setFolder(const std::filesystem::path& folder);
  void refresh(const std::filesystem::path& folder);
  const std::string& keptBytes() const { return written_ ? *written_ : index_.bytes(); }

  StampReader stampOf_;
  std::string folder_;  // the folder and the file's path, as given
  std::string path_;
  bool known_ = false;    // index_ (or written_) holds the file with stamp_
  bool settled_ = false;  // and the file changed well before it was read
  Stamp stamp_;
  IniIndex index_;
  // Bytes the program wrote, indexed only when a lookup needs them.
  std::optional<std::string> written_;
  ReadStatus status_ = ReadStatus::Missing;
  std::optional<FileError> error_;
};

struct StockMasterLoad {
  LedgerTable rows;
  ReadStatus status = ReadStatus::Missing;
  std::optional<FileError> error;
};
StockMasterLoad LoadStockMaster(const std::filesystem::path& folder, bool filter);
StockMasterLoad LoadStockMaster(CodeFileCache& file, const std::filesystem::path& folder, bool filter);
// Replaces the file with the entries and the sections they do not cover
// (see SerialiseStockMasterKeeping); a file that exists but cannot be read
// is left alone and reported. With a cache, the file as it stands comes
// from it, and the cache forgets the file before it is written.
std::optional<FileError> SaveStockMasterWhole(const std::filesystem::path& folder, const LedgerTable& rows,
                                              const std::set<std::string>& dropped);
std::optional<FileError> SaveStockMasterWhole(CodeFileCache& file, const std::filesystem::path& folder,
                                              const LedgerTable& rows, const std::set<std::string>& dropped);
std::optional<FileError> SaveStockMasterInPlace(const std::filesystem::path& folder, const LedgerTable& rows);

// Single keys of one stock, read from and written to the file at once.
std::string ReadStockKey(const std::filesystem::path& folder, std::string_view code, std::string_view key,
                         std::string_view fallback = {});
std::optional<FileError> WriteStockKey(const std::filesystem::path& folder, std::string_view code, std::string_view key,
                                       std::string_view value);
// Several keys of one stock in one rewrite of the file, in the given order.
std::optional<FileError> WriteStockKeys(const std::filesystem::path& folder, std::string_view code,
                                        const std::vector<std::pair<std::string, std::string>>& values);
std::optional<FileError> DeleteStockKey(const std::filesystem::path& folder, std::string_view code,
                                        std::string_view key);

}  // namespace tomvik::core
