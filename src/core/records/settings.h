// The user's settings kept in "TMVK.ini" between runs.
//
// Every key has its default; a missing file, section or key, or a value that
// is not a whole number, reads as that default. Texts are CP932 bytes.
// Writing follows the order of shut-down and touches only the keys that
// shut-down writes; the options dialog writes its own keys.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/records/atomic_file.h"
#include "core/records/ini_file.h"

namespace tomvik::core {

inline constexpr std::string_view kSettingsFileName = "TMVK.ini";
inline constexpr int kSettingsVersion = 222;

// Widths of a list's columns from its first numbered one on.
template <std::size_t N>
struct ColumnWidths {
  int first;  // number of the first column that has a key ("C2-3": 3)
  std::array<int, N> widths;
  static constexpr std::size_t size() { return N; }
};

struct Settings {
  // Section "Window": options.
  std::string coName;
  bool autoSave = false;
  bool chargeSave = true;
  bool oldMode = false;
  // Geometry: 0 normal, 1 minimised, 2 maximised; the normal bounds.
  int state = 0;
  int top = 50;
  int left = 100;
  int height = 480;
  int width = 660;
  // Splitters and columns.
  int split1 = 168;
  ColumnWidths<12> diaryColumns{1, {106, 38, 100, 56, 50, 50, 50, 30, 70, 55, 55, 70}};
  bool chargeFix = false;
  int split2 = 168;
  ColumnWidths<10> holdColumns{3, {100, 56, 50, 70, 50, 70, 70, 55, 70, 100}};
  int splitL = 168;
  ColumnWidths<11> loanColumns{3, {72, 100, 56, 50, 70, 50, 70, 70, 55, 70, 100}};
  int split3 = 168;
  ColumnWidths<8> stockColumns{1, {100, 56, 50, 70, 70, 70, 65, 100}};
  ColumnWidths<7> totalColumns{1, {110, 100, 100, 100, 2, 120, 2}};
  ColumnWidths<14> simColumns{3, {50, 50, 50, 70, 70, 70, 2, 38, 70, 49, 60, 50, 60, 2}};
  // Check boxes and choices.
  int plan = 0;
  bool inPM2 = true;
  bool clearD = true;
  bool allD = false;
  bool clearDL = true;
  int allDL = 0;  // 0 unchecked, 1 checked, 2 greyed
  bool filter3 = false;
  bool stayOnTop = false;
  int startYMW = 2;  // 1 year, 2 month, 3 week; anything else selects none
  bool totalM = false;
  bool copy1 = false;
  bool copy2 = false;
  // Section "Version".
  int versionNo = kSettingsVersion;
  // Section "Exchg": empty means the built-in list.
  std::vector<std::string> exchanges;
  // Recently-used lists, newest first.
  std::vector<std::string> recentDiaryStocks;  // "PresetCD"
  std::vector<std::string> recentTotalStocks;  // "PresetCDT"
  std::vector<std::string> recentSimStocks;    // "PresetCDS"
  std::vector<std::string> recentCharges;      // "PresetCG"
  std::string chargeSelect;                    // "PresetCG" / "Select"
};

// A list longer than this in a hand-edited file is read up to here.
inline constexpr int kMaxListCount = 1000;

Settings ReadSettings(const IniFile& ini);
// The keys that shut-down writes, in its order.
void WriteShutdownSettings(IniFile& ini, const Settings& settings);
// The keys of the options dialog: name, automatic saving, charge saving,
// old-version mode and the exchange list.
void WriteOptionSettings(IniFile& ini, const Settings& settings);

struct SettingsLoad {
  Settings settings;
  IniFile ini;  // as read, so that writing back keeps what it does not know
  ReadStatus status = ReadStatus::Missing;
  std::optional<FileError> error;
};
SettingsLoad LoadSettings(const std::filesystem::path& folder);
std::optional<FileError> SaveIni(const std::filesystem::path& folder, const IniFile& ini);

}  // namespace tomvik::core
