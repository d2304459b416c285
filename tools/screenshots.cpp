// Opens the window on a data folder and writes a PNG of every tab.
//
//   tomvik_screenshots <data folder> <output folder> [yyyy-mm-dd]
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include "app/window/form_main.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: tomvik_screenshots <data folder> <output folder> [yyyy-mm-dd]\n");
    return 2;
  }
  const QString data = QString::fromLocal8Bit(argv[1]);
  const QString out = QString::fromLocal8Bit(argv[2]);
  const QDate today = argc > 3 ? QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate) : QDate::currentDate();
  QDir().mkpath(out);

  tomvik::app::TFormMain window(std::filesystem::path(QFile::encodeName(data).toStdString()), today);
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "tomvik_screenshots: window not exposed\n");
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControlMain"));
  auto shoot = [&](const QString& name) {
    QTest::qWait(100);
    const QString path = QDir(out).filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
      std::fprintf(stderr, "tomvik_screenshots: cannot write %s\n", qPrintable(path));
      return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
  };
  const char* names[] = {"diary", "holdings", "margin", "stocks", "totals", "simulation"};
  for (int i = 0; i < tabs->count(); ++i) {
    window.showTab(i);
    if (i == 4) {
      // The period totals over the year so far, with their chart and calendar.
      if (auto* year = window.findChild<QRadioButton*>(QStringLiteral("RadioButtonTotalStartY"))) year->click();
      if (auto* total = window.findChild<QPushButton*>(QStringLiteral("ButtonTotal"))) total->click();
    }
    if (!shoot(QStringLiteral("%1-%2").arg(i).arg(QLatin1String(names[i])))) return 1;
  }

  // The diary panel in its other modes: a trade row loaded, then a cash movement.
  window.showTab(0);
  auto* list = window.findChild<QTreeView*>(QStringLiteral("ListViewDiary"));
  const int last = list->model()->rowCount() - 1;
  if (last >= 0) {
    list->setCurrentIndex(list->model()->index(last, 0));
    emit list->doubleClicked(list->model()->index(last, 0));
    if (!shoot(QStringLiteral("0-diary-trade"))) return 1;
  }
  auto* mode = window.findChild<QRadioButton*>(QStringLiteral("RadioButtonMode1"));
  auto* inOut = window.findChild<QCheckBox*>(QStringLiteral("CheckBoxInOut"));
  if (mode && mode->isEnabled() && inOut) {
    mode->click();
    inOut->click();
    if (!shoot(QStringLiteral("0-diary-cash"))) return 1;
  }
  // The window is not closed through its close box: nothing is saved.
  return 0;
}
