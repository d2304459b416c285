#include "app/shell/cell_styles.h"

#include <QLatin1StringView>

#include "core/diary/trade_kinds.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::app {

using namespace cell_colours;

namespace {

struct Caption {
  const char16_t* text;
  ColumnRole role;
};

constexpr Caption kDiaryColumns[] = {{u"日付", ColumnRole::Date},
                                     {u"取引", ColumnRole::Kind},
                                     {u"保有", ColumnRole::Held},
                                     {u"損益", ColumnRole::Profit}};
constexpr Caption kLedgerColumns[] = {{u"取引", ColumnRole::Kind},
                                      {u"建玉", ColumnRole::Kind},
                                      {u"時価", ColumnRole::Market},
                                      {u"騰落率", ColumnRole::Rate},
                                      {u"損益", ColumnRole::Profit}};
constexpr Caption kStockColumns[] = {{u"買い総額", ColumnRole::BuyTotal},
                                     {u"売り総額", ColumnRole::SellTotal},
                                     {u"売買損益", ColumnRole::Result},
                                     {u"利率", ColumnRole::Rate}};
constexpr Caption kTotalColumns[] = {{u"日付", ColumnRole::Date},
                                     {u"売買損益", ColumnRole::Result},
                                     {u"入出金", ColumnRole::Cash},
                                     {u"収支", ColumnRole::Balance},
                                     {u"累計", ColumnRole::Running}};
constexpr Caption kSimColumns[] = {{u"取引", ColumnRole::Kind},          {u"保有金額", ColumnRole::HeldCost},
                                   {u"売買損益", ColumnRole::Result},    {u"保有", ColumnRole::Position},
                                   {u"総額", ColumnRole::Total},         {u"騰落率", ColumnRole::Rate},
                                   {u"含み損益", ColumnRole::Unrealised}};

template <std::size_t N>
ColumnRole Find(const Caption (&captions)[N], QStringView caption) {
  for (const Caption& c : captions) {
    if (caption == QStringView(c.text)) return c.role;
  }
  return ColumnRole::Other;
}

bool Negative(QStringView text) { return text.startsWith(u'-'); }
bool Zero(QStringView text) { return text == u"0"; }

// --- The painting rules, each for the cell's state ---------------------------

CellStyle Style(const QColor& background, const QColor& text, bool bold, TextPlace place = TextPlace::Amount) {
  return CellStyle{background, text, bold, place};
}

// Not selected: the colour on the window; selected: the colour behind
// highlight text.
CellStyle SideRule(const QColor& k, CellState s, const SystemColours& sys, bool bold) {
  return s.selected ? Style(k, sys.highlightText, bold) : Style(sys.window, k, bold);
}

// Closing trades stand out on yellow; selected, the colours swap.
CellStyle ClosingRule(const QColor& k, CellState s, bool bold) {
  return s.selected ? Style(k, kYellow, bold) : Style(kYellow, k, bold);
}

// The colour until the row is selected, then the selection's own look.
CellStyle FocusRule(const QColor& k, CellState s, const SystemColours& sys, bool bold) {
  if (!s.selected) return Style(sys.window, k, bold);
  if (s.focused) return Style(sys.highlight, sys.highlightText, bold);
  return Style(sys.inactiveBorder, sys.windowText, bold);
}

// The text keeps its colour in every state; only the background follows the selection.
CellStyle SelectionBackground(const QColor& k, CellState s, const SystemColours& sys, bool bold) {
  if (!s.selected) return Style(sys.window, k, bold);
  return Style(s.focused ? sys.highlight : sys.inactiveBorder, k, bold);
}

CellStyle TwoColourRule(const QColor& positive, const QColor& negative, QStringView text, CellState s,
                        const SystemColours& sys, bool bold) {
  const QColor& k = Negative(text) ? negative : positive;
  if (s.selected && s.focused) return Style(sys.highlight, sys.highlightText, bold);
  return Style(s.selected ? sys.inactiveBorder : sys.window, k, bold);
}

CellStyle SignRule(QStringView text, CellState s, const SystemColours& sys, bool bold) {
  return SideRule(Negative(text) ? kRed : kBlue, s, sys, bold);
}

// Percentages on a ramp: the more digits before the point, or the higher the
// first digit, the deeper the shade. Losses are red letters on blue, gains
// blue letters on red.
CellStyle RateRamp(QStringView text) {
  struct Shade {
    QColor lossText, lossBackground, gainBackground;
  };
  static const Shade kWide{{160, 0, 0}, {176, 176, 255}, {255, 128, 128}};
  static const Shade kDigits[] = {
      {{255, 0, 0}, {224, 224, 255}, {255, 224, 224}},  // 0
      {{240, 0, 0}, {208, 224, 255}, {255, 208, 208}},  // 1
      {{224, 0, 0}, {208, 208, 255}, {255, 192, 192}},  // 2
      {{208, 0, 0}, {192, 208, 255}, {255, 176, 176}},  // 3
      {{192, 0, 0}, {192, 192, 255}, {255, 160, 160}},  // 4
  };
  static const Shade kOther{{176, 0, 0}, {176, 192, 255}, {255, 144, 144}};

  auto at = [text](qsizetype i) { return i < text.size() ? text[i] : QChar(); };
  const Shade* shade = &kOther;
  if (at(3) == u'.' || at(4) == u'.') {
    shade = &kWide;
  } else if (const QChar digit = at(1); digit >= u'0' && digit <= u'4') {
    shade = &kDigits[digit.unicode() - u'0'];
  }
  if (Negative(text)) return Style(shade->lossBackground, shade->lossText, false);
  return Style(shade->gainBackground, kBlue, false);
}

// Only a percentage is shaded; "0.00%" and a missing rate ("---") are drawn
// plainly.
bool Shaded(QStringView text) { return text.endsWith(u'%') && !text.startsWith(u'0'); }

// --- The lists ----------------------------------------------------------------

CellStyle DiaryStyle(ColumnRole column, QStringView text, std::string_view key, CellState s, const SystemColours& sys) {
  const char kindClass = core::KindClassOf(key);
  const char side = core::KindSideOf(key);
  const bool header = kindClass == '0';
  const bool closing = kindClass == '3';
  // What the list draws: header rows on light yellow until selected.
  CellStyle plain = ListLook(s, sys);
  if (header && !s.selected) plain.background = kLightYellow;

  switch (column) {
    case ColumnRole::Date: plain.bold = true; return plain;
    case ColumnRole::Kind: {
      if (header) return plain;
      const std::string_view kind = key.size() >= 12 ? key.substr(10, 2) : std::string_view();
      CellStyle style = plain;
      if (kind == "11")
        style = SelectionBackground(kMagenta, s, sys, false);
      else if (kind == "12")
        style = SelectionBackground(kCyan, s, sys, false);
      else if (kind == "21" || kind == "25" || kind == "27")
        style = SideRule(kRed, s, sys, true);
      else if (kind == "22" || kind == "26")
        style = SideRule(kBlue, s, sys, true);
      else if (kind == "31" || kind == "35")
        style = ClosingRule(kRed, s, true);
      else if (kind == "32" || kind == "36" || kind == "38")
        style = ClosingRule(kBlue, s, true);
      else if (kind == "51" || kind == "52")
        style = SelectionBackground(kGreen, s, sys, false);
      else if (kind == "55")
        style = SelectionBackground(kMagenta, s, sys, false);
      else if (kind == "56")
        style = SelectionBackground(kCyan, s, sys, false);
      else if (kind == "71")
        style = SideRule(kOrange, s, sys, true);
      else if (kind == "72")
        style = SideRule(kAzure, s, sys, true);
      style.place = TextPlace::Kind;
      return style;
    }
    case ColumnRole::Held: {
      if (text.isEmpty()) return plain;
      const bool buySide = side == '1' || side == '5';
      const QColor& k = (closing ? !buySide : buySide) ? kMagenta : kCyan;
      CellStyle style = SelectionBackground(k, s, sys, false);
      if (header && !s.selected) style.background = kLightYellow;
      return style;
    }
    case ColumnRole::Profit: {
      if (text.isEmpty()) return plain;
      if (kindClass == '7' && (side == '1' || side == '2')) {
        return SideRule(side == '1' ? kOrange : kAzure, s, sys, true);
      }
      CellStyle style = SignRule(text, s, sys, closing || header);
      if (header && !s.selected) style.background = kLightYellow;
      return style;
    }
    default: return plain;
  }
}

CellStyle LedgerStyle(ListKind list, ColumnRole column, QStringView text, std::string_view key, CellState s,
                      const SystemColours& sys) {
  switch (column) {
    case ColumnRole::Kind: {
      const std::size_t at = list == ListKind::Holdings ? core::kHoldingSideAt : core::LoanKey::Side;
      const char buy = list == ListKind::Holdings ? core::kBoughtSide : core::kBuyPositionSide;
      CellStyle style = SideRule(key.size() > at && key[at] == buy ? kRed : kBlue, s, sys, true);
      style.place = TextPlace::Kind;
      return style;
    }
    case ColumnRole::Market: return FocusRule(sys.windowText, s, sys, true);
    case ColumnRole::Rate:
      if (Shaded(text)) return RateRamp(text);
      break;
    case ColumnRole::Profit:
      if (!Zero(text)) return SignRule(text, s, sys, false);
      break;
    default: break;
  }
  return ListLook(s, sys);
}

CellStyle StockStyle(ColumnRole column, QStringView text, CellState s, const SystemColours& sys) {
  switch (column) {
    case ColumnRole::BuyTotal:
      if (!Zero(text)) return FocusRule(kRed, s, sys, false);
      break;
    case ColumnRole::SellTotal:
      if (!Zero(text)) return FocusRule(kBlue, s, sys, false);
      break;
    case ColumnRole::Result:
      if (!Zero(text)) return SignRule(text, s, sys, true);
      break;
    case ColumnRole::Rate:
      if (Shaded(text)) return RateRamp(text);
      break;
    default: break;
  }
  return ListLook(s, sys);
}

CellStyle TotalsStyle(ColumnRole column, QStringView text, CellState s, const SystemColours& sys) {
  switch (column) {
    case ColumnRole::Date: {
      CellStyle style = ListLook(s, sys);
      if (!s.selected) style.background = kLightYellow;
      style.bold = true;
      return style;
    }
    case ColumnRole::Result:
      if (!Zero(text)) return TwoColourRule(kBlue, kRed, text, s, sys, false);
      break;
    case ColumnRole::Cash:
      if (!Zero(text)) return TwoColourRule(kOrange, kAzure, text, s, sys, false);
      break;
    case ColumnRole::Balance:
      if (!Zero(text)) return SignRule(text, s, sys, true);
      break;
    case ColumnRole::Running:
      if (Negative(text)) return s.selected ? Style(kRed, kYellow, true) : Style(kYellow, kRed, true);
      return s.selected ? Style(kBlue, kYellow, true) : Style(sys.window, sys.windowText, true);
    default: break;
  }
  return ListLook(s, sys);
}

CellStyle SimStyle(ColumnRole column, QStringView text, const RowFacts& row, CellState s, const SystemColours& sys) {
  static const QString kBuy = QStringLiteral("買");
  static const QString kSum = QStringLiteral("計");
  switch (column) {
    case ColumnRole::Kind: {
      const QColor& k = text == kBuy ? kRed : kBlue;
      CellStyle style = row.realised.isEmpty() ? SideRule(k, s, sys, true) : ClosingRule(k, s, true);
      style.place = TextPlace::Kind;
      return style;
    }
    case ColumnRole::HeldCost: return SelectionBackground(kMagenta, s, sys, false);
    case ColumnRole::Result:
      if (!text.isEmpty() && !Zero(text)) return SignRule(text, s, sys, true);
      break;
    case ColumnRole::Position: {
      CellStyle style =
          text == kSum ? Style(kYellow, sys.windowText, true) : SideRule(text == kBuy ? kRed : kBlue, s, sys, true);
      style.place = TextPlace::Kind;
      return style;
    }
    case ColumnRole::Total:
      if (row.position == kSum) {
        const QColor& k = Zero(text) ? sys.windowText : (Negative(text) ? kRed : kBlue);
        return Style(kYellow, k, true);
      }
      break;
    case ColumnRole::Rate:
      if (Shaded(text)) return RateRamp(text);
      break;
    case ColumnRole::Unrealised:
      if (!text.isEmpty() && !Zero(text)) return SignRule(text, s, sys, false);
      break;
    default: break;
  }
  return ListLook(s, sys);
}

}  // namespace

