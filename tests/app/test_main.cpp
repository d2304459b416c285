// The app tests run with a QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdlib>

int main(int argc, char** argv) {
  // Test discovery runs this binary at build time, without CTest's
  // environment: choose the offscreen platform here when none is set.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QString dir = QDir::temp().filePath("tomvik-test-runtime");
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", dir.toLocal8Bit().constData(), 1);
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
