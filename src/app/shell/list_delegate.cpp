#include "app/shell/list_delegate.h"

#include <QPainter>

#include "app/shell/widgets.h"

namespace tomvik::app {

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (!(option.state & QStyle::State_Selected)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem cell(option);
  cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    cell.palette.setColor(group, QPalette::Text, Qt::white);
    cell.palette.setColor(group, QPalette::WindowText, Qt::white);
  }
  painter->fillRect(option.rect, kHighlight);
  QStyledItemDelegate::paint(painter, cell, index);
}

}  // namespace tomvik::app
