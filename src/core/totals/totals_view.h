// Which views of the period totals are shown beside the list: the chart of
// the running total and the calendar of daily results.
//
// The choice is the program's own and lives in a small file of its own,
// "Tomvik-view.ini" beside TMVK.ini, so the settings file keeps exactly its
// keys. A missing or unreadable file shows both views; a save replaces the
// file whole and keeps any other lines it holds.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/records/atomic_file.h"

namespace tomvik::core {

inline constexpr std::string_view kViewSettingsFileName = "Tomvik-view.ini";

struct TotalsViews {
  bool chart = true;
  bool calendar = true;
  friend bool operator==(const TotalsViews&, const TotalsViews&) = default;
};

TotalsViews LoadTotalsViews(const std::filesystem::path& folder);
std::optional<FileError> SaveTotalsViews(const std::filesystem::path& folder, const TotalsViews& views);

}  // namespace tomvik::core
