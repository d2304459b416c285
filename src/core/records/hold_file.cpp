#include "core/records/hold_file.h"

#include <vector>

#include "core/records/amount.h"
#include "core/records/cp932_literals.h"
#include "core/records/escape.h"
#include "core/records/text_lines.h"

namespace tomvik::core {
namespace {

LedgerRow ReadRecordLine(std::string_view line) {
  LedgerRow row;
  row.key = std::string(Mid(line, 4, 4)) + (line[0] == '-' ? "1" : "2");
  row.cells.resize(HoldCol::Comment);
  row.cells[HoldCol::Kind] = std::string(Mid(line, 1, 2));
  std::string_view rest = From(line, 4);
  row.cells[HoldCol::Stock] = TakeCommaField(rest);
  row.cells[HoldCol::Exchange] = TakeCommaField(rest);
  for (std::size_t col = HoldCol::Unit; col <= HoldCol::Market; ++col) {
    row.cells[col] = NormaliseAmountText(TakeCommaField(rest));
  }
  row.cells[HoldCol::Profit] = NormaliseAmountText(rest);
  row.cells[HoldCol::Rate] = RateText(row.cells[HoldCol::Kind] == sjis::kBuy, ParseAmount(row.cells[HoldCol::Average]),
                                      ParseAmount(row.cells[HoldCol::Market]));
  return row;
}

}  // namespace

HoldingsData ParseHoldings(std::string_view bytes) {
  HoldingsData data;
  const std::vector<std::string> lines = SplitLines(bytes);
  if (lines.empty()) return data;

  std::string_view account = From(lines[0], 1);
  AccountFigures figures;
  const auto comma = account.find(',');
  if (comma == std::string_view::npos) {
    figures.realised = NormaliseAmountText(account);
  } else {
    figures.totalInvestment = NormaliseAmountText(account.substr(0, comma));
    figures.realised = NormaliseAmountText(account.substr(comma + 1));
  }
  data.figures = figures;

  std::vector<LedgerRow> rows;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) continue;
    if (line[0] == ' ') {
      // A comment line before the first record has no row to belong to.
      if (!rows.empty()) rows.back().cells.push_back(UnescapeText(From(line, 1)));
    } else {
      rows.push_back(ReadRecordLine(line));
    }
  }
  for (LedgerRow& row : rows) {
    // A record without its comment line gets an empty comment.
    if (row.cells.size() < HoldCol::Count) row.cells.resize(HoldCol::Count);
    data.rows.insert(std::move(row));
  }
  return data;
}

std::string SerialiseHoldings(const LedgerTable& rows, const AccountFigures& figures) {
  std::vector<std::string> lines;
  lines.push_back("=" + StripSeparators(figures.totalInvestment) + "," + StripSeparators(figures.realised));
  for (const LedgerRow& row : rows) {
    std::string line = (!row.key.empty() && row.key.back() == '1') ? "-" : "+";
    line += row.cell(HoldCol::Kind);
    line += "," + row.cell(HoldCol::Stock);
    line += "," + row.cell(HoldCol::Exchange);
    for (std::size_t col = HoldCol::Unit; col <= HoldCol::Market; ++col) line += "," + StripSeparators(row.cell(col));
    line += "," + StripSeparators(row.cell(HoldCol::Profit));
    lines.push_back(std::move(line));
    lines.push_back(" " + EscapeText(row.cell(HoldCol::Comment)));
  }
  return JoinLinesCrLf(lines);
}

HoldingsLoad LoadHoldings(const std::filesystem::path& folder) {
  HoldingsLoad load;
  FileContent content = ReadWholeFile(folder / kHoldingsFileName);
  load.status = content.status;
  load.error = std::move(content.error);
  if (content.status == ReadStatus::Loaded) load.data = ParseHoldings(content.bytes);
  return load;
}

std::optional<FileError> SaveHoldings(const std::filesystem::path& folder, const LedgerTable& rows,
                                      const AccountFigures& figures) {
  return WriteFileAtomically(folder / kHoldingsFileName, SerialiseHoldings(rows, figures));
}

}  // namespace tomvik::core
