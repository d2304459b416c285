// The edits of the stock master tab: toggling a check mark, writing the
// panel back to its entry, adding and deleting entries.
//
// Every edit leaves the stock master changed. An entry that is deleted, or
// given another code, leaves its old code behind in Books::droppedStockCodes,
// so that the next whole-file save drops that section instead of keeping it
// as a section without an entry.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/books.h"
#include "core/records/amount.h"

namespace tomvik::core {

// The texts of the tab's entry panel.
struct StockFields {
  std::string code;  // already normalised (blanks read as "0")
  std::string name;
  std::string exchange;
  std::string unit;
  std::string buyTotal;
  std::string sellTotal;
  std::string result;   // the result as the panel shows it
  std::string comment;  // lines separated by CR LF, no final line break
};

// Sell total - buy total; unreadable texts count as 0.
Amount StockResultOf(std::string_view buyTotal, std::string_view sellTotal);

void ToggleStockMark(Books& books, std::size_t index);
// Writes the fields into the entry; its rate follows the buy total and the
// shown result. Returns the entry's index after a change of code.
std::size_t UpdateStock(Books& books, std::size_t index, const StockFields& fields);
// A new marked entry, sorted into place by its code (a code that is there
// already gives a second entry). Returns its index.
std::size_t AddStock(Books& books, const StockFields& fields);
void DeleteStock(Books& books, std::size_t index);

}  // namespace tomvik::core
