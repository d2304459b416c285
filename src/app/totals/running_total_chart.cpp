#include "app/totals/running_total_chart.h"

#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QLocale>
#include <QTime>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

#include "app/totals/totals_dates.h"

namespace tomvik::app {

namespace {

constexpr int kTimeTicks = 4;
constexpr int kValueTicks = 5;
const QColor kLine(0, 90, 200);

qint64 TimeOf(QDate day) { return QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch(); }

}  // namespace

RunningTotalChart::RunningTotalChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChartTotal"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

void RunningTotalChart::showEvent(QShowEvent* event) {
  build();
  QWidget::showEvent(event);
}

const QLineSeries* RunningTotalChart::series() const {
  const_cast<RunningTotalChart*>(this)->build();
  return series_;
}

void RunningTotalChart::build() {
  if (view_) return;
  view_ = new QChartView(this);
  layout()->addWidget(view_);
  // The chart keeps the place in the focus order that this widget has.
  setFocusPolicy(view_->focusPolicy());
  setFocusProxy(view_);
  auto* chart = new QChart;
  chart->legend()->hide();
  chart->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
  chart->setLocalizeNumbers(true);
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->setBackgroundRoundness(0);
  QFont titleFont = font();
  titleFont.setBold(true);
  chart->setTitleFont(titleFont);
  chart->setTitle(QStringLiteral("累計"));

  series_ = new QLineSeries(chart);
  series_->setName(QStringLiteral("累計"));
  series_->setPointsVisible(true);
  QPen pen(kLine);
  pen.setWidth(2);
  series_->setPen(pen);
  chart->addSeries(series_);

  timeAxis_ = new QDateTimeAxis(chart);
  timeAxis_->setTickCount(kTimeTicks);
  valueAxis_ = new QValueAxis(chart);
  valueAxis_->setTickCount(kValueTicks);
  // Localised with a precision, the labels get thousands separators.
  valueAxis_->setLabelFormat(QStringLiteral("%.0f"));
  QFont labels = font();
  labels.setPointSizeF(std::max(6.0, labels.pointSizeF() * 0.85));
  timeAxis_->setLabelsFont(labels);
  valueAxis_->setLabelsFont(labels);
  chart->addAxis(timeAxis_, Qt::AlignBottom);
  chart->addAxis(valueAxis_, Qt::AlignLeft);
  series_->attachAxis(timeAxis_);
  series_->attachAxis(valueAxis_);

  view_->setChart(chart);
  view_->setRenderHint(QPainter::Antialiasing);
  setRows({}, core::TotalsPeriod::Daily);
}

void RunningTotalChart::setRows(const std::vector<core::TotalsRow>& rows, core::TotalsPeriod period) {
  build();
  QList<QPointF> points;
  double low = 0;
  double high = 0;
  QDate first;
  QDate last;
  for (const core::TotalsRow& row : rows) {
    const QDate day = DateOfDayNumber(row.dayNumber);
    // A hand-edited header can name a day that does not exist.
    if (!day.isValid()) continue;
    const double value = static_cast<double>(row.running);
    points.append(QPointF(static_cast<double>(TimeOf(day)), value));
    if (!first.isValid() || day < first) first = day;
    if (!last.isValid() || day > last) last = day;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  series_->replace(points);
  const bool shown = !points.isEmpty();
  timeAxis_->setVisible(shown);
  valueAxis_->setVisible(shown);
  if (!shown) return;

  const bool monthly = period == core::TotalsPeriod::Monthly;
  // A single point still needs a span to stand in.
  if (first == last) {
    first = monthly ? first.addMonths(-1) : first.addDays(-1);
    last = monthly ? last.addMonths(1) : last.addDays(1);
  }
  timeAxis_->setFormat(monthly || first.year() != last.year() ? QStringLiteral("yyyy/M") : QStringLiteral("M/d"));
  timeAxis_->setRange(QDateTime(first, QTime(0, 0)), QDateTime(last, QTime(0, 0)));
  if (low == high) high = low + 1;
  valueAxis_->setRange(low, high);
  valueAxis_->applyNiceNumbers();
}

QSize RunningTotalChart::sizeHint() const { return QSize(360, 180); }
QSize RunningTotalChart::minimumSizeHint() const { return QSize(160, 120); }

}  // namespace tomvik::app
