#include "app/window/startup_guard.h"

#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace tomvik::app {

namespace {

void Report(const char* what) {
  std::fprintf(stderr, "tomvik: %s\n", what);
  std::fflush(stderr);
  QMessageBox::critical(
      nullptr, QStringLiteral("Tomvik"),
      QStringLiteral("エラーが起きたため、Tomvik を続けられません。\n\n") + QString::fromLocal8Bit(what));
}

}  // namespace

int RunGuarded(const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::exception& error) {
    Report(error.what());
  } catch (...) {
    Report("unknown error");
  }
  return EXIT_FAILURE;
}

}  // namespace tomvik::app
