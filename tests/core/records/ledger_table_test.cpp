#include "core/records/ledger_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/records/amount.h"

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

TEST(LedgerTable, ATableMadeFromRowsIsTheOneTheirInsertsMake) {
  std::mt19937 random(15);
  for (int round = 0; round < 50; ++round) {
    std::vector<LedgerRow> rows;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      // Few distinct keys, so that equal keys meet; sorted input half the time.
      rows.push_back(Row(std::string(1, static_cast<char>('a' + random() % 5)) + (random() % 2 ? "B" : "S"),
                         std::to_string(random() % 1000)));
    }
    if (round % 2 == 0) {
      std::stable_sort(rows.begin(), rows.end(), [](const LedgerRow& a, const LedgerRow& b) { return a.key < b.key; });
    }
    const LedgerTally tally{{0}, 1, 'B'};
    LedgerTable inserted(tally);
    for (const LedgerRow& row : rows) inserted.insert(row);
    const LedgerTable made = LedgerTable::FromRows(rows, tally);
    EXPECT_EQ(Keys(made), Keys(inserted));
    EXPECT_EQ(FirstCells(made), FirstCells(inserted));
    for (int group : {0, 1}) EXPECT_EQ(made.total(0, group), inserted.total(0, group));
  }
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

// The sums a table keeps and the journal it writes, checked after every step
// of random edits against the rows themselves: the sums against a fresh
// count, the journal by replaying it on the rows as a list view last saw
// them (each row carries its own id in cell 0).
TEST(LedgerTable, SumsAndJournalFollowEveryKindOfChange) {
  // Column 1 is summed by the byte at key position 1 ('B' counts in group 1).
  LedgerTable table(LedgerTally{{1}, 1, 'B'});
  struct Seen {
    std::string id, cell, key;
    bool mark = true;
  };
  std::vector<Seen> seen;
  std::uint64_t revision = table.revision();
  std::mt19937 random(7);
  int ids = 0;
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto amount = [&] { return FormatAmount(Amount{pick(2'000'001)} - 1'000'000); };
  const auto key = [&] { return std::string(1, static_cast<char>('a' + pick(5))) + (pick(2) ? "B" : "S"); };
  const auto row = [&] { return LedgerRow{key(), {std::to_string(ids++), amount()}}; };

  for (int step = 0; step < 3000; ++step) {
    const int what = table.empty() ? 0 : pick(100);
    const auto at = table.empty() ? 0 : static_cast<std::size_t>(pick(static_cast<int>(table.size())));
    if (what < 35) {
      table.insert(row());
    } else if (what < 50) {
      table.erase(at);
    } else if (what < 65) {
      table.setCell(at, 1, amount());
    } else if (what < 75) {
      table.editCells(at, [&](std::vector<std::string>& cells) { cells[1] = pick(4) ? amount() : "not an amount"; });
    } else if (what < 90) {
      table.rekey(at, key());
    } else if (what < 93) {
      table.setMark(at, !table[at].mark);
    } else if (what < 95) {
      const char first = static_cast<char>('a' + pick(5));
      table.eraseIf([&](const LedgerRow& r) { return r.key[0] == first; });
    } else if (what < 97) {
      LedgerTable other;  // no tally of its own: this table keeps its tally
      other.insert(row());
      table = other;
    } else if (what < 98) {
      table.clear();
    }

    Amount all = 0;
    Amount bought = 0;
    for (const LedgerRow& r : table) {
      all += ParseAmount(r.cell(1));
      if (r.key[1] == 'B') bought += ParseAmount(r.cell(1));
    }
    ASSERT_EQ(table.total(1), all) << "step " << step;
    ASSERT_EQ(table.total(1, 1), bought) << "step " << step;
    ASSERT_EQ(table.total(1, 0), all - bought) << "step " << step;
    ASSERT_EQ(table.total(0), 0);

    if (const auto changes = table.changesSince(revision)) {
      std::vector<bool> fresh(seen.size(), false);  // inserted or changed
      for (const LedgerChange& change : *changes) {
        const auto i = static_cast<std::ptrdiff_t>(change.index);
        if (change.kind == LedgerChange::Kind::Inserted) {
          ASSERT_LE(change.index, seen.size());
          seen.insert(seen.begin() + i, Seen{});
          fresh.insert(fresh.begin() + i, true);
        } else {
          ASSERT_LT(change.index, seen.size());
          if (change.kind == LedgerChange::Kind::Erased) {
            seen.erase(seen.begin() + i);
            fresh.erase(fresh.begin() + i);
          } else {
            fresh[change.index] = true;
          }
        }
      }
      ASSERT_EQ(seen.size(), table.size()) << "step " << step;
      for (std::size_t i = 0; i < seen.size(); ++i) {
        if (fresh[i]) continue;
        // A row the journal does not name is the row the view saw there.
        ASSERT_EQ(seen[i].id, table[i].cell(0)) << "step " << step;
        ASSERT_EQ(seen[i].cell, table[i].cell(1)) << "step " << step;
        ASSERT_EQ(seen[i].key, table[i].key) << "step " << step;
        ASSERT_EQ(seen[i].mark, table[i].mark) << "step " << step;
      }
    } else {
      ASSERT_GE(what, 93) << "only wholesale changes restart the journal";
    }
    seen.clear();
    for (const LedgerRow& r : table) seen.push_back(Seen{r.cell(0), r.cell(1), r.key, r.mark});
    revision = table.revision();
  }
  EXPECT_EQ(table.changesSince(revision + 1), std::nullopt);
}

TEST(LedgerTable, SumsSaturateInsteadOfOverflowing) {
  LedgerTable table(LedgerTally{{0}});
  table.insert(LedgerRow{"a", {"9,223,372,036,854,775,807"}});
  table.insert(LedgerRow{"b", {"9,223,372,036,854,775,807"}});
  EXPECT_EQ(table.total(0), std::numeric_limits<Amount>::max());
  table.erase(1);
  EXPECT_EQ(table.total(0), std::numeric_limits<Amount>::max());
  table.setCell(0, 0, "-5");
  EXPECT_EQ(table.total(0), -5);
}

}  // namespace
}  // namespace tomvik::core
