// The copies of the books that a run keeps before its first save over them:
// made once per file and run, twenty kept per file, and a copy that cannot
// be made is reported without stopping the save.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/window/form_main.h"
#include "app/shell/ledger_model.h"
#include "app/shell/sjis_text.h"
#include "app/user_driver.h"
#include "app/window_support.h"
#include "core/records/atomic_file.h"
#include "core/records/backup.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::TFormMain;
using tomvik::app::ToSjis;
using tomvik::testing::ScriptedPrompter;
using tomvik::testing::UserDriver;

std::string ReadBytes(const fs::path& path) { return tomvik::core::ReadWholeFile(path).bytes; }

bool Holds(const fs::path& file, const QString& text) {
  return ReadBytes(file).find(ToSjis(text)) != std::string::npos;
}

class Backups : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"201103.txt", "Hold.txt", "Code.txt"}) {
      fs::copy_file(fs::path(TOMVIK_TEST_DATA_DIR) / "records" / name, folder() / name);
    }
    month_ = ReadBytes(folder() / "201103.txt");
  }

  fs::path folder() const { return fs::path(dir_.path().toStdString()); }

  // The window on a day of the fixture's month that has no note yet.
  void open() {
    window_ = std::make_unique<TFormMain>(folder(), QDate(2011, 3, 20));
    auto prompter = std::make_unique<ScriptedPrompter>();
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    user_ = std::make_unique<UserDriver>(*window_);
    user_->showActive();
  }
  void writeNote(const QString& note) {
    user_->typeInto("RichEditDiary", note);
    user_->press("ButtonDiaryAdd");
  }
  // Ctrl+S, which belongs to the Save item of the tab in front.
  void save() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
  }
  bool unsaved(const char* item) { return window_->findChild<QAction*>(QLatin1String(item))->isEnabled(); }
  std::vector<fs::path> copies(const char* name) { return tomvik::core::ListBackups(folder() / name); }

  QTemporaryDir dir_;
  std::string month_;
  std::unique_ptr<TFormMain> window_;
  std::unique_ptr<UserDriver> user_;
  ScriptedPrompter* prompter_ = nullptr;
};

TEST_F(Backups, TheFirstSaveOfARunKeepsTheFileAsItWasAndLaterSavesDoNot) {
  open();
  writeNote(QStringLiteral("初めての保存"));
  EXPECT_TRUE(copies("201103.txt").empty());  // nothing before a save
  save();
  ASSERT_FALSE(unsaved("MainMenuSave"));
  std::vector<fs::path> made = copies("201103.txt");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].parent_path(), folder() / "backup");
  EXPECT_EQ(ReadBytes(made[0]), month_);
  EXPECT_TRUE(Holds(folder() / "201103.txt", QStringLiteral("初めての保存")));

  // The note changed and saved again: the copy stays the one from before.
  auto* list = user_->find<QTreeView>("ListViewDiary");
  int header = -1;
  for (int row = 0; row < list->model()->rowCount(); ++row) {
    if (list->model()->index(row, 0).data().toString().startsWith(QStringLiteral("2011/03/20"))) header = row;
  }
  ASSERT_GE(header, 0);
  user_->clickRow(list, header, true);
  user_->typeInto("RichEditDiary", QStringLiteral("書き直した"));
  user_->press("ButtonDiaryUpd");
  ASSERT_TRUE(unsaved("MainMenuSave"));
  save();
  ASSERT_FALSE(unsaved("MainMenuSave"));
  EXPECT_TRUE(Holds(folder() / "201103.txt", QStringLiteral("書き直した")));
  made = copies("201103.txt");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(ReadBytes(made[0]), month_);
  // Files that were not saved have no copy.
  EXPECT_TRUE(copies("Hold.txt").empty());
  EXPECT_TRUE(copies("Code.txt").empty());
  EXPECT_TRUE(prompter_->warnings.empty());
}

TEST_F(Backups, TheTwentyFirstCopyRemovesTheOldest) {
  const fs::path backups = folder() / "backup";
  fs::create_directory(backups);
  for (int day = 1; day <= 20; ++day) {
    const tomvik::core::BackupTime time{2020, 1, day, 12, 0, 0};
    ASSERT_FALSE(tomvik::core::WriteFileAtomically(backups / tomvik::core::BackupFileName("201103.txt", time),
                                                   "copy " + std::to_string(day))
                     .has_value());
  }
  open();
  writeNote(QStringLiteral("二十一番目"));
  save();
  const std::vector<fs::path> made = copies("201103.txt");
  ASSERT_EQ(made.size(), 20u);
  EXPECT_EQ(made.front().filename(), "201103.20200102-120000.txt");
  EXPECT_FALSE(fs::exists(backups / "201103.20200101-120000.txt"));
  EXPECT_EQ(ReadBytes(made.back()), month_);
}

TEST_F(Backups, ACopyThatCannotBeMadeIsReportedAndTheSaveGoesOn) {
  // A file stands where the backup folder would go.
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(folder() / "backup", "not a folder").has_value());
  open();
  writeNote(QStringLiteral("それでも保存"));
  save();
  ASSERT_EQ(prompter_->warnings.size(), 1u);
  EXPECT_TRUE(prompter_->warnings[0].startsWith(QStringLiteral("取引日記のバックアップを作れませんでした。")))
      << prompter_->warnings[0].toStdString();
  EXPECT_TRUE(prompter_->errors.empty());
  EXPECT_FALSE(unsaved("MainMenuSave"));
  EXPECT_TRUE(Holds(folder() / "201103.txt", QStringLiteral("それでも保存")));
  EXPECT_EQ(ReadBytes(folder() / "backup"), "not a folder");
}

TEST_F(Backups, AStockWrittenBackFromAPanelFirstKeepsTheStockMasterAsItWas) {
  const std::string stocks = ReadBytes(folder() / "Code.txt");
  open();
  writeNote(QStringLiteral("取引の日"));  // the panel turns to trades
  user_->typeInto("MaskEditStockCode", QStringLiteral("1234"));
  user_->typeInto("EditStockName", QStringLiteral("見本電機工業"));
  user_->tab();  // leaving the name writes it into Code.txt at once
  EXPECT_TRUE(Holds(folder() / "Code.txt", QStringLiteral("N=見本電機工業")));
  const std::vector<fs::path> made = copies("Code.txt");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(ReadBytes(made[0]), stocks);
}

}  // namespace
