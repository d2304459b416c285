#include "core/records/loan_file.h"

#include <cstdio>

#include <vector>

#include "core/records/amount.h"
#include "core/records/cp932_literals.h"
#include "core/records/escape.h"
#include "core/records/text_lines.h"

namespace tomvik::core {
namespace {

LedgerRow ReadRecordLine(std::string_view line) {
  LedgerRow row;
  row.cells.resize(LoanCol::Comment);
  row.cells[LoanCol::Kind] = std::string(Mid(line, 1, 2)) + std::string(sjis::kPosition);
  std::string_view rest = From(line, 4);
  row.key = TakeCommaField(rest);
  row.cells[LoanCol::OpenDate] = std::string(Mid(row.key, LoanKey::OpenDate, 10));
  row.cells[LoanCol::Stock] = TakeCommaField(rest);
  row.cells[LoanCol::Exchange] = TakeCommaField(rest);
  for (std::size_t col = LoanCol::Unit; col <= LoanCol::Market; ++col) {
    row.cells[col] = NormaliseAmountText(TakeCommaField(rest));
  }
  row.cells[LoanCol::Profit] = NormaliseAmountText(rest);
  const bool buy = row.cells[LoanCol::Kind] == sjis::Join(sjis::kBuy, sjis::kPosition);
  row.cells[LoanCol::Rate] =
      RateText(buy, ParseAmount(row.cells[LoanCol::Price]), ParseAmount(row.cells[LoanCol::Market]));
  return row;
}

}  // namespace

LedgerTable ParsePositions(std::string_view bytes) {
  std::vector<LedgerRow> rows;
  for (const std::string& line : SplitLines(bytes)) {
    if (line.empty()) continue;
    if (line[0] == ' ') {
      // A comment line before the first record has no row to belong to.
      if (!rows.empty()) rows.back().cells.push_back(UnescapeText(From(line, 1)));
    } else {
      rows.push_back(ReadRecordLine(line));
    }
  }
  LedgerTable table;
  for (LedgerRow& row : rows) {
    if (row.cells.size() < LoanCol::Count) row.cells.resize(LoanCol::Count);
    table.insert(std::move(row));
  }
  return table;
}

std::string SerialisePositions(const LedgerTable& rows) {
  std::vector<std::string> lines;
  for (const LedgerRow& row : rows) {
    const bool buy = row.key.size() > LoanKey::Side && row.key[LoanKey::Side] == kBuyPositionSide;
    std::string line = buy ? "-" : "+";
    line += std::string(Head(row.cell(LoanCol::Kind), 2));
    line += "," + row.key;
    line += "," + row.cell(LoanCol::Stock);
    line += "," + row.cell(LoanCol::Exchange);
    for (std::size_t col = LoanCol::Unit; col <= LoanCol::Market; ++col) line += "," + StripSeparators(row.cell(col));
    line += "," + StripSeparators(row.cell(LoanCol::Profit));
    lines.push_back(std::move(line));
    lines.push_back(" " + EscapeText(row.cell(LoanCol::Comment)));
  }
  return JoinLinesCrLf(lines);
}

PositionsLoad LoadPositions(const std::filesystem::path& folder) {
  PositionsLoad load;
  FileContent content = ReadWholeFile(folder / kPositionsFileName);
  load.status = content.status;
  load.error = std::move(content.error);
  if (content.status == ReadStatus::Loaded) load.rows = ParsePositions(content.bytes);
  return load;
}

std::optional<FileError> SavePositions(const std::filesystem::path& folder, const LedgerTable& rows) {
  return WriteFileAtomically(folder / kPositionsFileName, SerialisePositions(rows));
}

std::string PositionSequenceText(int number) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03d", number);
  return buffer;
}

std::string PositionKindText(bool buy) { return sjis::Join(buy ? sjis::kBuy : sjis::kSell, sjis::kPosition); }

}  // namespace tomvik::core
