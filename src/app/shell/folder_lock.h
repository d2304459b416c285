// One running Tomvik per folder of books.
//
// The program holds a lock file, "TMVK.lock", in its base folder for as long
// as it runs. A second start on the same folder finds the lock held, tells the
// user which process holds it and quits without touching any file. A lock
// left by a process that no longer runs (a crash, a kill) is stale and is
// taken over. Only once the lock is held are the temporary files of writes
// that an earlier run did not finish known to be stale, and removed.
#pragma once

#include <QLockFile>
#include <QString>

#include <filesystem>
#include <memory>
#include <string_view>

namespace tomvik::app {

class Prompter;

inline constexpr std::string_view kLockFileName = "TMVK.lock";

class FolderLock {
 public:
  enum class Outcome { Held, InUse, Failed };

  explicit FolderLock(const std::filesystem::path& folder);
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Takes the lock unless a running process holds it.
  Outcome tryLock();
  bool held() const { return lock_.isLocked(); }
  // After InUse: the running process that holds the folder, in Japanese.
  QString holderText() const;
  // After Failed: why the lock file could not be made.
  QString failureText() const;

 private:
  QLockFile lock_;
};

// The base folder of a program's files: the data files, the settings files
// and a diary month file per month.
bool IsBooksFileName(std::string_view name);

// Takes the folder for this run: its lock, then the removal of what
// interrupted writes left behind. Nothing, after the user has been told,
// when the program must not run on the folder. When the lock file cannot be
// made at all (a folder without write access), the user decides whether to
// go on without it; nothing is removed then.
std::unique_ptr<FolderLock> OpenBooksFolder(const std::filesystem::path& folder, Prompter& prompter);

}  // namespace tomvik::app