ColumnRole RoleOf(ListKind list, QStringView caption) {
  switch (list) {
    case ListKind::Diary: return Find(kDiaryColumns, caption);
    case ListKind::Holdings:
    case ListKind::Positions: return Find(kLedgerColumns, caption);
    case ListKind::Stocks: return Find(kStockColumns, caption);
    case ListKind::Totals: return Find(kTotalColumns, caption);
    case ListKind::Simulation: return Find(kSimColumns, caption);
  }
  return ColumnRole::Other;
}

SystemColours StandardSystemColours() {
  return SystemColours{QColor(255, 255, 255), QColor(0, 0, 0), QColor(0, 120, 215), QColor(255, 255, 255),
                       QColor(212, 208, 200)};
}

CellStyle ListLook(CellState state, const SystemColours& system) {
  if (!state.selected) return CellStyle{system.window, system.windowText, false, TextPlace::Column};
  if (state.focused) return CellStyle{system.highlight, system.highlightText, false, TextPlace::Column};
  return CellStyle{system.inactiveBorder, system.windowText, false, TextPlace::Column};
}

CellStyle StyleOf(ListKind list, ColumnRole column, QStringView text, const RowFacts& row, CellState state,
                  const SystemColours& system) {
  switch (list) {
    case ListKind::Diary: return DiaryStyle(column, text, row.key, state, system);
    case ListKind::Holdings:
    case ListKind::Positions: return LedgerStyle(list, column, text, row.key, state, system);
    case ListKind::Stocks: return StockStyle(column, text, state, system);
    case ListKind::Totals: return TotalsStyle(column, text, state, system);
    case ListKind::Simulation: return SimStyle(column, text, row, state, system);
  }
  return ListLook(state, system);
}

}  // namespace tomvik::app
