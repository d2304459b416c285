// The copy menu of the lists (PopupCopy): one cell, the selected row or the
// whole list onto the clipboard as plain text.
//
// Line and whole-list copies give comma-separated fields without quoting,
// every line ended by a single LF. Right-aligned columns (figures) lose
// their thousands separators; other columns are copied as they stand, a
// comment with its commas and line breaks. The row caption (a column that
// shows the row's key, the stock code) and columns without a caption are
// left out; a list whose last column is the comment leaves it out unless
// コメント付き is ticked. 項目名付き puts the captions on a line first.
#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QAbstractItemModel;
class QMenu;
class QTreeView;

namespace tomvik::app {

// The two ticks of the menu, shared by every list and kept in the settings
// ("Copy1", "Copy2").
struct CopyOptions {
  bool withCaptions = false;  // 項目名付き
  bool withComments = false;  // コメント付き
};

// What the clipboard receives.
// One cell exactly as it stands, without a line end.
QString CopiedItem(const QAbstractItemModel& model, int row, int column);
// The given rows as lines, optionally after the line of captions.
QString CopiedLines(const QAbstractItemModel& model, const std::vector<int>& rows, const CopyOptions& options,
                    bool commentLast);

// The menu of one list: built afresh each time it opens.
class CopyMenu : public QObject {
  Q_OBJECT

 public:
  // `commentLast`: the list's last column is the comment.
  CopyMenu(QTreeView* list, CopyOptions* options, bool commentLast);

  QMenu* menu() const { return menu_; }
  // Fills the menu for the list's rows and selection (PopupCopyPopup).
  void PopupCopyPopup();
  void PopupCopyItemClick(int column);
  void PopupCopyLineClick();
  void PopupCopyAllClick();

 private:
  int selectedRow() const;

  QTreeView* list_;
  CopyOptions* options_;
  bool commentLast_;
  QMenu* menu_;
  QMenu* itemMenu_;
};

// Gives the list its copy menu on a right click.
CopyMenu* InstallCopyMenu(QTreeView* list, CopyOptions* options, bool commentLast);

}  // namespace tomvik::app
