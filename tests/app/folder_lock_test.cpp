// One program per folder, and what a killed program leaves behind: a second
// start beside a running one, a start after a crash, and saves killed at any
// moment followed by the next start.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeView>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "app/layout_support.h"
#include "app/shell/folder_lock.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_support.h"
#include "core/books.h"
#include "core/records/atomic_file.h"
#include "core/records/cp932.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::Answer;
using tomvik::app::OpenBooksFolder;
using tomvik::app::TFormMain;
using tomvik::testing::ScriptedPrompter;
using tomvik::testing::UserDriver;

std::string ReadBytes(const fs::path& path) { return tomvik::core::ReadWholeFile(path).bytes; }

void WriteBytes(const fs::path& path, const std::string& bytes) {
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(path, bytes).has_value()) << path;
}

QString Native(const fs::path& path) { return QString::fromStdString(path.string()); }

// Every file under the folder with its bytes, hidden ones included.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    files[name] = entry.is_regular_file() ? ReadBytes(entry.path()) : std::string("<folder>");
  }
  return files;
}

// The helper process of the tests, started with its arguments; it says one
// word when it is ready.
class Child {
 public:
  explicit Child(const QStringList& arguments) { process_.start(QStringLiteral(TOMVIK_TEST_CHILD), arguments); }
  ~Child() { kill(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  QString firstWord() {
    if (!process_.waitForReadyRead(20000)) return QString();
    return QString::fromLatin1(process_.readLine()).trimmed();
  }
  qint64 pid() const { return process_.processId(); }
  // SIGKILL: the process ends at once, in the middle of whatever it does.
  void kill() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(20000);
  }

 private:
  QProcess process_;
};

class FolderLockTest : public ::testing::Test {
 protected:
  fs::path folder() const { return fs::path(dir_.path().toStdString()); }
  void copyFixture(const char* name) {
    fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / name, folder() / name);
  }

  QTemporaryDir dir_;
  ScriptedPrompter prompter_;
};

TEST_F(FolderLockTest, ASecondStartOnAFolderInUseIsRefusedAndTouchesNothing) {
  copyFixture("Hold.txt");
  // The running program's save under way must survive the refused start.
  WriteBytes(folder() / ".Hold.txt.tmp-a1B2c3", "a save under way");
  Child running({QStringLiteral("hold"), Native(folder())});
  ASSERT_EQ(running.firstWord(), QStringLiteral("held"));
  const auto before = Snapshot(folder());
  ASSERT_TRUE(before.count("TMVK.lock"));

  EXPECT_EQ(OpenBooksFolder(folder(), prompter_), nullptr);
  ASSERT_EQ(prompter_.errors.size(), 1u);
  const QString& message = prompter_.errors[0];
  EXPECT_TRUE(message.contains(QStringLiteral("別の Tomvik（プロセス ID %1").arg(running.pid())))
      << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("使用中"))) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("終了します"))) << message.toStdString();
  EXPECT_TRUE(prompter_.asked.empty());
  EXPECT_EQ(Snapshot(folder()), before);
}

TEST_F(FolderLockTest, ALockLeftByAKilledProgramDoesNotBlockTheNextStart) {
  copyFixture("Hold.txt");
  const std::string holdings = ReadBytes(folder() / "Hold.txt");
  WriteBytes(folder() / ".Hold.txt.tmp-a1B2c3", "the crashed program's unfinished save");
  WriteBytes(folder() / ".notes.txt.tmp-a1B2c3", "someone else's");
  {
    Child crashed({QStringLiteral("hold"), Native(folder())});
    ASSERT_EQ(crashed.firstWord(), QStringLiteral("held"));
    crashed.kill();
  }
  ASSERT_TRUE(fs::exists(folder() / "TMVK.lock"));  // left behind

  {
    auto lock = OpenBooksFolder(folder(), prompter_);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->held());
    EXPECT_TRUE(prompter_.errors.empty());
    EXPECT_TRUE(prompter_.asked.empty());
    EXPECT_FALSE(fs::exists(folder() / ".Hold.txt.tmp-a1B2c3"));
    EXPECT_TRUE(fs::exists(folder() / ".notes.txt.tmp-a1B2c3"));

    // The window opens on the folder as usual.
    TFormMain window(folder(), QDate(2011, 3, 15));
    window.setPrompter(std::make_unique<ScriptedPrompter>());
    UserDriver user(window);
    user.showActive();
    EXPECT_EQ(user.find<QTreeView>("ListViewHold")->model()->rowCount(), 4);

    // While it runs, another start is refused.
    Child second({QStringLiteral("hold"), Native(folder())});
    EXPECT_EQ(second.firstWord(), QStringLiteral("refused"));
  }
  // Closing releases the folder; nothing of the lock stays or reaches a file.
  EXPECT_FALSE(fs::exists(folder() / "TMVK.lock"));
  EXPECT_EQ(ReadBytes(folder() / "Hold.txt"), holdings);
}

TEST_F(FolderLockTest, ALockFileThatNamesNoProcessIsTakenOver) {
  // Cut short while it was being written, so no process can be found stale.
  WriteBytes(folder() / "TMVK.lock", "");
  auto lock = OpenBooksFolder(folder(), prompter_);
  ASSERT_NE(lock, nullptr);
  EXPECT_TRUE(lock->held());
  EXPECT_TRUE(prompter_.errors.empty());
}

