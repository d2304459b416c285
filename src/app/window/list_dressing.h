// What the window gives each of its six lists besides its rows: the
// colouring delegate of the list, the copy menu, and column widths that fit
// our fonts where the settings hold none.
#pragma once

#include <array>
#include <string_view>

#include "app/shell/cell_styles.h"

class QTreeView;

namespace tomvik::core {
class IniFile;
}

namespace tomvik::app {

struct CopyOptions;

struct ListPlace {
  const char* name;  // objectName of the list
  ListKind kind;
  bool commentLast;  // the last column is the comment
  // Its widths in the settings: "C2-" followed by numbers from firstNumber,
  // the first of which is the width of the list's column firstColumn.
  std::string_view widthKey;
  int firstNumber;
  int firstColumn;
};

extern const std::array<ListPlace, 6> kListPlaces;

// The list's delegate paints by its rules; a right click opens its copy menu.
void DressList(QTreeView* list, const ListPlace& place, CopyOptions* copyOptions);

// Columns without a stored width become at least as wide as their caption
// and a typical value need in the list's font; stored widths stay as they are.
void WidenUnstoredColumns(QTreeView* list, const ListPlace& place, const core::IniFile& settings);

// The width a column needs for its caption and a typical value.
int FittingWidth(const QTreeView* list, int column);

}  // namespace tomvik::app
