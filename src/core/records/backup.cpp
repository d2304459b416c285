#include "core/records/backup.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <system_error>
#include <tuple>

namespace tomvik::core {
namespace {

namespace fs = std::filesystem;

// "20240115-093012": eight digits, "-", six digits.
constexpr std::size_t kStampLength = 15;
// Enough numbers for copies of one second; a folder holding more is broken.
constexpr int kMaxNumber = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsStamp(std::string_view text) {
  if (text.size() != kStampLength) return false;
  for (std::size_t i = 0; i < kStampLength; ++i) {
    if (i == 8 ? text[i] != '-' : !IsDigit(text[i])) return false;
  }
  return true;
}

// Splits "Hold.txt" into "Hold" and ".txt"; a name without a dot after its
// first character has no extension.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

std::string StampText(const BackupTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

// Oldest first: by the stamp, then by the number within one second.
bool Older(const std::pair<BackupName, fs::path>& a, const std::pair<BackupName, fs::path>& b) {
  return std::tie(a.first.stamp, a.first.number) < std::tie(b.first.stamp, b.first.number);
}

}  // namespace

BackupTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return BackupTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string BackupFileName(std::string_view fileName, const BackupTime& time, int number) {
  const auto [stem, extension] = SplitExtension(fileName);
  std::string name(stem);
  name += '.';
  name += StampText(time);
  if (number > 1) name += "-" + std::to_string(number);
  name += extension;
  return name;
}

std::optional<BackupName> ParseBackupFileName(std::string_view name) {
  // The stamp follows the last dot that is followed by one; then an optional
  // number, then the copied file's extension (or nothing).
  for (std::size_t dot = name.rfind('.'); dot != std::string_view::npos && dot > 0; dot = name.rfind('.', dot - 1)) {
    if (!IsStamp(name.substr(dot + 1, kStampLength))) continue;
    BackupName parts;
    parts.stamp = std::string(name.substr(dot + 1, kStampLength));
    std::string_view rest = name.substr(dot + 1 + kStampLength);
    if (rest.starts_with('-')) {
      std::size_t digits = 1;
      while (digits < rest.size() && IsDigit(rest[digits])) ++digits;
      const auto [end, ec] = std::from_chars(rest.data() + 1, rest.data() + digits, parts.number);
      if (digits == 1 || ec != std::errc() || end != rest.data() + digits || parts.number < 2) return std::nullopt;
      rest.remove_prefix(digits);
    }
    if (!rest.empty() && (rest.front() != '.' || rest.find('.', 1) != std::string_view::npos)) return std::nullopt;
    parts.file = std::string(name.substr(0, dot)) + std::string(rest);
    return parts;
  }
  return std::nullopt;
}

fs::path BackupFolderOf(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  return folder / std::string(kBackupFolderName);
}

std::vector<fs::path> ListBackups(const fs::path& file) {
  const std::string fileName = file.filename().string();
  std::vector<std::pair<BackupName, fs::path>> copies;
  std::error_code ec;
  fs::directory_iterator it(BackupFolderOf(file), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code statError;
    if (!it->is_regular_file(statError)) continue;
    auto parts = ParseBackupFileName(it->path().filename().string());
    if (parts && parts->file == fileName) copies.emplace_back(std::move(*parts), it->path());
  }
  std::sort(copies.begin(), copies.end(), Older);
  std::vector<fs::path> paths;
  for (auto& copy : copies) paths.push_back(std::move(copy.second));
  return paths;
}

BackupResult BackUpFile(const fs::path& file, const BackupTime& time, std::size_t keep) {
  BackupResult result;
  FileContent content = ReadWholeFile(file);
  if (content.status == ReadStatus::Missing) return result;
  if (content.status == ReadStatus::Failed) {
    result.error = content.error;
    return result;
  }

  const fs::path folder = BackupFolderOf(file);
  std::error_code ec;
  fs::create_directory(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    result.error = FileError{folder, ec ? ec.message() : "a file of that name is in the way of the backup folder"};
    return result;
  }

  const std::string fileName = file.filename().string();
  int number = 1;
  while (Exists(folder / BackupFileName(fileName, time, number))) {
    if (++number > kMaxNumber) {
      result.error = FileError{folder / BackupFileName(fileName, time), "too many copies of the same second"};
      return result;
    }
  }
  const fs::path copy = folder / BackupFileName(fileName, time, number);
  if (auto error = WriteFileAtomically(copy, content.bytes)) {
    result.error = std::move(error);
    return result;
  }
  result.copy = copy;

  // The newest `keep` stay, the one just made always among them (a clock set
  // back could make it look older than the others).
  std::vector<fs::path> copies = ListBackups(file);
  std::erase(copies, copy);
  const std::size_t others = keep > 0 ? keep - 1 : 0;
  for (std::size_t i = 0; i + others < copies.size(); ++i) fs::remove(copies[i], ec);
  return result;
}

BackupResult BackupSession::beforeOverwrite(const fs::path& file, const BackupTime& time) {
  if (!handled_.insert(file.lexically_normal()).second) return {};
  return BackUpFile(file, time);
}

}  // namespace tomvik::core
