#include "app/shell/folder_lock.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include "app/shell/prompter.h"
#include "core/records/atomic_file.h"
#include "core/records/backup.h"
#include "core/records/code_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/records/settings.h"
#include "core/totals/totals_view.h"

namespace tomvik::app {
namespace {

QString FolderText(const std::filesystem::path& folder) {
  return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(folder.string())));
}

QString LockPath(const std::filesystem::path& folder) {
  return QFile::decodeName(QByteArray::fromStdString((folder / std::string(kLockFileName)).string()));
}

bool IsDiaryFileName(std::string_view name) {
  if (name.size() != 10 || !name.ends_with(".txt")) return false;
  for (std::size_t i = 0; i < 6; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return true;
}

// The leftovers of interrupted writes: beside the books, and in the backup
// folder, where the copies are written the same way.
void RemoveLeftovers(const std::filesystem::path& folder) {
  core::RemoveStaleTemporaryFiles(folder, IsBooksFileName);
  core::RemoveStaleTemporaryFiles(folder / std::string(core::kBackupFolderName), [](std::string_view target) {
    return core::ParseBackupFileName(target).has_value();
  });
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder) : lock_(LockPath(folder)) {
  // The lock is held for the program's whole life: it is never stale while
  // its process runs, however old, and always once that process is gone.
  lock_.setStaleLockTime(0);
}

FolderLock::Outcome FolderLock::tryLock() {
  if (lock_.tryLock()) return Outcome::Held;
  if (lock_.error() != QLockFile::LockFailedError) return Outcome::Failed;
  // A lock file that names no process (cut short by a crash while it was
  // being written) can never be found stale by its process. It is removed
  // only when no running process has it open as its lock.
  qint64 pid = 0;
  QString host;
  QString application;
  if (!lock_.getLockInfo(&pid, &host, &application) && lock_.removeStaleLockFile() && lock_.tryLock()) {
    return Outcome::Held;
  }
  return lock_.error() == QLockFile::LockFailedError ? Outcome::InUse : Outcome::Failed;
}

QString FolderLock::holderText() const {
  qint64 pid = 0;
  QString host;
  QString application;
  if (!lock_.getLockInfo(&pid, &host, &application)) return QStringLiteral("別の Tomvik");
  QString text = QStringLiteral("別の Tomvik（プロセス ID %1").arg(pid);
  if (!application.isEmpty()) text += QStringLiteral("、%1").arg(application);
  if (!host.isEmpty() && host != QSysInfo::machineHostName()) text += QStringLiteral("、コンピューター %1").arg(host);
  return text + QStringLiteral("）");
}

QString FolderLock::failureText() const {
  switch (lock_.error()) {
    case QLockFile::PermissionError: return QStringLiteral("このフォルダーに書き込む権限がありません。");
    case QLockFile::NoError:
    case QLockFile::LockFailedError:
    case QLockFile::UnknownError: break;
  }
  return QStringLiteral("フォルダーがないか、書き込めません。");
}

bool IsBooksFileName(std::string_view name) {
  return name == core::kHoldingsFileName || name == core::kPositionsFileName || name == core::kStockMasterFileName ||
         name == core::kSettingsFileName || name == core::kViewSettingsFileName || IsDiaryFileName(name);
}

std::unique_ptr<FolderLock> OpenBooksFolder(const std::filesystem::path& folder, Prompter& prompter) {
  auto lock = std::make_unique<FolderLock>(folder);
  switch (lock->tryLock()) {
    case FolderLock::Outcome::Held: RemoveLeftovers(folder); return lock;
    case FolderLock::Outcome::InUse:
      prompter.showError(
          nullptr, QStringLiteral("このフォルダーの帳簿は、%1が使用中です。\n%2\n\n"
                                  "同じ帳簿を二つの Tomvik で開くと、後から保存した方が先の変更を消してしまいます。"
                                  "使用中の Tomvik で作業を続けてください。\nこの Tomvik は終了します。")
                       .arg(lock->holderText(), FolderText(folder)));
      return nullptr;
    case FolderLock::Outcome::Failed: break;
  }
  const bool goOn = prompter.askYesNo(
      nullptr, QStringLiteral("このフォルダーにロックファイル %1 を作れませんでした。\n%2\n%3\n\n"
                              "このままでは、別の Tomvik が同じ帳簿を開いても防げません。"
                              "フォルダーに書き込めない場合、変更は保存できません。\n\n"
                              "このまま起動しますか？")
                   .arg(QString::fromLatin1(kLockFileName.data(), static_cast<qsizetype>(kLockFileName.size())),
                        FolderText(folder), lock->failureText()));
  if (!goOn) return nullptr;
  return lock;
}

}  // namespace tomvik::app
