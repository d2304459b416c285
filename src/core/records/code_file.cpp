#include "core/records/code_file.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/records/amount.h"
#include "core/records/escape.h"
#include "core/records/text_lines.h"

namespace tomvik::core {
namespace {

std::filesystem::path PathIn(const std::filesystem::path& folder) { return folder / kStockMasterFileName; }

// Writes into a buffer sized beforehand, so that the 28,000 short lines of a
// full stock master cost one allocation and plain copies.
class ByteWriter {
 public:
  explicit ByteWriter(char* at) : at_(at) {}
  void put(std::string_view bytes) {
    // Most values are a few bytes long: two overlapping fixed-size copies
    // cost less than a call.
    const char* from = bytes.data();
    const std::size_t n = bytes.size();
    if (n >= 8 && n <= 16) {
      std::memcpy(at_, from, 8);
      std::memcpy(at_ + n - 8, from + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      std::memcpy(at_, from, 4);
      std::memcpy(at_ + n - 4, from + n - 4, 4);
    } else if (n < 4) {
      for (std::size_t i = 0; i < n; ++i) at_[i] = from[i];
    } else {
      std::memcpy(at_, from, n);
    }
    at_ += n;
  }
  void put(char c) { *at_++ = c; }
  void keyLine(std::string_view keyEquals, std::string_view value) {
    put(keyEquals);
    put(value);
    put("\r\n");
  }
  // A comment escaped as EscapeText does, without a string of its own.
  void escaped(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '%') {
        put("%%");
      } else if (c == '\r') {
        put("%n");
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      } else if (c == '\n') {
        put("%n");
      } else {
        put(c);
      }
    }
  }
  char* at() const { return at_; }

 private:
  char* at_;
};

// The file as an INI file; a missing file is an empty one.
struct IniLoad {
  IniFile ini;
  std::optional<FileError> error;
};

IniLoad LoadIni(const std::filesystem::path& folder) {
  IniLoad load;
  FileContent content = ReadWholeFile(PathIn(folder));
  if (content.status == ReadStatus::Failed) {
    load.error = std::move(content.error);
  } else {
    load.ini = IniFile::Parse(content.bytes);
  }
  return load;
}

}  // namespace

LedgerRow MakeStockRow(std::string code) {
  LedgerRow row;
  row.key = std::move(code);
  row.cells.resize(StockCol::Count);
  row.cells[StockCol::BuyTotal] = "0";
  row.cells[StockCol::SellTotal] = "0";
  row.cells[StockCol::Result] = "0";
  row.cells[StockCol::Rate] = "0.00000%";
  row.mark = true;
  return row;
}

void RecomputeStockDerived(LedgerRow& row) {
  const Amount buy = ParseAmount(row.cell(StockCol::BuyTotal));
  const Amount result = SatSub(ParseAmount(row.cell(StockCol::SellTotal)), buy);
  row.setCell(StockCol::Result, FormatAmount(result));
  row.setCell(StockCol::Rate, ChangeRateText(buy, result));
}

LedgerTable ParseStockMaster(std::string_view bytes, bool filter) {
  std::vector<LedgerRow> rows;
  ForEachLine(bytes, [&rows](std::string_view line) {
    if (line.empty()) return;
    const char first = line[0];
    if (first == '[') {
      rows.push_back(MakeStockRow(std::string(Mid(line, 1, 4))));
      return;
    }
    // A key line before the first header has no entry to belong to.
    if (rows.empty()) return;
    LedgerRow& entry = rows.back();
    const std::string_view value = From(line, 2);
    switch (first) {
      case 'N': entry.cells[StockCol::Name] = value; break;
      case 'E': entry.cells[StockCol::Exchange] = value; break;
      case 'U': entry.cells[StockCol::Unit] = value; break;
      case 'B': entry.cells[StockCol::BuyTotal] = value; break;
      case 'S': entry.cells[StockCol::SellTotal] = value; break;
      case 'C': entry.cells[StockCol::Comment] = UnescapeText(value); break;
      case 'F': entry.mark = value != "0"; break;
      default: break;
    }
  });
  if (filter) std::erase_if(rows, [](const LedgerRow& row) { return !row.mark; });
  for (LedgerRow& row : rows) RecomputeStockDerived(row);
  return LedgerTable::FromRows(std::move(rows));
}

