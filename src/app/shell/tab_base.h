// What every tab shares: the ledgers it works on and the window it lives in.
#pragma once

#include <QWidget>

#include "core/books.h"

namespace tomvik::app {

class WindowServices;

class TabBase : public QWidget {
  Q_OBJECT

 public:
  TabBase(core::Books& books, QWidget* parent) : QWidget(parent), books_(books) {}

  void setServices(WindowServices* services) { services_ = services; }
  // Brings the tab's list up to date with its ledger.
  virtual void syncList() {}

 protected:
  core::Books& books_;
  WindowServices* services_ = nullptr;
};

}  // namespace tomvik::app
