// Books: the one owner of the live ledgers.
//
// It holds the shown diary month, the cash holdings with the two stored
// account figures, the margin positions and the stock master, one
// unsaved-changes flag per ledger, and the folder of the files. Loading and
// saving go through these functions, so a ledger's flag always tells whether
// its file differs from it: a save clears the flag only when the file was
// written, and a failed save leaves both the flag and the old file as they
// were.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "core/records/amount.h"
#include "core/records/atomic_file.h"
#include "core/records/backup.h"
#include "core/records/code_file.h"
#include "core/records/hold_file.h"
#include "core/records/ledger_table.h"
#include "core/records/loan_file.h"

namespace tomvik::core {

enum class Ledger { Diary, Holdings, Positions, Stocks };

// One flag per ledger.
struct LedgerFlags {
  bool diary = false;
  bool holdings = false;  // also the two stored account figures
  bool positions = false;
  bool stocks = false;

  bool& of(Ledger ledger);
  bool of(Ledger ledger) const;
};

// The computed figures of the account summary.
struct Summary {
  Amount holdingsTotal = 0;  // 保有総額
  Amount unrealised = 0;     // 含み損益
  Amount buyPositions = 0;   // 買建総額
  Amount sellPositions = 0;  // 売建総額
  Amount available = 0;      // 投資可能
  Amount balance = 0;        // 現在残高
};

// A copy of a ledger's file that could not be made before writing over it.
struct FailedBackup {
  Ledger ledger;
  FileError error;
};

struct Books {
  std::filesystem::path folder;
  std::string monthKey;  // "2011/03": the diary month shown
  LedgerTable diary;
  // The summary's sums are kept by the tables as their rows change: the
  // holdings' totals and results, the positions' by side (group 1: buy).
  LedgerTable holdings{LedgerTally{{HoldCol::Total, HoldCol::Profit}}};
  AccountFigures figures{"0", "0"};  // 投資総額 and 売買損益 as shown
  LedgerTable positions{LedgerTally{{LoanCol::Total, LoanCol::Profit}, LoanKey::Side, kBuyPositionSide}};
  LedgerTable stocks;
  // Codes whose entries the user deleted from the stock master (or gave
  // another code) since it was last read or saved. A whole-file save drops
  // their sections and keeps every other section that has no entry.
  std::set<std::string> droppedStockCodes;
  bool stockFilter = false;       // the stock master shows marked entries only
  bool includeUnrealised = true;  // the balance includes the unrealised result
  // Yen that holdings still carried when their last shares went (a holding
  // without shares is removed), by holding key. An undo that brings shares
  // of that key back gives the holding its yen again, so that taking rows
  // back in any order leaves the holdings exact. Not stored in any file.
  std::map<std::string, Amount> heldAside;
  LedgerFlags unsaved;
  // Code.txt as the stock lookups last read it (the stock master list above
  // is what the stock master tab edits, not the file).
  CodeFileCache stockFile;
  // Ledgers whose file exists but could not be read: what is shown is not
  // what the file holds, so the file is never written over in this run.
  LedgerFlags unreadable;
  Summary summary;
  // When set (the program sets it), a ledger's file is copied into the
  // backup folder before this run first writes over it. Copies that could
  // not be made wait here for the window to report; the writes go on.
  std::optional<BackupSession> backups;
  std::vector<FailedBackup> failedBackups;
};

// Loading: a missing file gives an empty ledger (the holdings file keeps the
// figures shown), silently. A file that exists but cannot be read is
// reported and leaves the ledger as it was.
std::optional<FileError> LoadDiaryInto(Books& books, const std::string& monthKey);
std::optional<FileError> LoadHoldingsInto(Books& books);
std::optional<FileError> LoadPositionsInto(Books& books);
std::optional<FileError> LoadStocksInto(Books& books);

// Saving writes the ledger's file and clears its flag. A ledger whose file
// could not be read is not saved (the error says so).
std::optional<FileError> SaveDiary(Books& books);
std::optional<FileError> SaveHoldingsOf(Books& books);
std::optional<FileError> SavePositionsOf(Books& books);
// The whole file, or in place when the filter is on (then the sections of
// entries not in the list, deleted ones too, stay as they are).
std::optional<FileError> SaveStocks(Books& books);
std::optional<FileError> SaveLedger(Books& books, Ledger ledger);
// The file a save of the ledger writes (for the diary: the shown month's).
std::filesystem::path LedgerFilePath(const Books& books, Ledger ledger);
// Before a write over the ledger's file: its backup, when backups are on.
void BackUpBeforeWrite(Books& books, Ledger ledger);

}  // namespace tomvik::core