std::string SerialiseStockMaster(const LedgerTable& rows) {
  static const std::string kNone;
  const auto cellOf = [](const LedgerRow& row, std::size_t column) -> const std::string& {
    return column < row.cells.size() ? row.cells[column] : kNone;
  };
  const auto isZero = [](const std::string& total) { return total.size() == 1 && total[0] == '0'; };
  std::string out;
  out.resize(rows.size() * 96);
  std::size_t used = 0;
  for (const LedgerRow& row : rows) {
    const std::string& name = cellOf(row, StockCol::Name);
    const std::string& exchange = cellOf(row, StockCol::Exchange);
    const std::string& unit = cellOf(row, StockCol::Unit);
    const std::string& buy = cellOf(row, StockCol::BuyTotal);
    const std::string& sell = cellOf(row, StockCol::SellTotal);
    const std::string& comment = cellOf(row, StockCol::Comment);
    // The most the row can take: an escaped comment is at most twice as
    // long, and the brackets, keys and line breaks take 35 bytes.
    const std::size_t most = row.key.size() + name.size() + exchange.size() + unit.size() + buy.size() +
                             sell.size() + 2 * comment.size() + 40;
    if (out.size() - used < most) out.resize(std::max(2 * out.size(), used + most));
    ByteWriter writer(out.data() + used);
    writer.put('[');
    writer.put(row.key);
    writer.put("]\r\nN=");
    writer.put(name);
    writer.put("\r\nE=");
    writer.put(exchange);
    writer.put("\r\nU=");
    writer.put(unit);
    writer.put("\r\n");
    if (!isZero(buy)) writer.keyLine("B=", buy);
    if (!isZero(sell)) writer.keyLine("S=", sell);
    if (!comment.empty()) {
      writer.put("C=");
      writer.escaped(comment);
      writer.put("\r\n");
    }
    writer.put(row.mark ? std::string_view("\r\n") : std::string_view("F=0\r\n\r\n"));
    used = static_cast<std::size_t>(writer.at() - out.data());
  }
  out.resize(used);
  return out;
}

namespace {

// Whether an entry has the code. The entries are in code order, and so are
// the sections of a file the program wrote, so each search starts where the
// one before ended.
class EntryCodes {
 public:
  explicit EntryCodes(const LedgerTable& rows) : rows_(rows) {}
  bool contains(std::string_view code) {
    // A file the program wrote names the entries in their order.
    if (next_ < rows_.size() && rows_[next_].key == code) {
      ++next_;
      return true;
    }
    const auto before = [this](std::size_t i, std::string_view c) { return std::string_view(rows_[i].key) < c; };
    if (next_ > rows_.size() || (next_ > 0 && !before(next_ - 1, code)) ||
        (next_ < rows_.size() && before(next_, code))) {
      std::size_t low = 0;
      std::size_t high = rows_.size();
      while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (before(mid, code)) {
          low = mid + 1;
        } else {
          high = mid;
        }
      }
      next_ = low;
    }
    const bool found = next_ < rows_.size() && rows_[next_].key == code;
    if (found) ++next_;
    return found;
  }

 private:
  const LedgerTable& rows_;
  std::size_t next_ = 0;  // the first row whose key is not below the last code
};

}  // namespace

