#include "core/records/diary_file.h"

#include <vector>

#include "core/records/amount.h"
#include "core/records/cp932_literals.h"
#include "core/records/date.h"
#include "core/records/escape.h"
#include "core/records/text_lines.h"

namespace tomvik::core {
namespace {

using sjis::Join;

struct KindOfToken {
  std::string code;  // "" for an unknown token
  std::string text;
  bool hasSuffix = false;
};

// The kind that a trade line's token (its first three bytes) stands for.
KindOfToken ReadToken(std::string_view line) {
  const char sign = line.empty() ? '\0' : line[0];
  const std::string_view kanji = Mid(line, 1, 2);
  if (sign == '*') {
    if (kanji == sjis::kIn) return {"71", std::string(sjis::kIn)};
    if (kanji == sjis::kOut) return {"72", std::string(sjis::kOut)};
    return {};
  }
  const bool buy = sign == '-';
  const std::string_view side = buy ? sjis::kBuy : sjis::kSell;
  if (kanji == sjis::kPlan) return {buy ? "11" : "12", Join(sjis::kPlan, side)};
  if (kanji == sjis::kBuy) return {"21", std::string(sjis::kBuy)};
  if (kanji == sjis::kSell) return {"22", std::string(sjis::kSell)};
  if (kanji == sjis::kClose) return {buy ? "31" : "32", std::string(side)};
  if (kanji == sjis::kKeep) return {buy ? "51" : "52", Join(side, sjis::kKeep)};
  if (kanji == sjis::kMargin) return {buy ? "25" : "26", Join(sjis::kMargin, side), true};
  if (kanji == sjis::kRepay) return {buy ? "35" : "36", Join(sjis::kRepay, side), true};
  if (kanji == sjis::kDelivery) {
    return {buy ? "27" : "38", Join(sjis::kDelivery, buy ? sjis::kTake : sjis::kGive), true};
  }
  if (kanji == sjis::kPosition) return {buy ? "55" : "56", Join(side, sjis::kPosition)};
  return {};
}

// "yyyy/mm/dd(曜)": ten bytes of date, "(", the weekday kanji, ")".
constexpr std::size_t kHeaderTitleLength = 14;

char KeyChar(std::string_view key, std::size_t at) { return at < key.size() ? key[at] : '\0'; }

// The date and weekday of a header line: the fourteen bytes after "[". A
// line cut short (a damaged file, an edit by hand) ends its title at its
// "]", and the title is filled up with blanks, so that the date, the
// header's key and its end marker's key keep their places and the title
// reads back the same after it is written with its "]".
std::string HeaderTitle(std::string_view line) {
  std::string title(Mid(line, 1, kHeaderTitleLength));
  if (title.size() < kHeaderTitleLength) {
    if (const auto bracket = title.find(']'); bracket != std::string::npos) title.resize(bracket);
    title.resize(kHeaderTitleLength, ' ');
  }
  return title;
}

LedgerRow ReadHeaderLine(std::string_view line, std::string* date) {
  LedgerRow row;
  row.cells.resize(DiaryCol::Comment);
  row.cells[DiaryCol::Date] = HeaderTitle(line);
  *date = row.cells[DiaryCol::Date].substr(0, DiaryKey::DateLength);
  const std::string_view rest = From(line, 17);
  std::string counter = "0";
  std::string charge(rest);
  const auto paren = rest.find('(');
  if (!rest.empty() && paren != std::string_view::npos) {
    charge = std::string(rest.substr(0, paren));
    // The counter is what follows the "(" without the line's last character.
    const std::size_t from = 17 + paren + 1;
    counter = from < line.size() ? std::string(line.substr(from, line.size() - 1 - from)) : std::string();
  }
  row.cells[DiaryCol::Charge] = charge;
  row.key = *date + "0" + counter;
  return row;
}

// What a trade line holds after its token part: stock, exchange and the
// six amounts in stored form, each after a ",".
std::string TradeFields(const LedgerRow& row) {
  std::string fields = row.cell(DiaryCol::Stock);
  fields += "," + row.cell(DiaryCol::Exchange);
  for (std::size_t col = DiaryCol::Price; col <= DiaryCol::Cost; ++col) {
    fields += "," + StripSeparators(row.cell(col));
  }
  return fields;
}

LedgerRow ReadTradeLine(std::string_view line, const std::string& date) {
  KindOfToken kind = ReadToken(line);
  std::string suffix;
  std::size_t tokenPart = 4;
  if (kind.hasSuffix) {
    const auto comma = line.find(',', 3);
    if (comma == std::string_view::npos) {
      suffix = std::string(From(line, 3));
      tokenPart = line.size();
    } else {
      suffix = std::string(line.substr(3, comma - 3));
      tokenPart = comma + 1;
    }
  }
  std::string_view rest = From(line, tokenPart);
  LedgerRow row;
  row.cells.resize(DiaryCol::Comment);
  row.cells[DiaryCol::Stock] = TakeCommaField(rest);
  row.cells[DiaryCol::Exchange] = TakeCommaField(rest);
  for (std::size_t col = DiaryCol::Price; col <= DiaryCol::Amount; ++col) {
    row.cells[col] = NormaliseAmountText(TakeCommaField(rest));
  }
  if (!rest.empty()) row.cells[DiaryCol::Cost] = NormaliseAmountText(rest);

  // The four bytes after the kind in the key are the first four the line
  // holds after its token part, as the line is written back: for a
  // well-formed line the stock code. Read from the written form, a damaged
  // line keeps its key (and its place in the day) when it is read again.
  const std::string fields = TradeFields(row);
  if (kind.code.empty()) {
    // A token of no kind is written back with the token that the two bytes
    // at the kind's place give; it is read as that kind at once.
    const KindOfToken written = ReadToken(DiaryToken(fields[0], fields[1], ""));
    kind.code = written.code;
    kind.text = written.text;
  }
  row.key = date + kind.code + fields.substr(0, 4) + suffix;
  row.cells[DiaryCol::Kind] = kind.text;

  const char kindClass = kind.code[0];
  const char kindSide = kind.code[1];
  if (rest.empty()) {
    if (kindClass == '7') {
      Amount net = SatAdd(SatAdd(ParseAmount(row.cells[DiaryCol::Charge]), ParseAmount(row.cells[DiaryCol::Tax])),
                          ParseAmount(row.cells[DiaryCol::Amount]));
      if (kindSide == '2') net = SatNeg(net);
      row.cells[DiaryCol::Profit] = FormatAmount(net);
    }
  } else {
    const Amount amount = ParseAmount(row.cells[DiaryCol::Amount]);
    const Amount cost = ParseAmount(rest);
    Amount profit = (kindSide == '1' || kindSide == '5') ? SatSub(amount, cost) : SatSub(cost, amount);
    if (kindClass == '3') profit = SatNeg(profit);
    row.cells[DiaryCol::Profit] = FormatAmount(profit);
  }
  return row;
}

std::string HeaderLine(const LedgerRow& row) {
  std::string line = "[" + row.cell(DiaryCol::Date) + "]";
  const std::string counter = DayCounterText(row.key);
  const bool hasCounter = !counter.empty() && counter != "0";
  const std::string& charge = row.cell(DiaryCol::Charge);
  if (!charge.empty() || hasCounter) {
    line += " " + charge;
    if (hasCounter) line += "(" + counter + ")";
  }
  return line;
}

std::string TradeLine(const LedgerRow& row) {
  const char kindClass = KeyChar(row.key, DiaryKey::KindClass);
  const char kindSide = KeyChar(row.key, DiaryKey::KindSide);
  std::string line = DiaryToken(kindClass, kindSide, row.cell(DiaryCol::Kind));
  // The reader takes a position label after these three tokens only.
  const std::string_view kanji = Mid(line, 1, 2);
  if (line[0] != '*' && (kanji == sjis::kMargin || kanji == sjis::kRepay || kanji == sjis::kDelivery)) {
    line += std::string(From(row.key, DiaryKey::Suffix));
  }
  return line + "," + TradeFields(row);
}

}  // namespace

std::string DiaryToken(char kindClass, char kindSide, std::string_view kindText) {
  if (kindClass == '7') return Join("*", kindSide == '1' ? sjis::kIn : sjis::kOut);
  std::string token;
  if (kindSide == '1' || kindSide == '2') {
    token = kindSide == '1' ? "-" : "+";
    if (kindClass == '1') {
      token += sjis::kPlan;
    } else if (kindClass == '2') {
      const bool plain = kindText == sjis::kBuy || kindText == sjis::kSell;
      token += plain ? kindText : (kindSide == '1' ? sjis::kBuy : sjis::kSell);
    } else if (kindClass == '3') {
      token += sjis::kClose;
    } else {
      token += sjis::kKeep;
    }
    return token;
  }
  token = (kindSide == '5' || kindSide == '7') ? "-" : "+";
  if (kindSide == '7' || kindSide == '8') {
    token += sjis::kDelivery;
  } else if (kindClass == '2') {
    token += sjis::kMargin;
  } else if (kindClass == '3') {
    token += sjis::kRepay;
  } else {
    token += sjis::kPosition;
  }
  return token;
}

std::string DiaryFileName(std::string_view monthKey) {
  std::string stem(monthKey);
  if (stem.size() >= 5) stem.erase(4, 1);
  return stem + ".txt";
}

std::string MonthKeyOf(std::string_view dateText) { return std::string(Head(dateText, 7)); }

bool IsDayHeaderKey(std::string_view key) {
  return key.size() > DiaryKey::KindClass && key[DiaryKey::KindClass] == '0';
}

bool IsDayEndKey(std::string_view key) {
  return key.size() == DiaryKey::KindClass + 1 && key[DiaryKey::KindClass] == '9';
}

std::string DayCounterText(std::string_view headerKey) { return std::string(From(headerKey, DiaryKey::KindClass + 1)); }

int DayCounterValue(std::string_view headerKey) {
  const std::string counter = DayCounterText(headerKey);
  if (counter.empty() || counter.size() > 9) return 0;
  int value = 0;
  for (char c : counter) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

LedgerTable ParseDiaryMonth(std::string_view bytes) {
  LedgerTable table;
  std::vector<LedgerRow> rows;
  // Trade lines before the first day header (only a damaged file has them)
  // take a date that sorts before every other, so that they stay together
  // before the first day, where they are written back.
  std::string date(DiaryKey::DateLength, '\0');
  std::optional<std::size_t> lastMade;  // index into rows
  for (const std::string& line : SplitLines(bytes)) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      rows.push_back(ReadHeaderLine(line, &date));
      lastMade = rows.size() - 1;
      rows.push_back(MakeDayEnd(date));
    } else if (line[0] == ' ') {
      // A comment line before any row has nothing to belong to.
      if (lastMade) rows[*lastMade].cells.push_back(UnescapeText(From(line, 1)));
    } else {
      rows.push_back(ReadTradeLine(line, date));
      lastMade = rows.size() - 1;
    }
  }
  for (LedgerRow& row : rows) {
    // A record without its comment line gets an empty comment.
    if (!IsDayEndKey(row.key) && row.cells.size() < DiaryCol::Count) row.cells.resize(DiaryCol::Count);
    table.insert(std::move(row));
  }
  RecomputeAllDays(table);
  return table;
}

