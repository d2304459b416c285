#include "app/totals/totals_calendar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "app/shell/entry_fields.h"
#include "app/shell/widgets.h"
#include "app/totals/totals_dates.h"

namespace tomvik::app {

namespace {

constexpr int kMargin = 2;
constexpr int kTitleHeight = 20;
constexpr int kWeekdayHeight = 16;
constexpr int kArrowWidth = 22;
constexpr int kWeeks = 6;
constexpr int kDaysPerWeek = 7;

const QColor kOutsidePeriod(232, 232, 232);
const QColor kGridLine(200, 200, 200);
const QColor kCashOnlyFrame(90, 90, 90);

const char16_t* const kWeekdayNames[kDaysPerWeek] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};

// The base colour laid over white with the given strength (0 to 1).
QColor OverWhite(const QColor& base, double strength) {
  auto channel = [strength](int value) { return static_cast<int>(std::lround(255 + (value - 255) * strength)); };
  return QColor(channel(base.red()), channel(base.green()), channel(base.blue()));
}

// How strongly a result shows against the period's largest: a faint tint
// for the smallest, never the full colour, so the day number stays legible.
double Strength(core::Amount result, core::Amount largest) {
  const double share =
      std::min(1.0, std::abs(static_cast<double>(result)) / std::max(1.0, std::abs(static_cast<double>(largest))));
  return 0.15 + 0.7 * std::sqrt(share);
}

int SundayFirstColumn(QDate day) { return day.dayOfWeek() % kDaysPerWeek; }

QString DayLabel(QDate day) {
  return day.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('(') +
         QString::fromUtf16(kWeekdayNames[SundayFirstColumn(day)]) + QLatin1Char(')');
}

}  // namespace

TotalsCalendar::TotalsCalendar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("CalendarTotal"));
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
}

void TotalsCalendar::setDays(const std::vector<core::TotalsDay>& days, QDate from, QDate to) {
  days_.clear();
  largest_ = 0;
  for (const core::TotalsDay& day : days) {
    const QDate date = DateOfDayNumber(day.dayNumber);
    // A hand-edited header can name a day that does not exist.
    if (!date.isValid()) continue;
    days_[date] = day.figures;
    largest_ = std::max(largest_, day.figures.result == INT64_MIN ? INT64_MAX : std::abs(day.figures.result));
  }
  from_ = from;
  to_ = to;
  month_ = QDate();
  showMonth(to);
}

void TotalsCalendar::showMonth(QDate day) {
  if (!day.isValid()) return;
  QDate month(day.year(), day.month(), 1);
  if (from_.isValid() && month < QDate(from_.year(), from_.month(), 1)) month = QDate(from_.year(), from_.month(), 1);
  if (to_.isValid() && month > to_) month = QDate(to_.year(), to_.month(), 1);
  if (month == month_) return;
  month_ = month;
  update();
}

bool TotalsCalendar::canShowPrevious() const { return month_.isValid() && month_ > from_; }
bool TotalsCalendar::canShowNext() const { return month_.isValid() && month_.addMonths(1) <= to_; }

bool TotalsCalendar::inPeriod(QDate day) const { return day.isValid() && day >= from_ && day <= to_; }

const core::TotalsFigures* TotalsCalendar::figuresOf(QDate day) const {
  const auto found = days_.find(day);
  return found == days_.end() ? nullptr : &found->second;
}

QColor TotalsCalendar::dayColour(QDate day) const {
  if (!inPeriod(day)) return kOutsidePeriod;
  const core::TotalsFigures* figures = figuresOf(day);
  if (!figures || figures->result == 0) return palette().color(QPalette::Base);
  return OverWhite(figures->result > 0 ? kBlue : kRed, Strength(figures->result, largest_));
}

TotalsCalendar::Geometry TotalsCalendar::geometry() const {
  Geometry g;
  const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  g.title = QRect(area.left(), area.top(), area.width(), kTitleHeight);
  g.weekdays = QRect(area.left(), g.title.bottom() + 1, area.width(), kWeekdayHeight);
  g.cellWidth = std::max(area.width() / kDaysPerWeek, 1);
  g.cellHeight = std::max((area.bottom() - g.weekdays.bottom()) / kWeeks, 1);
  g.grid = QRect(area.left(), g.weekdays.bottom() + 1, g.cellWidth * kDaysPerWeek, g.cellHeight * kWeeks);
  return g;
}

QRect TotalsCalendar::dayRect(QDate day) const {
  if (!month_.isValid() || !day.isValid() || day.year() != month_.year() || day.month() != month_.month()) return {};
  const Geometry g = geometry();
  const int index = SundayFirstColumn(month_) + day.day() - 1;
  return QRect(g.grid.left() + (index % kDaysPerWeek) * g.cellWidth,
               g.grid.top() + (index / kDaysPerWeek) * g.cellHeight, g.cellWidth, g.cellHeight);
}

