// A ledger: rows of text cells under a text key, always sorted by key.
//
// Keys compare as bytes. A row inserted with a key equal to others goes after
// them, so equal keys keep their insertion order; re-keying a row moves it by
// the same rule. Cells are read with cell(), which gives "" for a column the
// row does not have, so a short row never causes an out-of-range access.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomvik::core {

struct LedgerRow {
  std::string key;
  std::vector<std::string> cells;
  bool mark = true;  // the stock master's check mark

  const std::string& cell(std::size_t column) const;
  void setCell(std::size_t column, std::string value);
};

class LedgerTable {
 public:
  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  const LedgerRow& operator[](std::size_t index) const { return rows_[index]; }
  std::vector<LedgerRow>::const_iterator begin() const { return rows_.begin(); }
  std::vector<LedgerRow>::const_iterator end() const { return rows_.end(); }

  // Inserts after every row with a key not greater; returns the new index.
  std::size_t insert(LedgerRow row);
  // Gives the row a new key and moves it to its place; returns the new index.
  std::size_t rekey(std::size_t index, std::string key);
  void erase(std::size_t index);
  void clear() { rows_.clear(); }

  // Cells and the mark may change in place: they do not affect the order.
  void setCell(std::size_t index, std::size_t column, std::string value);
  void setMark(std::size_t index, bool mark) { rows_[index].mark = mark; }
  std::vector<std::string>& cells(std::size_t index) { return rows_[index].cells; }

  // The first row whose key equals / begins with the text.
  std::optional<std::size_t> find(std::string_view key) const;
  std::optional<std::size_t> findPrefix(std::string_view prefix) const;

  // Removes every row for which the predicate holds.
  template <typename Predicate>
  void eraseIf(Predicate predicate) {
    std::erase_if(rows_, predicate);
  }

 private:
  std::vector<LedgerRow> rows_;
};

}  // namespace tomvik::core
