#include "app/window/list_dressing.h"

#include <QHeaderView>
#include <QStyle>
#include <QTreeView>

#include <climits>
#include <string>

#include "app/shell/copy_menu.h"
#include "app/shell/list_delegate.h"
#include "core/records/ini_file.h"

namespace tomvik::app {

const std::array<ListPlace, 6> kListPlaces = {{
    {"ListViewDiary", ListKind::Diary, true, "C1-", 1, 0},
    {"ListViewHold", ListKind::Holdings, true, "C2-", 3, 2},
    {"ListViewLoan", ListKind::Positions, true, "CL-", 3, 2},
    {"ListViewStock", ListKind::Stocks, true, "C3-", 1, 1},
    {"ListViewTotal", ListKind::Totals, false, "C4-", 1, 0},
    {"ListViewSim", ListKind::Simulation, false, "C5-", 3, 3},
}};

namespace {

struct Typical {
  const char16_t* caption;
  const char16_t* value;
};

// A value of the usual size for each caption: a date with its weekday, a
// stock with its name, an amount in the millions, a rate with two digits.
constexpr Typical kTypicalValues[] = {
    {u"日付", u"2026/12/08(火)"}, {u"新規建日", u"2026/12/08"},
    {u"取引", u"返売"},           {u"建玉", u"買建"},
    {u"コード", u"9999"},         {u"銘柄", u"9999 見本電機"},
    {u"銘柄名", u"見本電機工業"}, {u"取引所", u"ジャスダック"},
    {u"単位", u"1,000"},          {u"単価", u"12,345"},
    {u"時価", u"12,345"},         {u"平均単価", u"12,345"},
    {u"数量", u"10,000"},         {u"株数", u"10,000"},
    {u"手数料", u"1,050"},        {u"税", u"1,234"},
    {u"金額", u"-1,234,567"},     {u"総額", u"-1,234,567"},
    {u"保有", u"-1,234,567"},     {u"損益", u"-1,234,567"},
    {u"売買損益", u"-1,234,567"}, {u"入出金", u"-1,234,567"},
    {u"収支", u"-1,234,567"},     {u"累計", u"-12,345,678"},
    {u"買い総額", u"12,345,678"}, {u"売り総額", u"12,345,678"},
    {u"売買金額", u"1,234,567"},  {u"保有金額", u"1,234,567"},
    {u"含み損益", u"-1,234,567"}, {u"騰落率", u"-12.34%"},
    {u"利率", u"-12.34567%"},
};

QString TypicalValue(const QString& caption) {
  for (const Typical& t : kTypicalValues) {
    if (caption == QStringView(t.caption)) return QString::fromUtf16(t.value);
  }
  return QString();
}

}  // namespace

void DressList(QTreeView* list, const ListPlace& place, CopyOptions* copyOptions) {
  auto* delegate = qobject_cast<ListDelegate*>(list->itemDelegate());
  if (!delegate) {
    delegate = new ListDelegate(list);
    list->setItemDelegate(delegate);
  }
  delegate->setList(place.kind);
  InstallCopyMenu(list, copyOptions, place.commentLast);
}

int FittingWidth(const QTreeView* list, int column) {
  const QHeaderView* header = list->header();
  const QString caption = list->model()->headerData(column, Qt::Horizontal).toString();
  const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  int width = header->fontMetrics().horizontalAdvance(caption) + 2 * headerMargin + 4;
  const QString value = TypicalValue(caption);
  if (!value.isEmpty()) {
    // Figures may be bold; room for the margins of the cell on both sides.
    QFont bold = list->font();
    bold.setBold(true);
    width = std::max(width, QFontMetrics(bold).horizontalAdvance(value) + ListDelegate::CellMargins());
  }
  return width;
}

void WidenUnstoredColumns(QTreeView* list, const ListPlace& place, const core::IniFile& settings) {
  QHeaderView* header = list->header();
  for (int column = place.firstColumn; column < header->count(); ++column) {
    const std::string key =
        std::string(place.widthKey) + std::to_string(place.firstNumber + column - place.firstColumn);
    if (settings.readInt("Window", key, INT_MIN) != INT_MIN) continue;
    if (list->isColumnHidden(column)) continue;
    if (list->model()->headerData(column, Qt::Horizontal).toString().isEmpty()) continue;
    header->resizeSection(column, std::max(header->sectionSize(column), FittingWidth(list, column)));
  }
}

}  // namespace tomvik::app
