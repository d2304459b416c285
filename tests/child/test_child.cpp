// A second process for the window tests, doing what a running Tomvik does
// while a test kills it or starts beside it:
//
//   test_child hold <folder>
//       takes the folder's lock as the program does at start-up, prints
//       "held" and waits to be killed;
//   test_child save <folder> <first> <second>
//       takes the folder's lock, loads the four ledgers from each of two
//       folders, prints "saving", then saves them into <folder> by turns,
//       the first version and the second, until it is killed.
#include <QCoreApplication>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/shell/folder_lock.h"
#include "core/books.h"

namespace {

namespace fs = std::filesystem;
using tomvik::core::Books;
using tomvik::core::Ledger;

constexpr Ledger kLedgers[] = {Ledger::Diary, Ledger::Holdings, Ledger::Positions, Ledger::Stocks};

void Say(const char* word) {
  std::printf("%s\n", word);
  std::fflush(stdout);
}

int Hold(int argc, char** argv, const fs::path& folder) {
  QCoreApplication app(argc, argv);
  tomvik::app::FolderLock lock(folder);
  if (lock.tryLock() != tomvik::app::FolderLock::Outcome::Held) {
    Say("refused");
    return 2;
  }
  Say("held");
  for (;;) ::pause();
}

Books LoadVersion(const fs::path& from, const fs::path& into, const std::string& monthKey) {
  Books books;
  books.folder = from;
  books.monthKey = monthKey;
  (void)tomvik::core::LoadDiaryInto(books, monthKey);
  (void)tomvik::core::LoadHoldingsInto(books);
  (void)tomvik::core::LoadPositionsInto(books);
  (void)tomvik::core::LoadStocksInto(books);
  books.folder = into;
  return books;
}

int SaveByTurns(int argc, char** argv, const fs::path& folder, const fs::path& first, const fs::path& second) {
  // As the program does: a kill leaves the lock behind as well.
  QCoreApplication app(argc, argv);
  tomvik::app::FolderLock lock(folder);
  if (lock.tryLock() != tomvik::app::FolderLock::Outcome::Held) {
    Say("refused");
    return 2;
  }
  const std::string month = "2024/01";
  Books versions[] = {LoadVersion(first, folder, month), LoadVersion(second, folder, month)};
  Say("saving");
  for (;;) {
    for (Books& books : versions) {
      for (Ledger ledger : kLedgers) {
        if (tomvik::core::SaveLedger(books, ledger)) return 3;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "hold" && argc == 3) return Hold(argc, argv, argv[2]);
  if (mode == "save" && argc == 5) return SaveByTurns(argc, argv, argv[2], argv[3], argv[4]);
  std::fprintf(stderr, "usage: test_child hold <folder> | save <folder> <first> <second>\n");
  return 1;
}
