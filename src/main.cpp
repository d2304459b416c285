// Tomvik: a trading journal for Japanese shares.
#include <QApplication>
#include <QDate>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/window/form_main.h"
#include "app/window/startup_guard.h"

namespace {

// Without a display the toolkit would abort with a long message; say it in
// one line instead.
bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!HasDisplay()) {
    std::fprintf(stderr, "tomvik: no display found (DISPLAY is not set); start it on a desktop or under xvfb-run\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tomvik");
  return tomvik::app::RunGuarded([] {
    const std::filesystem::path baseFolder(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    // The sample data's demo starts on the sample's own "today".
    QDate today = QDate::currentDate();
    if (const char* forced = std::getenv("TOMVIK_TODAY")) {
      const QDate date = QDate::fromString(QString::fromLatin1(forced), Qt::ISODate);
      if (date.isValid()) today = date;
    }
    tomvik::app::TFormMain window(baseFolder, today);
    window.show();
    return QApplication::exec();
  });
}
