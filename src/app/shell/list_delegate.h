// Paints the cells of a list: each cell in the colours its list's rules give
// (cell_styles.h), figures right-aligned and shortened with "..." when the
// column is too narrow, thin grid lines between the cells. The selected row
// keeps the selection's colours when the list loses the focus, muted.
//
// Every list gets one when it is made; until it is told which list it
// serves it paints only the plain look (window, selection, grid).
#pragma once

#include <QFont>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

#include <optional>
#include <vector>

#include "app/shell/cell_styles.h"

class QFontMetrics;

namespace tomvik::app {

class ListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit ListDelegate(QObject* parent = nullptr);

  void setList(ListKind list);
  std::optional<ListKind> list() const { return list_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // As the toolkit works it out, remembered for each text and font.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // What a cell takes beside its text: the margins and the grid line.
  static int CellMargins();
  // The text as drawn in `room` pixels: whole when it fits, else cut at its
  // end and followed by "...".
  static QString Shortened(const QString& text, const QFontMetrics& metrics, int room);

 private:
  struct Columns {
    const QAbstractItemModel* model = nullptr;
    std::vector<ColumnRole> roles;
    int result = -1;  // the simulation's 売買損益 and 保有, which its rows' looks depend on
    int position = -1;
  };
  void paintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
  const Columns& columnsOf(const QAbstractItemModel* model) const;
  CellStyle styleOf(const QModelIndex& index, const QString& text, CellState state) const;

  std::optional<ListKind> list_;
  SystemColours colours_;
  mutable Columns columns_;
  mutable QFont sizesFont_;  // the font the sizes were worked out for
  mutable QHash<QString, QSize> sizes_;
};

}  // namespace tomvik::app
