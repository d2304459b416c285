// Reading whole files and replacing them atomically.
//
// A write goes to a temporary file in the same folder, is flushed to disk and
// then renamed over the old file, so a crash or a full disk never leaves half
// a ledger: either the old file or the complete new one is there.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

// Replaces the file with the bytes; the old file stays untouched on failure.
std::optional<FileError> WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Removes the file if it exists.
std::optional<FileError> RemoveFileIfExists(const std::filesystem::path& path);

}  // namespace tomvik::core
