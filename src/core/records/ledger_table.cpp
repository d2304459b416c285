#include "core/records/ledger_table.h"

#include <algorithm>

namespace tomvik::core {
namespace {

const std::string kEmpty;

bool KeyLess(const std::string& a, const std::string& b) {
  // std::string compares as char, which may be signed; keys compare as bytes.
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

}  // namespace

const std::string& LedgerRow::cell(std::size_t column) const { return column < cells.size() ? cells[column] : kEmpty; }

void LedgerRow::setCell(std::size_t column, std::string value) {
  if (column >= cells.size()) cells.resize(column + 1);
  cells[column] = std::move(value);
}

std::size_t LedgerTable::insert(LedgerRow row) {
  const auto at = std::upper_bound(rows_.begin(), rows_.end(), row.key,
                                   [](const std::string& key, const LedgerRow& r) { return KeyLess(key, r.key); });
  const auto index = static_cast<std::size_t>(at - rows_.begin());
  rows_.insert(at, std::move(row));
  return index;
}

std::size_t LedgerTable::rekey(std::size_t index, std::string key) {
  LedgerRow row = std::move(rows_[index]);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  row.key = std::move(key);
  return insert(std::move(row));
}

void LedgerTable::erase(std::size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }

void LedgerTable::setCell(std::size_t index, std::size_t column, std::string value) {
  rows_[index].setCell(column, std::move(value));
}

std::optional<std::size_t> LedgerTable::find(std::string_view key) const {
  auto found = findPrefix(key);
  if (found && rows_[*found].key.size() == key.size()) return found;
  return std::nullopt;
}

std::optional<std::size_t> LedgerTable::findPrefix(std::string_view prefix) const {
  const std::string p(prefix);
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), p,
                                   [](const LedgerRow& r, const std::string& key) { return KeyLess(r.key, key); });
  if (at != rows_.end() && at->key.compare(0, p.size(), p) == 0) {
    return static_cast<std::size_t>(at - rows_.begin());
  }
  return std::nullopt;
}

}  // namespace tomvik::core