QRect TotalsCalendar::previousArrowRect() const {
  const QRect title = geometry().title;
  return QRect(title.left(), title.top(), kArrowWidth, title.height());
}

QRect TotalsCalendar::nextArrowRect() const {
  const QRect title = geometry().title;
  return QRect(title.right() - kArrowWidth + 1, title.top(), kArrowWidth, title.height());
}

QDate TotalsCalendar::dayAt(const QPoint& point) const {
  if (!month_.isValid()) return {};
  for (int day = 1; day <= month_.daysInMonth(); ++day) {
    const QDate date(month_.year(), month_.month(), day);
    if (dayRect(date).contains(point)) return date;
  }
  return {};
}

QString TotalsCalendar::dayToolTip(QDate day) const {
  const core::TotalsFigures* figures = figuresOf(day);
  if (!figures || !inPeriod(day)) return {};
  return DayLabel(day) + QStringLiteral("\n売買損益  ") + AmountText(figures->result) + QStringLiteral("\n入出金  ") +
         AmountText(figures->cash) + QStringLiteral("\n収支  ") + AmountText(figures->balance());
}

QSize TotalsCalendar::sizeHint() const {
  return QSize(kDaysPerWeek * 30 + 2 * kMargin, kTitleHeight + kWeekdayHeight + kWeeks * 22 + 2 * kMargin);
}

QSize TotalsCalendar::minimumSizeHint() const {
  return QSize(kDaysPerWeek * 20 + 2 * kMargin, kTitleHeight + kWeekdayHeight + kWeeks * 15 + 2 * kMargin);
}

void TotalsCalendar::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const Geometry g = geometry();
  const QColor text = palette().color(QPalette::Text);
  const QColor muted = palette().color(QPalette::Disabled, QPalette::Text);
  if (!month_.isValid()) {
    painter.setPen(muted);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("集計すると日ごとの損益を表示します"));
    return;
  }

  painter.setPen(text);
  painter.drawText(g.title, Qt::AlignCenter, month_.toString(QStringLiteral("yyyy年M月")));
  painter.setPen(canShowPrevious() ? text : muted);
  painter.drawText(previousArrowRect(), Qt::AlignCenter, QStringLiteral("◀"));
  painter.setPen(canShowNext() ? text : muted);
  painter.drawText(nextArrowRect(), Qt::AlignCenter, QStringLiteral("▶"));

  painter.setPen(muted);
  for (int column = 0; column < kDaysPerWeek; ++column) {
    const QRect cell(g.grid.left() + column * g.cellWidth, g.weekdays.top(), g.cellWidth, g.weekdays.height());
    painter.drawText(cell, Qt::AlignCenter, QString::fromUtf16(kWeekdayNames[column]));
  }

  QFont small = font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.85));
  painter.setFont(small);
  for (int day = 1; day <= month_.daysInMonth(); ++day) {
    const QDate date(month_.year(), month_.month(), day);
    const QRect cell = dayRect(date);
    const QColor fill = dayColour(date);
    painter.fillRect(cell, fill);
    painter.setPen(kGridLine);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    const core::TotalsFigures* figures = inPeriod(date) ? figuresOf(date) : nullptr;
    if (figures && figures->result == 0) {
      // Listed for its cash alone.
      painter.setPen(kCashOnlyFrame);
      painter.drawRect(cell.adjusted(1, 1, -2, -2));
    }
    const bool dark = fill.lightness() < 150;
    painter.setPen(!inPeriod(date) ? muted : (dark ? QColor(Qt::white) : text));
    painter.drawText(cell.adjusted(3, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop, QString::number(day));
  }
}

void TotalsCalendar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  if (previousArrowRect().contains(at)) {
    if (canShowPrevious()) showMonth(month_.addMonths(-1));
    return;
  }
  if (nextArrowRect().contains(at)) {
    if (canShowNext()) showMonth(month_.addMonths(1));
    return;
  }
  const QDate day = dayAt(at);
  if (inPeriod(day)) emit dayClicked(day);
}

void TotalsCalendar::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y();
  if (steps > 0 && canShowPrevious()) showMonth(month_.addMonths(-1));
  if (steps < 0 && canShowNext()) showMonth(month_.addMonths(1));
  event->accept();
}

bool TotalsCalendar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QDate day = dayAt(help->pos());
    const QString tip = dayToolTip(day);
    if (tip.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, this, dayRect(day));
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace tomvik::app
