#include "core/records/code_file.h"

#include <functional>
#include <vector>

#include "core/records/amount.h"
#include "core/records/escape.h"
#include "core/records/text_lines.h"

namespace tomvik::core {
namespace {

std::filesystem::path PathIn(const std::filesystem::path& folder) { return folder / kStockMasterFileName; }

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

// The file's lines with their line ends (CR LF, CR or LF, as the reader
// splits them), so that a kept section is written back as it was.
std::vector<std::string_view> RawLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      end = bytes.size();
    } else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') {
      end += 2;
    } else {
      end += 1;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return lines;
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
  std::vector<std::string> lines;
  for (const LedgerRow& row : rows) {
    lines.push_back("[" + row.key + "]");
    lines.push_back("N=" + row.cell(StockCol::Name));
    lines.push_back("E=" + row.cell(StockCol::Exchange));
    lines.push_back("U=" + row.cell(StockCol::Unit));
    if (row.cell(StockCol::BuyTotal) != "0") lines.push_back("B=" + row.cell(StockCol::BuyTotal));
    if (row.cell(StockCol::SellTotal) != "0") lines.push_back("S=" + row.cell(StockCol::SellTotal));
    if (!row.cell(StockCol::Comment).empty()) lines.push_back("C=" + EscapeText(row.cell(StockCol::Comment)));
    if (!row.mark) lines.push_back("F=0");
    lines.emplace_back();
  }
  return JoinLinesCrLf(lines);
}

std::string SerialiseStockMasterKeeping(const LedgerTable& rows, std::string_view existing,
                                        const std::set<std::string>& dropped) {
  std::string out = SerialiseStockMaster(rows);
  std::set<std::string, std::less<>> covered;
  for (const LedgerRow& row : rows) covered.insert(row.key);
  bool keeping = false;
  for (const std::string_view line : RawLines(existing)) {
    if (line.front() == '[') {
      const std::string code(Mid(line.substr(0, line.find_first_of("\r\n")), 1, 4));
      keeping = !covered.contains(code) && !dropped.contains(code);
    }
    if (keeping) out += line;
  }
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

StockMasterLoad LoadStockMaster(const std::filesystem::path& folder, bool filter) {
  StockMasterLoad load;
  FileContent content = ReadWholeFile(PathIn(folder));
  load.status = content.status;
  load.error = std::move(content.error);
  if (content.status == ReadStatus::Loaded) load.rows = ParseStockMaster(content.bytes, filter);
  return load;
}

std::optional<FileError> SaveStockMasterWhole(const std::filesystem::path& folder, const LedgerTable& rows,
                                              const std::set<std::string>& dropped) {
  const FileContent content = ReadWholeFile(PathIn(folder));
  if (content.status == ReadStatus::Failed) return content.error;
  return WriteFileAtomically(PathIn(folder), SerialiseStockMasterKeeping(rows, content.bytes, dropped));
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