std::string SerialiseDiaryMonth(const LedgerTable& rows) {
  if (rows.empty()) return std::string();
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const LedgerRow& row = rows[i];
    if (IsDayEndKey(row.key)) continue;
    if (!row.cell(DiaryCol::Date).empty()) {
      if (i != 0) lines.emplace_back();
      lines.push_back(HeaderLine(row));
    } else {
      lines.push_back(TradeLine(row));
    }
    lines.push_back(" " + EscapeText(row.cell(DiaryCol::Comment)));
  }
  lines.emplace_back();
  return JoinLinesCrLf(lines);
}

DiaryLoad LoadDiaryMonth(const std::filesystem::path& folder, std::string_view monthKey) {
  DiaryLoad load;
  FileContent content = ReadWholeFile(folder / DiaryFileName(monthKey));
  load.status = content.status;
  load.error = std::move(content.error);
  if (content.status == ReadStatus::Loaded) load.rows = ParseDiaryMonth(content.bytes);
  return load;
}

std::optional<FileError> SaveDiaryMonth(const std::filesystem::path& folder, std::string_view monthKey,
                                        const LedgerTable& rows) {
  const std::filesystem::path path = folder / DiaryFileName(monthKey);
  if (rows.empty()) return RemoveFileIfExists(path);
  return WriteFileAtomically(path, SerialiseDiaryMonth(rows));
}

