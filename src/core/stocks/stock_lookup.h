// The stock lookup that every entry panel uses: a typed code becomes a
// name, exchange and unit read from Code.txt as it stands on disk, and
// changed details are written back to the file at once.
//
// The file is read once and kept (Books::stockFile) until it changes on
// disk or the program writes it, so a lookup costs a check of the file's
// stamp and a search of its sections, and still sees an edit made to the
// file by hand while the program runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/books.h"
#include "core/records/atomic_file.h"

namespace tomvik::core {

// Every blank of a code field becomes "0" ("12  " gives "1200").
std::string NormaliseStockCode(std::string_view fieldText);
// The code that means "no stock" on the diary, totals and simulation panels.
inline constexpr std::string_view kNoStockCode = "0000";

struct StockDetails {
  std::string name;
  std::string exchange;
  std::string unit;
  bool found = false;  // Code.txt has a section for the code
};
// The N, E and U keys of the code's section; empty texts when missing.
StockDetails LookUpStock(Books& books, std::string_view code);
// The same, from a Code.txt already read.
StockDetails StockDetailsOf(const IniIndex& file, std::string_view code);
// Writes N, E and U of the code to Code.txt at once, and gives the stock
// master's first row of that code the same three texts. A code without a
// row gets none: its section exists in the file only, and a whole-file
// save of the stock master keeps it (also when the code's entry had been
// deleted before).
std::optional<FileError> StoreStockFields(Books& books, std::string_view code, const StockDetails& details);

}  // namespace tomvik::core
