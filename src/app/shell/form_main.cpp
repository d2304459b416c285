#include "app/shell/form_main.h"

#include <QTabWidget>
#include <QWidget>

namespace tomvik::app {

TFormMain::TFormMain(std::filesystem::path baseFolder, QDate today, QWidget* parent)
    : QMainWindow(parent), baseFolder_(std::move(baseFolder)), today_(today) {
  setObjectName("FormMain");
  setWindowTitle("Tomvik");
  pageControlMain_ = new QTabWidget(this);
  pageControlMain_->setObjectName("PageControlMain");
  const char* names[] = {"TabSheetDiary", "TabSheetHold", "TabSheetLoan", "TabSheetStock", "TabSheetTotal",
                         "TabSheetSim"};
  const QString captions[] = {QStringLiteral("取引日記"), QStringLiteral("現物保有"), QStringLiteral("信用建玉"),
                              QStringLiteral("銘柄管理"), QStringLiteral("期間集計"), QStringLiteral("模擬売買")};
  for (int i = 0; i < 6; ++i) {
    auto* page = new QWidget(pageControlMain_);
    page->setObjectName(names[i]);
    pageControlMain_->addTab(page, captions[i]);
  }
  setCentralWidget(pageControlMain_);
  setGeometry(100, 50, 660, 480);
}

}  // namespace tomvik::app
