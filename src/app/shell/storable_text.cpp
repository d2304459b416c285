#include "app/shell/storable_text.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include "app/shell/sjis_text.h"

namespace tomvik::app {
namespace {

bool Storable(const QString& character) {
  bool replaced = false;
  (void)ToSjis(character, &replaced);
  return !replaced;
}

// The editable text of a watched field, when the user has typed into it:
// texts the program filled in (a loaded row) are left as they are.
QLineEdit* TypedLineEdit(QObject* field) {
  QLineEdit* line = nullptr;
  if (auto* combo = qobject_cast<QComboBox*>(field)) {
    line = combo->isEditable() ? combo->lineEdit() : nullptr;
  } else {
    line = qobject_cast<QLineEdit*>(field);
  }
  if (!line || line->isReadOnly() || !line->inputMask().isEmpty() || !line->isModified()) return nullptr;
  return line;
}

class UnstorableTextGuard : public QObject {
 public:
  UnstorableTextGuard(QWidget* root, std::function<void(const QString&)> warn)
      : QObject(root), warn_(std::move(warn)) {}

  void watch(QWidget* field) { field->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::FocusOut) return false;
    // A drop-down or menu opening over the field, or another window coming
    // to the front, is no leaving of the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return false;
    QString lost;
    if (QLineEdit* line = TypedLineEdit(watched)) {
      lost = storeLine(line);
    } else if (auto* editor = qobject_cast<QPlainTextEdit*>(watched)) {
      lost = storeEditor(editor);
    }
    if (!lost.isEmpty()) {
      // Shown once the focus has settled in the next field, so that the box
      // does not interrupt the leave that is under way.
      QTimer::singleShot(0, this, [this, message = UnstorableTextMessage(lost)] { warn_(message); });
    }
    return false;
  }

 private:
  static QString storeLine(QLineEdit* line) {
    const StorableText text = ToStorableText(line->text());
    if (text.stored != line->text()) {
      // As if typed: the field stays modified and its edit signals fire.
      line->selectAll();
      line->insert(text.stored);
    }
    return text.lost;
  }

  static QString storeEditor(QPlainTextEdit* editor) {
    if (editor->isReadOnly() || !editor->document()->isModified()) return QString();
    const StorableText text = ToStorableText(editor->toPlainText());
    if (text.stored != editor->toPlainText()) {
      QTextCursor cursor(editor->document());
      cursor.select(QTextCursor::Document);
      cursor.insertText(text.stored);
    }
    return text.lost;
  }

  std::function<void(const QString&)> warn_;
};

}  // namespace

StorableText ToStorableText(const QString& text) {
  bool replaced = false;
  const std::string bytes = ToSjis(text, &replaced);
  StorableText result{ToQString(bytes), QString()};
  if (!replaced) return result;
  for (const char32_t code : text.toUcs4()) {
    const QString character = QString::fromUcs4(&code, 1);
    if (!result.lost.contains(character) && !Storable(character)) result.lost += character;
  }
  return result;
}

QString UnstorableTextMessage(const QString& lost) {
  QString listed;
  for (const char32_t code : lost.toUcs4()) {
    listed += QStringLiteral("「") + QString::fromUcs4(&code, 1) + QStringLiteral("」");
  }
  return QStringLiteral("次の文字はファイルの文字コード（Shift-JIS）にないため保存できず、「?」になります。\n\n") +
         listed + QStringLiteral("\n\n入力欄は保存される内容に置き換えました。");
}

void GuardUnstorableText(QWidget* root, std::function<void(const QString& message)> warn) {
  auto* guard = new UnstorableTextGuard(root, std::move(warn));
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      // The focus of an editable combo is the combo's own, not its line edit's.
      guard->watch(combo);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      const QWidget* owner = line->parentWidget();
      if (!qobject_cast<const QComboBox*>(owner) && !qobject_cast<const QAbstractSpinBox*>(owner)) guard->watch(line);
    } else if (qobject_cast<QPlainTextEdit*>(widget)) {
      guard->watch(widget);
    }
  }
}

}  // namespace tomvik::app
