// Where the program keeps its files, and the end of the program asked for
// from outside (SIGTERM) closing the window as the user would.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <filesystem>

#include "app/window/base_folder.h"
#include "app/window/form_main.h"
#include "app/window/termination.h"
#include "app/window_support.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::ChooseBaseFolder;
using tomvik::app::IsWritableFolder;

fs::path ToPath(const QString& folder) { return fs::path(QFile::encodeName(folder).toStdString()); }

TEST(BaseFolder, IsTheExecutablesFolderWhenWritableElseTheUsersDataFolder) {
  QTemporaryDir dir;
  const QString program = dir.filePath(QStringLiteral("bin"));
  const QString data = dir.filePath(QStringLiteral("home/.local/share/Tomvik"));
  ASSERT_TRUE(QDir().mkpath(program));

  // A folder of the user's own: the files stay beside the executable, and
  // no data folder is made.
  EXPECT_EQ(ChooseBaseFolder(program, data), ToPath(program));
  EXPECT_FALSE(QFileInfo::exists(data));

  // Installed read-only (also for an administrator, who could write there
  // anyway): the user's data folder, made with its parents.
  ASSERT_TRUE(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther));
  EXPECT_FALSE(IsWritableFolder(program));
  EXPECT_EQ(ChooseBaseFolder(program, data), ToPath(data));
  EXPECT_TRUE(QFileInfo(data).isDir());

  // A folder that is not there at all is not written to either.
  EXPECT_EQ(ChooseBaseFolder(dir.filePath(QStringLiteral("gone")), data), ToPath(data));
  (void)QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(Termination, ClosesTheWindowAsTheUserWouldAndWritesTheSettings) {
  QTemporaryDir dir;
  const fs::path folder = ToPath(dir.path());
  tomvik::app::TFormMain window(folder, QDate(2026, 12, 8));
  window.setPrompter(std::make_unique<tomvik::testing::ScriptedPrompter>());
  tomvik::app::CloseOnTermination(window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_FALSE(fs::exists(folder / "TMVK.ini"));

  std::raise(SIGTERM);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
  EXPECT_TRUE(fs::exists(folder / "TMVK.ini"));
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
