// Driving the window as a user does: a shown, active window; the focus moved
// by a click or by Tab; keys typed into the focused field; drop-down items
// chosen with the mouse in the drop-down's own list; buttons clicked. Every
// leave, change and choice a handler sees comes from these real events.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "app/layout_support.h"

namespace tomvik::testing {

class UserDriver {
 public:
  explicit UserDriver(QWidget& window) : window_(window) {}

  // Shows the window and waits until it is the active one.
  void showActive() {
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  template <typename T>
  T* find(const char* name) {
    return Named<T>(window_, name);
  }

  // A click in the middle of a control (a field takes the focus).
  void click(QWidget* widget) {
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    // A check box or radio button is clicked on its mark, which a wide
    // button does not have in its middle.
    QPoint at = widget->rect().center();
    if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) at.setX(qMin(8, at.x()));
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
  }
  void click(const char* name) { click(find<QWidget>(name)); }

  // Clicks into a field and types over what it holds. Japanese arrives as
  // an input method's commit.
  void typeInto(QWidget* field, const QString& text) {
    click(field);
    ASSERT_TRUE(field->hasFocus()) << field->objectName().toStdString();
    QWidget* target = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(field); line && !line->inputMask().isEmpty()) {
      QTest::keyClick(target, Qt::Key_Home);
    } else {
      QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    }
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      QTest::keyClicks(target, text);
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QCoreApplication::sendEvent(target, &commit);
    }
    QCoreApplication::processEvents();
  }
  void typeInto(const char* name, const QString& text) { typeInto(find<QWidget>(name), text); }

  // Moves the focus on with the Tab key.
  void tab() {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_Tab);
    QCoreApplication::processEvents();
  }

  // Opens the drop-down and clicks the first item whose text starts with `text`.
  void choose(QComboBox* combo, const QString& text) {
    click(combo);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(view->isVisible()) << combo->objectName().toStdString();
    int row = -1;
    for (int i = 0; i < combo->count(); ++i) {
      if (combo->itemText(i).startsWith(text)) {
        row = i;
        break;
      }
    }
    ASSERT_GE(row, 0) << text.toStdString();
    const QModelIndex index = view->model()->index(row, combo->modelColumn(), view->rootIndex());
    view->scrollTo(index);
    // An item may be wider than the list shows: aim within the visible part.
    const QPoint at(qMin(view->visualRect(index).center().x(), view->viewport()->width() / 2),
                    view->visualRect(index).center().y());
    // The pointer moves down to the item (the list takes no release until
    // it has moved away from where it was opened), then clicks it.
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &move);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);

    QCoreApplication::processEvents();
  }
  void choose(const char* combo, const QString& text) { choose(find<QComboBox>(combo), text); }

  // A click (or a double click) on a row of a list.
  void clickRow(QTreeView* list, int row, bool twice = false) {
    const QModelIndex index = list->model()->index(row, 1);
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
  }
  void clickRow(const char* list, int row, bool twice = false) { clickRow(find<QTreeView>(list), row, twice); }

  // A click on a tab's caption brings it to the front.
  void chooseTab(const char* tabWidget, int index) {
    auto* tabs = find<QTabWidget>(tabWidget);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCoreApplication::processEvents();
    ASSERT_EQ(tabs->currentIndex(), index);
  }

  // A button pressed with the mouse; it must be there to be pressed.
  void press(const char* name) {
    auto* button = find<QAbstractButton>(name);
    ASSERT_TRUE(button->isEnabled()) << name;
    click(button);
  }

 private:
  QWidget& window_;
};

}  // namespace tomvik::testing
