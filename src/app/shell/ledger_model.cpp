#include "app/shell/ledger_model.h"

#include <algorithm>

#include "app/shell/sjis_text.h"

namespace tomvik::app {

LedgerModel::LedgerModel(const core::LedgerTable* table, std::vector<ColumnSpec> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
  startOver();
}

void LedgerModel::setRowFilter(RowFilter filter) {
  beginResetModel();
  filter_ = std::move(filter);
  startOver();
  endResetModel();
}

void LedgerModel::setTable(const core::LedgerTable* table) {
  beginResetModel();
  table_ = table;
  startOver();
  endResetModel();
}

void LedgerModel::startOver() {
  rows_ = visibleIndices();
  shown_ = snapshot(rows_);
  seen_ = table_ ? table_->revision() : 0;
}

bool LedgerModel::shows(std::size_t tableIndex) const { return !filter_ || filter_((*table_)[tableIndex]); }

std::vector<std::size_t> LedgerModel::visibleIndices() const {
  std::vector<std::size_t> indices;
  if (!table_) return indices;
  indices.reserve(table_->size());
  for (std::size_t i = 0; i < table_->size(); ++i) {
    if (shows(i)) indices.push_back(i);
  }
  return indices;
}

std::vector<LedgerModel::Shown> LedgerModel::snapshot(const std::vector<std::size_t>& indices) const {
  std::vector<Shown> shown;
  shown.reserve(indices.size());
  for (std::size_t index : indices) shown.push_back(shownOf(index));
  return shown;
}

LedgerModel::Shown LedgerModel::shownOf(std::size_t tableIndex) const {
  const core::LedgerRow& row = (*table_)[tableIndex];
  return Shown{row.key, row.cells, row.mark};
}

void LedgerModel::sync() {
  if (!followJournal()) compareAll();
  seen_ = table_ ? table_->revision() : 0;
}

bool LedgerModel::followJournal() {
  if (!table_) return false;
  const auto changes = table_->changesSince(seen_);
  if (!changes) return false;
  if (changes->empty()) return true;

  // Every table row as the views last saw it (its view row, or hidden), then
  // the journal replayed on that list: afterwards it has one entry per row
  // of the table as it is now.
  constexpr long kHidden = -1;
  constexpr long kNew = -2;  // inserted, or changed while hidden: shown if the filter lets it
  std::size_t before = table_->size();
  for (const core::LedgerChange& change : *changes) {
    if (change.kind == core::LedgerChange::Kind::Inserted) {
      if (before == 0) return false;
      --before;
    } else if (change.kind == core::LedgerChange::Kind::Erased) {
      ++before;
    }
  }
  if (!rows_.empty() && rows_.back() >= before) return false;
  std::vector<long> rows(before, kHidden);
  for (std::size_t v = 0; v < rows_.size(); ++v) rows[rows_[v]] = static_cast<long>(v);
  std::vector<bool> changed(shown_.size(), false);
  for (const core::LedgerChange& change : *changes) {
    const auto at = static_cast<std::ptrdiff_t>(change.index);
    switch (change.kind) {
      case core::LedgerChange::Kind::Inserted:
        if (change.index > rows.size()) return false;
        rows.insert(rows.begin() + at, kNew);
        break;
      case core::LedgerChange::Kind::Erased:
        if (change.index >= rows.size()) return false;
        rows.erase(rows.begin() + at);
        break;
      case core::LedgerChange::Kind::Changed:
        if (change.index >= rows.size()) return false;
        if (rows[change.index] >= 0) {
          changed[static_cast<std::size_t>(rows[change.index])] = true;
        } else {
          rows[change.index] = kNew;
        }
        break;
    }
  }
  if (rows.size() != table_->size()) return false;

  // Which of the rows shown stay: those still in the table, unless a change
  // took them out of the filter.
  std::vector<bool> stays(shown_.size(), false);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] < 0) continue;
    const auto v = static_cast<std::size_t>(rows[i]);
    if (!changed[v] || shows(i)) {
      stays[v] = true;
    } else {
      rows[i] = kHidden;
    }
  }
  // Removed from the bottom up, a run of rows at a time.
  for (std::size_t end = shown_.size(); end > 0;) {
    if (stays[end - 1]) {
      --end;
      continue;
    }
    std::size_t begin = end - 1;
    while (begin > 0 && !stays[begin - 1]) --begin;
    beginRemoveRows(QModelIndex(), static_cast<int>(begin), static_cast<int>(end - 1));
    shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(begin),
                 shown_.begin() + static_cast<std::ptrdiff_t>(end));
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(begin), rows_.begin() + static_cast<std::ptrdiff_t>(end));
    changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(begin),
                  changed.begin() + static_cast<std::ptrdiff_t>(end));
    endRemoveRows();
    end = begin;
  }
  // The rows that stay learn their table indices as they are now.
  for (std::size_t i = 0, v = 0; i < rows.size(); ++i) {
    if (rows[i] >= 0) rows_[v++] = i;
  }
  // Inserted a run of rows at a time, from the top down.
  std::size_t view = 0;
  for (std::size_t i = 0; i < rows.size();) {
    if (rows[i] >= 0) {
      ++view;
      ++i;
      continue;
    }
    if (rows[i] == kHidden || !shows(i)) {
      ++i;
      continue;
    }
    std::vector<std::size_t> run;
    for (; i < rows.size() && rows[i] < 0; ++i) {
      if (rows[i] == kNew && shows(i)) run.push_back(i);
    }
    const auto at = static_cast<std::ptrdiff_t>(view);
    beginInsertRows(QModelIndex(), static_cast<int>(view), static_cast<int>(view + run.size() - 1));
    std::vector<Shown> added = snapshot(run);
    shown_.insert(shown_.begin() + at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    rows_.insert(rows_.begin() + at, run.begin(), run.end());
    changed.insert(changed.begin() + at, run.size(), false);
    endInsertRows();
    view += run.size();
  }
  // The rows changed in place.
  for (std::size_t v = 0; v < shown_.size(); ++v) {
    if (!changed[v]) continue;
    Shown now = shownOf(rows_[v]);
    if (now == shown_[v]) continue;
    shown_[v] = std::move(now);
    emit dataChanged(index(static_cast<int>(v), 0), index(static_cast<int>(v), columnCount() - 1));
  }
  return true;
}

