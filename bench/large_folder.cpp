#include "large_folder.h"

#include <random>
#include <stdexcept>

#include "core/records/amount.h"
#include "core/records/atomic_file.h"
#include "core/records/code_file.h"
#include "core/records/cp932.h"
#include "core/records/date.h"
#include "core/records/hold_file.h"
#include "core/records/ledger_table.h"
#include "core/records/loan_file.h"

namespace tomvik::bench {
namespace {

using namespace tomvik::core;

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8).text; }

void Check(const std::optional<FileError>& error) {
  if (error) throw std::runtime_error("cannot write the large folder: " + error->reason);
}

const char* const kNames[] = {"見本電機", "東西商事", "北海水産", "日本重工", "南海鉄道", "中央銀行", "光学精機"};
const char* const kExchanges[] = {"東証１部", "東証２部", "マザーズ", "ジャスダック"};

}  // namespace

void WriteStockMaster(const std::filesystem::path& folder, int stocks) {
  std::mt19937 random(4000);
  LedgerTable rows;
  for (int i = 0; i < stocks; ++i) {
    LedgerRow row = MakeStockRow(StockCode(i));
    row.cells[StockCol::Name] = Sjis(kNames[i % std::size(kNames)]) + std::to_string(i);
    row.cells[StockCol::Exchange] = Sjis(kExchanges[i % std::size(kExchanges)]);
    row.cells[StockCol::Unit] = i % 3 == 0 ? "1,000" : "100";
    row.cells[StockCol::BuyTotal] = FormatAmount(static_cast<Amount>(random() % 90'000'000) + 100'000);
    row.cells[StockCol::SellTotal] = FormatAmount(static_cast<Amount>(random() % 90'000'000) + 100'000);
    if (i % 10 == 0) row.cells[StockCol::Comment] = Sjis("主力銘柄\r\n100%子会社");
    row.mark = i % 17 != 0;
    RecomputeStockDerived(row);
    rows.insert(std::move(row));
  }
  Check(WriteFileAtomically(folder / kStockMasterFileName, SerialiseStockMaster(rows)));
}

void WriteHoldings(const std::filesystem::path& folder, int holdings, int stocks) {
  std::mt19937 random(500);
  LedgerTable rows;
  for (int i = 0; i < holdings; ++i) {
    // Each code once on its side, then (beyond `stocks`) once on the other.
    const int first = i % stocks;
    const int stock = (first * 7) % stocks;
    const bool buy = (first % 9 != 0) == (i < stocks);
    const Amount shares = 100 * (1 + static_cast<Amount>(random() % 30));
    const Amount average = 100 + static_cast<Amount>(random() % 8000);
    const Amount market = average + static_cast<Amount>(random() % 400) - 200;
    const Amount total = shares * average;
    LedgerRow row;
    row.key = StockCode(stock) + (buy ? '1' : '2');
    row.cells.resize(HoldCol::Count);
    row.cells[HoldCol::Kind] = Sjis(buy ? "買" : "売");
    row.cells[HoldCol::Stock] = StockCode(stock) + " " + Sjis(kNames[stock % std::size(kNames)]);
    row.cells[HoldCol::Exchange] = Sjis("東証１部");
    row.cells[HoldCol::Unit] = "100";
    row.cells[HoldCol::Total] = FormatAmount(total);
    row.cells[HoldCol::Shares] = FormatAmount(shares);
    row.cells[HoldCol::Average] = FormatAmount(average);
    row.cells[HoldCol::Market] = FormatAmount(market);
    row.cells[HoldCol::Profit] = FormatAmount(buy ? market * shares - total : total - market * shares);
    if (i % 4 == 0) row.cells[HoldCol::Comment] = Sjis("長期保有");
    rows.insert(std::move(row));
  }
  Check(SaveHoldings(folder, rows, AccountFigures{"30,000,000", "1,234,567"}));
}

void WritePositions(const std::filesystem::path& folder, int positions, int stocks) {
  std::mt19937 random(200);
  LedgerTable rows;
  for (int i = 0; i < positions; ++i) {
    const int stock = (i * 13) % stocks;
    const bool buy = i % 3 != 0;
    const std::string date = DateText(Date{2020, 1 + i % 12, 1 + i % 28});
    const Amount shares = 100 * (1 + static_cast<Amount>(random() % 30));
    const Amount price = 100 + static_cast<Amount>(random() % 8000);
    const Amount market = price + static_cast<Amount>(random() % 400) - 200;
    const Amount total = shares * price;
    LedgerRow row;
    row.key = StockCode(stock) + (buy ? kBuyPositionSide : kSellPositionSide) + date + PositionSequenceText(1 + i % 5);
    row.cells.resize(LoanCol::Count);
    row.cells[LoanCol::Kind] = PositionKindText(buy);
    row.cells[LoanCol::OpenDate] = date;
    row.cells[LoanCol::Stock] = StockCode(stock) + " " + Sjis(kNames[stock % std::size(kNames)]);
    row.cells[LoanCol::Exchange] = Sjis("東証１部");
    row.cells[LoanCol::Unit] = "100";
    row.cells[LoanCol::Total] = FormatAmount(total);
    row.cells[LoanCol::Shares] = FormatAmount(shares);
    row.cells[LoanCol::Price] = FormatAmount(price);
    row.cells[LoanCol::Market] = FormatAmount(market);
    row.cells[LoanCol::Profit] = FormatAmount(buy ? market * shares - total : total - market * shares);
    rows.insert(std::move(row));
  }
  Check(SavePositions(folder, rows));
}

void WriteLargeFolder(const std::filesystem::path& folder, const LargeFolderShape& shape) {
  GeneratedDiary diary = shape.diary;
  diary.stocks = shape.stocks;
  WriteDiaryFolder(folder, diary);
  WriteStockMaster(folder, shape.stocks);
  WriteHoldings(folder, shape.holdings, shape.stocks);
  WritePositions(folder, shape.positions, shape.stocks);
}

TempFolder::TempFolder(const std::string& name) {
  path_ = std::filesystem::temp_directory_path() / ("tomvik-" + name + "-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace tomvik::bench
