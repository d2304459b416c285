#include "core/records/ledger_table.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tomvik::core {
namespace {

const std::string kEmpty;

// A follower far behind starts over instead of replaying every change.
constexpr std::size_t kJournalLimit = 4096;

// std::string compares as unsigned bytes (char_traits<char>::lt), as keys do.
bool KeyLess(std::string_view a, std::string_view b) { return a < b; }

}  // namespace

const std::string& LedgerRow::cell(std::size_t column) const { return column < cells.size() ? cells[column] : kEmpty; }

void LedgerRow::setCell(std::size_t column, std::string value) {
  if (column >= cells.size()) cells.resize(column + 1);
  cells[column] = std::move(value);
}

LedgerTable::LedgerTable(LedgerTally tally) : tally_(std::move(tally)), sums_(tally_.columns.size() * 2) {}

LedgerTable::LedgerTable(const LedgerTable& other) : rows_(other.rows_), tally_(other.tally_), sums_(other.sums_) {}

LedgerTable::LedgerTable(LedgerTable&& other) noexcept
    : rows_(std::move(other.rows_)), tally_(std::move(other.tally_)), sums_(std::move(other.sums_)) {
  other.rows_.clear();
  other.tally_ = LedgerTally();
  other.sums_.clear();
  other.replaced();
}

LedgerTable& LedgerTable::operator=(const LedgerTable& other) {
  if (this != &other) {
    rows_ = other.rows_;
    replaced();
  }
  return *this;
}

LedgerTable& LedgerTable::operator=(LedgerTable&& other) noexcept {
  if (this != &other) {
    rows_ = std::move(other.rows_);
    other.rows_.clear();
    other.replaced();
    replaced();
  }
  return *this;
}

std::size_t LedgerTable::insert(LedgerRow row) {
  const auto at = std::upper_bound(rows_.begin(), rows_.end(), row.key,
                                   [](const std::string& key, const LedgerRow& r) { return KeyLess(key, r.key); });
  const auto index = static_cast<std::size_t>(at - rows_.begin());
  count(row, +1);
  rows_.insert(at, std::move(row));
  record(LedgerChange::Kind::Inserted, index);
  return index;
}

LedgerTable LedgerTable::FromRows(std::vector<LedgerRow> rows, LedgerTally tally) {
  // Equal keys keep their order, as each insert goes after them.
  const auto less = [](const LedgerRow& a, const LedgerRow& b) { return KeyLess(a.key, b.key); };
  if (!std::is_sorted(rows.begin(), rows.end(), less)) std::stable_sort(rows.begin(), rows.end(), less);
  LedgerTable table(std::move(tally));
  table.rows_ = std::move(rows);
  table.replaced();
  return table;
}

std::size_t LedgerTable::rekey(std::size_t index, std::string key) {
  // Counted out under its old key, in again under the new one.
  count(rows_[index], -1);
  LedgerRow row = std::move(rows_[index]);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  record(LedgerChange::Kind::Erased, index);
  row.key = std::move(key);
  return insert(std::move(row));
}

void LedgerTable::erase(std::size_t index) {
  count(rows_[index], -1);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  record(LedgerChange::Kind::Erased, index);
}

void LedgerTable::clear() {
  rows_.clear();
  replaced();
}

void LedgerTable::setCell(std::size_t index, std::size_t column, std::string value) {
  LedgerRow& row = rows_[index];
  if (const auto at = tallied(column)) {
    const Sum change = static_cast<Sum>(ParseAmount(value)) - ParseAmount(row.cell(column));
    sums_[*at * 2 + static_cast<std::size_t>(groupOf(row.key))] += change;
  }
  row.setCell(column, std::move(value));
  record(LedgerChange::Kind::Changed, index);
}

void LedgerTable::setMark(std::size_t index, bool mark) {
  rows_[index].mark = mark;
  record(LedgerChange::Kind::Changed, index);
}

std::optional<std::size_t> LedgerTable::find(std::string_view key) const {
  auto found = findPrefix(key);
  if (found && rows_[*found].key.size() == key.size()) return found;
  return std::nullopt;
}

std::optional<std::size_t> LedgerTable::findPrefix(std::string_view prefix) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), prefix,
                                   [](const LedgerRow& r, std::string_view key) { return KeyLess(r.key, key); });
  if (at != rows_.end() && std::string_view(at->key).substr(0, prefix.size()) == prefix) {
    return static_cast<std::size_t>(at - rows_.begin());
  }
  return std::nullopt;
}

Amount LedgerTable::total(std::size_t column) const {
  const auto at = tallied(column);
  if (!at) return 0;
  const Sum sum = sums_[*at * 2] + sums_[*at * 2 + 1];
  if (sum > std::numeric_limits<Amount>::max()) return std::numeric_limits<Amount>::max();
  if (sum < std::numeric_limits<Amount>::min()) return std::numeric_limits<Amount>::min();
  return static_cast<Amount>(sum);
}

Amount LedgerTable::total(std::size_t column, int group) const {
  const auto at = tallied(column);
  if (!at || group < 0 || group > 1) return 0;
  const Sum sum = sums_[*at * 2 + static_cast<std::size_t>(group)];
  if (sum > std::numeric_limits<Amount>::max()) return std::numeric_limits<Amount>::max();
  if (sum < std::numeric_limits<Amount>::min()) return std::numeric_limits<Amount>::min();
  return static_cast<Amount>(sum);
}

std::optional<std::span<const LedgerChange>> LedgerTable::changesSince(std::uint64_t since) const {
  if (since < journalStart_ || since > revision_) return std::nullopt;
  return std::span<const LedgerChange>(journal_).subspan(static_cast<std::size_t>(since - journalStart_));
}

std::optional<std::size_t> LedgerTable::tallied(std::size_t column) const {
  const auto at = std::find(tally_.columns.begin(), tally_.columns.end(), column);
  if (at == tally_.columns.end()) return std::nullopt;
  return static_cast<std::size_t>(at - tally_.columns.begin());
}

int LedgerTable::groupOf(std::string_view key) const {
  return tally_.groupAt < key.size() && key[tally_.groupAt] == tally_.groupByte ? 1 : 0;
}

void LedgerTable::count(const LedgerRow& row, int sign) {
  if (tally_.columns.empty()) return;
  const auto group = static_cast<std::size_t>(groupOf(row.key));
  for (std::size_t i = 0; i < tally_.columns.size(); ++i) {
    sums_[i * 2 + group] += static_cast<Sum>(sign) * ParseAmount(row.cell(tally_.columns[i]));
  }
}

void LedgerTable::countAll() {
  sums_.assign(tally_.columns.size() * 2, 0);
  for (const LedgerRow& row : rows_) count(row, +1);
}

void LedgerTable::record(LedgerChange::Kind kind, std::size_t index) {
  if (journal_.size() >= kJournalLimit) {
    journal_.clear();
    journalStart_ = revision_;
  }
  journal_.push_back(LedgerChange{kind, index});
  ++revision_;
}

void LedgerTable::replaced() {
  countAll();
  journal_.clear();
  ++revision_;
  journalStart_ = revision_;
}

}  // namespace tomvik::core
