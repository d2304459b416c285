#include "app/shell/list_delegate.h"

#include <QPainter>

#include "app/shell/ledger_model.h"

namespace tomvik::app {

namespace {

const QColor kGrid(0xd8, 0xd8, 0xd8);
// A figure ends this far before the cell's right edge (a bold one a pixel
// nearer), and never starts closer than this to its left edge.
constexpr int kFigureRightMargin = 7;
constexpr int kFigureLeftMargin = 5;
constexpr int kTextMargin = 4;
const QString kEllipsis = QStringLiteral("...");

}  // namespace

ListDelegate::ListDelegate(QObject* parent) : QStyledItemDelegate(parent), colours_(StandardSystemColours()) {}

void ListDelegate::setList(ListKind list) {
  list_ = list;
  columns_ = Columns{};
}

int ListDelegate::CellMargins() { return kFigureLeftMargin + kFigureRightMargin + 1; }

QString ListDelegate::Shortened(const QString& text, const QFontMetrics& metrics, int room) {
  if (metrics.horizontalAdvance(text) <= room) return text;
  QString cut = text;
  while (cut.size() > 1) {
    // A character outside the basic plane goes as a whole.
    cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
    if (metrics.horizontalAdvance(cut) + metrics.horizontalAdvance(kEllipsis) <= room) break;
  }
  return cut + kEllipsis;
}

const ListDelegate::Columns& ListDelegate::columnsOf(const QAbstractItemModel* model) const {
  if (columns_.model == model && static_cast<int>(columns_.roles.size()) == model->columnCount()) return columns_;
  columns_ = Columns{};
  columns_.model = model;
  for (int c = 0; c < model->columnCount(); ++c) {
    const ColumnRole role = RoleOf(*list_, model->headerData(c, Qt::Horizontal).toString());
    columns_.roles.push_back(role);
    if (role == ColumnRole::Result && columns_.result < 0) columns_.result = c;
    if (role == ColumnRole::Position && columns_.position < 0) columns_.position = c;
  }
  return columns_;
}

CellStyle ListDelegate::styleOf(const QModelIndex& index, const QString& text, CellState state) const {
  if (!list_) return ListLook(state, colours_);
  const Columns& columns = columnsOf(index.model());
  const ColumnRole role = columns.roles[static_cast<std::size_t>(index.column())];
  RowFacts row;
  QString realised;
  QString position;
  if (const auto* ledger = qobject_cast<const LedgerModel*>(index.model())) {
    if (const auto at = ledger->tableIndex(index.row())) row.key = (*ledger->table())[*at].key;
  }
  if (*list_ == ListKind::Simulation && (role == ColumnRole::Kind || role == ColumnRole::Total)) {
    if (columns.result >= 0) realised = index.siblingAtColumn(columns.result).data().toString();
    if (columns.position >= 0) position = index.siblingAtColumn(columns.position).data().toString();
    row.realised = realised;
    row.position = position;
  }
  return StyleOf(*list_, role, text, row, state, colours_);
}

QSize ListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  // Laying a text out is what a size costs; the list asks again for the
  // same few cells (its first row) after every change.
  if (cell.font != sizesFont_ || sizes_.size() > 512) {
    sizes_.clear();
    sizesFont_ = cell.font;
  }
  const QString key = QString::number(static_cast<int>(cell.features)) + QLatin1Char(' ') + cell.text;
  if (const auto known = sizes_.constFind(key); known != sizes_.constEnd()) return *known;
  const QSize size = QStyledItemDelegate::sizeHint(option, index);
  sizes_.insert(key, size);
  return size;
}

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  painter->save();
  paintCell(painter, option, index);
  painter->restore();
}

void ListDelegate::paintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const CellState state{option.state.testFlag(QStyle::State_Selected), option.widget && option.widget->hasFocus()};
  const QString text = index.data(Qt::DisplayRole).toString();
  const CellStyle style = styleOf(index, text, state);
  const QRect cell = option.rect;

  painter->fillRect(cell, style.background);
  painter->setPen(kGrid);
  painter->drawLine(cell.topRight(), cell.bottomRight());
  painter->drawLine(cell.bottomLeft(), cell.bottomRight());

  if (index.data(Qt::CheckStateRole).isValid()) {
    // The stock master's code with its check mark: the style draws the
    // mark, in the cell's colours.
    QStyleOptionViewItem marked(option);
    marked.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      marked.palette.setColor(group, QPalette::Text, style.text);
    }
    marked.font.setBold(style.bold);
    QStyledItemDelegate::paint(painter, marked, index);
    return;
  }
  if (text.isEmpty()) return;

  QFont font = option.font;
  font.setBold(style.bold);
  painter->setFont(font);
  painter->setPen(style.text);

  Qt::Alignment alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  QRect room = cell.adjusted(kTextMargin, 0, -kTextMargin - 1, -1);
  if (style.place == TextPlace::Kind) {
    alignment = Qt::AlignHCenter;
  } else if (style.place == TextPlace::Amount || alignment.testFlag(Qt::AlignRight)) {
    // A bold figure sits a pixel further right, in a room as wide.
    alignment = Qt::AlignRight;
    const int shift = style.bold ? 1 : 0;
    room = cell.adjusted(kFigureLeftMargin + shift, 0, -kFigureRightMargin + shift, -1);
  } else {
    alignment &= Qt::AlignHorizontal_Mask;
  }
  painter->drawText(room, static_cast<int>(alignment | Qt::AlignVCenter) | Qt::TextSingleLine,
                    Shortened(text, QFontMetrics(font), room.width()));
}

}  // namespace tomvik::app
