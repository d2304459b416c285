// The questions and error messages of the window, in one place.
//
// Every question is a confirmation box titled "確認" with the question icon,
// placed with its top-left corner at the main window's centre moved left by
// 100 and up by 50 pixels. Tests replace the prompter to answer without a box.
#pragma once

#include <QPoint>
#include <QString>

#include "core/records/atomic_file.h"

class QWidget;

namespace tomvik::app {

enum class Answer { Yes, No, Cancel };

class Prompter {
 public:
  virtual ~Prompter() = default;
  // "はい(&Y)" / "いいえ(&N)"; closing the box counts as No.
  virtual bool askYesNo(QWidget* window, const QString& message);
  // "はい(&Y)" / "いいえ(&N)" / "キャンセル"; closing the box counts as Cancel.
  virtual Answer askYesNoCancel(QWidget* window, const QString& message);
  // An error box with one OK button.
  virtual void showError(QWidget* window, const QString& message);
  // A warning box titled "注意" with one OK button: something the user
  // should know, while the work goes on.
  virtual void showWarning(QWidget* window, const QString& message);
};

// The file and the system's reason, for an error message.
QString DescribeFileError(const core::FileError& error);

// Where a question box of the window goes: its top-left corner.
QPoint QuestionPosition(const QWidget* window);

}  // namespace tomvik::app
