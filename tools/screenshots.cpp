// Opens the window on a data folder and writes a PNG of every tab.
//
//   tomvik_screenshots <data folder> <output folder> [yyyy-mm-dd]
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include "app/shell/form_main.h"

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
  const char* names[] = {"diary", "holdings", "margin", "stocks", "totals", "simulation"};
  for (int i = 0; i < tabs->count(); ++i) {
    window.showTab(i);
    QTest::qWait(100);
    const QString path = QDir(out).filePath(QStringLiteral("%1-%2.png").arg(i).arg(QLatin1String(names[i])));
    if (!window.grab().save(path)) {
      std::fprintf(stderr, "tomvik_screenshots: cannot write %s\n", qPrintable(path));
      return 1;
    }
    std::printf("%s\n", qPrintable(path));
  }
  // The window is not closed through its close box: nothing is saved.
  return 0;
}