std::optional<std::size_t> FindDayHeader(const LedgerTable& rows, std::string_view dateText) {
  return rows.findPrefix(std::string(dateText) + "0");
}

void RecomputeDay(LedgerTable& rows, std::size_t index) {
  if (index >= rows.size()) return;
  std::size_t header = index;
  while (header > 0 && !IsDayHeaderKey(rows[header].key)) --header;
  // Without a header above there is no day to sum (only a damaged list).
  if (!IsDayHeaderKey(rows[header].key)) return;

  Amount result = SatNeg(ParseAmount(rows[header].cell(DiaryCol::Charge)));
  Amount turnover = 0;
  int count = 0;
  for (std::size_t i = header + 1; i < rows.size(); ++i) {
    const std::string& key = rows[i].key;
    if (IsDayEndKey(key) || IsDayHeaderKey(key) || KeyChar(key, DiaryKey::KindClass) == '9') break;
    ++count;
    const char kindClass = KeyChar(key, DiaryKey::KindClass);
    const char kindSide = KeyChar(key, DiaryKey::KindSide);
    if ((kindClass == '2' || kindClass == '3') && kindSide != '7' && kindSide != '8') {
      turnover = SatAdd(turnover, ParseAmount(rows[i].cell(DiaryCol::Amount)));
    }
    if (kindClass == '3' || kindClass == '7') {
      result = SatAdd(result, ParseAmount(rows[i].cell(DiaryCol::Profit)));
    }
  }
  rows.setCell(header, DiaryCol::Kind, count == 0 ? std::string() : std::to_string(count));
  rows.setCell(header, DiaryCol::Amount, turnover == 0 ? std::string() : FormatAmount(turnover));
  rows.setCell(header, DiaryCol::Profit, result == 0 ? std::string() : FormatAmount(result));
}

void RecomputeAllDays(LedgerTable& rows) {
  // Day by day from each header, so that a stray row sorted before the first
  // header (only a damaged file has one) cannot hide that day from the sums.
  // A header has its date text; a trade row of a damaged file whose key
  // merely looks like a header's must keep its own figures.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (IsDayHeaderKey(rows[i].key) && !rows[i].cell(DiaryCol::Date).empty()) RecomputeDay(rows, i);
  }
}

LedgerRow MakeDayHeader(std::string_view dateText) {
  LedgerRow row;
  row.key = std::string(dateText) + "00";
  row.cells.resize(DiaryCol::Count);
  std::string weekday;
  if (const auto date = ParseDateText(dateText)) weekday = sjis::kWeekdays[WeekdayOf(*date)];
  row.cells[DiaryCol::Date] = std::string(dateText) + "(" + weekday + ")";
  return row;
}

LedgerRow MakeDayEnd(std::string_view dateText) {
  LedgerRow row;
  row.key = std::string(dateText) + "9";
  return row;
}

}  // namespace tomvik::core
