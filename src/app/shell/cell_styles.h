// How each cell of the six lists looks: the colour of a figure by its sign,
// of a trade by its side and kind, day headers and totals highlighted, the
// colour ramp of percentages, bold figures, and where the text sits.
//
// Pure functions of the list, the cell's column, the cell's text, what the
// row is (its key, or the simulation row's other cells) and the selection
// state. They give every colour resolved, so a delegate only fills and
// writes. Cells no rule names look as the list draws them: window
// background and text, or the selection's colours.
#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <string_view>

namespace tomvik::app {

enum class ListKind { Diary, Holdings, Positions, Stocks, Totals, Simulation };

// The columns that have rules of their own, named by what they hold.
enum class ColumnRole {
  Other,
  Date,        // 日付 (diary, totals)
  Kind,        // 取引 (diary, holdings, simulation), 建玉 (positions)
  Held,        // 保有 of the diary: the cost of the shares a trade moved
  Profit,      // 損益
  Market,      // 時価
  Rate,        // 騰落率, 利率
  BuyTotal,    // 買い総額
  SellTotal,   // 売り総額
  Result,      // 売買損益
  Cash,        // 入出金
  Balance,     // 収支
  Running,     // 累計
  HeldCost,    // 保有金額 of the simulation
  Position,    // 保有 of the simulation: 買, 売 or 計
  Total,       // 総額 of the simulation
  Unrealised,  // 含み損益
};

// The role of a list's column, from its caption.
ColumnRole RoleOf(ListKind list, QStringView caption);

// The colours that stand for the system's: the list's background and text,
// the selection, and the muted selection of a list without the focus.
struct SystemColours {
  QColor window;
  QColor windowText;
  QColor highlight;
  QColor highlightText;
  QColor inactiveBorder;
};
SystemColours StandardSystemColours();

namespace cell_colours {
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kYellow(255, 255, 0);
inline const QColor kLightYellow(255, 255, 192);
inline const QColor kMagenta(255, 0, 255);
inline const QColor kCyan(0, 255, 255);
inline const QColor kGreen(0, 255, 0);
inline const QColor kOrange(255, 128, 0);
inline const QColor kAzure(0, 128, 255);
}  // namespace cell_colours

struct CellState {
  bool selected = false;
  bool focused = false;  // the list has the input focus
};

// Where a cell's text sits.
enum class TextPlace {
  Column,  // as the column aligns it
  Amount,  // right-aligned figure, shortened with "..." when too narrow
  Kind,    // a trade's kind, centred
};

struct CellStyle {
  QColor background;
  QColor text;
  bool bold = false;
  TextPlace place = TextPlace::Column;
  friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

// What a cell's rule may look at besides its own text.
struct RowFacts {
  std::string_view key;  // the row's key: the diary's kind digits, a holding's or position's side
  QStringView realised;  // simulation: the row's 売買損益
  QStringView position;  // simulation: the row's 保有
};

CellStyle StyleOf(ListKind list, ColumnRole column, QStringView text, const RowFacts& row, CellState state,
                  const SystemColours& system);

// The look of a list's own drawing: the selection, or the window.
CellStyle ListLook(CellState state, const SystemColours& system);

}  // namespace tomvik::app
