#include "core/records/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/books.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::FileSizeLimit;
using test::TempFolder;

TEST(AtomicFile, WritesANewFileAndReplacesAnOldOne) {
  TempFolder folder;
  const auto path = folder / "Hold.txt";
  ASSERT_FALSE(WriteFileAtomically(path, "first\r\n").has_value());
  EXPECT_EQ(test::ReadBytes(path), "first\r\n");
  ::chmod(path.c_str(), 0640);
  ASSERT_FALSE(WriteFileAtomically(path, std::string("\0second", 7)).has_value());
  EXPECT_EQ(test::ReadBytes(path), std::string("\0second", 7));
  // The replaced file keeps its permissions; no temporary file stays behind.
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  ASSERT_FALSE(WriteFileAtomically(path, "").has_value());
  EXPECT_EQ(test::ReadBytes(path), "");
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Hold.txt"}));
}

TEST(AtomicFile, AFailedWriteReportsAnErrorAndLeavesTheOldFile) {
  TempFolder folder;
  const auto path = folder / "Loan.txt";
  test::WriteBytes(path, "old contents\r\n");
  {
    // The disk fills up after 4 bytes: the new contents cannot be written.
    FileSizeLimit full(4);
    const auto error = WriteFileAtomically(path, std::string(1000, 'x'));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->path, path);
    EXPECT_FALSE(error->reason.empty());
  }
  EXPECT_EQ(test::ReadBytes(path), "old contents\r\n");
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Loan.txt"}));
}

TEST(AtomicFile, WritingOverAFolderOrIntoAMissingFolderFails) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "Code.txt" / "inside");
  const auto error = WriteFileAtomically(folder / "Code.txt", "x");
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Code.txt" / "inside"));
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Code.txt"}));

  EXPECT_TRUE(WriteFileAtomically(folder / "missing" / "Code.txt", "x").has_value());
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(AtomicFile, ReadingTellsMissingFromUnreadable) {
  TempFolder folder;
  FileContent content = ReadWholeFile(folder / "none.txt");
  EXPECT_EQ(content.status, ReadStatus::Missing);
  EXPECT_FALSE(content.error.has_value());
  EXPECT_EQ(ReadWholeFile(folder / "none" / "deeper.txt").status, ReadStatus::Missing);

  test::WriteBytes(folder / "empty.txt", "");
  content = ReadWholeFile(folder / "empty.txt");
  EXPECT_EQ(content.status, ReadStatus::Loaded);
  EXPECT_EQ(content.bytes, "");

  const std::string big = test::RandomBytes(300000, 5);
  test::WriteBytes(folder / "big.txt", big);
  EXPECT_EQ(ReadWholeFile(folder / "big.txt").bytes, big);

  // A file whose size is not known beforehand (the system reports 0) is
  // read to its end all the same.
  EXPECT_NE(ReadWholeFile("/proc/self/status").bytes.find("Name:"), std::string::npos);

  // A folder where the file should be is reported, not thrown.
  std::filesystem::create_directory(folder / "dir.txt");
  content = ReadWholeFile(folder / "dir.txt");
  EXPECT_EQ(content.status, ReadStatus::Failed);
  ASSERT_TRUE(content.error.has_value());
  EXPECT_EQ(content.error->path, folder / "dir.txt");
  EXPECT_TRUE(content.bytes.empty());
}

TEST(AtomicFile, AFileHoldsExactlyItsBytesAndNoOthers) {
  TempFolder folder;
  const std::string big = test::RandomBytes(200000, 7);
  test::WriteBytes(folder / "big.txt", big);
  EXPECT_TRUE(FileHoldsExactly(folder / "big.txt", big));
  std::string changed = big;
  changed.back() = static_cast<char>(changed.back() ^ 1);  // past the first piece read
  EXPECT_FALSE(FileHoldsExactly(folder / "big.txt", changed));
  EXPECT_FALSE(FileHoldsExactly(folder / "big.txt", big.substr(0, big.size() - 1)));
  EXPECT_FALSE(FileHoldsExactly(folder / "big.txt", big + "x"));
  test::WriteBytes(folder / "empty.txt", "");
  EXPECT_TRUE(FileHoldsExactly(folder / "empty.txt", ""));
  EXPECT_FALSE(FileHoldsExactly(folder / "missing.txt", ""));
  std::filesystem::create_directory(folder / "dir.txt");
  EXPECT_FALSE(FileHoldsExactly(folder / "dir.txt", ""));
}

