#include "core/totals/totals_view.h"

#include "core/records/ini_file.h"

namespace tomvik::core {
namespace {

constexpr std::string_view kSection = "Totals";
constexpr std::string_view kChartKey = "Chart";
constexpr std::string_view kCalendarKey = "Calendar";

IniFile ReadViewFile(const std::filesystem::path& folder) {
  const FileContent file = ReadWholeFile(folder / std::string(kViewSettingsFileName));
  return file.status == ReadStatus::Loaded ? IniFile::Parse(file.bytes) : IniFile();
}

}  // namespace

TotalsViews LoadTotalsViews(const std::filesystem::path& folder) {
  const IniFile ini = ReadViewFile(folder);
  TotalsViews views;
  views.chart = ini.readBool(kSection, kChartKey, views.chart);
  views.calendar = ini.readBool(kSection, kCalendarKey, views.calendar);
  return views;
}

std::optional<FileError> SaveTotalsViews(const std::filesystem::path& folder, const TotalsViews& views) {
  IniFile ini = ReadViewFile(folder);
  ini.writeBool(kSection, kChartKey, views.chart);
  ini.writeBool(kSection, kCalendarKey, views.calendar);
  return WriteFileAtomically(folder / std::string(kViewSettingsFileName), ini.serialise());
}

}  // namespace tomvik::core
