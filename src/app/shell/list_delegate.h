// Paints the cells of every list: the selected row in the selection colour
// whether or not the list (or the window) has the focus.
#pragma once

#include <QStyledItemDelegate>

namespace tomvik::app {

class ListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace tomvik::app
