#include "core/stocks/stock_lookup.h"

#include "core/records/code_file.h"
#include "core/records/ini_file.h"

namespace tomvik::core {

std::string NormaliseStockCode(std::string_view fieldText) {
  std::string code(fieldText);
  for (char& c : code) {
    if (c == ' ') c = '0';
  }
  return code;
}

StockDetails LookUpStock(Books& books, std::string_view code) {
  return StockDetailsOf(books.stockFile.current(books.folder), code);
}

StockDetails StockDetailsOf(const IniIndex& file, std::string_view code) {
  const auto read = [&](std::string_view key) { return std::string(file.value(code, key).value_or("")); };
  return StockDetails{read("N"), read("E"), read("U"), file.hasSection(code)};
}

std::optional<FileError> StoreStockFields(Books& books, std::string_view code, const StockDetails& details) {
  // Written or not, the next lookup reads the file as it then stands.
  books.stockFile.forget();
  BackUpBeforeWrite(books, Ledger::Stocks);
  auto error = WriteStockKeys(books.folder, code, {{"N", details.name}, {"E", details.exchange}, {"U", details.unit}});
  if (error) return error;
  // The section was written anew after any deletion of its entry: the next
  // whole-file save keeps it.
  books.droppedStockCodes.erase(std::string(code));
  if (const auto row = books.stocks.find(code)) {
    books.stocks.setCell(*row, StockCol::Name, details.name);
    books.stocks.setCell(*row, StockCol::Exchange, details.exchange);
    books.stocks.setCell(*row, StockCol::Unit, details.unit);
  }
  return std::nullopt;
}

}  // namespace tomvik::core