TEST(AtomicFile, RemovingAMissingFileIsNoError) {
  TempFolder folder;
  EXPECT_FALSE(RemoveFileIfExists(folder / "201103.txt").has_value());
  test::WriteBytes(folder / "201103.txt", "x");
  EXPECT_FALSE(RemoveFileIfExists(folder / "201103.txt").has_value());
  EXPECT_TRUE(folder.entries().empty());
}

TEST(AtomicFile, AFailedSaveKeepsTheLedgerUnsavedAndTheOldFile) {
  TempFolder folder;
  Books books;
  books.folder = folder.path();
  books.figures = {"1,000", "0"};
  test::WriteBytes(folder / "Hold.txt", "=5,6\r\n");
  test::WriteBytes(folder / "201103.txt", "[2011/03/01(x)]\r\n \r\n");
  books.monthKey = "2011/03";
  books.diary.insert(LedgerRow{"2011/03/0100", {"2011/03/01(y)"}});
  books.positions.insert(LedgerRow{"123452011/03/01001", {}});
  books.stocks.insert(LedgerRow{"1234", {}});
  books.unsaved = {true, true, true, true};
  {
    FileSizeLimit full(2);
    for (Ledger ledger : {Ledger::Diary, Ledger::Holdings, Ledger::Positions, Ledger::Stocks}) {
      EXPECT_TRUE(SaveLedger(books, ledger).has_value());
      EXPECT_TRUE(books.unsaved.of(ledger));
    }
  }
  EXPECT_EQ(test::ReadBytes(folder / "Hold.txt"), "=5,6\r\n");
  EXPECT_EQ(test::ReadBytes(folder / "201103.txt"), "[2011/03/01(x)]\r\n \r\n");
  // No temporary file and no new file stays behind.
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"201103.txt", "Hold.txt"}));
}

TEST(AtomicFile, TemporaryNamesTellTheFileTheyBelongTo) {
  EXPECT_EQ(TemporaryFileTarget(".Hold.txt.tmp-a1B2c3"), "Hold.txt");
  EXPECT_EQ(TemporaryFileTarget(".x.tmp-000000"), "x");
  for (const char* name : {"Hold.txt", ".Hold.txt", "Hold.txt.tmp-a1B2c3", ".Hold.txt.tmp-a1B2c",
                           ".Hold.txt.tmp-a1B2c34", ".Hold.txt.tmp-a1B2c!", ".Hold.txt.tmp_a1B2c3", "..tmp-a1B2c3"}) {
    EXPECT_FALSE(TemporaryFileTarget(name).has_value()) << name;
  }
}

TEST(AtomicFile, StaleTemporaryFilesOfOurFilesAreRemovedAndNothingElse) {
  TempFolder folder;
  // What killed writes leave: the full new contents under a temporary name.
  test::WriteBytes(folder / ".Hold.txt.tmp-a1B2c3", std::string(1000, 'h'));
  test::WriteBytes(folder / ".201103.txt.tmp-zzzzzz", std::string(24, 'd'));
  // Not ours: another file's temporary name, a folder and a link of our
  // pattern, a file in a sub-folder, the data files.
  test::WriteBytes(folder / ".notes.md.tmp-a1B2c3", "x");
  std::filesystem::create_directory(folder / ".Loan.txt.tmp-folder");
  std::filesystem::create_symlink(folder / "Hold.txt", folder / ".Hold.txt.tmp-link00");
  std::filesystem::create_directory(folder / "sub");
  test::WriteBytes(folder / "sub" / ".Hold.txt.tmp-a1B2c3", "x");
  test::WriteBytes(folder / "Hold.txt", "held");

  const auto ours = [](std::string_view target) { return target == "Hold.txt" || target == "201103.txt"; };
  const StaleCleanup cleanup = RemoveStaleTemporaryFiles(folder.path(), ours);
  EXPECT_EQ(cleanup.removed.size(), 2u);
  EXPECT_EQ(cleanup.bytes, 1024u);
  EXPECT_TRUE(cleanup.errors.empty());
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{".Hold.txt.tmp-link00", ".Loan.txt.tmp-folder",
                                                        ".notes.md.tmp-a1B2c3", "Hold.txt", "sub"}));
  EXPECT_TRUE(std::filesystem::exists(folder / "sub" / ".Hold.txt.tmp-a1B2c3"));
  EXPECT_EQ(test::ReadBytes(folder / "Hold.txt"), "held");

  // A folder that is not there has nothing to remove.
  EXPECT_TRUE(RemoveStaleTemporaryFiles(folder / "missing", ours).removed.empty());
}

}  // namespace
}  // namespace tomvik::core
