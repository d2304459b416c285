#include "app/window/base_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tomvik::app {

namespace {

std::filesystem::path ToPath(const QString& folder) {
  return std::filesystem::path(QFile::encodeName(QDir::cleanPath(folder)).toStdString());
}

}  // namespace

bool IsWritableFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.isDir() || !info.isWritable()) return false;
  return (info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)) != 0;
}

std::filesystem::path ChooseBaseFolder(const QString& executableFolder, const QString& dataFolder) {
  if (IsWritableFolder(executableFolder)) return ToPath(executableFolder);
  // A data folder that cannot be made is still the place to try: each save
  // then says that it failed, and nothing is written elsewhere unasked.
  (void)QDir().mkpath(dataFolder);
  return ToPath(dataFolder);
}

std::filesystem::path ProgramBaseFolder() {
  return ChooseBaseFolder(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

}  // namespace tomvik::app
