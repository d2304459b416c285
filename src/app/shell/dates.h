// Dates between the widgets and core.
#pragma once

#include <QDate>

#include "core/records/date.h"

namespace tomvik::app {

inline core::Date CoreDate(QDate date) { return core::Date{date.year(), date.month(), date.day()}; }
inline QDate QtDate(const core::Date& date) { return QDate(date.year, date.month, date.day); }

}  // namespace tomvik::app
