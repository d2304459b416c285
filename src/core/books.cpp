#include "core/books.h"

#include "core/records/code_file.h"
#include "core/records/diary_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

bool& LedgerFlags::of(Ledger ledger) {
  switch (ledger) {
    case Ledger::Diary: return diary;
    case Ledger::Holdings: return holdings;
    case Ledger::Positions: return positions;
    case Ledger::Stocks: break;
  }
  return stocks;
}

bool LedgerFlags::of(Ledger ledger) const { return const_cast<LedgerFlags*>(this)->of(ledger); }

namespace {

std::optional<FileError> Unreadable(const std::filesystem::path& path) {
  return FileError{path, "the file could not be read when it was loaded; it is not written over"};
}

}  // namespace

std::optional<FileError> LoadDiaryInto(Books& books, const std::string& monthKey) {
  DiaryLoad load = LoadDiaryMonth(books.folder, monthKey);
  if (load.status == ReadStatus::Failed) {
    // The shown month's own file failed (start-up): it must not be replaced.
    // A month that failed to come in leaves the shown one as it was.
    if (monthKey == books.monthKey) {
      books.unreadable.diary = true;
      books.diary.clear();
    }
    return load.error;
  }
  books.unreadable.diary = false;
  books.unsaved.diary = false;  // the month is what its file holds
  books.monthKey = monthKey;
  books.diary = std::move(load.rows);
  return std::nullopt;
}

std::optional<FileError> LoadHoldingsInto(Books& books) {
  HoldingsLoad load = LoadHoldings(books.folder);
  books.unreadable.holdings = load.status == ReadStatus::Failed;
  if (load.status == ReadStatus::Failed) return load.error;
  if (load.status == ReadStatus::Missing) return std::nullopt;
  books.holdings = std::move(load.data.rows);
  if (load.data.figures) books.figures = *load.data.figures;
  return std::nullopt;
}

std::optional<FileError> LoadPositionsInto(Books& books) {
  PositionsLoad load = LoadPositions(books.folder);
  books.unreadable.positions = load.status == ReadStatus::Failed;
  if (load.status == ReadStatus::Failed) return load.error;
  if (load.status == ReadStatus::Missing) return std::nullopt;
  books.positions = std::move(load.rows);
  return std::nullopt;
}

std::optional<FileError> LoadStocksInto(Books& books) {
  StockMasterLoad load = LoadStockMaster(books.stockFile, books.folder, books.stockFilter);
  if (load.status == ReadStatus::Failed) {
    // A reload that fails keeps the list read before; only a list that was
    // never read stands for a file it does not show.
    if (books.stocks.empty()) books.unreadable.stocks = true;
    return load.error;
  }
  books.unreadable.stocks = false;
  if (load.status == ReadStatus::Missing) return std::nullopt;
  books.stocks = std::move(load.rows);
  books.droppedStockCodes.clear();
  books.unsaved.stocks = false;
  return std::nullopt;
}

std::optional<FileError> SaveDiary(Books& books) {
  auto error = SaveDiaryMonth(books.folder, books.monthKey, books.diary);
  if (!error) books.unsaved.diary = false;
  return error;
}

std::optional<FileError> SaveHoldingsOf(Books& books) {
  auto error = SaveHoldings(books.folder, books.holdings, books.figures);
  if (!error) books.unsaved.holdings = false;
  return error;
}

std::optional<FileError> SavePositionsOf(Books& books) {
  auto error = SavePositions(books.folder, books.positions);
  if (!error) books.unsaved.positions = false;
  return error;
}

std::optional<FileError> SaveStocks(Books& books) {
  std::optional<FileError> error;
  if (books.stockFilter) {
    books.stockFile.forget();
    error = SaveStockMasterInPlace(books.folder, books.stocks);
  } else {
    error = SaveStockMasterWhole(books.stockFile, books.folder, books.stocks, books.droppedStockCodes);
  }
  if (!error) {
    books.unsaved.stocks = false;
    books.droppedStockCodes.clear();
  }
  return error;
}

std::optional<FileError> SaveLedger(Books& books, Ledger ledger) {
  if (books.unreadable.of(ledger)) return Unreadable(books.folder);
  BackUpBeforeWrite(books, ledger);
  switch (ledger) {
    case Ledger::Diary: return SaveDiary(books);
    case Ledger::Holdings: return SaveHoldingsOf(books);
    case Ledger::Positions: return SavePositionsOf(books);
    case Ledger::Stocks: break;
  }
  return SaveStocks(books);
}

std::filesystem::path LedgerFilePath(const Books& books, Ledger ledger) {
  switch (ledger) {
    case Ledger::Diary: return books.folder / DiaryFileName(books.monthKey);
    case Ledger::Holdings: return books.folder / kHoldingsFileName;
    case Ledger::Positions: return books.folder / kPositionsFileName;
    case Ledger::Stocks: break;
  }
  return books.folder / kStockMasterFileName;
}

void BackUpBeforeWrite(Books& books, Ledger ledger) {
  if (!books.backups) return;
  const BackupResult backup = books.backups->beforeOverwrite(LedgerFilePath(books, ledger), LocalTimeNow());
  if (backup.error) books.failedBackups.push_back(FailedBackup{ledger, *backup.error});
}

}  // namespace tomvik::core
