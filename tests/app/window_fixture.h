// A test that opens the window on a fresh folder of its own, after writing
// the files it starts from, and drives it as a user.
#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/shell/sjis_text.h"
#include "app/user_driver.h"
#include "app/window/form_main.h"
#include "app/window_support.h"

namespace tomvik::testing {

class WindowOnFolder : public ::testing::Test {
 protected:
  std::filesystem::path folder() const { return std::filesystem::path(dir_.path().toStdString()); }
  // A file of the folder, its text as CP932 bytes.
  void writeFile(const char* name, const QString& text) {
    std::ofstream(folder() / name, std::ios::binary) << app::ToSjis(text);
  }
  // The window shown and active, on 2011/03/15.
  app::TFormMain& open(QSize size = QSize()) {
    window_ = std::make_unique<app::TFormMain>(folder(), QDate(2011, 3, 15));
    window_->setPrompter(std::make_unique<ScriptedPrompter>());
    if (size.isValid()) window_->resize(size);
    driver_ = std::make_unique<UserDriver>(*window_);
    driver_->showActive();
    return *window_;
  }

  QTemporaryDir dir_;
  std::unique_ptr<app::TFormMain> window_;
  std::unique_ptr<UserDriver> driver_;
};

}  // namespace tomvik::testing
