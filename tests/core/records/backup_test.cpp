#include "core/records/backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/books.h"
#include "core/stocks/stock_lookup.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

BackupTime At(int day, int second = 0) { return BackupTime{2024, 1, day, 9, 30, second}; }

std::vector<std::string> Names(const std::vector<fs::path>& paths) {
  std::vector<std::string> names;
  for (const fs::path& path : paths) names.push_back(path.filename().string());
  return names;
}

TEST(BackupNames, CarryTheFileAndTheTimeAndReadBack) {
  EXPECT_EQ(BackupFileName("Hold.txt", At(15, 12)), "Hold.20240115-093012.txt");
  EXPECT_EQ(BackupFileName("202401.txt", At(5), 2), "202401.20240105-093000-2.txt");
  EXPECT_EQ(BackupFileName("NoExtension", At(5)), "NoExtension.20240105-093000");

  const auto parsed = ParseBackupFileName("Code.20240115-093012-12.txt");
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->file, "Code.txt");
  EXPECT_EQ(parsed->stamp, "20240115-093012");
  EXPECT_EQ(parsed->number, 12);
  EXPECT_EQ(ParseBackupFileName("NoExtension.20240105-093000")->file, "NoExtension");
  EXPECT_EQ(ParseBackupFileName("a.b.20240105-093000.txt")->file, "a.b.txt");

  // The data files themselves, and near misses, are no copies.
  for (const char* name : {"Hold.txt", "202401.txt", "TMVK.ini", "Hold.2024011-093012.txt", "Hold.20240115_093012.txt",
                           "Hold.20240115-093012-.txt", "Hold.20240115-093012-1.txt", "Hold.20240115-093012x.txt",
                           "Hold.20240115-093012.txt.bak", ".20240115-093012.txt"}) {
    EXPECT_FALSE(ParseBackupFileName(name).has_value()) << name;
  }
}

TEST(Backup, CopiesTheFileAsItIsIntoTheBackupFolderAndNothingForAMissingFile) {
  TempFolder folder;
  const BackupResult none = BackUpFile(folder / "Hold.txt", At(15));
  EXPECT_FALSE(none.copy.has_value());
  EXPECT_FALSE(none.error.has_value());
  EXPECT_TRUE(folder.entries().empty());  // not even the backup folder

  const std::string bytes = test::RandomBytes(5000, 3);
  test::WriteBytes(folder / "Hold.txt", bytes);
  const BackupResult made = BackUpFile(folder / "Hold.txt", At(15, 12));
  ASSERT_FALSE(made.error.has_value());
  ASSERT_TRUE(made.copy.has_value());
  EXPECT_EQ(*made.copy, folder / "backup" / "Hold.20240115-093012.txt");
  EXPECT_EQ(test::ReadBytes(*made.copy), bytes);
  EXPECT_EQ(test::ReadBytes(folder / "Hold.txt"), bytes);
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Hold.txt", "backup"}));
}

TEST(Backup, ACopyOfTheSameSecondTakesTheNextNumberAndReplacesNothing) {
  TempFolder folder;
  fs::create_directory(folder / "backup");
  test::WriteBytes(folder / "backup" / "Loan.20240115-093000.txt", "older copy");
  test::WriteBytes(folder / "Loan.txt", "now");
  const BackupResult made = BackUpFile(folder / "Loan.txt", At(15));
  ASSERT_TRUE(made.copy.has_value());
  EXPECT_EQ(made.copy->filename(), "Loan.20240115-093000-2.txt");
  EXPECT_EQ(test::ReadBytes(folder / "backup" / "Loan.20240115-093000.txt"), "older copy");
  EXPECT_EQ(Names(ListBackups(folder / "Loan.txt")),
            (std::vector<std::string>{"Loan.20240115-093000.txt", "Loan.20240115-093000-2.txt"}));
}

TEST(Backup, EachFileKeepsItsNewestTwentyCopies) {
  TempFolder folder;
  const fs::path backups = folder / "backup";
  fs::create_directory(backups);
  // Twenty copies of Code.txt, one of another file, and a stranger's file.
  for (int day = 1; day <= 20; ++day) test::WriteBytes(backups / BackupFileName("Code.txt", At(day)), "old");
  test::WriteBytes(backups / BackupFileName("Hold.txt", At(1)), "hold");
  test::WriteBytes(backups / "notes.txt", "mine");
  test::WriteBytes(folder / "Code.txt", "current");

  ASSERT_TRUE(BackUpFile(folder / "Code.txt", At(21)).copy.has_value());
  std::vector<std::string> copies = Names(ListBackups(folder / "Code.txt"));
  ASSERT_EQ(copies.size(), 20u);
  EXPECT_EQ(copies.front(), "Code.20240102-093000.txt");  // the oldest is gone
  EXPECT_EQ(copies.back(), "Code.20240121-093000.txt");
  EXPECT_TRUE(fs::exists(backups / "Hold.20240101-093000.txt"));
  EXPECT_TRUE(fs::exists(backups / "notes.txt"));

  // A copy made with the clock set back is kept all the same.
  ASSERT_TRUE(BackUpFile(folder / "Code.txt", BackupTime{2023, 12, 31, 0, 0, 0}).copy.has_value());
  copies = Names(ListBackups(folder / "Code.txt"));
  ASSERT_EQ(copies.size(), 20u);
  EXPECT_EQ(copies.front(), "Code.20231231-000000.txt");
  EXPECT_EQ(copies[1], "Code.20240103-093000.txt");
}

