// The edit menu of the comment fields (PopupEdit), in Japanese: undo, cut,
// copy, paste, delete and select all, acting on the field it was opened on.
#pragma once

#include <QObject>

class QMenu;
class QPlainTextEdit;

namespace tomvik::app {

class EditMenu : public QObject {
  Q_OBJECT

 public:
  explicit EditMenu(QPlainTextEdit* field);

  QMenu* menu() const { return menu_; }
  // Enables what the field allows now (PopupEditPopup).
  void PopupEditPopup();

 private:
  QPlainTextEdit* field_;
  QMenu* menu_;
};

// Gives the field the edit menu on a right click, in place of the toolkit's own.
EditMenu* InstallEditMenu(QPlainTextEdit* field);

}  // namespace tomvik::app
