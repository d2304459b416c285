// A list view's model over a core ledger.
//
// The model shows the rows of a LedgerTable that its filter lets through (the
// diary hides its day end markers), one column per ColumnSpec, each cell's
// text exactly as core holds it. Core changes the table; sync() then tells
// the views what changed (rows inserted, removed or changed), so selections
// and scroll positions of untouched rows survive. The table's journal says
// which rows changed, so a sync costs the rows changed, not the rows shown;
// only after a wholesale change are all rows compared.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/records/ledger_table.h"

namespace tomvik::app {

// The ColumnSpec::cell of a row's column (core's column numbers are size_t).
constexpr int Cell(std::size_t column) { return static_cast<int>(column); }

struct ColumnSpec {
  QString caption;
  int cell = -1;  // index into the row's cells; kKeyCell shows the key
  Qt::Alignment alignment = Qt::AlignLeft;
  int width = 50;       // default width in pixels
  bool fixed = false;   // the user cannot resize it
  bool hidden = false;  // kept out of sight (reserved columns)
  static constexpr int kKeyCell = -1;
};

class LedgerModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using RowFilter = std::function<bool(const core::LedgerRow&)>;

  LedgerModel(const core::LedgerTable* table, std::vector<ColumnSpec> columns, QObject* parent = nullptr);

  // Rows for which the filter is false are not shown.
  void setRowFilter(RowFilter filter);
  // Column whose check box shows the row's mark (the stock master's code).
  void setMarkColumn(int column) { markColumn_ = column; }
  // Shows another table (or the same after a wholesale change) from scratch.
  void setTable(const core::LedgerTable* table);

  // Brings the views up to date with the table.
  void sync();

  const std::vector<ColumnSpec>& columns() const { return columns_; }
  const core::LedgerTable* table() const { return table_; }
  // Table index of a view row (none for a row the table no longer has),
  // and the view row of a table index.
  std::optional<std::size_t> tableIndex(int viewRow) const;
  std::optional<int> viewRow(std::size_t tableIndex) const;
  // A cell's text as shown.
  QString text(int viewRow, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct Shown {
    std::string key;
    std::vector<std::string> cells;
    bool mark = true;
    friend bool operator==(const Shown&, const Shown&) = default;
  };
  std::vector<Shown> snapshot(const std::vector<std::size_t>& indices) const;
  Shown shownOf(std::size_t tableIndex) const;
  std::vector<std::size_t> visibleIndices() const;
  bool shows(std::size_t tableIndex) const;
  // Replays the table's journal since the last sync; false when the journal
  // does not reach back that far (then every row is compared).
  bool followJournal();
  void compareAll();
  void startOver();

  const core::LedgerTable* table_;
  std::vector<ColumnSpec> columns_;
  RowFilter filter_;
  int markColumn_ = -1;
  std::vector<std::size_t> rows_;  // table index of each view row
  std::vector<Shown> shown_;       // what the views show now
  std::uint64_t seen_ = 0;         // the table's revision that shown_ reflects
};

}  // namespace tomvik::app
