// Where the program keeps its five files.
#pragma once

#include <QString>

#include <filesystem>

namespace tomvik::app {

// True when the program may create and replace files in `folder`: the
// folder exists, the user may write there, and its permissions grant writing
// to someone (a folder made read-only stays read-only also for the
// administrator).
bool IsWritableFolder(const QString& folder);

// The folder the program keeps its files in: the executable's own folder
// when it is writable (a folder of the user's own, the build folder), as
// programs kept in a folder of their own have always done; otherwise, as for
// a program installed under /usr, the user's data folder `dataFolder`,
// created when missing.
std::filesystem::path ChooseBaseFolder(const QString& executableFolder, const QString& dataFolder);

// The same for this running program: its executable's folder, else the
// user's data folder of the application (QStandardPaths::AppDataLocation).
std::filesystem::path ProgramBaseFolder();

}  // namespace tomvik::app
