// A test that opens the window on a fresh folder of its own, after writing
// or copying the files it starts from, and drives it as a user; it can also
// check what the window writes into its folder.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QTest>
#include <QSize>
#include <QString>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/shell/sjis_text.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_support.h"

namespace tomvik::testing {

class WindowOnFolder : public ::testing::Test {
 protected:
  std::filesystem::path folder() const { return std::filesystem::path(dir_.path().toStdString()); }
  void copyFixtures(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      std::filesystem::copy_file(std::filesystem::path(TOMVIK_TEST_DATA_DIR) / "records" / name, folder() / name,
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }

  // A file of the folder, its text as CP932 bytes.
  void writeFile(const char* name, const QString& text) {
    std::ofstream(folder() / name, std::ios::binary) << app::ToSjis(text);
  }

  // A day of the fixtures' month that has no note yet.
  static QDate dayWithoutNote() { return QDate(2011, 3, 20); }
  // The window shown and active on `today`, at `size` when one is given.
  app::TFormMain& open(QDate today = QDate(2011, 3, 15), QSize size = QSize()) {
    window_ = std::make_unique<app::TFormMain>(folder(), today);
    auto prompter = std::make_unique<ScriptedPrompter>();
    prompter_ = prompter.get();
    window_->setPrompter(std::move(prompter));
    if (size.isValid()) window_->resize(size);
    user_ = std::make_unique<UserDriver>(*window_);
    user_->showActive();
    return *window_;
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
  bool unsaved(const char* item) const { return window_->findChild<QAction*>(QLatin1String(item))->isEnabled(); }

  QTemporaryDir dir_;
  std::unique_ptr<app::TFormMain> window_;
  std::unique_ptr<UserDriver> user_;
  ScriptedPrompter* prompter_ = nullptr;
};

}  // namespace tomvik::testing