TEST_F(FolderLockTest, WhenNoLockFileCanBeMadeTheUserDecides) {
  const fs::path missing = folder() / "not-there";
  prompter_.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(OpenBooksFolder(missing, prompter_), nullptr);
  ASSERT_EQ(prompter_.asked.size(), 1u);
  EXPECT_TRUE(prompter_.asked[0].contains(QStringLiteral("ロックファイル TMVK.lock を作れませんでした")));
  EXPECT_TRUE(prompter_.asked[0].contains(QStringLiteral("このまま起動しますか？")));

  const auto lock = OpenBooksFolder(missing, prompter_);
  ASSERT_NE(lock, nullptr);
  EXPECT_FALSE(lock->held());
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_TRUE(prompter_.errors.empty());
}

// Two versions of the four ledgers, each of about half a megabyte in all,
// so that a kill can land in the middle of any write.
constexpr int kRows = 2000;

void WriteVersion(const fs::path& folder, const std::string& v) {
  std::string hold = "=5000000,-125000\r\n";
  std::string loan;
  std::string code;
  std::string diary = "[2024/01/15(月)]\r\n 版" + v + "\r\n";
  for (int i = 0; i < kRows; ++i) {
    const std::string c = std::to_string(1000 + i);
    hold += "-買," + c + " 見本" + v + "電機,東証１部,100,412000,100,4120,4300,18000\r\n 版" + v + "の" + c + "\r\n";
    loan += "-買," + c + "52024/01/05001," + c + " 見本,東証１部,1000,412000,1000,412,430,18000\r\n 版" + v + "\r\n";
    code += "[" + c + "]\r\nN=見本" + v + "\r\nE=東証１部\r\nU=100\r\n\r\n";
    diary += "-買," + c + " 見本,東証１部,3500,100,1050,0,351050,\r\n 版" + v + "\r\n";
  }
  diary += "\r\n";
  fs::create_directories(folder);
  const std::pair<const char*, std::string*> files[] = {
      {"Hold.txt", &hold}, {"Loan.txt", &loan}, {"Code.txt", &code}, {"202401.txt", &diary}};
  for (const auto& [name, text] : files) WriteBytes(folder / name, tomvik::core::Utf8ToCp932(*text).text);
}

TEST_F(FolderLockTest, SavesKilledAtAnyMomentLeaveWholeFilesAndTheNextStartLeavesNoLeftovers) {
  const fs::path versions[] = {folder() / "A", folder() / "B"};
  WriteVersion(versions[0], "A");
  WriteVersion(versions[1], "B");
  const fs::path books = folder() / "books";
  fs::create_directory(books);
  const char* const ledgers[] = {"202401.txt", "Hold.txt", "Loan.txt", "Code.txt"};
  for (const char* name : ledgers) fs::copy_file(versions[0] / name, books / name);

  constexpr int kKills = 60;
  std::mt19937 random(14);
  // A turn of the child's saves (eight files) takes some tens of
  // milliseconds; the kills spread over it.
  std::uniform_int_distribution<int> delayMs(0, 40);
  const auto started = std::chrono::steady_clock::now();
  for (int kill = 0; kill < kKills; ++kill) {
    Child saving({QStringLiteral("save"), Native(books), Native(versions[0]), Native(versions[1])});
    ASSERT_EQ(saving.firstWord(), QStringLiteral("saving"));
    QThread::msleep(static_cast<unsigned long>(delayMs(random)));
    saving.kill();
    for (const char* name : ledgers) {
      const std::string bytes = ReadBytes(books / name);
      ASSERT_TRUE(bytes == ReadBytes(versions[0] / name) || bytes == ReadBytes(versions[1] / name))
          << name << " torn after kill " << kill;
    }
  }
  const auto elapsed = std::chrono::steady_clock::now() - started;

  int leftovers = 0;
  std::uintmax_t leftoverBytes = 0;
  for (const auto& entry : fs::directory_iterator(books)) {
    if (!tomvik::core::TemporaryFileTarget(entry.path().filename().string())) continue;
    ++leftovers;
    leftoverBytes += entry.file_size();
  }
  std::cout << kKills << " kills in " << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
            << " ms left " << leftovers << " temporary files, " << leftoverBytes << " bytes\n";

  // The next start: the leftovers go, the ledgers load whole.
  const auto lock = OpenBooksFolder(books, prompter_);
  ASSERT_NE(lock, nullptr);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(books)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"202401.txt", "Code.txt", "Hold.txt", "Loan.txt", "TMVK.lock"}));

  TFormMain window(books, QDate(2024, 1, 15));
  window.setPrompter(std::make_unique<ScriptedPrompter>());
  EXPECT_EQ(window.books().holdings.size(), std::size_t{kRows});
  EXPECT_EQ(window.books().positions.size(), std::size_t{kRows});
  EXPECT_EQ(window.books().stocks.size(), std::size_t{kRows});
  EXPECT_EQ(window.books().diary.size(), std::size_t{kRows} + 2);  // the header, the trades, the day's end
  EXPECT_TRUE(prompter_.errors.empty());
}

}  // namespace