void LedgerModel::compareAll() {
  // The views read only the snapshot, never the table, so the table may
  // already differ from what they show while they are being told.
  std::vector<std::size_t> newRows = visibleIndices();
  std::vector<Shown> next = snapshot(newRows);

  // The rows that stay the same at both ends need no notice.
  std::size_t head = 0;
  while (head < shown_.size() && head < next.size() && shown_[head] == next[head]) ++head;
  std::size_t tail = 0;
  while (tail < shown_.size() - head && tail < next.size() - head &&
         shown_[shown_.size() - 1 - tail] == next[next.size() - 1 - tail]) {
    ++tail;
  }
  const std::size_t oldMiddle = shown_.size() - head - tail;
  const std::size_t newMiddle = next.size() - head - tail;

  bool sameKeys = oldMiddle == newMiddle;
  for (std::size_t i = 0; sameKeys && i < oldMiddle; ++i) sameKeys = shown_[head + i].key == next[head + i].key;
  if (sameKeys) {
    // The same rows in the same places, changed in place.
    rows_ = std::move(newRows);
    shown_ = std::move(next);
    if (oldMiddle > 0) {
      emit dataChanged(index(static_cast<int>(head), 0),
                       index(static_cast<int>(head + oldMiddle - 1), columnCount() - 1));
    }
    return;
  }
  if (oldMiddle > 0) {
    beginRemoveRows(QModelIndex(), static_cast<int>(head), static_cast<int>(head + oldMiddle - 1));
    const auto from = static_cast<std::ptrdiff_t>(head);
    const auto to = static_cast<std::ptrdiff_t>(head + oldMiddle);
    shown_.erase(shown_.begin() + from, shown_.begin() + to);
    rows_.erase(rows_.begin() + from, rows_.begin() + to);
    endRemoveRows();
  }
  if (newMiddle > 0) beginInsertRows(QModelIndex(), static_cast<int>(head), static_cast<int>(head + newMiddle - 1));
  rows_ = std::move(newRows);
  shown_ = std::move(next);
  if (newMiddle > 0) endInsertRows();
}

std::optional<std::size_t> LedgerModel::tableIndex(int viewRow) const {
  if (viewRow < 0 || static_cast<std::size_t>(viewRow) >= rows_.size()) return std::nullopt;
  // Between a change of the table and sync() the views may still ask about
  // rows the table no longer has.
  const std::size_t index = rows_[static_cast<std::size_t>(viewRow)];
  if (!table_ || index >= table_->size()) return std::nullopt;
  return index;
}

std::optional<int> LedgerModel::viewRow(std::size_t tableIndex) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), tableIndex);
  if (at == rows_.end() || *at != tableIndex) return std::nullopt;
  return static_cast<int>(at - rows_.begin());
}

QString LedgerModel::text(int viewRow, int column) const {
  if (viewRow < 0 || static_cast<std::size_t>(viewRow) >= shown_.size()) return QString();
  if (column < 0 || static_cast<std::size_t>(column) >= columns_.size()) return QString();
  const Shown& row = shown_[static_cast<std::size_t>(viewRow)];
  const int cell = columns_[static_cast<std::size_t>(column)].cell;
  if (cell == ColumnSpec::kKeyCell) return ToQString(row.key);
  if (static_cast<std::size_t>(cell) >= row.cells.size()) return QString();
  return ToQString(row.cells[static_cast<std::size_t>(cell)]);
}

int LedgerModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int LedgerModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant LedgerModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
      QString t = text(index.row(), index.column());
      if (role == Qt::DisplayRole) t.replace(QLatin1String("\r\n"), QLatin1String(" "));
      return t;
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columns_[static_cast<std::size_t>(index.column())].alignment | Qt::AlignVCenter);
    case Qt::CheckStateRole:
      if (index.column() == markColumn_) {
        return shown_[static_cast<std::size_t>(index.row())].mark ? Qt::Checked : Qt::Unchecked;
      }
      return {};
    default: return {};
  }
}

QVariant LedgerModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || static_cast<std::size_t>(section) >= columns_.size()) return {};
  if (role == Qt::DisplayRole) return columns_[static_cast<std::size_t>(section)].caption;
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(columns_[static_cast<std::size_t>(section)].alignment | Qt::AlignVCenter);
  }
  return {};
}

Qt::ItemFlags LedgerModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace tomvik::app
