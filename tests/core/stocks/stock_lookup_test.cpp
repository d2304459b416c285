#include "core/stocks/stock_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/books.h"
#include "core/records/code_file.h"
#include "core/stocks/stock_master.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::FileSizeLimit;
using test::Sjis;
using test::TempFolder;

std::string Section(std::string_view code, std::string_view name) {
  return "[" + std::string(code) + "]\r\nN=" + std::string(name) + "\r\nE=E\r\nU=100\r\n\r\n";
}

// The stamp a file system that keeps whole seconds gives, with the same
// identity and size: every edit within one second looks alike.
CodeFileCache::Stamp WholeSecondStamp(const std::string& path) {
  CodeFileCache::Stamp stamp = CodeFileCache::StampOf(path);
  stamp.inode = 0;
  stamp.modified -= stamp.modified % 1'000'000'000;
  stamp.changed -= stamp.changed % 1'000'000'000;
  return stamp;
}

class StockLookup : public ::testing::Test {
 protected:
  void SetUp() override { books_.folder = folder_.path(); }
  std::filesystem::path file() const { return folder_ / "Code.txt"; }
  std::string name(std::string_view code) { return LookUpStock(books_, code).name; }

  TempFolder folder_;
  Books books_;
};

TEST_F(StockLookup, EditsByHandBetweenTwoLookupsAreSeen) {
  EXPECT_FALSE(LookUpStock(books_, "1234").found);  // no file yet
  test::WriteBytes(file(), Section("1234", "AAAA"));
  const StockDetails first = LookUpStock(books_, "1234");
  EXPECT_TRUE(first.found);
  EXPECT_EQ(first.name, "AAAA");
  EXPECT_EQ(first.unit, "100");

  // A longer name, written in place.
  test::WriteBytes(file(), Section("1234", "AAAAAA"));
  EXPECT_EQ(name("1234"), "AAAAAA");

  // Edits of the same size right after a lookup, the modification time put
  // back as it was: where the file system's times are coarse, such edits
  // leave every stamp as it was, and only the bytes tell them apart.
  books_.stockFile = CodeFileCache(&WholeSecondStamp);
  const auto stamp = std::filesystem::last_write_time(file());
  for (int i = 0; i < 20; ++i) {
    const std::string expected = i % 2 ? "AAAAAA" : "BBBBBB";
    test::WriteBytes(file(), Section("1234", expected));
    std::filesystem::last_write_time(file(), stamp);
    ASSERT_EQ(name("1234"), expected) << "edit " << i;
  }

  // Replaced by another file, as editors save; then gone.
  test::WriteBytes(folder_ / "new.txt", Section("5678", Sjis("新しい銘柄")));
  std::filesystem::rename(folder_ / "new.txt", file());
  EXPECT_FALSE(LookUpStock(books_, "1234").found);
  EXPECT_EQ(name("5678"), Sjis("新しい銘柄"));
  std::filesystem::remove(file());
  EXPECT_FALSE(LookUpStock(books_, "5678").found);

  // Another folder has its own file.
  TempFolder other;
  test::WriteBytes(other / "Code.txt", Section("1234", "CCCC"));
  books_.folder = other.path();
  EXPECT_EQ(name("1234"), "CCCC");
}

TEST_F(StockLookup, LookupsAfterTheProgramWroteTheFileSeeWhatItWrote) {
  test::WriteBytes(file(), Section("1234", "AAAA") + Section("5678", "BBBB"));
  ASSERT_FALSE(LoadStocksInto(books_).has_value());
  EXPECT_EQ(name("1234"), "AAAA");

  // A single key written by a panel.
  ASSERT_FALSE(StoreStockFields(books_, "5678", {"CCCC", "E", "100", true}).has_value());
  EXPECT_EQ(name("5678"), "CCCC");

  // The whole file saved from the list, then edited by hand at once with
  // the same size.
  books_.stocks.setCell(0, StockCol::Name, "DDDD");
  ASSERT_FALSE(SaveStocks(books_).has_value());
  EXPECT_EQ(name("1234"), "DDDD");
  const std::string saved = test::ReadBytes(file());
  std::string edited = saved;
  edited.replace(edited.find("DDDD"), 4, "EEEE");
  test::WriteBytes(file(), edited);
  EXPECT_EQ(name("1234"), "EEEE");
  EXPECT_EQ(name("5678"), "CCCC");
}

TEST_F(StockLookup, AFailedSaveLeavesTheFileAndTheLookupsAsTheyWere) {
  const std::string before = Section("1234", "AAAA") + Section("5678", "BBBB");
  test::WriteBytes(file(), before);
  ASSERT_FALSE(LoadStocksInto(books_).has_value());
  EXPECT_EQ(name("1234"), "AAAA");

  books_.stocks.setCell(0, StockCol::Name, "A longer name than the file can take now");
  books_.unsaved.stocks = true;
  {
    const FileSizeLimit limit(before.size());
    EXPECT_TRUE(SaveStocks(books_).has_value());
    // The single-key write fails the same way.
    EXPECT_TRUE(
        StoreStockFields(books_, "5678", {"A name far too long for the file now", "E", "100", true}).has_value());
  }
  EXPECT_EQ(test::ReadBytes(file()), before);
  EXPECT_TRUE(books_.unsaved.stocks);
  EXPECT_EQ(name("1234"), "AAAA");
  EXPECT_EQ(name("5678"), "BBBB");

  // The next try writes, and the lookups follow.
  ASSERT_FALSE(SaveStocks(books_).has_value());
  EXPECT_EQ(name("1234"), "A longer name than the file can take now");
  EXPECT_EQ(ParseStockMaster(test::ReadBytes(file()), false)[0].cell(StockCol::Name),
            "A longer name than the file can take now");
}

}  // namespace
}  // namespace tomvik::core
