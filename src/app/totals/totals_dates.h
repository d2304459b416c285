// Dates between the widgets and the period totals of core.
#pragma once

#include <QDate>

#include "core/records/date.h"

namespace tomvik::app {

inline core::Date CoreDate(QDate date) { return core::Date{date.year(), date.month(), date.day()}; }
inline QDate QtDate(const core::Date& date) { return QDate(date.year, date.month, date.day); }
// The day of a yyyymmdd number; invalid for a day that does not exist.
inline QDate DateOfDayNumber(int dayNumber) { return QDate(dayNumber / 10000, dayNumber / 100 % 100, dayNumber % 100); }

}  // namespace tomvik::app
