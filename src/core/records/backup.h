// Copies of the books as they were before a session first wrote over them.
//
// Before the first write of a session replaces or removes one of the
// folder's files, the file as it stands is copied into the folder "backup"
// beside it, named after the file and the local date and time of the copy:
// "Hold.txt" becomes "backup/Hold.20240115-093012.txt". A name that is taken
// gets a number ("Hold.20240115-093012-2.txt"), so a copy never replaces
// anything, and as every copy lives in the backup folder none is ever written
// over a data file. Each file keeps its newest twenty copies; older ones are
// removed when a new one is made.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/atomic_file.h"

namespace tomvik::core {

inline constexpr std::string_view kBackupFolderName = "backup";
inline constexpr std::size_t kBackupsKept = 20;

// A local date and time to the second.
struct BackupTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};
BackupTime LocalTimeNow();

// "Hold.20240115-093012.txt" for "Hold.txt"; the number, from 2 on, tells
// apart copies of the same second ("Hold.20240115-093012-2.txt").
std::string BackupFileName(std::string_view fileName, const BackupTime& time, int number = 1);

struct BackupName {
  std::string file;   // the name of the file copied: "Hold.txt"
  std::string stamp;  // "20240115-093012"
  int number = 1;
};
// The parts of a copy's name, or nothing for a name that is not a copy's.
std::optional<BackupName> ParseBackupFileName(std::string_view name);

// The backup folder of the folder a file lies in.
std::filesystem::path BackupFolderOf(const std::filesystem::path& file);
// The copies of a file in the backup folder beside it, oldest first.
std::vector<std::filesystem::path> ListBackups(const std::filesystem::path& file);

struct BackupResult {
  std::optional<std::filesystem::path> copy;  // the copy made; nothing when there was no file
  std::optional<FileError> error;             // the copy could not be made
};
// Copies the file into the backup folder beside it (made when missing) and
// removes its oldest copies beyond `keep`. A copy that cannot be removed
// stays until a later copy tries again.
BackupResult BackUpFile(const std::filesystem::path& file, const BackupTime& time, std::size_t keep = kBackupsKept);

// The files a session has already backed up (or found missing, or failed
// to back up: a failure is reported once and the save goes on).
class BackupSession {
 public:
  // Backs the file up before this session's first write over it; does
  // nothing from the second call on.
  BackupResult beforeOverwrite(const std::filesystem::path& file, const BackupTime& time);

 private:
  std::set<std::filesystem::path> handled_;
};

}  // namespace tomvik::core
