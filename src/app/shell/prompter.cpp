#include "app/shell/prompter.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace tomvik::app {
namespace {

Answer Ask(QWidget* window, const QString& message, bool withCancel) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), message, QMessageBox::NoButton, window);
  QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
  QPushButton* cancel = withCancel ? box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole) : nullptr;
  box.setDefaultButton(yes);
  box.setEscapeButton(withCancel ? static_cast<QAbstractButton*>(cancel) : no);
  if (window) {
    box.adjustSize();
    box.move(QuestionPosition(window));
  }
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (withCancel && box.clickedButton() != no) return Answer::Cancel;
  return Answer::No;
}

}  // namespace

QPoint QuestionPosition(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  return QPoint(frame.left() + frame.width() / 2 - 100, frame.top() + frame.height() / 2 - 50);
}

bool Prompter::askYesNo(QWidget* window, const QString& message) { return Ask(window, message, false) == Answer::Yes; }

Answer Prompter::askYesNoCancel(QWidget* window, const QString& message) { return Ask(window, message, true); }

void Prompter::showError(QWidget* window, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), message, QMessageBox::Ok, window);
  box.exec();
}

void Prompter::showWarning(QWidget* window, const QString& message) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("注意"), message, QMessageBox::Ok, window);
  box.exec();
}

QString DescribeFileError(const core::FileError& error) {
  return QString::fromLocal8Bit(error.path.string()) + QLatin1Char('\n') + QString::fromLocal8Bit(error.reason);
}

}  // namespace tomvik::app
