#include "diary_generator.h"

#include <cstdio>
#include <deque>
#include <random>
#include <stdexcept>
#include <string>

#include "core/records/amount.h"
#include "core/records/cp932.h"
#include "core/records/date.h"
#include "core/records/diary_file.h"
#include "core/records/ledger_table.h"
#include "core/records/loan_file.h"

namespace tomvik::bench {
namespace {

using namespace tomvik::core;

struct Kind {
  const char* code;  // the two digits of the row key
  const char* text;  // UTF-8 kind text
  bool closing;      // has a cost
};

constexpr Kind kKinds[] = {
    {"21", "買", false},   {"32", "売", true},    {"31", "買", true},    {"25", "信買", false},
    {"26", "信売", false}, {"36", "返売", true},  {"35", "返買", true},  {"27", "現引", false},
    {"38", "現渡", true},  {"11", "予買", false}, {"51", "買保", false},
};

// A margin position opened earlier, which later rows may settle.
struct Opening {
  std::string date;
  std::string sequence;
  int stock;
  bool buy;
};

bool Opens(const Kind& kind) { return kind.code[0] == '2' && (kind.code[1] == '5' || kind.code[1] == '6'); }
bool Settles(const Kind& kind) {
  const std::string code = kind.code;
  return code == "27" || code == "35" || code == "36" || code == "38";
}
// 現引 and 返売 settle buy positions, 返買 and 現渡 sell positions.
bool SettlesBuy(const Kind& kind) {
  const std::string code = kind.code;
  return code == "27" || code == "36";
}

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8).text; }

LedgerRow TradeRow(const std::string& date, const Kind& kind, int stock, const std::string& suffix,
                   std::mt19937& random) {
  std::uniform_int_distribution<int> price(100, 9000);
  std::uniform_int_distribution<int> lots(1, 20);
  const Amount quantity = Amount{100} * lots(random);
  const Amount amount = quantity * price(random);
  const std::string code = StockCode(stock);
  LedgerRow row;
  row.key = date + kind.code + code + suffix;
  row.cells.resize(DiaryCol::Count);
  row.cells[DiaryCol::Kind] = Sjis(kind.text);
  row.cells[DiaryCol::Stock] = code + " " + Sjis("見本電機");
  row.cells[DiaryCol::Exchange] = Sjis("東証１部");
  row.cells[DiaryCol::Price] = FormatAmount(amount / quantity);
  row.cells[DiaryCol::Quantity] = FormatAmount(quantity);
  row.cells[DiaryCol::Charge] = "525";
  row.cells[DiaryCol::Tax] = "0";
  row.cells[DiaryCol::Amount] = FormatAmount(amount);
  if (kind.closing) {
    const Amount cost = amount - amount / 50 + static_cast<Amount>(random() % 3) * amount / 40;
    row.cells[DiaryCol::Cost] = FormatAmount(cost);
    row.cells[DiaryCol::Profit] =
        FormatAmount(kind.code[1] == '1' || kind.code[1] == '5' ? cost - amount : amount - cost);
  }
  row.cells[DiaryCol::Comment] = Sjis("押し目で拾う。%と改行\r\nも入れておく");
  return row;
}

LedgerRow CashRow(const std::string& date, bool deposit, Amount amount) {
  LedgerRow row;
  row.key = date + (deposit ? "71" : "72");
  row.cells.resize(DiaryCol::Count);
  row.cells[DiaryCol::Kind] = Sjis(deposit ? "入" : "出");
  row.cells[DiaryCol::Amount] = FormatAmount(amount);
  row.cells[DiaryCol::Profit] = FormatAmount(deposit ? amount : -amount);
  return row;
}

// One weekday: its header (keyed by the day's last opening), the trades and
// the end marker.
void AddDay(LedgerTable& rows, const std::string& date, int day, const GeneratedDiary& shape,
            std::deque<Opening>& openings, std::mt19937& random) {
  LedgerRow header = MakeDayHeader(date);
  header.cells[DiaryCol::Comment] = Sjis("米国市場の下落を受けて軟調なスタート。");
  if (day % 5 == 0) header.cells[DiaryCol::Charge] = "1,050";
  int opened = 0;
  for (int t = 0; t < shape.tradesPerDay; ++t) {
    const Kind* kind = &kKinds[random() % std::size(kKinds)];
    int stock = static_cast<int>(random() % static_cast<unsigned>(shape.stocks));
    std::string suffix;
    if (Opens(*kind)) {
      suffix = PositionSequenceText(++opened);
      openings.push_back({date, suffix, stock, kind->code[1] == '5'});
      if (openings.size() > 64) openings.pop_front();
    } else if (Settles(*kind)) {
      // An earlier opening of the side this kind settles, else a plain buy.
      const Opening* settled = nullptr;
      for (const Opening& o : openings) {
        if (o.buy == SettlesBuy(*kind) && o.date != date) settled = &o;
      }
      if (settled) {
        stock = settled->stock;
        suffix = settled->date + settled->sequence;
      } else {
        kind = &kKinds[0];
      }
    }
    rows.insert(TradeRow(date, *kind, stock, suffix, random));
  }
  if (day % 7 == 1) rows.insert(CashRow(date, day < 15, 100'000 + static_cast<Amount>(random() % 900'000)));
  if (opened > 0) header.key = date + "0" + PositionSequenceText(opened);
  rows.insert(std::move(header));
  rows.insert(MakeDayEnd(date));
}

}  // namespace

std::string StockCode(int n) {
  char code[8];
  std::snprintf(code, sizeof code, "%04d", 1000 + 2 * n);
  return code;
}

std::uintmax_t WriteDiaryFolder(const std::filesystem::path& folder, const GeneratedDiary& shape) {
  std::mt19937 random(20110315);
  std::deque<Opening> openings;
  std::uintmax_t bytes = 0;
  for (int year = shape.firstYear; year < shape.firstYear + shape.years; ++year) {
    for (int month = 1; month <= 12; ++month) {
      LedgerTable rows;
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const int weekday = WeekdayOf(Date{year, month, day});
        if (weekday == 0 || weekday == 6) continue;
        AddDay(rows, DateText(Date{year, month, day}), day, shape, openings, random);
      }
      RecomputeAllDays(rows);
      char key[16];
      std::snprintf(key, sizeof key, "%04d/%02d", year, month);
      if (SaveDiaryMonth(folder, key, rows)) throw std::runtime_error("cannot write the generated diary");
      bytes += std::filesystem::file_size(folder / DiaryFileName(key));
    }
  }
  return bytes;
}

}  // namespace tomvik::bench