TEST(Backup, AFileInThePlaceOfTheBackupFolderIsAnErrorAndStaysAsItIs) {
  TempFolder folder;
  test::WriteBytes(folder / "backup", "a file, not a folder");
  test::WriteBytes(folder / "Hold.txt", "holdings");
  const BackupResult result = BackUpFile(folder / "Hold.txt", At(15));
  EXPECT_FALSE(result.copy.has_value());
  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(test::ReadBytes(folder / "backup"), "a file, not a folder");
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Hold.txt", "backup"}));
}

TEST(Backup, ASessionCopiesEachFileOnceBeforeItsFirstOverwrite) {
  TempFolder folder;
  test::WriteBytes(folder / "202401.txt", "January as it was");
  BackupSession session;
  EXPECT_TRUE(session.beforeOverwrite(folder / "202401.txt", At(15)).copy.has_value());
  test::WriteBytes(folder / "202401.txt", "January saved");
  EXPECT_FALSE(session.beforeOverwrite(folder / "202401.txt", At(16)).copy.has_value());
  // A file that did not exist at its first save has nothing to keep, then
  // or later in the session: what it holds is the session's own.
  EXPECT_FALSE(session.beforeOverwrite(folder / "202402.txt", At(15)).copy.has_value());
  test::WriteBytes(folder / "202402.txt", "February saved");
  EXPECT_FALSE(session.beforeOverwrite(folder / "202402.txt", At(16)).copy.has_value());

  const std::vector<fs::path> copies = ListBackups(folder / "202401.txt");
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(test::ReadBytes(copies[0]), "January as it was");
  EXPECT_TRUE(ListBackups(folder / "202402.txt").empty());
}

// Every writer of the books goes through the same saves (the window's Save
// items, a stock written back from a panel, an import), so the backup sits
// in them: with backups on, each ledger file is copied once before the run
// first writes over it, and a copy that cannot be made is kept for the
// window to report while the save goes on.
TEST(Backup, TheBooksSavesBackUpEachFileOnceAndKeepWhatFailed) {
  TempFolder folder;
  test::WriteBytes(folder / "Hold.txt", "holdings as they were\r\n");
  test::WriteBytes(folder / "Code.txt", "[1234]\r\nN=old\r\n");
  Books books;
  books.folder = folder.path();
  books.monthKey = "2011/03";

  // Backups are off unless the program turns them on.
  ASSERT_FALSE(SaveLedger(books, Ledger::Holdings));
  EXPECT_TRUE(ListBackups(folder / "Hold.txt").empty());

  test::WriteBytes(folder / "Hold.txt", "holdings as they were\r\n");
  books.backups.emplace();
  ASSERT_FALSE(SaveLedger(books, Ledger::Holdings));
  ASSERT_FALSE(SaveLedger(books, Ledger::Holdings));
  ASSERT_EQ(ListBackups(folder / "Hold.txt").size(), 1u);
  EXPECT_EQ(test::ReadBytes(ListBackups(folder / "Hold.txt")[0]), "holdings as they were\r\n");
  ASSERT_FALSE(StoreStockFields(books, "1234", StockDetails{"new", "", "100"}));
  ASSERT_EQ(ListBackups(folder / "Code.txt").size(), 1u);
  EXPECT_EQ(test::ReadBytes(ListBackups(folder / "Code.txt")[0]), "[1234]\r\nN=old\r\n");
  EXPECT_TRUE(books.failedBackups.empty());

  // A month file whose copy cannot be made is saved all the same.
  test::WriteBytes(folder / "201103.txt", "");
  fs::remove_all(folder / "backup");
  test::WriteBytes(folder / "backup", "a file, not a folder");
  ASSERT_FALSE(SaveLedger(books, Ledger::Diary));
  ASSERT_EQ(books.failedBackups.size(), 1u);
  EXPECT_EQ(books.failedBackups[0].ledger, Ledger::Diary);
}

}  // namespace
}  // namespace tomvik::core
