// The options dialog 動作環境, opened from the 設定 menu and driven as a user
// does: the name in the title, the flags, the old-version mode taking effect
// at once, the exchange list edited in place, and only the dialog's own keys
// written on OK. CANCEL and the frame's close change nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

#include "app/shell/sjis_text.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_on_folder.h"
#include "core/records/atomic_file.h"
#include "core/records/ini_file.h"

namespace {

namespace fs = std::filesystem;
using tomvik::app::ToQString;
using tomvik::testing::UserDriver;

const QStringList kBuiltIn = {"東証１部", "東証２部", "マザーズ", "ジャスダック", "ヘラクレス"};

class OptionsDialog : public tomvik::testing::WindowOnFolder {
 protected:
  tomvik::core::IniFile settingsFile() const {
    return tomvik::core::IniFile::Parse(tomvik::core::ReadWholeFile(folder() / "TMVK.ini").bytes);
  }
  QString setting(const char* section, const char* key) const {
    return ToQString(settingsFile().readString(section, key, "(none)"));
  }

  // Opens 動作環境 and lets `inside` work in the dialog.
  void options(std::function<void(QDialog&, UserDriver&)> inside) {
    UserDriver::whenModal([inside](QDialog& dialog) {
      UserDriver user(dialog);
      inside(dialog, user);
    });
    user_->chooseFromMenuBar("MenuOption", "MenuOptionSetup");
  }
  static void showPage(QDialog& dialog, int page) {
    QTabBar* bar = dialog.findChild<QTabWidget*>(QStringLiteral("PageControlOption"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
  }
  static QStringList names(QDialog& dialog) {
    QStringList list;
    auto* exchanges = dialog.findChild<QTreeWidget*>(QStringLiteral("ListViewExchg"));
    for (int i = 0; i < exchanges->topLevelItemCount(); ++i) list << exchanges->topLevelItem(i)->text(0);
    return list;
  }
  static void clickName(QDialog& dialog, int row) {
    auto* exchanges = dialog.findChild<QTreeWidget*>(QStringLiteral("ListViewExchg"));
    const QRect at = exchanges->visualItemRect(exchanges->topLevelItem(row));
    QTest::mouseClick(exchanges->viewport(), Qt::LeftButton, {}, at.center());
  }
  // Types into the name being edited in place and ends the edit with Enter.
  static void typeName(const QString& text) {
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(editor, &commit);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  QStringList comboItems(const char* name) {
    QStringList items;
    auto* combo = user_->find<QComboBox>(name);
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
  }
};

TEST_F(OptionsDialog, FirstOpeningShowsTheBuiltInNamesAndCancelChangesNothing) {
  open();
  bool shown = false;
  options([&](QDialog& dialog, UserDriver& user) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("動作環境"));
    EXPECT_FALSE(user.find<QCheckBox>("CheckBoxAutoSave")->isChecked());
    EXPECT_TRUE(user.find<QCheckBox>("CheckBoxChargeSave")->isChecked());
    EXPECT_FALSE(user.find<QCheckBox>("CheckBoxOldMode")->isChecked());
    user.typeInto("LabeledEditCoName", QStringLiteral("山田"));
    user.click("CheckBoxOldMode");
    showPage(dialog, 1);
    EXPECT_EQ(names(dialog), kBuiltIn);
    clickName(dialog, 0);
    user.press("ButtonExchgDel");
    user.press("ButtonCancel");
    shown = true;
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tomvik"));
  EXPECT_FALSE(window_->oldMode());
  EXPECT_EQ(comboItems("ComboBoxStockExchange2"), kBuiltIn);
  EXPECT_FALSE(fs::exists(folder() / "TMVK.ini"));

  // Closing by the frame is a cancel too.
  options([&](QDialog& dialog, UserDriver& user) {
    user.typeInto("LabeledEditCoName", QStringLiteral("山田"));
    dialog.close();
  });
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tomvik"));
  EXPECT_FALSE(fs::exists(folder() / "TMVK.ini"));
}

TEST_F(OptionsDialog, OkSetsTheTitleAndWritesOnlyTheDialogsKeys) {
  writeFile("TMVK.ini", QStringLiteral("[Window]\r\nTop=60\r\nCoName=見本\r\n"));
  open();
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tomvik - 見本"));
  options([&](QDialog&, UserDriver& user) {
    EXPECT_EQ(user.find<QLineEdit>("LabeledEditCoName")->text(), QStringLiteral("見本"));
    user.typeInto("LabeledEditCoName", QStringLiteral("山田"));
    user.click("CheckBoxAutoSave");
    user.click("CheckBoxChargeSave");
    user.press("ButtonOk");
  });
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tomvik - 山田"));
  // Written at once, beside what the file held; the window's own keys wait for the close.
  EXPECT_EQ(ToQString(tomvik::core::ReadWholeFile(folder() / "TMVK.ini").bytes).toStdString(),
            std::string("[Window]\r\nTop=60\r\nCoName=山田\r\nAutoSave=1\r\nChargeSave=0\r\nOldMode=0\r\n\r\n"
                        "[Exchg]\r\n1=東証１部\r\n2=東証２部\r\n3=マザーズ\r\n4=ジャスダック\r\n5=ヘラクレス\r\n"
                        "Count=5\r\n\r\n"));

  // An empty name gives the plain title and is written empty.
  options([&](QDialog&, UserDriver& user) {
    EXPECT_TRUE(user.find<QCheckBox>("CheckBoxAutoSave")->isChecked());
    // The name cleared.
    user.click("LabeledEditCoName");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    user.press("ButtonOk");
  });
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tomvik"));
  EXPECT_EQ(setting("Window", "CoName"), QString());
}

TEST_F(OptionsDialog, ExchangeNamesAreEditedInPlaceAndAnEmptyOneIsDropped) {
  open();
  options([&](QDialog& dialog, UserDriver& user) {
    showPage(dialog, 1);
    for (const char* button : {"ButtonExchgDel", "ButtonExchgUp", "ButtonExchgDown"}) {
      EXPECT_FALSE(user.find<QPushButton>(button)->isEnabled()) << button;
    }
    // ↑ on the first name leaves the order; ↓ moves it down one place.
    clickName(dialog, 0);
    user.press("ButtonExchgUp");
    EXPECT_EQ(names(dialog), kBuiltIn);
    user.press("ButtonExchgDown");
    EXPECT_EQ(names(dialog), QStringList({"東証２部", "東証１部", "マザーズ", "ジャスダック", "ヘラクレス"}));
    clickName(dialog, 4);
    user.press("ButtonExchgDown");
    EXPECT_EQ(names(dialog).last(), QStringLiteral("ヘラクレス"));
    user.press("ButtonExchgDel");
    EXPECT_FALSE(user.find<QPushButton>("ButtonExchgDel")->isEnabled());
    // A new name typed in place, and one left empty.
    user.press("ButtonExchgAdd");
    typeName(QStringLiteral("名証２部"));
    user.press("ButtonExchgAdd");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(names(dialog).size(), 6);
    user.press("ButtonOk");
  });
  const QStringList expected = {"東証２部", "東証１部", "マザーズ", "ジャスダック", "名証２部"};
  for (const char* combo : {"ComboBoxStockExchange", "ComboBoxStockExchange2", "ComboBoxStockExchangeL",
                            "ComboBoxStockExchange3", "ComboBoxStockExchange5"}) {
    EXPECT_EQ(comboItems(combo), expected) << combo;
  }
  EXPECT_EQ(setting("Exchg", "Count"), QStringLiteral("5"));
  EXPECT_EQ(setting("Exchg", "5"), QStringLiteral("名証２部"));

  // The next opening shows the stored names.
  options([&](QDialog& dialog, UserDriver& user) {
    EXPECT_EQ(names(dialog), expected);
    user.press("ButtonCancel");
  });
}

TEST_F(OptionsDialog, OkUnticksBothSellBoxesAndTheOldModeTakesEffectAtOnce) {
  writeFile("Hold.txt",
            QStringLiteral("=1000000,0\r\n-買,1234 見本電機,東証１部,100,412000,100,4120,4300,18000\r\n \r\n"));
  writeFile("201103.txt", QStringLiteral("[2011/03/15(火)]\r\n 見送り\r\n\r\n"));
  open();
  window_->showTab(1);
  user_->clickRow("ListViewHold", 0, true);
  auto* sell = user_->find<QCheckBox>("CheckBoxHoldSell");
  user_->click(sell);
  ASSERT_TRUE(sell->isChecked());
  // OK without a change still unticks it.
  options([&](QDialog&, UserDriver& user) { user.press("ButtonOk"); });
  EXPECT_FALSE(sell->isChecked());

  options([&](QDialog&, UserDriver& user) {
    user.click("CheckBoxOldMode");
    user.press("ButtonOk");
  });
  EXPECT_TRUE(window_->oldMode());
  EXPECT_FALSE(sell->isVisible());
  EXPECT_TRUE(user_->find<QCheckBox>("CheckBoxSimulation")->isVisible());
  // 売り is offered (its group stays locked until a holding is opened).
  auto* sellSide = user_->find<QRadioButton>("RadioButtonS2");
  EXPECT_TRUE(sellSide->isEnabledTo(sellSide->parentWidget()));
  // The diary offers a cash sell.
  window_->showTab(0);
  user_->click("RadioButtonMode1");
  EXPECT_TRUE(user_->find<QRadioButton>("RadioButtonS")->isEnabled());
  EXPECT_EQ(setting("Window", "OldMode"), QStringLiteral("1"));

  options([&](QDialog&, UserDriver& user) {
    user.click("CheckBoxOldMode");
    user.press("ButtonOk");
  });
  EXPECT_FALSE(user_->find<QRadioButton>("RadioButtonS")->isEnabled());
  EXPECT_FALSE(sellSide->isEnabledTo(sellSide->parentWidget()));
}

}  // namespace
