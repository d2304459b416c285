// Dates between the widgets and the period totals of core.
#pragma once

#include <QDate>

#include "app/shell/dates.h"

namespace tomvik::app {

// The day of a yyyymmdd number; invalid for a day that does not exist.
inline QDate DateOfDayNumber(int dayNumber) { return QDate(dayNumber / 10000, dayNumber / 100 % 100, dayNumber % 100); }

}  // namespace tomvik::app
