#include "core/records/ledger_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tomvik::core {
namespace {

LedgerRow Row(std::string key, std::string cell = {}) { return LedgerRow{std::move(key), {std::move(cell)}}; }

std::vector<std::string> Keys(const LedgerTable& table) {
  std::vector<std::string> keys;
  for (const LedgerRow& row : table) keys.push_back(row.key);
  return keys;
}

std::vector<std::string> FirstCells(const LedgerTable& table) {
  std::vector<std::string> cells;
  for (const LedgerRow& row : table) cells.push_back(row.cell(0));
  return cells;
}

TEST(LedgerTable, KeysSortAsBytesWithDoubleByteTextsAfterAscii) {
  LedgerTable table;
  for (const char* key : {"b", "\x93\x8C", "a", "Z", "\xB1", "1", "", "\x81\x40"}) table.insert(Row(key));
  EXPECT_EQ(Keys(table), (std::vector<std::string>{"", "1", "Z", "a", "b", "\x81\x40", "\x93\x8C", "\xB1"}));
}

TEST(LedgerTable, EqualKeysKeepTheirInsertionOrder) {
  LedgerTable table;
  EXPECT_EQ(table.insert(Row("k", "first")), 0u);
  EXPECT_EQ(table.insert(Row("k", "second")), 1u);
  EXPECT_EQ(table.insert(Row("j", "j")), 0u);
  EXPECT_EQ(table.insert(Row("k", "third")), 3u);
  EXPECT_EQ(table.insert(Row("l", "l")), 4u);
  EXPECT_EQ(FirstCells(table), (std::vector<std::string>{"j", "first", "second", "third", "l"}));
}

TEST(LedgerTable, RekeyMovesTheRowAfterItsEqualsAndReturnsItsIndex) {
  LedgerTable table;
  for (const char* key : {"a", "b", "c", "d"}) table.insert(Row(key, std::string("cell ") + key));
  EXPECT_EQ(table.rekey(0, "c"), 2u);
  EXPECT_EQ(Keys(table), (std::vector<std::string>{"b", "c", "c", "d"}));
  EXPECT_EQ(table[2].cell(0), "cell a");
  EXPECT_EQ(table.rekey(3, "0"), 0u);
  EXPECT_EQ(table[0].cell(0), "cell d");
  EXPECT_EQ(table.rekey(1, "b"), 1u);  // the same key keeps the place
  EXPECT_EQ(table.size(), 4u);
}

TEST(LedgerTable, FindIsExactAndFindPrefixGivesTheFirstMatch) {
  LedgerTable table;
  for (const char* key : {"2011/03/0100", "2011/03/01211234", "2011/03/019", "2011/03/15002", "bb", "bb"}) {
    table.insert(Row(key));
  }
  EXPECT_EQ(table.findPrefix("2011/03/010"), std::optional<std::size_t>(0));
  EXPECT_EQ(table.findPrefix("2011/03/15"), std::optional<std::size_t>(3));
  EXPECT_EQ(table.findPrefix("2011/03/02"), std::nullopt);
  EXPECT_EQ(table.findPrefix(""), std::optional<std::size_t>(0));
  EXPECT_EQ(table.find("bb"), std::optional<std::size_t>(4));
  EXPECT_EQ(table.find("b"), std::nullopt);
  EXPECT_EQ(table.find("2011/03/019"), std::optional<std::size_t>(2));
  EXPECT_EQ(table.find("2011/03/01"), std::nullopt);
  EXPECT_EQ(table.findPrefix("bbb"), std::nullopt);
}

TEST(LedgerTable, CellsOfShortRowsReadEmptyAndGrowWhenSet) {
  LedgerTable table;
  table.insert(LedgerRow{"k", {}});
  EXPECT_EQ(table[0].cell(7), "");
  table.setCell(0, 3, "x");
  EXPECT_EQ(table[0].cells.size(), 4u);
  EXPECT_EQ(table[0].cell(3), "x");
  table.setMark(0, false);
  EXPECT_FALSE(table[0].mark);
  table.insert(Row("a"));
  table.insert(Row("z"));
  table.eraseIf([](const LedgerRow& row) { return row.key != "k"; });
  EXPECT_EQ(Keys(table), std::vector<std::string>{"k"});
  table.erase(0);
  EXPECT_TRUE(table.empty());
}

}  // namespace
}  // namespace tomvik::core
