// A month calendar of the daily results of the last period totals.
//
// Each day with figures is filled in the colour of its trading result's sign
// (blue for a gain, red for a loss), the deeper the larger the result is
// against the period's largest; a day listed for its cash alone gets a frame.
// Days outside the period are greyed. Hovering a day shows its figures, and
// clicking a day of the period asks for the diary of that day. The arrows
// of the title (or the mouse wheel) page through the period's months.
#pragma once

#include <QDate>
#include <QWidget>

#include <map>
#include <vector>

#include "core/totals/period_totals.h"

namespace tomvik::app {

class TotalsCalendar : public QWidget {
  Q_OBJECT

 public:
  explicit TotalsCalendar(QWidget* parent = nullptr);

  // The days of a computation over the period from..to; the period's last
  // month is shown.
  void setDays(const std::vector<core::TotalsDay>& days, QDate from, QDate to);

  // The month shown (its first day), and paging through the period.
  QDate shownMonth() const { return month_; }
  void showMonth(QDate day);
  bool canShowPrevious() const;
  bool canShowNext() const;

  // What a day of the shown month looks like and where it lies; an empty
  // rectangle for a day of another month.
  QColor dayColour(QDate day) const;
  QRect dayRect(QDate day) const;
  QRect previousArrowRect() const;
  QRect nextArrowRect() const;
  // The hover text of a day: its figures, or nothing for a day without.
  QString dayToolTip(QDate day) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void dayClicked(QDate day);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;

 private:
  struct Geometry {
    QRect title;
    QRect weekdays;
    QRect grid;
    int cellWidth = 0;
    int cellHeight = 0;
  };
  Geometry geometry() const;
  QDate dayAt(const QPoint& point) const;
  bool inPeriod(QDate day) const;
  const core::TotalsFigures* figuresOf(QDate day) const;

  std::map<QDate, core::TotalsFigures> days_;
  core::Amount largest_ = 0;
  QDate from_;
  QDate to_;
  QDate month_;
};

}  // namespace tomvik::app
