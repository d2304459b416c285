// What the layout tests of every tab share: finding controls by objectName,
// letting layouts settle, checking that nothing is cut off, and grabbing the
// tab to a PNG when TOMVIK_SCREENSHOT_DIR names a folder.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace tomvik::testing {

template <typename T>
T* Named(QWidget& root, const char* name) {
  T* widget = root.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// Lets the layouts follow a resize or a change of what is shown.
inline void Settle(QWidget& widget) {
  QCoreApplication::processEvents();
  if (widget.layout()) widget.layout()->activate();
}

// Every shown control lies inside the tab, and every shown caption has the
// room its text needs.
inline void ExpectNothingClipped(QWidget& tab) {
  const QRect area = tab.rect();
  for (QWidget* child : tab.findChildren<QWidget*>()) {
    if (!child->isVisibleTo(&tab) || child->objectName().isEmpty()) continue;
    if (child->objectName().startsWith(QLatin1String("qt_"))) continue;
    const QRect box(child->mapTo(&tab, QPoint(0, 0)), child->size());
    EXPECT_TRUE(area.contains(box)) << child->objectName().toStdString();
  }
  for (QLabel* label : tab.findChildren<QLabel*>()) {
    if (!label->isVisibleTo(&tab) || label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
  }
  for (QAbstractButton* button : tab.findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(&tab) || button->text().isEmpty()) continue;
    EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
  }
}

inline void SaveShot(QWidget& widget, const char* name) {
  const QByteArray dir = qgetenv("TOMVIK_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  EXPECT_TRUE(widget.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name)));
}

}  // namespace tomvik::testing
