#include "app/shell/ledger_model.h"

#include <algorithm>

#include "app/shell/sjis_text.h"

namespace tomvik::app {

LedgerModel::LedgerModel(const core::LedgerTable* table, std::vector<ColumnSpec> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
  rows_ = visibleIndices();
  shown_ = snapshot(rows_);
}

void LedgerModel::setRowFilter(RowFilter filter) {
  beginResetModel();
  filter_ = std::move(filter);
  rows_ = visibleIndices();
  shown_ = snapshot(rows_);
  endResetModel();
}

void LedgerModel::setTable(const core::LedgerTable* table) {
  beginResetModel();
  table_ = table;
  rows_ = visibleIndices();
  shown_ = snapshot(rows_);
  endResetModel();
}

std::vector<std::size_t> LedgerModel::visibleIndices() const {
  std::vector<std::size_t> indices;
  if (!table_) return indices;
  indices.reserve(table_->size());
  for (std::size_t i = 0; i < table_->size(); ++i) {
    if (!filter_ || filter_((*table_)[i])) indices.push_back(i);
  }
  return indices;
}

std::vector<LedgerModel::Shown> LedgerModel::snapshot(const std::vector<std::size_t>& indices) const {
  std::vector<Shown> shown;
  shown.reserve(indices.size());
  for (std::size_t index : indices) {
    const core::LedgerRow& row = (*table_)[index];
    shown.push_back(Shown{row.key, row.cells, row.mark});
  }
  return shown;
}

void LedgerModel::sync() {
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
