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

StockDetails LookUpStock(const std::filesystem::path& folder, std::string_view code) {
  const FileContent content = ReadWholeFile(folder / kStockMasterFileName);
  const IniFile ini = IniFile::Parse(content.bytes);
  return StockDetails{ini.readString(code, "N", ""), ini.readString(code, "E", ""), ini.readString(code, "U", ""),
                      ini.hasSection(code)};
}

std::optional<FileError> StoreStockFields(Books& books, std::string_view code, const StockDetails& details) {
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
