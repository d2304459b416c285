// The main window: the account summary, the menu bar and the six tabs.
#pragma once

#include <QDate>
#include <QMainWindow>

#include <filesystem>

class QTabWidget;

namespace tomvik::app {

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFormMain(std::filesystem::path baseFolder, QDate today = QDate::currentDate(),
                     QWidget* parent = nullptr);

  const std::filesystem::path& baseFolder() const { return baseFolder_; }

 private:
  std::filesystem::path baseFolder_;
  QDate today_;
  QTabWidget* pageControlMain_ = nullptr;
};

}  // namespace tomvik::app
