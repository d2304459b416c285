#include "diary_generator.h"

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>

#include "core/records/amount.h"
#include "core/records/cp932.h"
#include "core/records/date.h"
#include "core/records/diary_file.h"
#include "core/records/ledger_table.h"

namespace tomvik::bench {
namespace {

using namespace tomvik::core;

struct Kind {
  const char* code;  // the two digits of the row key
  const char* text;  // UTF-8 kind text
  bool suffix;       // margin rows carry a position label
  bool closing;      // has a cost
};

constexpr Kind kKinds[] = {
    {"21", "買", false, false},   {"32", "売", false, true},    {"31", "買", false, true},
    {"25", "信買", true, false},  {"26", "信売", true, false},  {"36", "返売", true, true},
    {"35", "返買", true, true},   {"27", "現引", true, false},  {"38", "現渡", true, true},
    {"11", "予買", false, false}, {"51", "買保", false, false},
};

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8).text; }

LedgerRow TradeRow(const std::string& date, const Kind& kind, int code, int sequence, std::mt19937& random) {
  std::uniform_int_distribution<int> price(100, 9000);
  std::uniform_int_distribution<int> lots(1, 20);
  const Amount quantity = Amount{100} * lots(random);
  const Amount amount = quantity * price(random);
  char codeText[8];
  std::snprintf(codeText, sizeof codeText, "%04d", code);
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "%s%03d", date.c_str(), sequence);
  LedgerRow row;
  row.key = date + kind.code + codeText + (kind.suffix ? suffix : "");
  row.cells.resize(DiaryCol::Count);
  row.cells[DiaryCol::Kind] = Sjis(kind.text);
  row.cells[DiaryCol::Stock] = std::string(codeText) + " " + Sjis("見本電機");
  row.cells[DiaryCol::Exchange] = Sjis("東証１部");
  row.cells[DiaryCol::Price] = FormatAmount(amount / quantity);
  row.cells[DiaryCol::Quantity] = FormatAmount(quantity);
  row.cells[DiaryCol::Charge] = "525";
  row.cells[DiaryCol::Tax] = "0";
  row.cells[DiaryCol::Amount] = FormatAmount(amount);
  if (kind.closing)
    row.cells[DiaryCol::Cost] = FormatAmount(amount - amount / 50 + static_cast<Amount>(random() % 3) * amount / 40);
  row.cells[DiaryCol::Comment] = Sjis("押し目で拾う。%と改行\r\nも入れておく");
  return row;
}

LedgerRow CashRow(const std::string& date, bool deposit, Amount amount) {
  LedgerRow row;
  row.key = date + (deposit ? "71" : "72") + ",,,,";
  row.cells.resize(DiaryCol::Count);
  row.cells[DiaryCol::Kind] = Sjis(deposit ? "入" : "出");
  row.cells[DiaryCol::Amount] = FormatAmount(amount);
  return row;
}

}  // namespace

std::uintmax_t WriteDiaryFolder(const std::filesystem::path& folder, const GeneratedDiary& shape) {
  std::mt19937 random(20110315);
  std::uintmax_t bytes = 0;
  for (int year = shape.firstYear; year < shape.firstYear + shape.years; ++year) {
    for (int month = 1; month <= 12; ++month) {
      LedgerTable rows;
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const int weekday = WeekdayOf(Date{year, month, day});
        if (weekday == 0 || weekday == 6) continue;
        const std::string date = DateText(Date{year, month, day});
        LedgerRow header = MakeDayHeader(date);
        header.cells.resize(DiaryCol::Count);
        header.cells[DiaryCol::Comment] = Sjis("米国市場の下落を受けて軟調なスタート。");
        if (day % 5 == 0) header.cells[DiaryCol::Charge] = "1,050";
        rows.insert(std::move(header));
        rows.insert(MakeDayEnd(date));
        for (int t = 0; t < shape.tradesPerDay; ++t) {
          const Kind& kind = kKinds[random() % std::size(kKinds)];
          rows.insert(TradeRow(date, kind, 1000 + static_cast<int>(random() % 9000), t, random));
        }
        if (day % 7 == 1) rows.insert(CashRow(date, day < 15, 100'000 + static_cast<Amount>(random() % 900'000)));
      }
      char key[16];
      std::snprintf(key, sizeof key, "%04d/%02d", year, month);
      if (SaveDiaryMonth(folder, key, rows)) throw std::runtime_error("cannot write the generated diary");
      bytes += std::filesystem::file_size(folder / DiaryFileName(key));
    }
  }
  return bytes;
}

}  // namespace tomvik::bench
