// The one place where CP932 texts of core meet the QString of the widgets.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tomvik::app {

// CP932 bytes to a QString; undecodable bytes become U+FFFD.
QString ToQString(std::string_view cp932, bool* replaced = nullptr);
// A QString to CP932 bytes; a character CP932 cannot hold becomes "?".
std::string ToSjis(const QString& text, bool* replaced = nullptr);

}  // namespace tomvik::app
