// A ledger: rows of text cells under a text key, always sorted by key.
//
// Keys compare as bytes. A row inserted with a key equal to others goes after
// them, so equal keys keep their insertion order; re-keying a row moves it by
// the same rule. Cells are read with cell(), which gives "" for a column the
// row does not have, so a short row never causes an out-of-range access.
//
// Every change goes through the table, which keeps two things up to date
// with it at the cost of the rows changed, not of the rows held:
// - a journal of the changes, from which a list view learns which rows were
//   inserted, erased or changed since it last looked;
// - for the columns named by its tally, the sums of their amounts over the
//   rows, by one of two groups chosen by a byte of the key.
// The tally and the journal belong to the table object: assigning another
// table's rows to it keeps its own tally, and its followers start over.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/amount.h"

namespace tomvik::core {

struct LedgerRow {
  std::string key;
  std::vector<std::string> cells;
  bool mark = true;  // the stock master's check mark

  const std::string& cell(std::size_t column) const;
  void setCell(std::size_t column, std::string value);
};

// One change of a table. The index is the row's at the time of the change.
struct LedgerChange {
  enum class Kind : std::uint8_t { Inserted, Erased, Changed };
  Kind kind;
  std::size_t index;
};

// The columns whose amounts a table sums. A row whose key has `groupByte` at
// `groupAt` counts in group 1, every other row in group 0.
struct LedgerTally {
  std::vector<std::size_t> columns;
  std::size_t groupAt = std::string::npos;
  char groupByte = '\0';
};

class LedgerTable {
 public:
  LedgerTable() = default;
  explicit LedgerTable(LedgerTally tally);
  // A copy has the rows and the tally, and a journal of its own.
  LedgerTable(const LedgerTable& other);
  LedgerTable(LedgerTable&& other) noexcept;
  // The rows of the other table replace this one's wholesale.
  LedgerTable& operator=(const LedgerTable& other);
  LedgerTable& operator=(LedgerTable&& other) noexcept;
  ~LedgerTable() = default;

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  const LedgerRow& operator[](std::size_t index) const { return rows_[index]; }
  std::vector<LedgerRow>::const_iterator begin() const { return rows_.begin(); }
  std::vector<LedgerRow>::const_iterator end() const { return rows_.end(); }

  // Inserts after every row with a key not greater; returns the new index.
  std::size_t insert(LedgerRow row);
  // The table that inserting the rows one by one, in their order, makes;
  // rows read from a file in key order cost no search.
  static LedgerTable FromRows(std::vector<LedgerRow> rows, LedgerTally tally = {});
  // Gives the row a new key and moves it to its place; returns the new index.
  std::size_t rekey(std::size_t index, std::string key);
  void erase(std::size_t index);
  void clear();

  // Cells and the mark may change in place: they do not affect the order.
  void setCell(std::size_t index, std::size_t column, std::string value);
  void setMark(std::size_t index, bool mark);
  // Lets `edit` change the row's cells in place.
  template <typename Edit>
  void editCells(std::size_t index, Edit&& edit) {
    count(rows_[index], -1);
    edit(rows_[index].cells);
    count(rows_[index], +1);
    record(LedgerChange::Kind::Changed, index);
  }

  // The first row whose key equals / begins with the text.
  std::optional<std::size_t> find(std::string_view key) const;
  std::optional<std::size_t> findPrefix(std::string_view prefix) const;

  // Removes every row for which the predicate holds.
  template <typename Predicate>
  void eraseIf(Predicate predicate) {
    std::erase_if(rows_, predicate);
    replaced();
  }

  // The sum of a tallied column's amounts over all rows, or over the rows of
  // one group; beyond the amount range it saturates. 0 for other columns.
  Amount total(std::size_t column) const;
  Amount total(std::size_t column, int group) const;

  // The journal: every change counts one revision. The changes after
  // revision `since`, oldest first; nothing when they are not all known any
  // more (the rows were replaced wholesale, or very many changes passed,
  // or `since` is not a revision of this table): then a follower starts over.
  std::uint64_t revision() const { return revision_; }
  std::optional<std::span<const LedgerChange>> changesSince(std::uint64_t since) const;

 private:
  __extension__ typedef __int128 Sum;

  std::optional<std::size_t> tallied(std::size_t column) const;
  int groupOf(std::string_view key) const;
  void count(const LedgerRow& row, int sign);
  void countAll();
  void record(LedgerChange::Kind kind, std::size_t index);
  // The rows changed wholesale: sums counted again, followers start over.
  void replaced();

  std::vector<LedgerRow> rows_;
  LedgerTally tally_;
  std::vector<Sum> sums_;  // two per tallied column: group 0, group 1
  std::vector<LedgerChange> journal_;
  std::uint64_t journalStart_ = 0;  // the revision before journal_[0]
  std::uint64_t revision_ = 0;
};

}  // namespace tomvik::core
