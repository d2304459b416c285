// Characters the files cannot hold: when the user leaves a field holding
// them, the field shows what will be stored and the user is told which
// characters become "?"; the file then holds exactly what was shown.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

#include <filesystem>
#include <string>

#include "app/shell/sjis_text.h"
#include "app/shell/storable_text.h"
#include "app/window_on_folder.h"
#include "core/records/atomic_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::ToSjis;

std::string ReadBytes(const fs::path& path) { return tomvik::core::ReadWholeFile(path).bytes; }

TEST(StorableText, NamesEachLostCharacterOnceAndKeepsTheRest) {
  const auto text = tomvik::app::ToStorableText(QStringLiteral("森鷗外と鷗と😀、～①ｱ\n二行目"));
  EXPECT_EQ(text.stored, QStringLiteral("森?外と?と?、～①ｱ\n二行目"));
  EXPECT_EQ(text.lost, QStringLiteral("鷗😀"));
  const auto plain = tomvik::app::ToStorableText(QStringLiteral("東証１部"));
  EXPECT_EQ(plain.stored, QStringLiteral("東証１部"));
  EXPECT_TRUE(plain.lost.isEmpty());
}

class UnstorableText : public tomvik::testing::WindowOnFolder {
 protected:
  void SetUp() override { copyFixtures({"Code.txt"}); }
  template <typename T>
  T* field(const char* name) {
    return user_->find<T>(name);
  }
};

TEST_F(UnstorableText, ANoteShowsWhatWillBeStoredAndTheFileHoldsJustThat) {
  open(dayWithoutNote());
  auto* note = field<QPlainTextEdit>("RichEditDiary");
  user_->typeInto(note, QStringLiteral("森鷗外と𠮷野家😀\n二行目"));
  EXPECT_TRUE(prompter_->warnings.empty());  // nothing while typing
  user_->tab();
  ASSERT_EQ(prompter_->warnings.size(), 1u);
  EXPECT_TRUE(prompter_->warnings[0].contains(QStringLiteral("「鷗」「𠮷」「😀」")))
      << prompter_->warnings[0].toStdString();
  EXPECT_TRUE(prompter_->warnings[0].contains(QStringLiteral("「?」になります")))
      << prompter_->warnings[0].toStdString();
  EXPECT_EQ(note->toPlainText(), QStringLiteral("森?外と?野家?\n二行目"));

  // Back into the field and out again: nothing more to say.
  user_->click(note);
  user_->tab();
  EXPECT_EQ(prompter_->warnings.size(), 1u);

  user_->press("ButtonDiaryAdd");
  save();
  EXPECT_NE(ReadBytes(folder() / "201103.txt").find(ToSjis(QStringLiteral(" 森?外と?野家?%n二行目\r\n"))),
            std::string::npos);
}

TEST_F(UnstorableText, AStockNameAndAnExchangeAreStoredAsShown) {
  open(dayWithoutNote());
  user_->typeInto("RichEditDiary", QStringLiteral("取引の日"));
  user_->press("ButtonDiaryAdd");
  user_->typeInto("MaskEditStockCode", QStringLiteral("1234"));
  user_->typeInto("EditStockName", QStringLiteral("鷗外電機"));
  user_->tab();  // leaving the name writes the stock into Code.txt at once
  EXPECT_EQ(field<QLineEdit>("EditStockName")->text(), QStringLiteral("?外電機"));
  ASSERT_EQ(prompter_->warnings.size(), 1u);
  EXPECT_TRUE(prompter_->warnings[0].contains(QStringLiteral("「鷗」")));
  EXPECT_NE(ReadBytes(folder() / "Code.txt").find(ToSjis(QStringLiteral("N=?外電機\r\n"))), std::string::npos);

  // The exchange is an editable drop-down: its text counts the same.
  auto* exchange = field<QComboBox>("ComboBoxStockExchange");
  user_->typeInto(exchange, QStringLiteral("札証🐻"));
  user_->tab();
  EXPECT_EQ(exchange->currentText(), QStringLiteral("札証?"));
  ASSERT_EQ(prompter_->warnings.size(), 2u);
  EXPECT_TRUE(prompter_->warnings[1].contains(QStringLiteral("「🐻」")));
}

TEST_F(UnstorableText, ATextThatCameFromAFileIsLeftAsItIsWhenOnlyPassedThrough) {
  // A hand-edited note with a byte that is no CP932 character: shown as
  // U+FFFD, and not the user's doing, so passing through it says nothing.
  ASSERT_FALSE(tomvik::core::WriteFileAtomically(folder() / "201103.txt", "[2011/03/20(\x93\xfa)]\r\n \x81\x7f\r\n\r\n")
                   .has_value());
  open(dayWithoutNote());
  auto* list = field<QTreeView>("ListViewDiary");
  ASSERT_GE(list->model()->rowCount(), 1);
  user_->clickRow(list, 0, true);  // the day's header: its note comes into the panel
  auto* note = field<QPlainTextEdit>("RichEditDiary");
  const QString loaded = note->toPlainText();
  ASSERT_TRUE(loaded.contains(QChar(0xFFFD))) << loaded.toStdString();
  user_->click(note);
  user_->tab();
  EXPECT_EQ(note->toPlainText(), loaded);
  EXPECT_TRUE(prompter_->warnings.empty());
}

}  // namespace
