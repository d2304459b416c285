// Reading whole files and replacing them atomically.
//
// A write goes to a temporary file in the same folder, is flushed to disk and
// then renamed over the old file, so a crash or a full disk never leaves half
// a ledger: either the old file or the complete new one is there. A write
// that is killed before its rename leaves its temporary file behind (named
// ".<file>.tmp-" and six letters or digits); the next start removes it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomvik::core {

// Why a file could not be read or written: the file and the system's reason.
struct FileError {
  std::filesystem::path path;
  std::string reason;
};

enum class ReadStatus { Loaded, Missing, Failed };

struct FileContent {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::optional<FileError> error;  // set when status is Failed
};

FileContent ReadWholeFile(const std::filesystem::path& path);
// Whether the file holds exactly these bytes, read a piece at a time
// without keeping them. A file that cannot be read holds nothing.
bool FileHoldsExactly(const std::filesystem::path& path, std::string_view bytes);

// Replaces the file with the bytes; the old file stays untouched on failure.
std::optional<FileError> WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Removes the file if it exists.
std::optional<FileError> RemoveFileIfExists(const std::filesystem::path& path);

// The name of the file whose write a temporary file belongs to ("Hold.txt"
// for ".Hold.txt.tmp-a1B2c3"), or nothing for any other name.
std::optional<std::string_view> TemporaryFileTarget(std::string_view name);

struct StaleCleanup {
  std::vector<std::filesystem::path> removed;
  std::uintmax_t bytes = 0;       // their size together
  std::vector<FileError> errors;  // files that matched but could not be removed
};
// Removes the temporary files that writes into the folder left behind: the
// plain files directly in it whose names are temporary names of a file that
// `ours` accepts. Nothing else is touched, and no sub-folder is entered.
// Only while no write into the folder can be under way (the folder's lock is
// held) is a temporary file known to be stale.
StaleCleanup RemoveStaleTemporaryFiles(const std::filesystem::path& folder,
                                       const std::function<bool(std::string_view target)>& ours);

}  // namespace tomvik::core
