#include "core/records/code_file.h"

#include <sys/stat.h>
#include <time.h>

#include <vector>

#include "core/records/amount.h"
#include "core/records/escape.h"
#include "core/records/text_lines.h"

namespace tomvik::core {
namespace {

std::filesystem::path PathIn(const std::filesystem::path& folder) { return folder / kStockMasterFileName; }

void AppendKeyLine(std::string& out, std::string_view keyEquals, std::string_view value) {
  out += keyEquals;
  out += value;
  out += "\r\n";
}

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
  for (const std::string& line : SplitLines(bytes)) {
    if (line.empty()) continue;
    const char first = line[0];
    if (first == '[') {
      rows.push_back(MakeStockRow(std::string(Mid(line, 1, 4))));
      continue;
    }
    // A key line before the first header has no entry to belong to.
    if (rows.empty()) continue;
    LedgerRow& entry = rows.back();
    const std::string value(From(line, 2));
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
  }
  LedgerTable table;
  for (LedgerRow& row : rows) {
    if (filter && !row.mark) continue;
    RecomputeStockDerived(row);
    table.insert(std::move(row));
  }
  return table;
}

std::string SerialiseStockMaster(const LedgerTable& rows) {
  std::size_t size = 0;
  for (const LedgerRow& row : rows) {
    size += row.key.size() + 32;
    for (const std::string& cell : row.cells) size += cell.size();
  }
  std::string out;
  out.reserve(size);
  for (const LedgerRow& row : rows) {
    out += '[';
    out += row.key;
    out += "]\r\n";
    AppendKeyLine(out, "N=", row.cell(StockCol::Name));
    AppendKeyLine(out, "E=", row.cell(StockCol::Exchange));
    AppendKeyLine(out, "U=", row.cell(StockCol::Unit));
    if (row.cell(StockCol::BuyTotal) != "0") AppendKeyLine(out, "B=", row.cell(StockCol::BuyTotal));
    if (row.cell(StockCol::SellTotal) != "0") AppendKeyLine(out, "S=", row.cell(StockCol::SellTotal));
    if (!row.cell(StockCol::Comment).empty()) AppendKeyLine(out, "C=", EscapeText(row.cell(StockCol::Comment)));
    if (!row.mark) out += "F=0\r\n";
    out += "\r\n";
  }
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

std::string SerialiseStockMasterKeeping(const LedgerTable& rows, const IniIndex& existing,
                                        const std::set<std::string>& dropped) {
  std::string out = SerialiseStockMaster(rows);
  // The list reads a section from each line that begins with "[" up to the
  // next such line.
  const std::string_view bytes = existing.bytes();
  EntryCodes entries(rows);
  bool keeping = false;
  std::size_t keptFrom = 0;
  for (const IniIndex::Header& header : existing.headers()) {
    if (header.lineStart != header.bracket) continue;
    if (keeping) out.append(bytes.substr(keptFrom, header.lineStart - keptFrom));
    const std::string code(Mid(bytes.substr(0, header.lineEnd), header.bracket + 1, 4));
    keeping = !entries.contains(code) && !dropped.contains(code);
    keptFrom = header.lineStart;
  }
  if (keeping) out.append(bytes.substr(keptFrom));
  return out;
}

std::string SerialiseStockMasterKeeping(const LedgerTable& rows, std::string_view existing,
                                        const std::set<std::string>& dropped) {
  return SerialiseStockMasterKeeping(rows, IniIndex(std::string(existing)), dropped);
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

const IniIndex& CodeFileCache::current(const std::filesystem::path& folder) {
  setFolder(folder);
  // Both taken before the read: a change while it reads shows next time.
  const std::int64_t lookedAt = Now();
  const Stamp now = stampOf_(path_);
  if (known_ && settled_ && now == stamp_) {
    if (written_) {
      index_ = IniIndex(std::move(*written_));
      written_.reset();
    }
    return index_;
  }
  FileContent content = ReadWholeFile(path_);
  const bool same =
      known_ && status_ == ReadStatus::Loaded && content.status == ReadStatus::Loaded && content.bytes == keptBytes();
  status_ = content.status;
  error_ = std::move(content.error);
  if (written_ && same) {
    index_ = IniIndex(std::move(*written_));
  } else if (!same) {
    index_ = IniIndex(status_ == ReadStatus::Loaded ? std::move(content.bytes) : std::string());
  }
  written_.reset();
  // A file that could not be read is tried again at the next look.
  known_ = status_ != ReadStatus::Failed;
  settled_ = !now.exists || now.changed < lookedAt - kSettleNanoseconds;
  stamp_ = now;
  return index_;
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
  const IniIndex& existing = file.current(folder);
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