std::string SerialiseStockMasterKeeping(const LedgerTable& rows, std::string_view existing,
                                        const std::set<std::string>& dropped) {
  std::string out = SerialiseStockMaster(rows);
  // The list reads a section from each line that begins with "[" up to the
  // next such line.
  const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
  EntryCodes entries(rows);
  bool keeping = false;
  std::size_t keptFrom = 0;
  std::size_t from = 0;
  while (from < existing.size()) {
    const void* hit = std::memchr(existing.data() + from, '[', existing.size() - from);
    if (!hit) break;
    const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - existing.data());
    from = bracket + 1;
    if (bracket > 0 && !isBreak(existing[bracket - 1])) continue;
    if (keeping) out.append(existing.substr(keptFrom, bracket - keptFrom));
    std::size_t end = bracket + 1;
    while (end < existing.size() && end < bracket + 5 && !isBreak(existing[end])) ++end;
    const std::string_view code = existing.substr(bracket + 1, end - bracket - 1);
    keeping = !entries.contains(code) && (dropped.empty() || !dropped.contains(std::string(code)));
    keptFrom = bracket;
  }
  if (keeping) out.append(existing.substr(keptFrom));
  return out;
}

void ApplyStockMasterInPlace(IniFile& ini, const LedgerTable& rows) {
  for (const LedgerRow& row : rows) {
    const std::string& code = row.key;
    ini.writeString(code, "N", row.cell(StockCol::Name));
    ini.writeString(code, "E", row.cell(StockCol::Exchange));
    ini.writeString(code, "U", row.cell(StockCol::Unit));
    const std::string& buy = row.cell(StockCol::BuyTotal);
    if (buy != "0")
      ini.writeString(code, "B", buy);
    else
      ini.deleteKey(code, "B");
    const std::string& sell = row.cell(StockCol::SellTotal);
    if (sell != "0")
      ini.writeString(code, "S", sell);
    else
      ini.deleteKey(code, "S");
    const std::string& comment = row.cell(StockCol::Comment);
    if (!comment.empty())
      ini.writeString(code, "C", EscapeText(comment));
    else
      ini.deleteKey(code, "C");
    if (!row.mark)
      ini.writeString(code, "F", "0");
    else
      ini.deleteKey(code, "F");
  }
}

CodeFileCache::Stamp CodeFileCache::StampOf(const std::string& path) {
  Stamp stamp;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return stamp;
  const auto nanoseconds = [](const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + static_cast<std::int64_t>(t.tv_nsec);
  };
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.modified = nanoseconds(st.st_mtim);
  stamp.changed = nanoseconds(st.st_ctim);
  return stamp;
}

std::int64_t CodeFileCache::Now() {
  // The clock the file system stamps files with.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + static_cast<std::int64_t>(now.tv_nsec);
}

void CodeFileCache::setFolder(const std::filesystem::path& folder) {
  if (folder.native() == folder_) return;
  folder_ = folder.native();
  path_ = PathIn(folder).native();
  known_ = false;
  written_.reset();
}

void CodeFileCache::refresh(const std::filesystem::path& folder) {
  setFolder(folder);
  // Both taken before the read: a change while it reads shows next time.
  const std::int64_t lookedAt = Now();
  const Stamp now = stampOf_(path_);
  if (known_ && settled_ && now == stamp_) return;
  // What is kept may still be the file: comparing costs less than reading
  // it into a string of its own.
  if (known_ && status_ == ReadStatus::Loaded && now.exists && now.size == keptBytes().size() &&
      FileHoldsExactly(path_, keptBytes())) {
    settled_ = now.changed < lookedAt - kSettleNanoseconds;
    stamp_ = now;
    return;
  }
  FileContent content = ReadWholeFile(path_);
  const bool same =
      known_ && status_ == ReadStatus::Loaded && content.status == ReadStatus::Loaded && content.bytes == keptBytes();
  status_ = content.status;
  error_ = std::move(content.error);
  if (!same) {
    written_.reset();
    index_ = IniIndex(status_ == ReadStatus::Loaded ? std::move(content.bytes) : std::string());
  }
  // A file that could not be read is tried again at the next look.
  known_ = status_ != ReadStatus::Failed;
  settled_ = !now.exists || now.changed < lookedAt - kSettleNanoseconds;
  stamp_ = now;
}

