#include "core/stocks/stock_master.h"

#include <vector>

#include "core/records/code_file.h"

namespace tomvik::core {
namespace {

void WriteFields(Books& books, std::size_t index, const StockFields& fields) {
  books.stocks.editCells(index, [&](std::vector<std::string>& cells) {
    cells.resize(StockCol::Count);
    cells[StockCol::Name] = fields.name;
    cells[StockCol::Exchange] = fields.exchange;
    cells[StockCol::Unit] = fields.unit;
    cells[StockCol::BuyTotal] = fields.buyTotal;
    cells[StockCol::SellTotal] = fields.sellTotal;
    cells[StockCol::Result] = fields.result;
    cells[StockCol::Rate] = ChangeRateText(ParseAmount(fields.buyTotal), ParseAmount(fields.result));
    cells[StockCol::Comment] = fields.comment;
  });
  books.unsaved.stocks = true;
}

}  // namespace

Amount StockResultOf(std::string_view buyTotal, std::string_view sellTotal) {
  return SatSub(ParseAmount(sellTotal), ParseAmount(buyTotal));
}

void ToggleStockMark(Books& books, std::size_t index) {
  books.stocks.setMark(index, !books.stocks[index].mark);
  books.unsaved.stocks = true;
}

std::size_t UpdateStock(Books& books, std::size_t index, const StockFields& fields) {
  const std::string oldCode = books.stocks[index].key;
  if (fields.code != oldCode) {
    books.droppedStockCodes.insert(oldCode);
    index = books.stocks.rekey(index, fields.code);
  }
  WriteFields(books, index, fields);
  return index;
}

std::size_t AddStock(Books& books, const StockFields& fields) {
  const std::size_t index = books.stocks.insert(MakeStockRow(fields.code));
  WriteFields(books, index, fields);
  return index;
}

void DeleteStock(Books& books, std::size_t index) {
  books.droppedStockCodes.insert(books.stocks[index].key);
  books.stocks.erase(index);
  books.unsaved.stocks = true;
}

}  // namespace tomvik::core
