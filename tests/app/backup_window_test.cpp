// The copies of the books that a run keeps before its first save over them:
// made once per file and run, twenty kept per file, and a copy that cannot
// be made is reported without stopping the save.
#include <gtest/gtest.h>

#include <QTreeView>

#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/sjis_text.h"
#include "app/window_on_folder.h"
#include "core/records/atomic_file.h"
#include "core/records/backup.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::ToSjis;

std::string ReadBytes(const fs::path& path) { return tomvik::core::ReadWholeFile(path).bytes; }

bool Holds(const fs::path& file, const QString& text) {
  return ReadBytes(file).find(ToSjis(text)) != std::string::npos;
}

class Backups : public tomvik::testing::WindowOnFolder {
 protected:
  void SetUp() override {
    copyFixtures({"201103.txt", "Hold.txt", "Code.txt"});
    month_ = ReadBytes(folder() / "201103.txt");
  }
  std::vector<fs::path> copies(const char* name) { return tomvik::core::ListBackups(folder() / name); }

  std::string month_;
};

TEST_F(Backups, TheFirstSaveOfARunKeepsTheFileAsItWasAndLaterSavesDoNot) {
  open(dayWithoutNote());
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
  open(dayWithoutNote());
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
  open(dayWithoutNote());
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
  open(dayWithoutNote());
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
