// The running total (累計) of the last period totals as a line over time.
//
// One point per listed row, at the row's day (or its month's first day),
// in the list's order; the value axis always takes in 0, so gains and
// losses read against it. Nothing is drawn before the first totals.
//
// The chart itself is made when it is first shown or given rows: a window
// whose totals tab is never opened does not pay for it at start-up.
#pragma once

#include <QWidget>

#include <vector>

#include "core/totals/period_totals.h"

class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace tomvik::app {

class RunningTotalChart : public QWidget {
  Q_OBJECT

 public:
  explicit RunningTotalChart(QWidget* parent = nullptr);

  void setRows(const std::vector<core::TotalsRow>& rows, core::TotalsPeriod period);
  // The line, for those who read it back.
  const QLineSeries* series() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void build();

  QChartView* view_ = nullptr;
  QLineSeries* series_ = nullptr;
  QDateTimeAxis* timeAxis_ = nullptr;
  QValueAxis* valueAxis_ = nullptr;
};

}  // namespace tomvik::app
