// A window on a fresh folder holding some of the fixture files, shown and
// active, with a scripted prompter; for tests that check what the window
// writes into its folder.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

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

  // The window on a day of the fixture's month that has no note yet.
  void open() {
    window_ = std::make_unique<app::TFormMain>(folder(), QDate(2011, 3, 20));
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
  bool unsaved(const char* item) const { return window_->findChild<QAction*>(QLatin1String(item))->isEnabled(); }

  QTemporaryDir dir_;
  std::unique_ptr<app::TFormMain> window_;
  std::unique_ptr<UserDriver> user_;
  ScriptedPrompter* prompter_ = nullptr;
};

}  // namespace tomvik::testing
