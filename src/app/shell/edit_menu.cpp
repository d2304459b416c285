#include "app/shell/edit_menu.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace tomvik::app {

namespace {

template <typename Slot>
QAction* AddItem(QMenu* menu, const QString& text, const char* name, QKeySequence::StandardKey key, Slot slot) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QLatin1String(name));
  // Shown beside the item as a reminder; the field itself handles the keys.
  action->setShortcut(key);
  action->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(action, &QAction::triggered, menu, slot);
  return action;
}

}  // namespace

EditMenu::EditMenu(QPlainTextEdit* field) : QObject(field), field_(field) {
  setObjectName(QStringLiteral("PopupEditHandler"));
  menu_ = new QMenu(field);
  menu_->setObjectName(QStringLiteral("PopupEdit"));
  AddItem(menu_, QStringLiteral("元に戻す(&U)"), "PopupEditUndo", QKeySequence::Undo, [this] { field_->undo(); });
  menu_->addSeparator();
  AddItem(menu_, QStringLiteral("切り取り(&T)"), "PopupEditCut", QKeySequence::Cut, [this] { field_->cut(); });
  AddItem(menu_, QStringLiteral("コピー(&C)"), "PopupEditCopy", QKeySequence::Copy, [this] { field_->copy(); });
  AddItem(menu_, QStringLiteral("貼り付け(&P)"), "PopupEditPaste", QKeySequence::Paste, [this] { field_->paste(); });
  AddItem(menu_, QStringLiteral("削除(&D)"), "PopupEditDelete", QKeySequence::Delete,
          [this] { field_->textCursor().removeSelectedText(); });
  menu_->addSeparator();
  AddItem(menu_, QStringLiteral("すべて選択(&A)"), "PopupEditSelectAll", QKeySequence::SelectAll,
          [this] { field_->selectAll(); });

  field_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(field_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupEditPopup();
    menu_->popup(field_->viewport()->mapToGlobal(at));
  });
}

void EditMenu::PopupEditPopup() {
  const bool selection = field_->textCursor().hasSelection();
  // A field that only shows its text offers nothing that would change it.
  const bool editable = !field_->isReadOnly();
  auto item = [this](const char* name) { return menu_->findChild<QAction*>(QLatin1String(name)); };
  item("PopupEditUndo")->setEnabled(editable && field_->document()->isUndoAvailable());
  item("PopupEditCut")->setEnabled(editable && selection);
  item("PopupEditCopy")->setEnabled(selection);
  item("PopupEditPaste")->setEnabled(editable);
  item("PopupEditDelete")->setEnabled(editable);
  item("PopupEditSelectAll")->setEnabled(true);
}

EditMenu* InstallEditMenu(QPlainTextEdit* field) { return new EditMenu(field); }

}  // namespace tomvik::app
