// Tomvik: a trading journal for Japanese shares.
#include <QApplication>
#include <QDate>

#include <cstdio>
#include <cstdlib>

#include "app/shell/folder_lock.h"
#include "app/shell/prompter.h"
#include "app/window/base_folder.h"
#include "app/window/form_main.h"
#include "app/window/startup_guard.h"
#include "app/window/termination.h"

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
  QGuiApplication::setDesktopFileName("org.tomvik.Tomvik");
  return tomvik::app::RunGuarded([] {
    // Beside the executable when that folder is writable, else in the
    // user's data folder (an installed program).
    const std::filesystem::path baseFolder = tomvik::app::ProgramBaseFolder();
    // One Tomvik per folder of books, held until the program ends.
    tomvik::app::Prompter prompter;
    const auto folderLock = tomvik::app::OpenBooksFolder(baseFolder, prompter);
    if (!folderLock) return EXIT_FAILURE;
    // The sample data's demo starts on the sample's own "today".
    QDate today = QDate::currentDate();
    if (const char* forced = std::getenv("TOMVIK_TODAY")) {
      const QDate date = QDate::fromString(QString::fromLatin1(forced), Qt::ISODate);
      if (date.isValid()) today = date;
    }
    tomvik::app::TFormMain window(baseFolder, today);
    tomvik::app::CloseOnTermination(window);
    window.show();
    return QApplication::exec();
  });
}
