#include "app/shell/copy_menu.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStringList>
#include <QTreeView>

#include "app/shell/ledger_model.h"

namespace tomvik::app {

namespace {

const QLatin1Char kSeparator(',');
const QLatin1Char kLineEnd('\n');

QString Caption(const QAbstractItemModel& model, int column) {
  return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

bool RightAligned(const QAbstractItemModel& model, int column) {
  return model.headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)
      .value<Qt::Alignment>()
      .testFlag(Qt::AlignRight);
}

// The column that shows the row's own key (the stock code) is the row's
// caption, not one of its fields.
bool RowCaption(const QAbstractItemModel& model, int column) {
  const auto* ledger = qobject_cast<const LedgerModel*>(&model);
  return ledger && ledger->columns()[static_cast<std::size_t>(column)].cell == ColumnSpec::kKeyCell;
}

// A cell as it stands, a comment with its line breaks (LF, as the lines).
QString CellText(const QAbstractItemModel& model, int row, int column) {
  QString text;
  if (const auto* ledger = qobject_cast<const LedgerModel*>(&model)) {
    text = ledger->text(row, column);
  } else {
    text = model.index(row, column).data(Qt::DisplayRole).toString();
  }
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return text;
}

// The columns a line holds, in order.
std::vector<int> LineColumns(const QAbstractItemModel& model, const CopyOptions& options, bool commentLast) {
  int last = model.columnCount() - 1;
  if (commentLast && !options.withComments) --last;
  std::vector<int> columns;
  for (int c = 0; c <= last; ++c) {
    if (!Caption(model, c).isEmpty() && !RowCaption(model, c)) columns.push_back(c);
  }
  return columns;
}

QAction* MakeAction(QMenu* menu, const QString& text, const char* name) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QLatin1String(name));
  return action;
}

}  // namespace

QString CopiedItem(const QAbstractItemModel& model, int row, int column) { return CellText(model, row, column); }

QString CopiedLines(const QAbstractItemModel& model, const std::vector<int>& rows, const CopyOptions& options,
                    bool commentLast) {
  const std::vector<int> columns = LineColumns(model, options, commentLast);
  std::vector<bool> figures;
  for (int c : columns) figures.push_back(RightAligned(model, c));
  QString text;
  auto addLine = [&text](const QStringList& fields) {
    text += fields.join(kSeparator);
    text += kLineEnd;
  };
  if (options.withCaptions) {
    QStringList captions;
    for (int c : columns) captions << Caption(model, c);
    addLine(captions);
  }
  for (int row : rows) {
    QStringList fields;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      QString field = CellText(model, row, columns[i]);
      if (figures[i]) field.remove(kSeparator);
      fields << field;
    }
    addLine(fields);
  }
  return text;
}

CopyMenu::CopyMenu(QTreeView* list, CopyOptions* options, bool commentLast)
    : QObject(list), list_(list), options_(options), commentLast_(commentLast) {
  setObjectName(QStringLiteral("PopupCopyHandler"));
  menu_ = new QMenu(list);
  menu_->setObjectName(QStringLiteral("PopupCopy"));
  itemMenu_ = menu_->addMenu(QStringLiteral("項目コピー"));
  itemMenu_->setObjectName(QStringLiteral("PopupCopyItemMenu"));
  itemMenu_->menuAction()->setObjectName(QStringLiteral("PopupCopyItem"));
  menu_->addSeparator();
  connect(MakeAction(menu_, QStringLiteral("行コピー"), "PopupCopyLine"), &QAction::triggered, this,
          &CopyMenu::PopupCopyLineClick);
  connect(MakeAction(menu_, QStringLiteral("全コピー"), "PopupCopyAll"), &QAction::triggered, this,
          &CopyMenu::PopupCopyAllClick);
  QMenu* optionMenu = menu_->addMenu(QStringLiteral("+ オプション"));
  optionMenu->setObjectName(QStringLiteral("PopupCopyOptionMenu"));
  optionMenu->menuAction()->setObjectName(QStringLiteral("PopupCopyOption"));
  QAction* withCaptions = MakeAction(optionMenu, QStringLiteral("項目名付き"), "PopupCopyOption1");
  QAction* withComments = MakeAction(optionMenu, QStringLiteral("コメント付き"), "PopupCopyOption2");
  for (QAction* tick : {withCaptions, withComments}) tick->setCheckable(true);
  connect(withCaptions, &QAction::toggled, this, [this](bool on) { options_->withCaptions = on; });
  connect(withComments, &QAction::toggled, this, [this](bool on) { options_->withComments = on; });
  // The ticks are shared by every list: each opening shows their state.
  connect(menu_, &QMenu::aboutToShow, this, [this, withCaptions, withComments] {
    withCaptions->setChecked(options_->withCaptions);
    withComments->setChecked(options_->withComments);
  });

  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupCopyPopup();
    menu_->popup(list_->viewport()->mapToGlobal(at));
  });
}

int CopyMenu::selectedRow() const {
  const QModelIndexList rows = list_->selectionModel() ? list_->selectionModel()->selectedRows() : QModelIndexList();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void CopyMenu::PopupCopyPopup() {
  itemMenu_->clear();
  const QAbstractItemModel* model = list_->model();
  const bool hasRows = model && model->rowCount() > 0;
  const bool selected = hasRows && selectedRow() >= 0;
  itemMenu_->menuAction()->setEnabled(selected);
  menu_->findChild<QAction*>(QStringLiteral("PopupCopyLine"))->setEnabled(selected);
  menu_->findChild<QAction*>(QStringLiteral("PopupCopyAll"))->setEnabled(hasRows);
  if (!selected) return;
  for (int c = 0; c < model->columnCount(); ++c) {
    const QString caption = Caption(*model, c);
    if (caption.isEmpty()) continue;
    connect(itemMenu_->addAction(caption), &QAction::triggered, this, [this, c] { PopupCopyItemClick(c); });
  }
}

void CopyMenu::PopupCopyItemClick(int column) {
  const int row = selectedRow();
  if (row < 0) return;
  QApplication::clipboard()->setText(CopiedItem(*list_->model(), row, column));
}

void CopyMenu::PopupCopyLineClick() {
  const int row = selectedRow();
  if (row < 0) return;
  QApplication::clipboard()->setText(CopiedLines(*list_->model(), {row}, *options_, commentLast_));
}

void CopyMenu::PopupCopyAllClick() {
  const QAbstractItemModel* model = list_->model();
  if (!model) return;
  std::vector<int> rows(static_cast<std::size_t>(model->rowCount()));
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
  QApplication::clipboard()->setText(CopiedLines(*model, rows, *options_, commentLast_));
}

CopyMenu* InstallCopyMenu(QTreeView* list, CopyOptions* options, bool commentLast) {
  return new CopyMenu(list, options, commentLast);
}

}  // namespace tomvik::app
