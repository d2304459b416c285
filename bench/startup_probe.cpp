// One start of a program, for the start-up benchmark to time from outside.
// Built twice: as startup_probe_bare, linked with the toolkit's widgets
// only, it shows a main window with a menu bar and six empty tabs; as
// startup_probe, `startup_probe FOLDER YYYY-MM-DD` shows Tomvik's window on
// the folder. Either ends as soon as the window has been shown and painted.
#include <QApplication>
#include <QDate>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>

#ifndef TOMVIK_BARE_PROBE
#include "app/window/form_main.h"
#endif

namespace {

[[maybe_unused]] std::unique_ptr<QMainWindow> BareWindow() {
  auto window = std::make_unique<QMainWindow>();
  window->menuBar()->addMenu(QStringLiteral("設定(&O)"));
  auto* tabs = new QTabWidget(window.get());
  for (const char* caption : {"取引日記", "現物保有", "信用建玉", "銘柄管理", "期間集計", "模擬売買"}) {
    tabs->addTab(new QWidget(tabs), QString::fromUtf8(caption));
  }
  window->setCentralWidget(tabs);
  window->resize(660, 480);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef TOMVIK_BARE_PROBE
  QApplication app(argc, argv);
  std::unique_ptr<QMainWindow> window = BareWindow();
#else
  if (argc != 3) {
    std::fprintf(stderr, "usage: startup_probe FOLDER YYYY-MM-DD\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QDate today = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
  auto window = std::make_unique<tomvik::app::TFormMain>(std::filesystem::path(argv[1]), today);
#endif
  window->show();
  QCoreApplication::processEvents();
  // What a close would do is not start-up: leave at once.
  std::fflush(nullptr);
  std::_Exit(EXIT_SUCCESS);
}
