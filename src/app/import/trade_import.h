// The menu command "取引履歴の取り込み…": a broker's trade history file is
// chosen, previewed and booked into the diary, month by month, through the
// same recording as the diary's 追加 and the settlement of positions.
//
// Cancel in the file dialog or the preview books nothing. After booking,
// every changed ledger is saved, so that the diary months written on the
// way and the holdings, positions and stock totals they booked agree on
// disk; the diary then shows the day of the last trade booked, and a
// summary says what was booked, what was not and why. Each row's comment
// names the file and line it came from, so an import can be taken back by
// deleting its rows.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#include "core/books.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tomvik::app {

class DiaryTab;
class WindowServices;

class TradeImport : public QObject {
  Q_OBJECT

 public:
  TradeImport(core::Books& books, WindowServices& services, DiaryTab& diary, QObject* parent);

  // Puts the menu "取り込み(&I)" with the command on the window's menu bar.
  static QMenu* AddMenu(QMenuBar* bar, core::Books& books, WindowServices& services, DiaryTab& diary);

  QAction* action() const { return action_; }
  // Asks for the file to import, starting in `folder`; an empty text when
  // the user cancels. The file dialog unless replaced (a test scripts it).
  using FileChooser = std::function<QString(QWidget* parent, const QString& folder)>;
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  // The command: choose a file, then import it.
  void MainMenuImportClick();
  // Preview, booking and summary of one file.
  void importFile(const QString& path);

 private:
  void showDiaryAfter(const std::optional<std::string>& lastBookedDate);

  core::Books& books_;
  WindowServices& services_;
  DiaryTab& diary_;
  QAction* action_ = nullptr;
  QString lastFolder_;
  FileChooser chooseFile_;
};

}  // namespace tomvik::app
