#include "core/records/settings.h"

#include <algorithm>

namespace tomvik::core {
namespace {

constexpr std::string_view kWindow = "Window";

template <std::size_t N>
void ReadColumns(const IniFile& ini, std::string_view prefix, ColumnWidths<N>& columns) {
  for (std::size_t i = 0; i < N; ++i) {
    const std::string key = std::string(prefix) + std::to_string(columns.first + static_cast<int>(i));
    columns.widths[i] = ini.readInt(kWindow, key, columns.widths[i]);
  }
}

template <std::size_t N>
void WriteColumns(IniFile& ini, std::string_view prefix, const ColumnWidths<N>& columns) {
  for (std::size_t i = 0; i < N; ++i) {
    const std::string key = std::string(prefix) + std::to_string(columns.first + static_cast<int>(i));
    ini.writeInt(kWindow, key, columns.widths[i]);
  }
}

std::vector<std::string> ReadList(const IniFile& ini, std::string_view section) {
  const int count = std::clamp(ini.readInt(section, "Count", 0), 0, kMaxListCount);
  std::vector<std::string> items;
  for (int i = 1; i <= count; ++i) items.push_back(ini.readString(section, std::to_string(i), ""));
  return items;
}

void WriteList(IniFile& ini, std::string_view section, const std::vector<std::string>& items, bool stockLines) {
  ini.eraseSection(section);
  int written = 0;
  for (const std::string& item : items) {
    if (item.empty()) continue;
    if (stockLines && item.compare(0, 4, "0000") == 0) continue;
    ++written;
    ini.writeString(section, std::to_string(written), item);
  }
  ini.writeInt(section, "Count", written);
}

}  // namespace

Settings ReadSettings(const IniFile& ini) {
  Settings s;
  s.coName = ini.readString(kWindow, "CoName", s.coName);
  s.autoSave = ini.readBool(kWindow, "AutoSave", s.autoSave);
  s.chargeSave = ini.readBool(kWindow, "ChargeSave", s.chargeSave);
  s.oldMode = ini.readBool(kWindow, "OldMode", s.oldMode);
  s.versionNo = ini.readInt("Version", "No", s.versionNo);

  s.state = ini.readInt(kWindow, "State", s.state);
  s.top = ini.readInt(kWindow, "Top", s.top);
  s.left = ini.readInt(kWindow, "Left", s.left);
  s.height = ini.readInt(kWindow, "Height", s.height);
  s.width = ini.readInt(kWindow, "Width", s.width);

  s.split1 = ini.readInt(kWindow, "Split1", s.split1);
  ReadColumns(ini, "C1-", s.diaryColumns);
  s.chargeFix = ini.readBool(kWindow, "Charge", s.chargeFix);
  s.split2 = ini.readInt(kWindow, "Split2", s.split2);
  ReadColumns(ini, "C2-", s.holdColumns);
  s.splitL = ini.readInt(kWindow, "SplitL", s.splitL);
  ReadColumns(ini, "CL-", s.loanColumns);
  s.split3 = ini.readInt(kWindow, "Split3", s.split3);
  ReadColumns(ini, "C3-", s.stockColumns);
  ReadColumns(ini, "C4-", s.totalColumns);
  ReadColumns(ini, "C5-", s.simColumns);

  const int exchangeCount = std::clamp(ini.readInt("Exchg", "Count", 0), 0, kMaxListCount);
  for (int i = 1; i <= exchangeCount; ++i) s.exchanges.push_back(ini.readString("Exchg", std::to_string(i), ""));

  s.plan = ini.readInt(kWindow, "Plan", s.plan);
  s.inPM2 = ini.readBool(kWindow, "InPM2", s.inPM2);
  s.clearD = ini.readBool(kWindow, "ClearD", s.clearD);
  s.allD = ini.readBool(kWindow, "AllD", s.allD);
  s.clearDL = ini.readBool(kWindow, "ClearDL", s.clearDL);
  s.allDL = ini.readInt(kWindow, "AllDL", s.allDL);
  s.filter3 = ini.readBool(kWindow, "Filter3", s.filter3);
  s.stayOnTop = ini.readBool(kWindow, "StayOnTop", s.stayOnTop);

  s.recentDiaryStocks = ReadList(ini, "PresetCD");
  s.recentTotalStocks = ReadList(ini, "PresetCDT");
  s.recentSimStocks = ReadList(ini, "PresetCDS");
  s.recentCharges = ReadList(ini, "PresetCG");
  s.chargeSelect = ini.readString("PresetCG", "Select", "");

  s.startYMW = ini.readInt(kWindow, "StartYMW", s.startYMW);
  s.totalM = ini.readBool(kWindow, "TotalM", s.totalM);
  s.copy1 = ini.readBool(kWindow, "Copy1", s.copy1);
  s.copy2 = ini.readBool(kWindow, "Copy2", s.copy2);
  return s;
}

void WriteShutdownSettings(IniFile& ini, const Settings& s) {
  ini.writeInt("Version", "No", kSettingsVersion);

  ini.writeInt(kWindow, "Top", s.top);
  ini.writeInt(kWindow, "Left", s.left);
  ini.writeInt(kWindow, "Height", s.height);
  ini.writeInt(kWindow, "Width", s.width);
  ini.writeInt(kWindow, "State", s.state);

  ini.writeInt(kWindow, "Split1", s.split1);
  WriteColumns(ini, "C1-", s.diaryColumns);
  ini.writeBool(kWindow, "Charge", s.chargeFix);
  ini.writeInt(kWindow, "Split2", s.split2);
  WriteColumns(ini, "C2-", s.holdColumns);
  ini.writeInt(kWindow, "SplitL", s.splitL);
  WriteColumns(ini, "CL-", s.loanColumns);
  ini.writeInt(kWindow, "Split3", s.split3);
  WriteColumns(ini, "C3-", s.stockColumns);
  WriteColumns(ini, "C4-", s.totalColumns);
  WriteColumns(ini, "C5-", s.simColumns);

  ini.writeBool(kWindow, "Filter3", s.filter3);
  ini.writeBool(kWindow, "StayOnTop", s.stayOnTop);

  WriteList(ini, "PresetCD", s.recentDiaryStocks, true);
  WriteList(ini, "PresetCDT", s.recentTotalStocks, true);
  WriteList(ini, "PresetCDS", s.recentSimStocks, true);
  WriteList(ini, "PresetCG", s.recentCharges, false);
  ini.writeString("PresetCG", "Select", s.chargeSave ? s.chargeSelect : std::string());

  ini.writeInt(kWindow, "Plan", s.plan);
  ini.writeBool(kWindow, "InPM2", s.inPM2);
  ini.writeBool(kWindow, "ClearD", s.clearD);
  ini.writeBool(kWindow, "AllD", s.allD);
  ini.writeBool(kWindow, "ClearDL", s.clearDL);
  ini.writeInt(kWindow, "AllDL", s.allDL);
  ini.writeInt(kWindow, "StartYMW", s.startYMW == 1 || s.startYMW == 3 ? s.startYMW : 2);
  ini.writeBool(kWindow, "TotalM", s.totalM);
  ini.writeBool(kWindow, "Copy1", s.copy1);
  ini.writeBool(kWindow, "Copy2", s.copy2);
}

void WriteOptionSettings(IniFile& ini, const Settings& s) {
  ini.writeString(kWindow, "CoName", s.coName);
  ini.writeBool(kWindow, "AutoSave", s.autoSave);
  ini.writeBool(kWindow, "ChargeSave", s.chargeSave);
  ini.writeBool(kWindow, "OldMode", s.oldMode);
  ini.eraseSection("Exchg");
  for (std::size_t i = 0; i < s.exchanges.size(); ++i) {
    ini.writeString("Exchg", std::to_string(i + 1), s.exchanges[i]);
  }
  ini.writeInt("Exchg", "Count", static_cast<int>(s.exchanges.size()));
}

SettingsLoad LoadSettings(const std::filesystem::path& folder) {
  SettingsLoad load;
  FileContent content = ReadWholeFile(folder / kSettingsFileName);
  load.status = content.status;
  load.error = std::move(content.error);
  if (content.status == ReadStatus::Loaded) load.ini = IniFile::Parse(content.bytes);
  load.settings = ReadSettings(load.ini);
  return load;
}

std::optional<FileError> SaveIni(const std::filesystem::path& folder, const IniFile& ini) {
  return WriteFileAtomically(folder / kSettingsFileName, ini.serialise());
}

}  // namespace tomvik::core