const IniIndex& CodeFileCache::current(const std::filesystem::path& folder) {
  refresh(folder);
  if (written_) {
    index_ = IniIndex(std::move(*written_));
    written_.reset();
  }
  return index_;
}

const std::string& CodeFileCache::currentBytes(const std::filesystem::path& folder) {
  refresh(folder);
  return keptBytes();
}

void CodeFileCache::remember(const std::filesystem::path& folder, std::string bytes) {
  setFolder(folder);
  stamp_ = stampOf_(path_);
  known_ = stamp_.exists;
  // Just written: the file's change time is within the tick of now.
  settled_ = false;
  status_ = ReadStatus::Loaded;
  error_.reset();
  written_ = std::move(bytes);
}

StockMasterLoad LoadStockMaster(const std::filesystem::path& folder, bool filter) {
  CodeFileCache file;
  return LoadStockMaster(file, folder, filter);
}

StockMasterLoad LoadStockMaster(CodeFileCache& file, const std::filesystem::path& folder, bool filter) {
  StockMasterLoad load;
  const IniIndex& content = file.current(folder);
  load.status = file.status();
  load.error = file.error();
  if (load.status == ReadStatus::Loaded) load.rows = ParseStockMaster(content.bytes(), filter);
  return load;
}

std::optional<FileError> SaveStockMasterWhole(const std::filesystem::path& folder, const LedgerTable& rows,
                                              const std::set<std::string>& dropped) {
  CodeFileCache file;
  return SaveStockMasterWhole(file, folder, rows, dropped);
}

std::optional<FileError> SaveStockMasterWhole(CodeFileCache& file, const std::filesystem::path& folder,
                                              const LedgerTable& rows, const std::set<std::string>& dropped) {
  const std::string& existing = file.currentBytes(folder);
  if (file.status() == ReadStatus::Failed) return file.error();
  std::string bytes = SerialiseStockMasterKeeping(rows, existing, dropped);
  file.forget();
  auto error = WriteFileAtomically(PathIn(folder), bytes);
  // What failed left the file as it was, and the next look reads it again.
  if (!error) file.remember(folder, std::move(bytes));
  return error;
}

std::optional<FileError> SaveStockMasterInPlace(const std::filesystem::path& folder, const LedgerTable& rows) {
  IniLoad load = LoadIni(folder);
  if (load.error) return load.error;
  ApplyStockMasterInPlace(load.ini, rows);
  return WriteFileAtomically(PathIn(folder), load.ini.serialise());
}

std::string ReadStockKey(const std::filesystem::path& folder, std::string_view code, std::string_view key,
                         std::string_view fallback) {
  const IniLoad load = LoadIni(folder);
  return load.ini.readString(code, key, fallback);
}

std::optional<FileError> WriteStockKey(const std::filesystem::path& folder, std::string_view code, std::string_view key,
                                       std::string_view value) {
  return WriteStockKeys(folder, code, {{std::string(key), std::string(value)}});
}

std::optional<FileError> WriteStockKeys(const std::filesystem::path& folder, std::string_view code,
                                        const std::vector<std::pair<std::string, std::string>>& values) {
  IniLoad load = LoadIni(folder);
  if (load.error) return load.error;
  for (const auto& [key, value] : values) load.ini.writeString(code, key, value);
  return WriteFileAtomically(PathIn(folder), load.ini.serialise());
}

std::optional<FileError> DeleteStockKey(const std::filesystem::path& folder, std::string_view code,
                                        std::string_view key) {
  IniLoad load = LoadIni(folder);
  if (load.error) return load.error;
  if (!load.ini.deleteKey(code, key)) return std::nullopt;
  return WriteFileAtomically(PathIn(folder), load.ini.serialise());
}

}  // namespace tomvik::core
